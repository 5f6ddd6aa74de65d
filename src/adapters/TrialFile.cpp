#include "adapters/TrialFile.h"

#include "settings/FolderLock.h"
#include "settings/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <cerrno>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 kMaxBytes = 64 * 1024;

QString bootId() {
    QFile f(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll().trimmed()) : QString();
}

// Whether the path holds something that is no record of this user's: not a regular file (a
// link, a FIFO, a folder), or another user's file (in a folder that others may write to, such
// as /tmp, a record planted by somebody else would make the program roll back a stranger's
// checkpoint).
bool notOurs(const QString &path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 &&
           (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid());
}

} // namespace

TrialFile::TrialFile(QString path) : m_path(std::move(path)) {}

QString TrialFile::besideSettings(const QString &settingsPath) {
    return settingsPath + QStringLiteral(".trial");
}

QJsonObject TrialFile::read() const {
    if (notOurs(m_path))
        return {};
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.read(kMaxBytes)).object();
}

bool TrialFile::update(const std::function<void(QJsonObject &)> &change, QString *problem) {
    const auto fail = [&](const QString &why) {
        if (problem)
            *problem = why;
        return false;
    };
    const QString folder = QFileInfo(m_path).absolutePath();
    QDir().mkpath(folder);
    FolderLock lock(QFile::encodeName(folder));
    if (!lock.locked())
        return fail(Text::tr("Deneme kaydının klasörü kilitlenemedi: %1").arg(folder));
    if (notOurs(m_path))
        return fail(
            Text::tr("Deneme kaydı bu kullanıcının normal bir dosyası değil: %1").arg(m_path));
    QJsonObject record = read();
    change(record);
    // A record that says nothing but who made it has nothing left to tell.
    const QJsonValue pid = record.take(QStringLiteral("pid"));
    const QJsonValue boot = record.take(QStringLiteral("boot"));
    if (!record.isEmpty()) {
        record.insert(QStringLiteral("pid"), pid); // an undefined value inserts nothing
        record.insert(QStringLiteral("boot"), boot);
    }
    if (record.isEmpty()) {
        if (QFile::exists(m_path) && !QFile::remove(m_path))
            return fail(Text::tr("Deneme kaydı silinemedi: %1").arg(m_path));
        return true;
    }
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly) || f.write(QJsonDocument(record).toJson()) < 0 || !f.commit())
        return fail(Text::tr("Deneme kaydı yazılamadı: %1").arg(m_path));
    return true;
}

void TrialFile::stampRun(QJsonObject &record) {
    record.insert(QStringLiteral("pid"), double(::getpid()));
    record.insert(QStringLiteral("boot"), bootId());
}

TrialFile::Run TrialFile::runOf(const QJsonObject &record) {
    if (!record.contains(QStringLiteral("pid")))
        return Run::None;
    const qint64 pid = qint64(record.value(QStringLiteral("pid")).toDouble());
    if (record.value(QStringLiteral("boot")).toString() != bootId() || pid <= 0)
        return Run::Ended;
    if (pid == ::getpid())
        return Run::This;
    // A process of another user answers "not permitted": it runs all the same.
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM ? Run::Other : Run::Ended;
}
