// The record of a change on trial, step by step: a wrong step lets two runs change the
// adapters at once, keeps a change nobody confirmed, or leaves one that nobody will settle.
#include "adapters/TrialLedger.h"
#include "settings/clsIni.h"
#include "settings/modNetProfiles.h"

#include <QDateTime>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
QString u(const char *s) {
    return QString::fromUtf8(s);
}
} // namespace

class tst_TrialLedger : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void eachStep_data();
    void eachStep();

private:
    // A run by name: "self", "other" (another run that goes on), "ended".
    RunIdentity run(const QString &name) const;
    QString describeTrial(const QJsonObject &record) const;

    pid_t m_other = 0;
    RunIdentity m_otherRun;
    RunIdentity m_endedRun;
};

void tst_TrialLedger::initTestCase() {
    for (RunIdentity *named : {&m_endedRun, &m_otherRun}) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::pause();
            ::_exit(0);
        }
        QVERIFY(child > 0);
        *named = RunIdentity::ofProcess(child);
        m_other = child;
        if (named == &m_endedRun) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
    }
}

void tst_TrialLedger::cleanupTestCase() {
    ::kill(m_other, SIGKILL);
    ::waitpid(m_other, nullptr, 0);
}

RunIdentity tst_TrialLedger::run(const QString &name) const {
    return name == u("self") ? RunIdentity::self() : name == u("other") ? m_otherRun : m_endedRun;
}

QString tst_TrialLedger::describeTrial(const QJsonObject &record) const {
    if (!record.contains(u("profileBefore")) && !record.contains(u("phase")))
        return u("none");
    const RunIdentity owner = RunIdentity::fromJson(record);
    QString who = owner == RunIdentity::self() ? u("self")
                  : owner == m_otherRun        ? u("other")
                                               : u("ended");
    if (record.value(u("phase")).toString() == u("keeping"))
        who += u(" keeping");
    return who;
}

void tst_TrialLedger::eachStep_data() {
    // trial: whose the adapters' trial is ("self keeping": that run is keeping it); remote: the
    // remote change's state and whose run acts on it; answer: what the step says; then the
    // record after it.
    QTest::addColumn<QString>("trial");
    QTest::addColumn<QString>("remote");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("trialAfter");
    QTest::addColumn<QString>("remoteAfter");
    const auto row = [](const char *name, const char *trial, const char *remote, const char *step,
                        const char *answer, const char *trialAfter, const char *remoteAfter) {
        QTest::newRow(name) << u(trial) << u(remote) << u(step) << u(answer) << u(trialAfter)
                            << u(remoteAfter);
    };
    row("claim with nothing on trial", "none", "none", "claim", "Claimed", "self", "none");
    row("claim over another run's trial", "other", "none", "claim", "Busy", "other", "none");
    row("claim over an ended run's trial", "ended", "none", "claim", "Unsettled", "ended", "none");
    row("claim while a remote change waits", "none", "applied other", "claim", "Busy", "none",
        "applied");
    row("claim while another run confirms", "none", "confirming other", "claim", "Busy", "none",
        "confirming");
    row("a preview takes nothing", "ended", "none", "wouldClaim", "Claimed", "ended", "none");
    row("nothing came to be on trial", "self", "none", "release", "", "none", "none");
    row("keeping is marked", "self", "none", "markKeeping", "", "self keeping", "none");
    row("a failed keep waits for its time", "self keeping", "none", "keepFailed", "", "self",
        "none");
    row("kept", "self keeping", "none", "kept", "true", "none", "none");
    row("a remote change kept", "self keeping", "confirming self", "kept", "true", "none",
        "confirmed");
    row("put back names the profile before", "self", "none", "putBack", "A", "none", "none");
    row("a remote change undone", "self", "undoing self", "putBack undone", "A", "none", "undone");
    row("an ended run's trial adopted", "ended", "none", "adopt", "true", "self", "none");
    row("a running run's trial never adopted", "other", "none", "adopt", "false", "other", "none");
    row("a remote change asked for", "none", "none", "beginRemote", "Claimed", "none", "starting");
    row("a remote change refused beside another's trial", "other", "none", "beginRemote", "Busy",
        "other", "none");
    row("the newest request is applied", "none", "starting self", "startApplying r1", "", "self",
        "applying");
    row("a replaced request is not", "none", "starting self", "startApplying r0", "refused", "none",
        "starting");
    row("applied, it waits", "self", "applying self", "finishApplying", "", "self", "applied");
    row("refused, nothing stays on trial", "self", "applying self", "finishRefused", "", "none",
        "refused");
    row("a waiting change is confirmed", "ended", "applied ended", "confirm", "true", "ended",
        "confirming");
    row("nothing waits for an undo", "none", "none", "undo", "false", "none", "none");
    row("no confirm while another run undoes", "ended", "undoing other", "confirm", "false",
        "ended", "undoing");
    row("a decision whose run ended is taken over", "ended", "confirming ended", "undo", "true",
        "ended", "undoing");
    row("a decision not carried out waits again", "ended", "confirming self", "dropDecision", "",
        "ended", "applied");
    row("a request whose run never started is withdrawn", "none", "starting self", "withdraw r1",
        "", "none", "none");
}

