#include "settings/WholeFile.h"

#include "settings/SharedFolder.h"
#include "settings/Text.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace WholeFile {

namespace {

bool writeAll(int fd, const QByteArray &bytes) {
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// The process's umask, read without changing it (umask(2) would, for every thread).
mode_t currentUmask() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        while (!status.atEnd()) {
            const QByteArray line = status.readLine();
            if (line.startsWith("Umask:"))
                return mode_t(line.mid(6).trimmed().toUInt(nullptr, 8));
        }
    }
    return 022;
}

mode_t modeFor(const QByteArray &path, const QByteArray &folder, mode_t asked) {
    if (asked != kKeepMode)
        return asked;
    struct stat old {};
    if (::stat(path.constData(), &old) == 0 && S_ISREG(old.st_mode))
        return old.st_mode & 07777;
    const mode_t usual = 0644 & ~currentUmask();
    struct stat dir {};
    return ::stat(folder.constData(), &dir) == 0 ? SharedFolder::modeIn(dir, usual) : usual;
}

} // namespace

int write(const QString &path, const QByteArray &bytes, const Options &options, bool &inFolder) {
    const QFileInfo info(path);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    const QByteArray target = QFile::encodeName(path);
    QByteArray temp = folder + '/' +
                      (options.tempName.isEmpty() ? "." + QFile::encodeName(info.fileName()) + "."
                                                  : options.tempName) +
                      "XXXXXX";
    const mode_t wanted = modeFor(target, folder, options.mode);
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    inFolder = fd < 0;
    if (fd < 0)
        return errno;
    bool ok = ::fchmod(fd, wanted) == 0 && writeAll(fd, bytes);
    if (ok && options.owner && ::geteuid() == 0)
        (void)!::fchown(fd, options.owner->st_uid, options.owner->st_gid);
    ok = ok && (!options.flush || ::fsync(fd) == 0);
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temp.constData(), target.constData()) != 0) {
        ok = false;
        err = errno;
        inFolder = true;
    }
    if (!ok) {
        ::unlink(temp.constData());
        return err;
    }
    if (!options.flush)
        return 0;
    if (options.folderFd >= 0) {
        ::fsync(options.folderFd); // the rename itself lasts
    } else if (const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
               dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
}

std::optional<QString> replace(const QString &path, const QByteArray &bytes, mode_t mode) {
    Options options;
    options.mode = mode;
    bool inFolder = false;
    const int err = write(path, bytes, options, inFolder);
    if (err == 0)
        return std::nullopt;
    errno = err; // for a caller that tells a full disk apart
    return Text::tr("%1 yazılamadı: %2").arg(path, QString::fromLocal8Bit(std::strerror(err)));
}

std::optional<QString> noRoomIn(const QString &folder) {
    // Room for the program's files (a few kilobytes), a new inode and a folder's block.
    constexpr unsigned long long kNeeded = 64 * 1024;
    struct statvfs fs {};
    if (::statvfs(QFile::encodeName(folder).constData(), &fs) != 0)
        return std::nullopt;
    const unsigned long long blocks = ::geteuid() == 0 ? fs.f_bfree : fs.f_bavail;
    const unsigned long long inodes = ::geteuid() == 0 ? fs.f_ffree : fs.f_favail;
    if (blocks * fs.f_frsize >= kNeeded && (fs.f_files == 0 || inodes > 0))
        return std::nullopt;
    return Text::tr("Diskte yer kalmadı: %1").arg(folder);
}

QByteArray readUpTo(int fd, qsizetype limit) {
    QByteArray bytes(limit, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < limit) {
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(limit - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    bytes.truncate(got);
    return bytes;
}

} // namespace WholeFile
