#include "settings/FileLocation.h"

#include "settings/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileLocation {

namespace {

// The owner of the path, or of its nearest folder that exists.
uid_t ownerOf(QString path) {
    for (;;) {
        struct stat st {};
        if (::stat(QFile::encodeName(path).constData(), &st) == 0)
            return st.st_uid;
        const QString up = QFileInfo(path).path();
        if (up == path)
            return uid_t(-1);
        path = up;
    }
}

bool ownedByUser(const QString &path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && st.st_uid == ::geteuid();
}

} // namespace

QString tillFolder() {
    return QStringLiteral(ZELVI_TILL_FOLDER);
}

QString tillGroup() {
    return QStringLiteral(ZELVI_TILL_GROUP);
}

QString configBase() {
    const auto absolute = [](const char *name) {
        const QString value = QFile::decodeName(qgetenv(name));
        return value.startsWith(QLatin1Char('/')) ? value : QString();
    };
    // A relative $XDG_CONFIG_HOME is to be ignored, as one that is not set.
    if (const QString xdg = absolute("XDG_CONFIG_HOME"); !xdg.isEmpty())
        return xdg;
    QString home = absolute("HOME");
    if (home.isEmpty()) { // not set (a service, "env -i"): the user's home from the system
        if (const passwd *user = ::getpwuid(::geteuid()))
            home = QFile::decodeName(user->pw_dir);
    }
    return home + QStringLiteral("/.config");
}

QString configFolder() {
    QString base = configBase();
    // "sudo -E" and the like keep the user's HOME: root's files there would lock the user out.
    if (::geteuid() == 0 && ownerOf(base) != 0) {
        if (const passwd *root = ::getpwuid(0))
            base = QFile::decodeName(root->pw_dir) + QStringLiteral("/.config");
    }
    return base + QStringLiteral("/nuvar-pos-zelvi-ip");
}

bool isSystemFolder(const QString &folder) {
    const QString f = QDir::cleanPath(folder);
    for (const char *system : {"/usr", "/bin", "/sbin", "/opt", "/etc"}) {
        const QLatin1String s(system);
        if (f == s || f.startsWith(s + QLatin1Char('/')))
            return true;
    }
    return f.startsWith(QLatin1String("/lib")) || f == QLatin1String("/");
}

bool besideProgram(const QString &programFolder, bool folderIsUsers, bool fileIsUsers) {
    return !isSystemFolder(programFolder) && (folderIsUsers || fileIsUsers);
}

Place choose(bool portable, bool tillFolderExists, bool root) {
    if (portable)
        return Place::BesideProgram;
    return tillFolderExists || root ? Place::Till : Place::User;
}

QString locate(const QString &fileName) {
    const QString folder = programFolder();
    const QString beside = folder + QLatin1Char('/') + fileName;
    const bool folderIsUsers =
        ownedByUser(folder) && ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
    switch (choose(besideProgram(folder, folderIsUsers, ownedByUser(beside)),
                   QFileInfo(tillFolder()).isDir(), ::geteuid() == 0)) {
    case Place::BesideProgram:
        return beside;
    case Place::Till:
        return tillFolder() + QLatin1Char('/') + fileName;
    case Place::User:
        break;
    }
    return userFile(fileName);
}

QString userFile(const QString &fileName) {
    return configFolder() + QLatin1Char('/') + fileName;
}

bool makeFolder(const QString &folder) {
    if (QFileInfo(folder).isDir())
        return true;
    if (QDir::cleanPath(folder) != tillFolder())
        return QDir().mkpath(folder);
    // As the package makes it: root's, the group's to write, new files the group's.
    if (!QDir().mkpath(QFileInfo(folder).path()))
        return false;
    const QByteArray native = QFile::encodeName(folder);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    if (const group *g = ::getgrnam(ZELVI_TILL_GROUP))
        (void)!::chown(native.constData(), 0, g->gr_gid);
    (void)!::chmod(native.constData(), 02775);
    return QFileInfo(folder).isDir();
}

QString programFile(const QString &fileName) {
    const QString path = locate(fileName);
    makeFolder(QFileInfo(path).path()); // the first start of an installed copy
    return path;
}

} // namespace FileLocation
