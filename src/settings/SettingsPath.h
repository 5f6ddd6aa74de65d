#pragma once

#include "settings/IniError.h"
#include "settings/Text.h"

#include <QString>
#include <optional>
#include <sys/stat.h>

// What the settings store checks about a path before it reads or replaces the file there.
namespace SettingsPath {

// A settings file is never read past this size.
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

// Why the path's symbolic links must not be followed, if they must not: a link in a folder
// that everyone may write to and that keeps others' files (sticky, such as /tmp) is followed
// only when it belongs to this user or to the folder's owner, as the kernel's protected-link
// rule does. Otherwise another user could make the program rewrite a file of the user's
// elsewhere.
std::optional<IniError> unsafeLink(const QString &path);

// Why a file of this kind cannot be a settings file (a folder, a FIFO, a device, a socket),
// if it cannot. `what` names the file in the message.
std::optional<IniError> notRegular(const struct stat &st, const QString &path,
                                   const QString &what = Text::tr("Ayar dosyası"));

IniError tooLarge(qint64 size, const QString &path, const QString &what = Text::tr("Ayar dosyası"));

} // namespace SettingsPath
