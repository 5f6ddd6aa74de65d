#include "IniFileStore.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace IniFileStore {

namespace {

bool g_flushToDisk = true;

// Temporary files are named after the file they replace, so that stale ones left by a
// killed process can be recognised and removed under the lock.
QByteArray tempPrefix(const QByteArray &baseName) {
    return '.' + baseName + ".tmp-";
}

IniError systemError(int err, const QString &path) {
    using namespace IniErrorNumber;
    const QString reason = QString::fromLocal8Bit(std::strerror(err));
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return {PathNotFound,
                QStringLiteral("Klasör bulunamadı: %1").arg(QFileInfo(path).absolutePath())};
    case EACCES:
    case EPERM:
        return {PermissionDenied, QStringLiteral("Dosyaya erişim izni yok: %1").arg(path)};
    case EROFS:
        return {PermissionDenied, QStringLiteral("Dosya salt okunur bir diskte: %1").arg(path)};
    case ENOSPC:
    case EDQUOT:
        return {DiskFull, QStringLiteral("Diskte yer kalmadı: %1").arg(path)};
    case EISDIR:
        return {PathFileAccess, QStringLiteral("Bu yol bir klasör, dosya değil: %1").arg(path)};
    default:
        return {PathFileAccess, QStringLiteral("Dosya erişim hatası: %1 (%2)").arg(path, reason)};
    }
}

// The path to read and replace: a symbolic link is followed, so that the file it points
// to is replaced and the link stays.
QString resolvedPath(const QString &path) {
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.canonicalFilePath();
        if (!target.isEmpty())
            return target;
    }
    return info.absoluteFilePath();
}

bool writeAll(int fd, const QByteArray &bytes) {
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

class FolderLock {
public:
    explicit FolderLock(const QByteArray &folder) {
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
    ~FolderLock() {
        if (m_fd >= 0)
            ::close(m_fd); // closing releases the lock
    }
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    bool locked() const { return m_fd >= 0; }
    int fd() const { return m_fd; }

private:
    int m_fd = -1;
};

// Called under the lock: any temporary file of ours is left over from a killed process.
void removeStaleTemps(const QByteArray &folder, const QByteArray &baseName) {
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    const QByteArray prefix = tempPrefix(baseName);
    while (const dirent *entry = ::readdir(dir)) {
        if (QByteArrayView(entry->d_name).startsWith(prefix))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

bool replaceFile(const QByteArray &folder, const QByteArray &baseName, const QByteArray &target,
                 const struct stat &old, int folderFd, const QByteArray &bytes, int &err) {
    QByteArray tempPath = folder + '/' + tempPrefix(baseName) + "XXXXXX";
    const int fd = ::mkostemp(tempPath.data(), O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return false;
    }
    bool ok = writeAll(fd, bytes) && ::fchmod(fd, old.st_mode & 07777) == 0;
    if (ok && ::geteuid() == 0)
        (void)!::fchown(fd, old.st_uid, old.st_gid); // keep the owner when root writes
    ok = ok && (!g_flushToDisk || ::fsync(fd) == 0);
    err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(tempPath.constData(), target.constData()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(tempPath.constData());
        return false;
    }
    if (g_flushToDisk)
        ::fsync(folderFd); // make the rename itself durable
    return true;
}

} // namespace

void setFlushToDisk(bool flush) {
    g_flushToDisk = flush;
}

std::optional<QByteArray> read(const QString &path, IniError &error) {
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return QByteArray();
        error = systemError(errno, path);
        return std::nullopt;
    }
    QByteArray bytes;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size > 0)
        bytes.reserve(qsizetype(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = systemError(errno, path);
            ::close(fd);
            return std::nullopt;
        }
        bytes.append(buffer, n);
    }
    ::close(fd);
    return bytes;
}

bool createIfMissing(const QString &path, IniError &error) {
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) {
        // A read-only file that exists is fine here: only its existence matters.
        struct stat st {};
        if ((errno == EACCES || errno == EPERM || errno == EROFS) &&
            ::stat(native.constData(), &st) == 0 && S_ISREG(st.st_mode))
            return true;
        error = systemError(errno, path);
        return false;
    }
    ::close(fd);
    return true;
}

bool update(const QString &path, const std::function<bool(IniDocument &)> &change,
            IniError &error) {
    const QString resolved = resolvedPath(path);
    const QFileInfo info(resolved);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    const QByteArray baseName = QFile::encodeName(info.fileName());
    const QByteArray target = QFile::encodeName(resolved);

    FolderLock lock(folder);
    if (!lock.locked()) {
        error = systemError(errno, path);
        return false;
    }
    removeStaleTemps(folder, baseName);

    const std::optional<QByteArray> old = read(resolved, error);
    if (!old)
        return false;
    IniDocument doc = IniDocument::fromFileBytes(*old);
    if (!change(doc))
        return true;

    struct stat st {};
    if (::stat(target.constData(), &st) != 0) {
        // A new file: created empty first, so that it gets the usual permissions.
        if (errno != ENOENT) {
            error = systemError(errno, path);
            return false;
        }
        if (!createIfMissing(resolved, error))
            return false;
        if (::stat(target.constData(), &st) != 0) {
            error = systemError(errno, path);
            return false;
        }
    }
    if (!S_ISREG(st.st_mode)) {
        error = systemError(EISDIR, path);
        return false;
    }
    if ((st.st_mode & 0222) == 0) {
        error = {IniErrorNumber::PermissionDenied,
                 QStringLiteral("Dosya salt okunur: %1").arg(path)};
        return false;
    }
    if (::access(target.constData(), W_OK) != 0) {
        error = systemError(errno, path);
        return false;
    }

    int err = 0;
    if (!replaceFile(folder, baseName, target, st, lock.fd(), doc.toFileBytes(), err)) {
        error = systemError(err, path);
        return false;
    }
    return true;
}

} // namespace IniFileStore
