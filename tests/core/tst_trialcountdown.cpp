// A change on trial as the window and the command line count it down and keep it, driven by
// the simulated computer's clock: the seconds left, a trial restarted, kept in time or too
// late, ended while nobody looked, and another run's trial shown but not judged.
#include "SimulatedFixture.h"
#include "TestFiles.h"
#include "adapters/AdapterCommands.h"
#include "adapters/TrialLedger.h"
#include "core/TrialCountdown.h"
#include "settings/clsIni.h"
#include "settings/modNetProfiles.h"

#include <QProcess>
#include <QTest>

class tst_TrialCountdown : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void countdown_data();
    void countdown();
};

enum class Step { Tick, Restart, Keep, OthersTrial };
Q_DECLARE_METATYPE(Step)

void tst_TrialCountdown::countdown_data() {
    QTest::addColumn<int>("advance"); // seconds the computer's clock moves before the step
    QTest::addColumn<Step>("step");
    QTest::addColumn<int>("left");
    QTest::addColumn<bool>("ours");
    QTest::addColumn<QString>("current"); // the profile the settings name afterwards
    QTest::addColumn<int>("kept");        // AdapterBackend::Keep, for Keep
    const int kept = int(AdapterBackend::Keep::Kept);
    const int putBack = int(AdapterBackend::Keep::PutBack);
    QTest::newRow("counts by the computer's clock") << 5 << Step::Tick << 15 << true << "B" << -1;
    QTest::newRow("ended while nobody looked: the profile before is named again")
        << 25 << Step::Tick << -1 << false << "A" << -1;
    QTest::newRow("restarted after a message") << 15 << Step::Restart << 20 << true << "B" << -1;
    QTest::newRow("a message open past its time: put back, and said so")
        << 25 << Step::Restart << -1 << false << "A" << -1;
    QTest::newRow("kept in time") << 5 << Step::Keep << -1 << false << "B" << kept;
    QTest::newRow("kept too late: put back, the profile before named")
        << 25 << Step::Keep << -1 << false << "A" << putBack;
    QTest::newRow("another run's trial is shown, not judged")
        << 5 << Step::OthersTrial << 15 << false << "B" << -1;
}

void tst_TrialCountdown::countdown() {
    QFETCH(int, advance);
    QFETCH(Step, step);
    QFETCH(int, left);
    QFETCH(bool, ours);
    QFETCH(QString, current);
    QFETCH(int, kept);
    SimulatedFixture pc;
    qint64 now = QDateTime::currentMSecsSinceEpoch();
    pc.computer->now = [&now] { return now; };
    const QString path = pc.dir.filePath(QStringLiteral("a.config"));
    writeAll(path, "[Profiles]\nA=10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1....\n"
                   "B=10.0.0.6.255.0.0.0.10.0.0.1.10.0.0.1....\n[CurrentProfile]\nProfileName=A\n");
    clsIni ini;
    QVERIFY(ini.setFileName(path));
    TrialCountdown trial(ini, *pc.computer);
    QProcess otherRun;
    if (step == Step::OthersTrial) {
        // Another run applied B and still waits for its check.
        QVERIFY(pc.pendingOfOtherRun(otherRun, 20));
        SimulatedFixture::recordOfOtherRun(otherRun, path, QStringLiteral("A"));
        pc.computer->checkpoint->until = now + 20'000; // by this test's clock
        pc.store();
    } else {
        QVERIFY(TrialCountdown::claim(ini, *pc.computer).ok);
        const AdapterCommands::ApplyOutcome outcome = AdapterCommands::applyProfile(
            *pc.computer, QStringLiteral("*ALL"),
            QStringLiteral("10.0.0.6.255.0.0.0.10.0.0.1.10.0.0.1....").split(u'.'), 20);
        QVERIFY(outcome.trial.pending);
        trial.begin(20);
    }
    ini.WriteString(modNetProfiles::CurrentProfileSection, modNetProfiles::ProfileNameKey,
                    QStringLiteral("B"));

    now += qint64(advance) * 1000;
    TrialCountdown::Kept result;
    result.outcome = AdapterBackend::Keep(-1);
    switch (step) {
    case Step::Tick:
        trial.tick();
        break;
    case Step::Restart:
        trial.restart(20);
        trial.tick();
        break;
    case Step::Keep:
        result = trial.keepOwn();
        break;
    case Step::OthersTrial:
        QVERIFY(trial.followOthers());
        break;
    }
    // Only this run's own change that ran out is told as lost, once.
    QCOMPARE(trial.takeLost().has_value(), step != Step::OthersTrial && !ours && kept < 0);
    QVERIFY(!trial.takeLost());
    QCOMPARE(trial.secondsLeft(), left);
    QCOMPARE(trial.ours(), ours);
    QCOMPARE(int(result.outcome), kept);
    QCOMPARE(ini.ReadString(modNetProfiles::CurrentProfileSection, modNetProfiles::ProfileNameKey,
                            QString()),
             current);
    QCOMPARE(TrialLedger(ini).trialRun().has_value(), left >= 0); // the record goes with it
    otherRun.kill();
    otherRun.waitForFinished();
}

QTEST_GUILESS_MAIN(tst_TrialCountdown)
#include "tst_trialcountdown.moc"
