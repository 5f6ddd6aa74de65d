// Whether the run a trial record names still runs: a wrong answer either settles a change that
// its run still judges, or leaves one that nobody will ever settle.
#include "adapters/RunIdentity.h"

#include <QFile>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
QString u(const char *s) {
    return QString::fromUtf8(s);
}

// The process's child, by its number here (empty while it has none).
QString childOf(qint64 pid) {
    QFile f(QStringLiteral("/proc/%1/task/%1/children").arg(pid));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll().trimmed()) : QString();
}

// The process's state letter as /proc has it ("Z": ended, not collected).
QByteArray stateLetter(pid_t pid) {
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = f.readAll();
    return text.mid(text.lastIndexOf(')') + 2, 1);
}
} // namespace

class tst_RunIdentity : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void stateOfTheRunNamed_data();
    void stateOfTheRunNamed();
};

void tst_RunIdentity::stateOfTheRunNamed_data() {
    QTest::addColumn<QString>("run");
    QTest::addColumn<RunIdentity::State>("state");
    QTest::newRow("this process") << u("self") << RunIdentity::State::This;
    QTest::newRow("another run that still runs") << u("child") << RunIdentity::State::Other;
    QTest::newRow("another run, stopped (SIGSTOP)") << u("stopped") << RunIdentity::State::Other;
    QTest::newRow("ended, not yet collected by its parent (zombie)")
        << u("zombie") << RunIdentity::State::Ended;
    QTest::newRow("ended and gone") << u("reaped") << RunIdentity::State::Ended;
    QTest::newRow("its number taken by another process since")
        << u("reused") << RunIdentity::State::Ended;
    QTest::newRow("a run of before the computer last started")
        << u("other boot") << RunIdentity::State::Ended;
    // A run in a container knows itself as 1, which here is another process.
    QTest::newRow("a run in another process numbering that still runs")
        << u("container") << RunIdentity::State::Other;
    QTest::newRow("a run in another process numbering that has ended")
        << u("container ended") << RunIdentity::State::Ended;
}

void tst_RunIdentity::stateOfTheRunNamed() {
    QFETCH(QString, run);
    QFETCH(RunIdentity::State, state);
    RunIdentity named = RunIdentity::self();
    pid_t child = 0;
    QProcess container; // util-linux's unshare: sleep is process 1 of a numbering of its own
    if (run.startsWith(u("container"))) {
        if (::geteuid() != 0)
            QSKIP("needs root to make a process numbering");
        container.start(u("unshare"),
                        {u("--pid"), u("--fork"), u("--kill-child"), u("sleep"), u("30")});
        QVERIFY(container.waitForStarted());
        QString inner;
        QTRY_VERIFY(!(inner = childOf(container.processId())).isEmpty());
        const RunIdentity seen = RunIdentity::ofProcess(inner.toLongLong());
        named = {1, seen.start, seen.boot,
                 QFile::symLinkTarget(u("/proc/%1/ns/pid").arg(inner)).section(u'/', -1)};
        QVERIFY(named.pidNamespace != RunIdentity::self().pidNamespace);
        if (run == u("container ended")) {
            container.kill();
            container.waitForFinished();
            // Ended: gone, or a zombie that the system has not reaped yet (a busy or minimal
            // init takes its time).
            const auto ended = [&] {
                QFile stat(u("/proc/%1/stat").arg(inner));
                const QByteArray text = stat.open(QIODevice::ReadOnly) ? stat.readAll() : "";
                return text.isEmpty() || text.mid(text.lastIndexOf(')') + 2, 1) == "Z";
            };
            QTRY_VERIFY_WITH_TIMEOUT(ended(), 30000);
        }
    } else if (run != u("self") && run != u("other boot")) {
        child = ::fork();
        if (child == 0) {
            if (run == u("zombie") || run == u("reaped"))
                ::_exit(0);
            ::pause();
            ::_exit(0);
        }
        QVERIFY(child > 0);
        named = RunIdentity::ofProcess(child);
        QVERIFY(named.start > 0);
        if (run == u("stopped"))
            ::kill(child, SIGSTOP);
        if (run == u("zombie")) // ended: its stat says so before it is collected
            QTRY_COMPARE(stateLetter(child), QByteArray("Z"));
        if (run == u("reaped"))
            ::waitpid(child, nullptr, 0);
        if (run == u("reused"))
            named.start -= 1; // the number as an earlier process had it
    }
    if (run == u("other boot"))
        named.boot = u("00000000-0000-0000-0000-000000000000");
    QCOMPARE(named.state(), state);
    // Written and read back, it names the same run.
    QJsonObject record;
    named.intoJson(record);
    QCOMPARE(RunIdentity::fromJson(record), named);
    container.kill();
    container.waitForFinished();
    if (child > 0 && run != u("reaped")) {
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
}

QTEST_GUILESS_MAIN(tst_RunIdentity)
#include "tst_runidentity.moc"
