#include "settings/FolderLock.h"

#include "settings/Text.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// The folders this thread holds, by device and inode, with how many holders share each.
struct Held {
    int fd = -1;
    int holders = 0;
};
thread_local std::map<std::pair<dev_t, ino_t>, Held> t_held;

// Folders that this process found held for a whole wait, and until when it does not wait for
// them again: one run does not add wait to wait (a command takes the lock several times).
std::mutex g_heldMutex;
std::map<std::pair<dev_t, ino_t>, qint64> g_gaveUpUntil; // milliseconds of the monotonic clock
constexpr qint64 kGiveUpForMs = 60000;

qint64 monotonicMs() {
    static const QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed();
}

std::pair<dev_t, ino_t> keyOf(int fd) {
    struct stat st {};
    ::fstat(fd, &st);
    return {st.st_dev, st.st_ino};
}

} // namespace

FolderLock::FolderLock(const QByteArray &folder, int waitMs) {
    const QString name = QFile::decodeName(folder);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        m_problem = Text::tr("Klasör açılamadı: %1 (%2)")
                        .arg(name, QString::fromLocal8Bit(std::strerror(err)));
        errno = err;
        return;
    }
    const auto key = keyOf(fd);
    if (const auto held = t_held.find(key); held != t_held.end()) {
        ::close(fd);
        ++held->second.holders;
        m_fd = held->second.fd;
        return;
    }
    // Waited for in short steps: a process of another user may hold it for ever.
    {
        const std::lock_guard<std::mutex> guard(g_heldMutex);
        if (const auto gaveUp = g_gaveUpUntil.find(key);
            gaveUp != g_gaveUpUntil.end() && monotonicMs() < gaveUp->second)
            waitMs = 0;
    }
    QDeadlineTimer deadline(waitMs);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            break;
        const int err = errno;
        if (err != EWOULDBLOCK && err != EINTR) {
            ::close(fd);
            m_problem = Text::tr("Klasör kilitlenemedi: %1 (%2)")
                            .arg(name, QString::fromLocal8Bit(std::strerror(err)));
            errno = err;
            return;
        }
        if (deadline.hasExpired()) {
            ::close(fd);
            {
                const std::lock_guard<std::mutex> guard(g_heldMutex);
                g_gaveUpUntil[key] = monotonicMs() + kGiveUpForMs;
            }
            m_problem = Text::tr("Klasör %1 saniyedir başka bir program tarafından kilitli "
                                 "tutuluyor, beklemekten vazgeçildi: %2")
                            .arg(kDefaultWaitMs / 1000)
                            .arg(name);
            errno = EWOULDBLOCK;
            return;
        }
        QThread::msleep(20);
    }
    t_held[key] = {fd, 1};
    {
        const std::lock_guard<std::mutex> guard(g_heldMutex);
        g_gaveUpUntil.erase(key);
    }
    m_fd = fd;
}

bool FolderLock::heldElsewhere(const QByteArray &folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool busy = t_held.find(keyOf(fd)) == t_held.end() &&
                      ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd); // a lock it took goes with it
    return busy;
}

FolderLock::~FolderLock() {
    if (m_fd < 0)
        return;
    const auto key = keyOf(m_fd);
    const auto held = t_held.find(key);
    if (held != t_held.end() && --held->second.holders > 0)
        return;
    if (held != t_held.end())
        t_held.erase(held);
    ::close(m_fd); // closing releases the lock
}
