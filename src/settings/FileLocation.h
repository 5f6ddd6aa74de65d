#pragma once

#include <QString>

// Where the program keeps a file of its own (the settings file, the simulated computer): beside
// the program in a portable copy; otherwise in the till's folder, which every user of the
// computer and its fleet share (the package makes it, writable by one group); in the user's
// configuration folder only where a copy installed without the package finds no till's folder.
namespace FileLocation {

// The till's folder, and the group that may write in it.
QString tillFolder();
QString tillGroup();

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

enum class Place { BesideProgram, Till, User };
// Where a copy keeps its files: beside itself when portable, else in the till's folder when it
// exists or can be made (root makes it), else in the user's configuration folder.
Place choose(bool portable, bool tillFolderExists, bool root);

// The file's path on this computer; nothing is created.
QString locate(const QString &fileName);
// The same; the folder chosen is created when missing (the till's by root, with its group).
QString programFile(const QString &fileName);
// The path where an earlier version, which kept a file per user, kept this user's.
QString userFile(const QString &fileName);

// Makes `folder` when it is missing; the till's folder as the package makes it (set-group-ID,
// writable by its group). False when it is still missing.
bool makeFolder(const QString &folder);

} // namespace FileLocation
