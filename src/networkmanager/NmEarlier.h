#pragma once

#include <QJsonObject>
#include <QVariantMap>

// The part of a NetworkManager profile's ipv4 setting that the program changes, as JSON: the
// record of a change on trial keeps it, so that a change that NetworkManager can no longer
// roll back (it restarted and forgot its checkpoint) is put back by the program itself.
namespace NmEarlier {

QJsonObject fromIpv4(const QVariantMap &ipv4);
// Puts the recorded values back into `ipv4` (the ones it did not have are removed).
void intoIpv4(const QJsonObject &earlier, QVariantMap &ipv4);

} // namespace NmEarlier
