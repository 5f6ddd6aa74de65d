#pragma once

#include "settings/IniError.h"

#include <QString>

class clsIni;

#include <optional>

// The addresses the program uses on the web: built in, and overridden by the settings
// file's section [Links] (keys ExternalAddressUrl, RouterUrl, PortTestUrl), which --set-link
// writes.
namespace Links {

inline const QString Section = QStringLiteral("Links");

// The address service answering POST /ip.php; empty when none is configured.
QString externalAddressUrl(clsIni &settings);
// The router's configuration page ("MODEME GİT").
QString routerUrl(clsIni &settings);
// A public port-check site ("PORT TESTİ").
QString portTestUrl(clsIni &settings);

// Why `value` cannot stand under `key` (a key the program does not read; an address that is
// not http(s)://HOST/PATH), if it cannot. The empty value stands for the built-in one.
std::optional<QString> problem(const QString &key, const QString &value);

// Writes the value (empty: the key goes, the built-in one counts again); `before` is what stood
// there. Whether the file changed, or would (dry run); false with `error` when it could not be
// written.
struct Written {
    bool ok = false;
    bool changed = false;
    QString before;
};
Written write(const QString &settingsPath, const QString &key, const QString &value, bool dryRun,
              IniError &error);

} // namespace Links
