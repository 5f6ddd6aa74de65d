#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <sys/stat.h>
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

// Why a file of a few kilobytes could not be written in `folder` now (the disk or the user's
// quota is full), in the user's words; nothing when there is room or it cannot be told.
std::optional<QString> noRoomIn(const QString &folder);

// The same step for a caller that holds the folder already (the settings file's writer, under
// its lock). 0 when written, otherwise the system's error number, and `inFolder` when it was
// the folder that refused (the temporary file's making or the rename).
struct Options {
    mode_t mode = kKeepMode;
    QByteArray tempName;                // the temporary file's name before "XXXXXX" (default
                                        // "." and the file's name and ".")
    const struct stat *owner = nullptr; // the owner to keep when root writes
    bool flush = true;                  // false: not flushed to disk (tests that write a lot)
    int folderFd = -1;                  // the folder, open, to flush the rename
};
int write(const QString &path, const QByteArray &bytes, const Options &options, bool &inFolder);

// What an open file holds from where it stands, `limit` bytes at the most (a file that grows
// while it is read ends there); nothing read past an error.
QByteArray readUpTo(int fd, qsizetype limit);

} // namespace WholeFile
