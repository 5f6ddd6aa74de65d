#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// IPv4 addresses as dotted-quad texts.
namespace AddressText {

// The address as a number when the text is four decimal octets 0..255 joined by "."
// (leading zeros allowed, nothing else); nothing otherwise.
std::optional<quint32> parse(const QString &text);

// Whether the text is a subnet mask: an address whose one bits are contiguous from the top.
bool isMask(const QString &text);

// The prefix length of a mask (255.255.255.0 gives 24).
int prefixLength(quint32 mask);

QString format(quint32 address);

} // namespace AddressText
