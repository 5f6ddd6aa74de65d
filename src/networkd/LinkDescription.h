#pragma once

#include "adapters/WmiAdapter.h"

#include <QJsonObject>
#include <QString>

// What systemd-networkd's description of a link (Link.Describe) says the link holds now.
// networkd lists, besides what is on the link, entries it is still adding or removing (a lease
// dropped while the link was being reconfigured can stay listed as "removing" for good): only
// what is configured counts.
namespace LinkDescription {

// Whether the link is a network adapter the program may change: an Ethernet or Wi-Fi card (or
// a veth, a virtual cable) that networkd manages. Never the loopback, a bridge, bond, VLAN,
// WireGuard or tunnel link: those carry an administrator's design, and a till reached over one
// would be cut off.
bool isAdapter(const QJsonObject &description);
// The link's IPv4 addresses, masks, default gateways and DNS servers; DHCP when it holds a
// lease or no address from a .network file.
WmiAdapter::Held held(const QJsonObject &description);
// Whether the link holds `address` from its .network file.
bool holdsStatic(const QJsonObject &description, const QString &address);

} // namespace LinkDescription
