#pragma once

#include "settings/IniDocument.h"
#include "settings/IniError.h"
#include "settings/Text.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// Reading and replacing settings files on disk. Only regular files of at most
// SettingsPath::MaxFileSize bytes are read, and links are followed only where
// SettingsPath::unsafeLink allows it; temporary files left by a killed copy of the program are
// removed only when they are this user's.
//
// A change is a read-modify-write that holds an exclusive lock on the file's folder for its
// whole duration (the folder, because the atomic rename replaces the file itself), so two
// running copies of the program never lose each other's changes. The new contents go to a
// temporary file in the same folder, which is flushed to disk and then renamed over the old
// file: a process killed at any moment leaves either the old or the new file.
namespace IniFileStore {

// The file's bytes; an empty array when the file does not exist. Fails when an existing
// file cannot be read, is no regular file or is too large; `what` names it in the message.
std::optional<QByteArray> read(const QString &path, IniError &error,
                               const QString &what = Text::tr("Ayar dosyası"));

// How many times `read` has read the bytes of the file at `path` so far (for tests and
// benchmarks: what a window reads again while it only shows).
int readCount(const QString &path);

// Whether the file may be read as `read` reads it (a missing file may: it reads as empty),
// without reading it: a big file costs no more than one that is small.
bool readable(const QString &path, IniError &error, const QString &what = Text::tr("Ayar dosyası"));

// Creates an empty file when none exists; an existing file is left untouched. Fails when
// the path names something else than a regular file.
bool createIfMissing(const QString &path, IniError &error);

// Applies `change` to the file's current contents under the lock and stores the result;
// `change` returns whether it changed anything. When it did not, the file is neither
// created nor rewritten. A file without any write permission bit counts as read-only and
// is never replaced, whoever runs the program. When the change made the file change its
// encoding, `notice` receives what the user should know about it.
bool update(const QString &path, const std::function<bool(IniDocument &)> &change, IniError &error,
            QString *notice = nullptr);

// Whether a replacement is flushed to disk before the rename (the default). Only the
// benchmarks turn it off, to measure the flush apart from the rest of a write.
void setFlushToDisk(bool flush);

} // namespace IniFileStore
