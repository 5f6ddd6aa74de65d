#pragma once

#include "IniDocument.h"
#include "IniError.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// Reading and replacing settings files on disk.
//
// A change is a read-modify-write that holds an exclusive lock on the file's folder for its
// whole duration (the folder, because the atomic rename replaces the file itself), so two
// running copies of the program never lose each other's changes. The new contents go to a
// temporary file in the same folder, which is flushed to disk and then renamed over the old
// file: a process killed at any moment leaves either the old or the new file.
namespace IniFileStore {

// The file's bytes; an empty array when the file does not exist. Fails only when an
// existing file cannot be read.
std::optional<QByteArray> read(const QString &path, IniError &error);

// Creates an empty file when none exists; an existing file is left untouched.
bool createIfMissing(const QString &path, IniError &error);

// Applies `change` to the file's current contents under the lock and stores the result;
// `change` returns whether it changed anything. When it did not, the file is neither
// created nor rewritten. A file without any write permission bit counts as read-only and
// is never replaced, whoever runs the program.
bool update(const QString &path, const std::function<bool(IniDocument &)> &change, IniError &error);

// Whether a replacement is flushed to disk before the rename (the default). Only the
// benchmarks turn it off, to measure the flush apart from the rest of a write.
void setFlushToDisk(bool flush);

} // namespace IniFileStore
