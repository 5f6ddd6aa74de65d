#include "networkmanager/NmEarlier.h"

#include "networkmanager/NmDbus.h"

#include <QJsonArray>

namespace NmEarlier {

namespace {

const QString kMethod = QStringLiteral("method");
const QString kAddressData = QStringLiteral("address-data");
const QString kGateway = QStringLiteral("gateway");
const QString kDns = QStringLiteral("dns");
const QString kIgnoreAutoDns = QStringLiteral("ignore-auto-dns");
const QString kDadTimeout = QStringLiteral("dad-timeout");
const QString kRouteMetric = QStringLiteral("route-metric");

} // namespace

QJsonObject fromIpv4(const QVariantMap &ipv4) {
    QJsonObject earlier;
    if (ipv4.contains(kMethod))
        earlier.insert(kMethod, ipv4.value(kMethod).toString());
    if (ipv4.contains(kAddressData)) {
        QJsonArray addresses;
        for (const QVariantMap &entry : NmDbus::mapList(ipv4.value(kAddressData)))
            addresses.append(QJsonObject{
                {QStringLiteral("address"), entry.value(QStringLiteral("address")).toString()},
                {QStringLiteral("prefix"),
                 double(entry.value(QStringLiteral("prefix")).toUInt())}});
        earlier.insert(kAddressData, addresses);
    }
    if (ipv4.contains(kGateway))
        earlier.insert(kGateway, ipv4.value(kGateway).toString());
    if (ipv4.contains(kDns)) {
        QJsonArray dns;
        for (const uint server : NmDbus::uintList(ipv4.value(kDns)))
            dns.append(double(server));
        earlier.insert(kDns, dns);
    }
    if (ipv4.contains(kIgnoreAutoDns))
        earlier.insert(kIgnoreAutoDns, ipv4.value(kIgnoreAutoDns).toBool());
    if (ipv4.contains(kDadTimeout))
        earlier.insert(kDadTimeout, ipv4.value(kDadTimeout).toInt());
    if (ipv4.contains(kRouteMetric))
        earlier.insert(kRouteMetric, double(ipv4.value(kRouteMetric).toLongLong()));
    return earlier;
}

void intoIpv4(const QJsonObject &earlier, QVariantMap &ipv4) {
    // The legacy forms would hide address-data and gateway from NetworkManager.
    ipv4.remove(QStringLiteral("addresses"));
    ipv4.remove(QStringLiteral("routes"));
    for (const QString &key :
         {kMethod, kAddressData, kGateway, kDns, kIgnoreAutoDns, kDadTimeout, kRouteMetric})
        ipv4.remove(key);
    if (earlier.contains(kMethod))
        ipv4.insert(kMethod, earlier.value(kMethod).toString());
    if (earlier.contains(kAddressData)) {
        QList<QVariantMap> addresses;
        for (const QJsonValue &entry : earlier.value(kAddressData).toArray())
            addresses.append({{QStringLiteral("address"),
                               entry.toObject().value(QStringLiteral("address")).toString()},
                              {QStringLiteral("prefix"),
                               uint(entry.toObject().value(QStringLiteral("prefix")).toDouble())}});
        ipv4.insert(kAddressData, NmDbus::toMapList(addresses));
    }
    if (earlier.contains(kGateway))
        ipv4.insert(kGateway, earlier.value(kGateway).toString());
    if (earlier.contains(kDns)) {
        QList<uint> dns;
        for (const QJsonValue &server : earlier.value(kDns).toArray())
            dns.append(uint(server.toDouble()));
        ipv4.insert(kDns, NmDbus::toUIntList(dns));
    }
    if (earlier.contains(kIgnoreAutoDns))
        ipv4.insert(kIgnoreAutoDns, earlier.value(kIgnoreAutoDns).toBool());
    if (earlier.contains(kDadTimeout))
        ipv4.insert(kDadTimeout, qint32(earlier.value(kDadTimeout).toInt()));
    if (earlier.contains(kRouteMetric))
        ipv4.insert(kRouteMetric, qint64(earlier.value(kRouteMetric).toDouble()));
}

} // namespace NmEarlier
