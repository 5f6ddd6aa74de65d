#pragma once

#include <QByteArray>
#include <QString>

// An exclusive lock on a folder (flock on the folder itself), held while the object lives:
// the runs of the program that share the folder's files take turns at them. A lock that one
// thread already holds on the same folder (by whatever path) is shared: the settings file can
// be written while its trial record is locked. Another process (or thread) holding it is waited
// for at most `waitMs`; then the lock is not taken, and problem() says who could not get what.
// A folder found held for a whole wait is not waited for again by this process for a minute.
class FolderLock {
public:
    static constexpr int kDefaultWaitMs = 10000;

    explicit FolderLock(const QByteArray &folder, int waitMs = kDefaultWaitMs);
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    // Whether another process (or thread) holds the folder now: a lock taken would wait. Looks
    // once, waits for nothing and changes nothing.
    static bool heldElsewhere(const QByteArray &folder);

    bool locked() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    // Why it is not locked (Turkish), empty when it is; errno is kept for the caller.
    const QString &problem() const { return m_problem; }

private:
    int m_fd = -1;
    QString m_problem;
};
