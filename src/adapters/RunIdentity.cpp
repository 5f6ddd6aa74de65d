#include "adapters/RunIdentity.h"

#include <QDir>
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

QString namespaceOf(const QString &process) {
    return QFile::symLinkTarget(QStringLiteral("/proc/%1/ns/pid").arg(process))
        .section(QLatin1Char('/'), -1);
}

QString ownNamespace() {
    static const QString ns = namespaceOf(QStringLiteral("self"));
    return ns;
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

// The process that `pid` names in another process numbering (`ns`), by this numbering's number;
// 0 when none of the processes that can be seen is it.
qint64 seenAs(qint64 pid, const QString &ns) {
    const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &process : processes) {
        bool number = false;
        const qint64 here = process.toLongLong(&number);
        if (!number || namespaceOf(process) != ns)
            continue;
        QFile status(QStringLiteral("/proc/%1/status").arg(process));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
            // "NSpid:" lists its number in each numbering, this one's first, its own last.
            if (line.startsWith("NSpid:") &&
                line.simplified().split(' ').last().toLongLong() == pid)
                return here;
        }
    }
    return 0;
}

} // namespace

RunIdentity RunIdentity::self() {
    static const RunIdentity me = ofProcess(::getpid());
    return me;
}

RunIdentity RunIdentity::ofProcess(qint64 pid) {
    return {pid, statOf(pid).start, bootId(), ownNamespace()};
}

RunIdentity RunIdentity::fromJson(const QJsonObject &object) {
    return {qint64(object.value(QStringLiteral("pid")).toDouble()),
            qint64(object.value(QStringLiteral("start")).toDouble()),
            object.value(QStringLiteral("boot")).toString(),
            object.value(QStringLiteral("pidNamespace")).toString()};
}

void RunIdentity::intoJson(QJsonObject &object) const {
    object.insert(QStringLiteral("pid"), double(pid));
    object.insert(QStringLiteral("start"), double(start));
    object.insert(QStringLiteral("boot"), boot);
    object.insert(QStringLiteral("pidNamespace"), pidNamespace);
}

void RunIdentity::removeFrom(QJsonObject &object) {
    for (const char *key : {"pid", "start", "boot", "pidNamespace"})
        object.remove(QString::fromLatin1(key));
}

RunIdentity::State RunIdentity::state() const {
    if (pid <= 0)
        return State::None;
    if (boot != bootId())
        return State::Ended;
    // A run numbered in another process numbering (a container): found by its number there.
    if (!pidNamespace.isEmpty() && pidNamespace != ownNamespace()) {
        const qint64 here = seenAs(pid, pidNamespace);
        const ProcessStat stat = statOf(here);
        return here > 0 && !stat.zombie && (start == 0 || stat.start == start) ? State::Other
                                                                               : State::Ended;
    }
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
