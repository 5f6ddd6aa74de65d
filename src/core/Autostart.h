#pragma once

#include <QByteArray>
#include <QString>

// Starting the program, hidden in the notification area, when the user logs in: an entry in
// the desktop's autostart folder ($XDG_CONFIG_HOME/autostart), as freedesktop.org describes.
namespace Autostart {

QString entryPath();
bool isEnabled();

// The entry that starts `program` with /HIDEONSTARTUP.
QByteArray entryText(const QString &program);

// Writes or removes the entry. False, with the reason in Turkish, when that fails.
bool setEnabled(bool on, const QString &program, QString &error);

} // namespace Autostart
