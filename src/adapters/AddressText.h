#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

// IPv4 addresses as dotted-quad texts.
namespace AddressText {

// The address as a number when the text is four decimal octets 0..255 joined by "."
// (leading zeros allowed, nothing else); nothing otherwise.
std::optional<quint32> parse(QStringView text);
// One of its four parts: one to three digits, 0-255.
std::optional<quint32> octet(QStringView part);

// Whether the text is a subnet mask: an address whose one bits are contiguous from the top.
bool isMask(const QString &text);
bool isMask(quint32 mask);

// The prefix length of a mask (255.255.255.0 gives 24).
int prefixLength(quint32 mask);

QString format(quint32 address);

// The addresses of an adapter's static configuration (EnableStatic's two lists) as addresses
// and prefix lengths, or the WMI code that refuses them.
struct Prefixed {
    QString address;
    int prefix = 0;
};
qint32 staticAddresses(const QStringList &IPAddress, const QStringList &SubnetMask,
                       QList<Prefixed> &out);
// Each text as a canonical address (leading zeros gone), or nothing when one is no address.
std::optional<QStringList> canonical(const QStringList &texts);

} // namespace AddressText
