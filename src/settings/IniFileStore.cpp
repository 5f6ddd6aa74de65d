#include "settings/IniFileStore.h"

#include "settings/FolderLock.h"
#include "settings/SettingsPath.h"
#include "settings/SharedFolder.h"
#include "settings/Text.h"
#include "settings/WholeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
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
QMutex g_readsLock;
QHash<QString, int> g_reads;

// Temporary files are named after the file they replace, so that stale ones left by a
// killed process can be recognised and removed under the lock.
QByteArray tempPrefix(const QByteArray &baseName) {
    return '.' + baseName + ".tmp-";
}

// The file's folder is missing: why it is, as far as can be told from the nearest part of its
// path that exists (a file where a folder should be, or a folder that may not be written to,
// as when XDG_CONFIG_HOME names a file or a read-only folder).
QString missingFolder(const QString &path) {
    const QString folder = QFileInfo(path).absolutePath();
    QString existing = folder;
    while (!QFileInfo::exists(existing) && existing != QLatin1String("/"))
        existing = QFileInfo(existing).absolutePath();
    if (existing != folder && !QFileInfo(existing).isDir())
        return Text::tr("Klasör oluşturulamıyor: %1 bir dosya, klasör değil.\n"
                        "Ayar dosyası %2 klasöründe olmalı.")
            .arg(existing, folder);
    if (existing != folder && ::access(QFile::encodeName(existing).constData(), W_OK) != 0)
        return Text::tr("Klasör oluşturulamadı: %1 klasörüne yazma izni yok.\n"
                        "Ayar dosyası %2 klasöründe olmalı.")
            .arg(existing, folder);
    return Text::tr("Klasör bulunamadı: %1").arg(folder);
}

IniError systemError(int err, const QString &path) {
    using namespace IniErrorNumber;
    const QString reason = QString::fromLocal8Bit(std::strerror(err));
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return {PathNotFound, missingFolder(path)};
    case EACCES:
    case EPERM:
        if (const std::optional<QString> group =
                SharedFolder::notInGroup(QFileInfo(path).absolutePath()))
            return {PermissionDenied, *group};
        return {PermissionDenied, Text::tr("Dosyaya erişim izni yok: %1").arg(path)};
    case EROFS:
        return {PermissionDenied, Text::tr("Dosya salt okunur bir diskte: %1").arg(path)};
    case ENOSPC:
    case EDQUOT:
        return {DiskFull, Text::tr("Diskte yer kalmadı: %1").arg(path)};
    case EISDIR:
        return {PathFileAccess, Text::tr("Bu yol bir klasör, dosya değil: %1").arg(path)};
    default:
        return {PathFileAccess, Text::tr("Dosya erişim hatası: %1 (%2)").arg(path, reason)};
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

// When the folder is what fails (a new file or the replacement cannot be made there): the
// folder is named, not the file.
IniError folderError(int err, const QString &path) {
    const QString folder = QFileInfo(path).absolutePath();
    switch (err) {
    case EACCES:
    case EPERM:
        if (const std::optional<QString> group = SharedFolder::notInGroup(folder))
            return {IniErrorNumber::PermissionDenied, *group};
        return {IniErrorNumber::PermissionDenied,
                Text::tr("Klasöre yazma izni yok: %1\nAyar dosyası (%2) orada oluşturulamaz "
                         "ya da değiştirilemez; klasörün izinlerine bakın.")
                    .arg(folder, QFileInfo(path).fileName())};
    case EROFS:
        return {IniErrorNumber::PermissionDenied,
                Text::tr("Klasör salt okunur bir diskte: %1").arg(folder)};
    default:
        return systemError(err, path);
    }
}

// Called under the lock: a temporary file of ours is left over from a killed process. Only
// trusted files are ours (this user's; in the till's folder root's and the group's too): in a
// folder that others may write another user may name files alike.
void removeStaleTemps(const QByteArray &folder, const QByteArray &baseName) {
    struct stat folderStat {};
    if (::stat(folder.constData(), &folderStat) != 0)
        return;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    const QByteArray prefix = tempPrefix(baseName);
    while (const dirent *entry = ::readdir(dir)) {
        struct stat st {};
        if (QByteArrayView(entry->d_name).startsWith(prefix) &&
            ::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && SharedFolder::trusted(st, folderStat) &&
            (st.st_uid == ::geteuid() || SharedFolder::isShared(folderStat)))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

} // namespace

void setFlushToDisk(bool flush) {
    g_flushToDisk = flush;
}

namespace {

// The file opened for reading, once it is known to be one that may be read: -1 with `error`
// set when it may not, -2 when there is none.
int openForReading(const QString &path, IniError &error, const QString &what, struct stat &st) {
    if (const std::optional<IniError> link = SettingsPath::unsafeLink(path)) {
        error = *link;
        return -1;
    }
    const QByteArray native = QFile::encodeName(path);
    // Without waiting: opening a FIFO would otherwise wait for a writer.
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT)
            return -2;
        error = systemError(errno, path);
        return -1;
    }
    std::optional<IniError> problem;
    if (::fstat(fd, &st) != 0)
        problem = systemError(errno, path);
    else if (const std::optional<IniError> kind = SettingsPath::notRegular(st, path, what))
        problem = kind;
    else if (st.st_size > SettingsPath::MaxFileSize)
        problem = SettingsPath::tooLarge(st.st_size, path, what);
    if (problem) {
        error = *problem;
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

int readCount(const QString &path) {
    const QMutexLocker locked(&g_readsLock);
    return g_reads.value(path);
}

bool readable(const QString &path, IniError &error, const QString &what) {
    struct stat st {};
    const int fd = openForReading(path, error, what, st);
    if (fd >= 0)
        ::close(fd);
    return fd != -1;
}

std::optional<QByteArray> read(const QString &path, IniError &error, const QString &what) {
    struct stat st {};
    const int fd = openForReading(path, error, what, st);
    if (fd == -2)
        return QByteArray();
    if (fd < 0)
        return std::nullopt;
    {
        const QMutexLocker locked(&g_readsLock);
        ++g_reads[path];
    }
    QByteArray bytes;
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
        if (bytes.size() > SettingsPath::MaxFileSize) { // it grew while it was read
            error = SettingsPath::tooLarge(bytes.size(), path, what);
            ::close(fd);
            return std::nullopt;
        }
    }
    ::close(fd);
    return bytes;
}

bool createIfMissing(const QString &path, IniError &error) {
    if (const std::optional<IniError> link = SettingsPath::unsafeLink(path)) {
        error = *link;
        return false;
    }
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) == 0) {
        // Only its existence matters here, also when it is read-only; but it must be a file.
        if (const std::optional<IniError> kind = SettingsPath::notRegular(st, path)) {
            error = *kind;
            return false;
        }
        return true;
    }
    const int fd =
        ::open(native.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) {
        error = folderError(errno, path); // there was no file: the folder refused a new one
        return false;
    }
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    // In the till's folder every user of its group writes the file.
    if (const std::optional<struct stat> folder =
            SharedFolder::statOf(QFileInfo(path).absolutePath());
        regular && folder && st.st_uid == ::geteuid())
        (void)!::fchmod(fd, SharedFolder::modeIn(*folder, st.st_mode & 07777));
    ::close(fd);
    if (!regular) {
        error = *SettingsPath::notRegular(st, path);
        return false;
    }
    return true;
}

