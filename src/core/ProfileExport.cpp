#include "core/ProfileExport.h"

#include "adapters/AdapterCommands.h"
#include "adapters/AddressText.h"
#include "settings/ShownText.h"
#include "settings/Text.h"

#include <QRegularExpression>

namespace ProfileExport {

std::optional<Format> formatNamed(const QString &name) {
    if (name == QLatin1String("networkd"))
        return Format::Networkd;
    if (name == QLatin1String("netplan"))
        return Format::Netplan;
    if (name == QLatin1String("nmstate"))
        return Format::Nmstate;
    return std::nullopt;
}

std::optional<QString> interfaceProblem(const QString &name) {
    static const QRegularExpression valid(QStringLiteral("^[A-Za-z0-9_.-]{1,15}$"));
    if (!valid.match(name).hasMatch() || name == QLatin1String(".") || name == QLatin1String(".."))
        return Text::tr("\"%1\" bir ağ arabirimi adı olamaz (1-15 harf, rakam, \"_\", \".\" ya "
                        "da \"-\").")
            .arg(ShownText::escaped(name));
    return std::nullopt;
}

QString text(Format format, const QString &profileName, const QStringList &ProfileParts,
             const QString &interfaceName) {
    const WmiAdapter::Held held = AdapterCommands::heldBy(ProfileParts);
    const QString address = held.address.value(0);
    const QString prefix = QString::number(
        AddressText::prefixLength(AddressText::parse(held.mask.value(0)).value_or(0)));
    const QString gateway = held.gateway.value(0);
    // The profile's name in a comment: one line, nothing a terminal or an editor acts on. In
    // YAML the interface's name is quoted: "123", "on" or "null" stay names, not a number, a
    // boolean or nothing (its characters never need escapes).
    const QString origin =
        QStringLiteral("# Nuvar POS Zelvi IP: \"%1\"\n")
            .arg(ShownText::escaped(profileName).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    QString out = origin;
    switch (format) {
    case Format::Networkd:
        out += QStringLiteral("[Match]\nName=%1\n\n[Network]\nAddress=%2/%3\n")
                   .arg(interfaceName, address, prefix);
        if (!gateway.isEmpty())
            out += QStringLiteral("Gateway=%1\n").arg(gateway);
        for (const QString &dns : held.dns)
            out += QStringLiteral("DNS=%1\n").arg(dns);
        break;
    case Format::Netplan:
        out +=
            QStringLiteral("network:\n  version: 2\n  ethernets:\n    \"%1\":\n      dhcp4: false\n"
                           "      addresses: [%2/%3]\n")
                .arg(interfaceName, address, prefix);
        if (!gateway.isEmpty())
            out += QStringLiteral("      routes:\n        - to: default\n          via: %1\n")
                       .arg(gateway);
        out += QStringLiteral("      nameservers:\n        addresses: [%1]\n")
                   .arg(held.dns.join(QStringLiteral(", ")));
        break;
    case Format::Nmstate:
        out += QStringLiteral("interfaces:\n  - name: \"%1\"\n    type: ethernet\n    state: up\n"
                              "    ipv4:\n      enabled: true\n      dhcp: false\n"
                              "      address:\n        - ip: %2\n          prefix-length: %3\n")
                   .arg(interfaceName, address, prefix);
        if (!gateway.isEmpty())
            out += QStringLiteral("routes:\n  config:\n    - destination: 0.0.0.0/0\n"
                                  "      next-hop-address: %1\n      next-hop-interface: \"%2\"\n")
                       .arg(gateway, interfaceName);
        out += QStringLiteral("dns-resolver:\n  config:\n    server:\n");
        for (const QString &dns : held.dns)
            out += QStringLiteral("      - %1\n").arg(dns);
        break;
    }
    return out;
}

} // namespace ProfileExport
