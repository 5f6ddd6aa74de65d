#include "adapters/RunIdentity.h"

#include <QFile>
#include <cerrno>
#include <signal.h>
#include <unistd.h>

namespace {

QString bootId() {
    static const QString id = [] {
        QFile f(QStringLiteral("/proc/sys/kernel/random/boot_id"));
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll().trimmed()) : QString();
    }();
    return id;
}

struct ProcessStat {
    bool exists = false;
    bool zombie = false; // ended, not yet collected by its parent
    qint64 start = 0;
};

// /proc/PID/stat: "pid (name) state ppid …", the start time the 22nd field; the name may hold
// blanks and brackets, so the fields are counted from its last ')'.
ProcessStat statOf(qint64 pid) {
    ProcessStat stat;
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return stat;
    const QByteArray text = f.read(4096);
    const qsizetype close = text.lastIndexOf(')');
    if (close < 0)
        return stat;
    const QList<QByteArray> fields = text.mid(close + 2).split(' ');
    if (fields.size() < 20)
        return stat;
    stat.exists = true;
    stat.zombie = fields[0] == "Z" || fields[0] == "X";
    stat.start = fields[19].toLongLong();
    return stat;
}

} // namespace

RunIdentity RunIdentity::self() {
    static const RunIdentity me = ofProcess(::getpid());
    return me;
}

RunIdentity RunIdentity::ofProcess(qint64 pid) {
    return {pid, statOf(pid).start, bootId()};
}

RunIdentity RunIdentity::fromJson(const QJsonObject &object) {
    return {qint64(object.value(QStringLiteral("pid")).toDouble()),
            qint64(object.value(QStringLiteral("start")).toDouble()),
            object.value(QStringLiteral("boot")).toString()};
}

void RunIdentity::intoJson(QJsonObject &object) const {
    object.insert(QStringLiteral("pid"), double(pid));
    object.insert(QStringLiteral("start"), double(start));
    object.insert(QStringLiteral("boot"), boot);
}

void RunIdentity::removeFrom(QJsonObject &object) {
    for (const char *key : {"pid", "start", "boot"})
        object.remove(QString::fromLatin1(key));
}

RunIdentity::State RunIdentity::state() const {
    if (pid <= 0)
        return State::None;
    if (boot != bootId())
        return State::Ended;
    const ProcessStat stat = statOf(pid);
    if (!stat.exists) {
        // Where /proc hides other users' processes, a signal still tells whether it runs.
        if (::kill(pid_t(pid), 0) == 0 || errno == EPERM)
            return pid == ::getpid() ? State::This : State::Other;
        return State::Ended;
    }
    if (stat.zombie || (start != 0 && stat.start != start))
        return State::Ended; // its number now names another process
    return pid == ::getpid() ? State::This : State::Other;
}
