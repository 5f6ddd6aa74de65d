#include "networkd/LinkDescription.h"

#include "adapters/AddressText.h"

#include <QJsonArray>

namespace LinkDescription {

bool isAdapter(const QJsonObject &description) {
    const QString type = description.value(QStringLiteral("Type")).toString();
    const QString kind = description.value(QStringLiteral("Kind")).toString();
    const QString state = description.value(QStringLiteral("AdministrativeState")).toString();
    return (type == QLatin1String("ether") || type == QLatin1String("wlan")) &&
           (kind.isEmpty() || kind == QLatin1String("veth")) &&
           state != QLatin1String("unmanaged") && state != QLatin1String("linger");
}

namespace {

// An address of the description ([10, 0, 0, 5]) as text.
QString addressText(const QJsonValue &bytes) {
    const QJsonArray a = bytes.toArray();
    if (a.size() != 4)
        return {};
    return AddressText::format(quint32(a[0].toInt()) << 24 | quint32(a[1].toInt()) << 16 |
                               quint32(a[2].toInt()) << 8 | quint32(a[3].toInt()));
}

// The IPv4 entries of `key` that are on the link: configured and not being removed (a
// networkd that does not say an entry's state lists only those).
QList<QJsonObject> live(const QJsonObject &description, const QString &key) {
    QList<QJsonObject> out;
    for (const QJsonValue &v : description.value(key).toArray()) {
        const QJsonObject o = v.toObject();
        if (o.value(QStringLiteral("Family")).toInt() != 2)
            continue;
        if (const QJsonValue state = o.value(QStringLiteral("ConfigState")); state.isString()) {
            const QStringList flags = state.toString().split(QLatin1Char(','));
            if (!flags.contains(QLatin1String("configured")) ||
                flags.contains(QLatin1String("removing")))
                continue;
        }
        out.append(o);
    }
    return out;
}

bool fromFile(const QJsonObject &entry) {
    return entry.value(QStringLiteral("ConfigSource")).toString() == QLatin1String("static");
}

} // namespace

WmiAdapter::Held held(const QJsonObject &description) {
    WmiAdapter::Held now;
    now.dhcp = false;
    bool anyStatic = false;
    for (const QJsonObject &a : live(description, QStringLiteral("Addresses"))) {
        if (!fromFile(a)) {
            now.dhcp = true;
            continue;
        }
        anyStatic = true;
        now.address.append(addressText(a.value(QStringLiteral("Address"))));
        const int prefix = a.value(QStringLiteral("PrefixLength")).toInt();
        now.mask.append(AddressText::format(prefix == 0 ? 0 : ~quint32(0) << (32 - prefix)));
    }
    now.dhcp = now.dhcp || !anyStatic;
    for (const QJsonObject &r : live(description, QStringLiteral("Routes"))) {
        if (r.value(QStringLiteral("DestinationPrefixLength")).toInt() == 0 &&
            r.contains(QStringLiteral("Gateway")))
            now.gateway.append(addressText(r.value(QStringLiteral("Gateway"))));
    }
    for (const QJsonValue &v : description.value(QStringLiteral("DNS")).toArray()) {
        const QJsonObject s = v.toObject();
        if (s.value(QStringLiteral("Family")).toInt() == 2)
            now.dns.append(addressText(s.value(QStringLiteral("Address"))));
    }
    return now;
}

bool holdsStatic(const QJsonObject &description, const QString &address) {
    for (const QJsonObject &a : live(description, QStringLiteral("Addresses"))) {
        if (fromFile(a) && addressText(a.value(QStringLiteral("Address"))) == address)
            return true;
    }
    return false;
}

} // namespace LinkDescription
