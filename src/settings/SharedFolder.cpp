#include "settings/SharedFolder.h"

#include "settings/Text.h"

#include <QFile>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace SharedFolder {

bool isShared(const struct stat &folder) {
    return S_ISDIR(folder.st_mode) && (folder.st_mode & S_ISGID) && (folder.st_mode & S_IWGRP) &&
           !(folder.st_mode & S_IWOTH);
}

std::optional<struct stat> statOf(const QString &folder) {
    struct stat st {};
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0)
        return std::nullopt;
    return st;
}

bool trusted(const struct stat &file, const struct stat &folder) {
    return file.st_uid == ::geteuid() || file.st_uid == 0 ||
           (isShared(folder) && file.st_gid == folder.st_gid);
}

mode_t modeIn(const struct stat &folder, mode_t mode) {
    return isShared(folder) ? mode | S_IRGRP | S_IWGRP : mode;
}

namespace {

bool inGroup(gid_t gid) {
    if (::getegid() == gid)
        return true;
    const int n = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(std::size_t(n > 0 ? n : 0));
    if (n <= 0 || ::getgroups(n, groups.data()) != n)
        return false;
    for (const gid_t g : groups) {
        if (g == gid)
            return true;
    }
    return false;
}

} // namespace

std::optional<QString> notInGroup(const QString &folder) {
    const std::optional<struct stat> st = statOf(folder);
    if (!st || !isShared(*st) || ::geteuid() == 0 || inGroup(st->st_gid))
        return std::nullopt;
    const group *g = ::getgrgid(st->st_gid);
    const QString groupName = g ? QString::fromLocal8Bit(g->gr_name) : QString::number(st->st_gid);
    const passwd *user = ::getpwuid(::geteuid());
    const QString userName =
        user ? QString::fromLocal8Bit(user->pw_name) : QStringLiteral("KULLANICI");
    return Text::tr("Bu bilgisayarın ortak profil listesini (%1)\nyalnızca %2 grubundakiler "
                    "değiştirebilir; %3 bu grupta değil: okuyabilir ama kaydedemez.\n"
                    "Yetki vermek için: sudo adduser %3 %2 (sonra oturumu kapatıp yeniden açın).")
        .arg(folder, groupName, userName);
}

} // namespace SharedFolder
