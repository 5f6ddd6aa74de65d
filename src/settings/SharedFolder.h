#pragma once

#include <QString>
#include <optional>
#include <sys/stat.h>

// A folder that a group shares, as the till's settings folder is: set-group-ID and writable by
// its group, not by everyone. Its files are made writable by the group, and the files of root
// and of the group are trusted there as one's own; anything else is another user's.
namespace SharedFolder {

bool isShared(const struct stat &folder);
// The folder's state as it is now; nothing when it cannot be looked at.
std::optional<struct stat> statOf(const QString &folder);

// Whether a file found in `folder` may be taken as the program's own: this user's or root's,
// or, in a shared folder, one of its group.
bool trusted(const struct stat &file, const struct stat &folder);

// The mode a new file gets there: `mode`, and in a shared folder readable and writable by the
// group.
mode_t modeIn(const struct stat &folder, mode_t mode);

// Why this user may not write in `folder`, when it is shared and the user is not in its group:
// the group and the command that lets the user in. Nothing otherwise.
std::optional<QString> notInGroup(const QString &folder);

} // namespace SharedFolder
