#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <sys/types.h>

// Writing a file whole or not at all. The bytes go to a temporary file in the same folder,
// every write and the close are checked, the file is flushed to disk and renamed over the old
// one (and the folder flushed, so the rename itself lasts). On any failure (a full disk, a
// read-only folder, a quota) the old file stays as it was and the temporary one goes. Qt's
// QSaveFile is not used: it counts a write that only reached its buffer, and a full disk then
// leaves an empty file behind a commit that says it succeeded.
namespace WholeFile {

// The reason when the file could not be written (the path and the system's words). The file
// gets `mode`; by default the old file's, or for a new one what the user's umask leaves of
// rw-r--r--.
constexpr mode_t kKeepMode = mode_t(-1);
std::optional<QString> replace(const QString &path, const QByteArray &bytes,
                               mode_t mode = kKeepMode);

// What an open file holds from where it stands, `limit` bytes at the most (a file that grows
// while it is read ends there); nothing read past an error.
QByteArray readUpTo(int fd, qsizetype limit);

} // namespace WholeFile
