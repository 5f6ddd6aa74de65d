#include "core/Links.h"

#include "settings/IniDocument.h"
#include "settings/IniFileStore.h"
#include "settings/Text.h"
#include "settings/clsIni.h"

#include <QUrl>

namespace Links {

QString externalAddressUrl(clsIni &settings) {
    return settings.ReadString(Section, QStringLiteral("ExternalAddressUrl"),
                               QStringLiteral(ZELVI_EXTERNAL_ADDRESS_URL));
}

QString routerUrl(clsIni &settings) {
    return settings.ReadString(Section, QStringLiteral("RouterUrl"),
                               QStringLiteral(ZELVI_ROUTER_URL));
}

QString portTestUrl(clsIni &settings) {
    return settings.ReadString(Section, QStringLiteral("PortTestUrl"),
                               QStringLiteral(ZELVI_PORT_TEST_URL));
}

namespace {

const QStringList kKeys{QStringLiteral("ExternalAddressUrl"), QStringLiteral("RouterUrl"),
                        QStringLiteral("PortTestUrl")};

} // namespace

std::optional<QString> problem(const QString &key, const QString &value) {
    if (!kKeys.contains(key))
        return Text::tr("--set-link: \"%1\" bilinmeyen bir ad; şunlardan biri olmalı: %2")
            .arg(key, kKeys.join(QStringLiteral(", ")));
    if (value.isEmpty())
        return std::nullopt;
    const QUrl url(value, QUrl::StrictMode);
    const bool web =
        url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
    if (!url.isValid() || !web || url.host().isEmpty() || value.contains(QLatin1Char(' ')))
        return Text::tr("--set-link %1: \"%2\" bir web adresi değil (http://SUNUCU/YOL ya da "
                        "https://…).")
            .arg(key, value);
    if (key == kKeys.first() && (url.path().isEmpty() || url.path() == QLatin1String("/")))
        return Text::tr("--set-link %1: adreste servisin yolu yok (örneğin http://%2/ip.php).")
            .arg(key, url.authority());
    if (const std::optional<QString> bad = IniDocument::valueProblem(value))
        return *bad;
    return std::nullopt;
}

Written write(const QString &settingsPath, const QString &key, const QString &value, bool dryRun,
              IniError &error) {
    Written written;
    written.ok = IniFileStore::update(
        settingsPath,
        [&](IniDocument &doc) {
            written.before = doc.value(Section, key).value_or(QString());
            written.changed = written.before != value;
            if (!written.changed || dryRun)
                return false;
            if (value.isEmpty())
                doc.removeKey(Section, key);
            else
                doc.setValue(Section, key, value);
            return true;
        },
        error);
    return written;
}

} // namespace Links
