#pragma once

#include <QByteArray>

// An exclusive lock on a folder (flock on the folder itself), held while the object lives:
// the runs of the program that share the folder's files take turns at them. Never nest two
// on one folder in one process: the second would wait for the first for ever.
class FolderLock {
public:
    explicit FolderLock(const QByteArray &folder);
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    bool locked() const { return m_fd >= 0; }
    int fd() const { return m_fd; }

private:
    int m_fd = -1;
};