void tst_TrialLedger::eachStep() {
    QFETCH(QString, trial);
    QFETCH(QString, remote);
    QFETCH(QString, step);
    QFETCH(QString, answer);
    QFETCH(QString, trialAfter);
    QFETCH(QString, remoteAfter);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    clsIni ini;
    QVERIFY(ini.setFileName(dir.filePath(u("profiles.config")), clsIni::PathRule::Exact));
    ini.WriteString(modNetProfiles::CurrentProfileSection, modNetProfiles::ProfileNameKey, u("B"));
    TrialLedger ledger(ini);
    QVERIFY(ledger.transact([&](QJsonObject &record) {
        if (trial != u("none")) {
            record.insert(u("profileBefore"), u("A"));
            run(trial.section(u' ', 0, 0)).intoJson(record);
            if (trial.endsWith(u("keeping")))
                record.insert(u("phase"), u("keeping"));
        }
        if (remote != u("none")) {
            QJsonObject r{{u("state"), remote.section(u' ', 0, 0)},
                          {u("profile"), u("B")},
                          {u("seconds"), 60},
                          {u("request"), u("r1")},
                          {u("since"), double(QDateTime::currentMSecsSinceEpoch())}};
            run(remote.section(u' ', 1, 1)).intoJson(r);
            record.insert(u("remote"), r);
        }
    }));

    const QString argument = step.section(u' ', 1, 1);
    const auto kind = [](TrialLedger::Claim c) {
        return c == TrialLedger::Claim::Claimed     ? u("Claimed")
               : c == TrialLedger::Claim::Busy      ? u("Busy")
               : c == TrialLedger::Claim::Unsettled ? u("Unsettled")
                                                    : u("Failed");
    };
    const auto flag = [](bool b) { return b ? u("true") : u("false"); };
    QString said;
    TrialLedger::RemoteInfo now;
    const QString name = step.section(u' ', 0, 0);
    if (name == u("claim"))
        said = kind(ledger.claim(ini).kind);
    else if (name == u("wouldClaim"))
        said = kind(ledger.wouldClaim().kind);
    else if (name == u("release"))
        ledger.release();
    else if (name == u("markKeeping"))
        ledger.markKeeping();
    else if (name == u("keepFailed"))
        ledger.keepFailed();
    else if (name == u("kept"))
        said = flag(ledger.kept());
    else if (name == u("putBack"))
        said = argument == u("undone") ? ledger.putBack(ini, TrialLedger::Remote::Undone)
                                       : ledger.putBack(ini);
    else if (name == u("adopt"))
        said = flag(ledger.adopt());
    else if (name == u("beginRemote"))
        said = kind(ledger.beginRemote(u("B"), 60, u("r2")).kind);
    else if (name == u("startApplying"))
        said = ledger.startApplying(ini, argument) ? u("refused") : QString();
    else if (name == u("finishApplying") || name == u("finishRefused"))
        ledger.finishApplying(u("r1"), name == u("finishApplying"), u("why"), u("code"));
    else if (name == u("confirm") || name == u("undo"))
        said = flag(ledger.claimDecision(name == u("confirm") ? TrialLedger::Decision::Confirm
                                                              : TrialLedger::Decision::Undo,
                                         now));
    else if (name == u("dropDecision"))
        ledger.dropDecision();
    else if (name == u("withdraw"))
        ledger.withdraw(argument);
    else
        QFAIL("no such step");

    QCOMPARE(said, answer);
    const std::optional<QJsonObject> record = ledger.read();
    QVERIFY(record);
    QCOMPARE(describeTrial(*record), trialAfter);
    QCOMPARE(TrialLedger::remoteName(TrialLedger::remoteOf(*record).state), remoteAfter);
    if (name == u("putBack")) // the profile before is current again, in the same step
        QCOMPARE(ini.ReadString(modNetProfiles::CurrentProfileSection,
                                modNetProfiles::ProfileNameKey, QString()),
                 u("A"));
}

QTEST_GUILESS_MAIN(tst_TrialLedger)
#include "tst_trialledger.moc"
