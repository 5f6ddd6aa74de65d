#pragma once

#include <QString>

class clsIni;

// The addresses the program uses on the web: built in, and overridden by the settings
// file's section [Links] (keys ExternalAddressUrl, RouterUrl, PortTestUrl), which the
// program reads but never writes.
namespace Links {

inline const QString Section = QStringLiteral("Links");

// The address service answering POST /ip.php; empty when none is configured.
QString externalAddressUrl(clsIni &settings);
// The router's configuration page ("MODEME GİT").
QString routerUrl(clsIni &settings);
// A public port-check site ("PORT TESTİ").
QString portTestUrl(clsIni &settings);

} // namespace Links
