#include "settings/FolderLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

FolderLock::FolderLock(const QByteArray &folder) {
    m_fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0)
        return;
    while (::flock(m_fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            const int err = errno;
            ::close(m_fd);
            m_fd = -1;
            errno = err;
            return;
        }
    }
}

FolderLock::~FolderLock() {
    if (m_fd >= 0)
        ::close(m_fd); // closing releases the lock
}