bool update(const QString &path, const std::function<bool(IniDocument &)> &change, IniError &error,
            QString *notice) {
    if (const std::optional<IniError> link = SettingsPath::unsafeLink(path)) {
        error = *link;
        return false;
    }
    const QString resolved = resolvedPath(path);
    const QFileInfo info(resolved);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    const QByteArray baseName = QFile::encodeName(info.fileName());
    const QByteArray target = QFile::encodeName(resolved);

    FolderLock lock(folder);
    if (!lock.locked()) {
        error = errno == EWOULDBLOCK ? IniError{IniErrorNumber::PathFileAccess, lock.problem()}
                                     : systemError(errno, path);
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
    if (const std::optional<IniError> kind = SettingsPath::notRegular(st, path)) {
        error = *kind;
        return false;
    }
    if ((st.st_mode & 0222) == 0) {
        error = {IniErrorNumber::PermissionDenied, Text::tr("Dosya salt okunur: %1").arg(path)};
        return false;
    }
    if (::access(target.constData(), W_OK) != 0) {
        error = systemError(errno, path);
        return false;
    }

    WholeFile::Options options;
    options.mode = st.st_mode & 07777;
    options.tempName = tempPrefix(baseName);
    options.owner = &st; // root keeps the owner
    options.flush = g_flushToDisk;
    options.folderFd = lock.fd();
    bool inFolder = false;
    if (const int err = WholeFile::write(resolved, doc.toFileBytes(), options, inFolder)) {
        error = inFolder ? folderError(err, path) : systemError(err, path);
        return false;
    }
    if (notice && doc.encodingChanged())
        *notice = Text::tr("Ayar dosyası Windows-1254 (Türkçe Windows) kodlamasındaydı;\n"
                           "yeni ad bu kodlamada yazılamadığı için dosya UTF-8 olarak kaydedildi.\n"
                           "Dosyayı Windows'ta Not Defteri ile açarken UTF-8 seçin.");
    return true;
}

} // namespace IniFileStore
