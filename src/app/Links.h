#pragma once

#include <QString>

// Web pages the main window opens.
namespace Links {

// The router's configuration page.
inline const QString RouterUrl = QStringLiteral("http://192.168.1.1/");
// A public port-check site.
inline const QString PortTestUrl = QStringLiteral("https://portchecker.co/");

} // namespace Links
