#pragma once

#include <QString>
#include <QtGlobal>

// What tells, without reading a file, whether it changed: which file it is, its size and its
// times. A save that replaces the file (a new one renamed over it) is a new file; a write in
// place changes its times. Equal stamps: the same file, unchanged.
struct FileStamp {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;

    static FileStamp of(const QString &path);
    bool operator==(const FileStamp &) const = default;
};
