#include "settings/SettingsPath.h"

#include "settings/Text.h"

#include <QFile>
#include <QFileInfo>
#include <climits>
#include <unistd.h>

namespace SettingsPath {

namespace {

QByteArray folderOf(const QByteArray &path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

} // namespace

std::optional<IniError> unsafeLink(const QString &path) {
    QByteArray current = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    for (int hop = 0; hop < 40; ++hop) { // the kernel's own limit ends a longer chain
        struct stat link {};
        if (::lstat(current.constData(), &link) != 0 || !S_ISLNK(link.st_mode))
            return std::nullopt;
        const QByteArray folder = folderOf(current);
        struct stat dir {};
        if (::stat(folder.constData(), &dir) != 0)
            return std::nullopt;
        const bool shared = (dir.st_mode & S_ISVTX) && (dir.st_mode & S_IWOTH);
        if (shared && link.st_uid != ::geteuid() && link.st_uid != dir.st_uid)
            return IniError{
                IniErrorNumber::PermissionDenied,
                Text::tr(
                    "Ayar dosyası, herkesin yazabildiği %1 klasöründe başka bir kullanıcıya ait\n"
                    "bir bağlantı (symlink): %2\n"
                    "Başka bir kullanıcının dosyalarınızı değiştirmesine yol açabileceği için "
                    "izlenmedi.")
                    .arg(QFile::decodeName(folder), path)};
        char target[PATH_MAX];
        const ssize_t n = ::readlink(current.constData(), target, sizeof target - 1);
        if (n <= 0)
            return std::nullopt;
        const QByteArray next(target, n);
        current = next.startsWith('/') ? next : folder + '/' + next;
    }
    return std::nullopt;
}

std::optional<IniError> notRegular(const struct stat &st, const QString &path,
                                   const QString &what) {
    if (S_ISREG(st.st_mode))
        return std::nullopt;
    const QString kind = S_ISDIR(st.st_mode)    ? Text::tr("bir klasör")
                         : S_ISFIFO(st.st_mode) ? Text::tr("bir FIFO (adlandırılmış boru)")
                         : S_ISSOCK(st.st_mode) ? Text::tr("bir soket")
                         : (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
                             ? Text::tr("bir aygıt")
                             : Text::tr("normal bir dosya değil");
    return IniError{IniErrorNumber::PathFileAccess,
                    Text::tr("%1 olarak yalnızca normal bir dosya kullanılabilir; %2 %3.")
                        .arg(what, path, kind)};
}

IniError tooLarge(qint64 size, const QString &path, const QString &what) {
    return {IniErrorNumber::PathFileAccess,
            Text::tr("%1 çok büyük (%2 MB; en çok %3 MB okunur): %4")
                .arg(what)
                .arg(size / (1024 * 1024))
                .arg(MaxFileSize / (1024 * 1024))
                .arg(path)};
}

} // namespace SettingsPath
