#pragma once

#include <QByteArray>
#include <QString>

// Whether a neighbour answers on a network card: a datagram is sent to it through that card, so
// that the kernel asks for its link-layer address (ARP), and the kernel's neighbour table is
// read until it holds one. Needs no privilege; traffic stays on the card's own link.
namespace NeighbourProbe {

enum class Answer { Answered, Silent, Unknown };

// Asked again every second until `deadlineMs`; Unknown when the card or the table is missing.
Answer ask(const QString &interface, const QString &address, int deadlineMs);

// Whether the table (/proc/net/arp's text) holds a complete entry for `address` on `interface`.
bool completeIn(const QByteArray &table, const QString &interface, const QString &address);

} // namespace NeighbourProbe
