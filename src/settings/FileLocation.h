#pragma once

#include <QString>

// Where the program keeps a file of its own (the settings file, the simulated computer): beside
// the program in a portable copy, otherwise in the user's configuration folder, as an installed
// program in /usr/bin must.
namespace FileLocation {

// The user's configuration folder as the XDG rules give it: $XDG_CONFIG_HOME when it is an
// absolute path, otherwise ~/.config, with the home folder from the system's user database
// when $HOME is not set (or not absolute).
QString configBase();

// $XDG_CONFIG_HOME/nuvar-pos-zelvi-ip (~/.config/nuvar-pos-zelvi-ip by default); for root
// always root's own, even when sudo kept another user's HOME.
QString configFolder();

// Folders of the system (/usr, /bin, /sbin, /lib*, /opt, /etc), never a portable copy's.
bool isSystemFolder(const QString &folder);

// A portable copy keeps its files beside itself: its folder is the user's (owned and writable)
// or the file there is already the user's; a system folder never is, not even for root.
bool besideProgram(const QString &programFolder, bool folderIsUsers, bool fileIsUsers);

// The file's path on this computer; nothing is created.
QString locate(const QString &fileName);
// The same; the configuration folder is created when it is chosen.
QString programFile(const QString &fileName);

} // namespace FileLocation
