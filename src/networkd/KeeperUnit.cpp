#include "networkd/KeeperUnit.h"

#include "settings/Text.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <sys/stat.h>
#include <unistd.h>

namespace KeeperUnit {

namespace {

// The file systemd starts: the program's own path while that file is still the image that
// runs (a restart after a kill finds it again); once an upgrade replaced it, this process's
// image, which only lives as long as this run (the new version is never started for a change
// the old one made).
QString image() {
    const QString path = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    struct stat running {
    }, atPath{};
    if (!path.isEmpty() && ::stat("/proc/self/exe", &running) == 0 &&
        ::stat(QFile::encodeName(path).constData(), &atPath) == 0 &&
        running.st_dev == atPath.st_dev && running.st_ino == atPath.st_ino)
        return path;
    return QStringLiteral("/proc/%1/exe").arg(::getpid());
}

} // namespace

bool available() {
    // systemd's own test whether it booted the computer (sd_booted).
    return ::geteuid() == 0 && QFileInfo(QStringLiteral("/run/systemd/system")).isDir();
}

bool start(const QStringList &arguments, QString &problem) {
    QProcess run;
    run.setProgram(QStringLiteral("systemd-run"));
    run.setArguments(QStringList{
                         QStringLiteral("--quiet"),
                         QStringLiteral("--collect"),
                         QStringLiteral("--service-type=exec"),
                         QStringLiteral("--unit=nuvar-zelvi-keeper-%1-%2")
                             .arg(::getpid())
                             .arg(QDateTime::currentMSecsSinceEpoch()),
                         QStringLiteral("--description=Nuvar POS Zelvi IP: the change on trial"),
                         QStringLiteral("--property=Restart=on-abnormal"),
                         QStringLiteral("--property=RestartSec=1"),
                         image(),
                     } +
                     arguments);
    run.setStandardInputFile(QProcess::nullDevice());
    run.start();
    if (!run.waitForFinished(15000)) {
        problem = Text::tr("systemd-run deneme bekçisini başlatmadı: %1").arg(run.errorString());
        run.kill();
        run.waitForFinished(1000);
        return false;
    }
    if (run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0)
        return true;
    problem = Text::tr("systemd-run deneme bekçisini başlatmadı: %1")
                  .arg(QString::fromLocal8Bit(run.readAllStandardError()).trimmed());
    return false;
}

} // namespace KeeperUnit
