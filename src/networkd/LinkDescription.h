#pragma once

#include "adapters/WmiAdapter.h"

#include <QJsonObject>
#include <QString>

// What systemd-networkd's description of a link (Link.Describe) says the link holds now.
// networkd lists, besides what is on the link, entries it is still adding or removing (a lease
// dropped while the link was being reconfigured can stay listed as "removing" for good): only
// what is configured counts.
namespace LinkDescription {

// The link's IPv4 addresses, masks, default gateways and DNS servers; DHCP when it holds a
// lease or no address from a .network file.
WmiAdapter::Held held(const QJsonObject &description);
// Whether the link holds `address` from its .network file.
bool holdsStatic(const QJsonObject &description, const QString &address);

} // namespace LinkDescription
