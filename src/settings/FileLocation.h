#pragma once

#include <QString>

// Where the program keeps a file of its own (the settings file, the simulated computer): beside
// the program when the file is there already or the program's folder is writable (a portable
// copy), otherwise in the user's configuration folder, as an installed program in /usr/bin
// must.
namespace FileLocation {

// $XDG_CONFIG_HOME/nuvar-pos-zelvi-ip (~/.config/nuvar-pos-zelvi-ip by default).
QString configFolder();

// The decision, from what is known about the program's folder.
QString choose(const QString &fileName, const QString &programFolder, bool fileBesideProgram,
               bool programFolderWritable, const QString &configFolder);

// The file's path on this computer; the configuration folder is created when it is chosen.
QString programFile(const QString &fileName);

} // namespace FileLocation
