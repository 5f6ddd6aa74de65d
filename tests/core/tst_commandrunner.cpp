// The command line's commands on the simulated computer and real files: output, JSON parsed
// back, exit statuses, and the same rules as the window (check first, exact adapter, the
// current profile, the fallback of --check).
#include "CannedHttpServer.h"
#include "SimulatedFixture.h"
#include "TestFiles.h"
#include "core/CommandRunner.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString u(const char *utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

class tst_CommandRunner : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commands_data();
    void commands();
    void checkAndFallback_data();
    void checkAndFallback();
    void othersTrialAndPause_data();
    void othersTrialAndPause();
    void changeFromAfar_data();
    void changeFromAfar();
    void applyAgainChangesNothing();
    void dryRunAnswersAsTheRun_data();
    void dryRunAnswersAsTheRun();
    void unreadableSettingsAreSaid_data();
    void unreadableSettingsAreSaid();
    void plantedRecordIsIgnored();

private:
    int run(const QStringList &args, QString &out, QString &err);

    QTemporaryDir m_dir;
    std::unique_ptr<SimulatedFixture> m_pc;
    int m_trialDuringWait = -1;
    bool m_pauseDuringWait = false; // the run is stopped past its trial while it waits
    std::function<void()> m_duringWait;
    QStringList m_detached; // what a change from afar started in the background
};

int tst_CommandRunner::run(const QStringList &args, QString &out, QString &err) {
    const CommandLine cl =
        CommandLine::parse(QStringList{u("--settings"), m_dir.filePath(u("ayar.config"))} + args);
    if (!cl.error.isEmpty())
        return CommandRunner::WrongUsage;
    CommandRunner::Context context;
    context.settingsPath = cl.settingsFile;
    context.backend = [this](QString &) { return m_pc->computer.get(); };
    context.localAddress = [] { return u("10.0.0.9"); };
    context.httpTimeoutMs = 2000;
    // What another run would see while this one waits for its check.
    context.wait = [this](int) {
        m_trialDuringWait = m_pc->computer->trialSecondsLeft();
        if (m_duringWait)
            m_duringWait();
        if (m_pauseDuringWait)
            m_pc->computer->now = [] { return QDateTime::currentMSecsSinceEpoch() + 100'000; };
    };
    context.detach = [this](const QStringList &arguments, qint64 *, QString &) {
        m_detached = arguments;
        return true;
    };
    QTextStream o(&out);
    QTextStream e(&err);
    return CommandRunner::run(cl, context, o, e);
}

void tst_CommandRunner::commands_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");  // a part of stdout ("stderr:" for stderr)
    QTest::addColumn<QString>("current"); // [CurrentProfile] afterwards
    QTest::addColumn<QString>("address"); // the first adapter's address afterwards

    const auto row = [](const char *name, QStringList args, int status, const char *output,
                        const char *current, const char *address) {
        QTest::newRow(name) << args << status << u(output) << u(current) << u(address);
    };
    row("list, sorted, current marked", {u("--list")}, 0, "  Alfa\n  Bozuk\n* Şube\n  Zeta\n",
        "Şube", "");
    row("list as JSON", {u("--list"), u("--json")}, 0, "\"current\":\"Şube\"", "Şube", "");
    row("show", {u("--show"), u("alfa")}, 0, "IP: 10.0.0.5\nMaske: 255.0.0.0\nModem IP: 10.0.0.1",
        "Şube", "");
    row("show of no profile", {u("--show"), u("Yok")}, 1, "stderr:\"Yok\" adında bir profil yok",
        "Şube", "");
    row("adapters", {u("--adapters")}, 0, "[2] Kasa\n[3] Kasa\n", "Şube", "");
    row("apply to all, asked for", {u("--apply"), u("Alfa"), u("--adapter"), u("all")}, 0,
        "\"Alfa\" profili uygulandı", "Alfa", "10.0.0.5");
    row("two adapters, none chosen: one address never put on both", {u("--apply"), u("Alfa")}, 1,
        "stderr:[3] Kasa\n--adapter NUMARA ya da AD", "Şube", "");
    row("an adapter by its interface's name", {u("--apply"), u("Alfa"), u("--adapter"), u("Kasa")},
        0, "[2] Kasa", "Alfa", "10.0.0.5");
    row("an interface name no adapter has", {u("--apply"), u("Alfa"), u("--adapter"), u("eth9")}, 1,
        "stderr:\"eth9\" adlı ya da numaralı", "Şube", "");
    row("the address service set",
        {u("--set-link"), u("ExternalAddressUrl"), u("http://10.0.0.1:8080/ip.php")}, 0,
        "kaydedildi: http://10.0.0.1:8080/ip.php", "Şube", "");
    row("the address service: not a web address",
        {u("--set-link"), u("ExternalAddressUrl"), u("ftp://h/ip.php")}, 2, "", "Şube", "");
    row("the address service: no path",
        {u("--set-link"), u("ExternalAddressUrl"), u("http://h:8080")}, 2, "", "Şube", "");
    row("apply to one of two alike", {u("--apply"), u("Alfa"), u("--adapter"), u("3")}, 0,
        "[3] Kasa", "Alfa", "");
    row("apply to no such adapter", {u("--apply"), u("Alfa"), u("--adapter"), u("9")}, 1,
        "stderr:\"9\" adlı ya da numaralı", "Şube", "");
    row("refused profile touches nothing", {u("--apply"), u("Bozuk"), u("--all")}, 1,
        "stderr:ZELVİ IP", "Şube", "");
    row("doubtful profile needs --yes", {u("--apply"), u("Zeta"), u("--all")}, 1, "stderr:--yes",
        "Şube", "");
    row("hand-edited name too long to record",
        {u("--apply"), u("Zz") + QString(298, u'z'), u("--all")}, 1, "stderr:en çok 254 karakter",
        "Şube", "");
    row("doubtful profile with --yes", {u("--apply"), u("Zeta"), u("--all"), u("--yes")}, 0,
        "uygulandı", "Zeta", "10.0.0.7");
    row("dhcp forgets the current profile", {u("--dhcp"), u("--json")}, 0, "\"status\":0", "", "");
    row("dhcp --dry-run: each adapter's move, nothing forgotten",
        {u("--dhcp"), u("--dry-run"), u("--json")}, 0, "\"dryRun\":true", "Şube", "");
    row("status changes nothing", {u("--status")}, 0,
        "Profil: Şube\nBİLGİSAYAR IP: 10.0.0.9\n"
        "MODEM IP: SERVİS YOK",
        "Şube", "");
    row("two commands", {u("--list"), u("--dhcp")}, 2, "", "Şube", "");
    row("--all without --apply", {u("--list"), u("--all")}, 2, "", "Şube", "");
}

void tst_CommandRunner::commands() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, output);
    QFETCH(QString, current);
    QFETCH(QString, address);
    m_pc = std::make_unique<SimulatedFixture>(QStringList{u("[2] Kasa"), u("[3] Kasa")});
    writeAll(m_dir.filePath(u("ayar.config")),
             (u("[Profiles]\nZeta=10.0.0.7.255.255.255.0.10.0.1.1.10.0.0.1....\n"
                "Alfa=10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1....\nŞube=10.0.0.6.255.0.0.0.10.0.0.1."
                "10.0.0.1....\nBozuk=10.0.0.300.255.0.0.0.10.0.0.1.10.0.0.1....\nZz") +
              QString(298, u'z') +
              u("=10.0.0.8.255.0.0.0.10.0.0.1.10.0.0.1....\n[CurrentProfile]\nProfileName=Şube\n"))
                 .toUtf8());
    QString out;
    QString err;
    QCOMPARE(run(args, out, err), status);
    if (output.startsWith(u("stderr:")))
        QVERIFY2(err.contains(output.mid(7)), qPrintable(err));
    else
        QVERIFY2(out.contains(output), qPrintable(out + err));
    if (args.contains(u("--json"))) {
        const QJsonObject o = QJsonDocument::fromJson(out.toUtf8()).object();
        QCOMPARE(o.value(u("status")).toInt(), status);
    }
    QVERIFY(readAll(m_dir.filePath(u("ayar.config")))
                .contains("ProfileName=" + current.toUtf8() + "\n"));
    QCOMPARE(m_pc->stored()[0].address, address);
    QCOMPARE(m_pc->computer->trialSecondsLeft(), -1); // no check: kept at once
    if (args.contains(u("--adapter")) && args.contains(u("3")) && status == 0)
        QCOMPARE(m_pc->stored()[1].address, u("10.0.0.5"));
}

void tst_CommandRunner::checkAndFallback_data() {
    QTest::addColumn<bool>("online");
    QTest::addColumn<QString>("refuse"); // a method the first adapter refuses
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("stderr"); // a part of it
    QTest::addColumn<QString>("onDhcp"); // which adapters are on DHCP afterwards
    QTest::addColumn<bool>("current");   // Alfa recorded as the current profile afterwards
    const QStringList check{u("--check")};
    QTest::newRow("online: kept") << true << QString() << check << 0 << QString() << u("--")
                                  << true;
    QTest::newRow("offline: back on DHCP")
        << false << QString() << check << 3 << u("geri alındı") << u("DD") << false;
    QTest::newRow("offline, an adapter refuses DHCP: no success claimed")
        << false << u("EnableDHCP") << check << 1 << u("sabit ayarlarında kaldı: Ethernet Adapter")
        << u("-D") << false;
    QTest::newRow("refused in part, online: checked, refusal stands")
        << true << u("EnableStatic") << check << 1 << u("denetlenecek") << u("D-") << false;
    QTest::newRow("refused in part, offline: falls back as the window does")
        << false << u("EnableStatic") << check << 3 << u("geri alındı") << u("DD") << false;
    QTest::newRow("refused in part without --check: no check promised")
        << false << u("EnableStatic") << QStringList{} << 1 << u("kaydedilmedi.") << u("D-")
        << false;
    QTest::newRow("online, the keep fails: keep-failed, still on trial, never said kept")
        << true << u("unkeepable") << check << 1 << u("kalıcı yapılamadı") << u("--") << true;
    QTest::newRow("no service, the gateway answers: kept")
        << true << u("no service") << check << 0 << u("") << u("--") << true;
    QTest::newRow("no service, the gateway silent: put back as it was")
        << true << u("silent gateway") << check << 3 << u("10.0.0.1, Ethernet Adapter, Wireless")
        << u("DD") << false;
    QTest::newRow("current profile not recorded: the change is said, status 1")
        << true << u("readonly") << check << 1 << u("Ağ bağdaştırıcıları değişti") << u("--")
        << false;
}

void tst_CommandRunner::checkAndFallback() {
    QFETCH(bool, online);
    QFETCH(QString, refuse);
    QFETCH(QStringList, extra);
    QFETCH(int, status);
    QFETCH(QString, stderr);
    QFETCH(QString, onDhcp);
    QFETCH(bool, current);
    CannedHttpServer server;
    server.silent = !online;
    m_pc = std::make_unique<SimulatedFixture>();
    m_pc->stopClock();
    const bool service = refuse != u("no service") && refuse != u("silent gateway");
    if (refuse == u("silent gateway")) {
        for (SimulatedComputer::Adapter &a : m_pc->computer->adapters)
            a.silent = QStringList{u("10.0.0.1")};
        m_pc->store();
    } else if (!refuse.isEmpty() && service && refuse != u("readonly") &&
               refuse != u("unkeepable")) {
        m_pc->refuse(0, refuse, 91);
    }
    // The computer's file unreadable while the change waits for its check: it cannot be kept.
    const QString pcFile = m_pc->computer->file();
    if (refuse == u("unkeepable"))
        m_duringWait = [&] {
            QVERIFY(QFile::rename(pcFile, pcFile + u(".away")) && QDir().mkdir(pcFile));
        };
    const QString path = m_dir.filePath(u("ayar.config"));
    writeAll(path, "[Profiles]\nAlfa=10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1....\n" +
                       (service ? "[Links]\nExternalAddressUrl=" + server.url().toUtf8() + "\n"
                                : QByteArray()));
    if (refuse == u("readonly"))
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);
    QString out;
    QString err;
    const int got =
        run(QStringList{u("--apply"), u("Alfa"), u("--all"), u("--json")} + extra, out, err);
    ::chmod(QFile::encodeName(path).constData(), 0644);
    if (m_duringWait) {
        m_duringWait = nullptr;
        QVERIFY(QDir().rmdir(pcFile) && QFile::rename(pcFile + u(".away"), pcFile));
        QVERIFY(QFile::exists(path + u(".trial"))); // left for the next run to settle
    }
    const QJsonObject o = QJsonDocument::fromJson(out.toUtf8()).object();
    QCOMPARE(got, status);
    QCOMPARE(o.value(u("status")).toInt(), status);
    QVERIFY2(err.contains(stderr), qPrintable(err));
    QCOMPARE(err.contains(u("denetlenecek")),
             extra.contains(u("--check")) && refuse == u("EnableStatic"));
    QCOMPARE(o.value(u("revertedToDhcp")).toBool(), status == 3 && service);
    if (refuse == u("silent gateway"))
        QCOMPARE(o.value(u("code")).toString(), u("put-back"));
    QCOMPARE(o.contains(u("external")) || o.contains(u("gateway")), !extra.isEmpty()); // judged
    if (refuse == u("EnableDHCP"))
        QCOMPARE(o.value(u("fallbackRefusals")).toArray().size(), 1);
    const auto stored = m_pc->stored();
    QString dhcp;
    for (const auto &adapter : stored)
        dhcp += adapter.dhcp ? u'D' : u'-';
    QCOMPARE(dhcp, onDhcp);
    if (!extra.isEmpty() && refuse != u("readonly"))
        QCOMPARE(m_trialDuringWait, 10 + 2 + 10); // on trial until the check has judged
    QCOMPARE(m_pc->computer->trialSecondsLeft() >= 0, refuse == u("unkeepable"));
    QFile::remove(path + u(".trial"));
    QCOMPARE(readAll(path).contains("ProfileName=Alfa"), current);
}

void tst_CommandRunner::othersTrialAndPause_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("otherRun"); // another run of the program has a change on trial
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("stderr");
    QTest::newRow("another run's trial: --apply refused, its record untouched")
        << QStringList{u("--apply"), u("Alfa"), u("--all")} << true << 1
        << u("başka bir pencerede");
    QTest::newRow("another run's trial: --dhcp refused as well")
        << QStringList{u("--dhcp")} << true << 1 << u("başka bir pencerede");
    QTest::newRow("another run's trial: --dhcp --dry-run answers the same refusal")
        << QStringList{u("--dhcp"), u("--dry-run")} << true << 1 << u("başka bir pencerede");
    QTest::newRow("another run's trial: --apply --dry-run answers the same refusal")
        << QStringList{u("--apply"), u("Alfa"), u("--all"), u("--dry-run")} << true << 1
        << u("başka bir pencerede");
    QTest::newRow("paused past its trial: put back, never reported kept")
        << QStringList{u("--apply"), u("Alfa"), u("--all"), u("--check")} << false << 3
        << u("Değişiklik kalmadı");
}

void tst_CommandRunner::othersTrialAndPause() {
    QFETCH(QStringList, args);
    QFETCH(bool, otherRun);
    QFETCH(int, status);
    QFETCH(QString, stderr);
    CannedHttpServer server;
    m_pc = std::make_unique<SimulatedFixture>();
    const QString path = m_dir.filePath(u("ayar.config"));
    writeAll(path, "[Profiles]\nAlfa=10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1....\n[CurrentProfile]\n"
                   "ProfileName=Sube\n[Links]\nExternalAddressUrl=" +
                       server.url().toUtf8() + "\n");
    const QString record = path + u(".trial");
    QFile::remove(record);
    QProcess other; // a run of the program that is still going
    QByteArray recorded = "<missing>";
    if (otherRun) {
        QVERIFY(m_pc->pendingOfOtherRun(other, 20));
        SimulatedFixture::recordOfOtherRun(other, path, u("Zeta"));
        recorded = readAll(record);
    }
    m_pauseDuringWait = !otherRun;
    QString out;
    QString err;
    QCOMPARE(run(args, out, err), status);
    m_pauseDuringWait = false;
    QVERIFY2(err.contains(stderr), qPrintable(err));
    QCOMPARE(readAll(record), recorded);
    QVERIFY(readAll(path).contains("ProfileName=Sube\n")); // the profile the adapters are on
    QVERIFY(m_pc->stored()[0].dhcp);
    other.kill();
    other.waitForFinished();
}

void tst_CommandRunner::changeFromAfar_data() {
    QTest::addColumn<QStringList>("then"); // what follows the change, made meanwhile
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("address"); // the adapter's afterwards
    QTest::addColumn<QString>("current");
    QTest::newRow("--confirm keeps it")
        << QStringList{u("--confirm")} << 0 << u("10.0.0.5") << u("Alfa");
    QTest::newRow("--confirm with its request keeps it")
        << QStringList{u("--confirm"), u("REQUEST")} << 0 << u("10.0.0.5") << u("Alfa");
    QTest::newRow("--confirm meant for another request keeps nothing")
        << QStringList{u("--confirm"), u("0123456789abcdef")} << 1 << u("10.0.0.5") << u("Alfa");
    QTest::newRow("--undo meant for another request undoes nothing")
        << QStringList{u("--undo"), u("0123456789abcdef")} << 1 << u("10.0.0.5") << u("Alfa");
    QTest::newRow("--undo puts it back now")
        << QStringList{u("--undo")} << 0 << QString() << u("Sube");
    QTest::newRow("unconfirmed: put back at its time, --confirm says so")
        << QStringList{u("--confirm"), u("late")} << 3 << QString() << u("Sube");
    QTest::newRow("record replaced by a FIFO: --confirm says so, never 'nothing to confirm'")
        << QStringList{u("--confirm"), u("fifo")} << 1 << u("10.0.0.5") << u("Alfa");
    QTest::newRow("record replaced by a FIFO: --undo as well")
        << QStringList{u("--undo"), u("fifo")} << 1 << u("10.0.0.5") << u("Alfa");
    QTest::newRow("while it waits, --apply changes nothing")
        << QStringList{u("--apply"), u("Alfa"), u("--all")} << 1 << u("10.0.0.5") << u("Alfa");
    QTest::newRow("while it waits, --dhcp changes nothing")
        << QStringList{u("--dhcp")} << 1 << u("10.0.0.5") << u("Alfa");
    QTest::newRow("while it waits, --apply --dry-run answers as --apply would")
        << QStringList{u("--apply"), u("Alfa"), u("--all"), u("--dry-run")} << 1 << u("10.0.0.5")
        << u("Alfa");
}

void tst_CommandRunner::changeFromAfar() {
    QFETCH(QStringList, then);
    QFETCH(int, status);
    QFETCH(QString, address);
    QFETCH(QString, current);
    m_pc = std::make_unique<SimulatedFixture>();
    const QString path = m_dir.filePath(u("ayar.config"));
    QFile::remove(path + u(".trial"));
    writeAll(path, "[Profiles]\nAlfa=10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1....\n"
                   "[CurrentProfile]\nProfileName=Sube\n");
    QString out;
    QString err;
    QCOMPARE(run({u("--confirm")}, out, err), 1); // nothing to confirm yet
    m_detached.clear();
    QCOMPARE(run({u("--apply"), u("Alfa"), u("--all"), u("--confirm-within"), u("30"), u("--json")},
                 out, err),
             0);
    const QString request =
        QJsonDocument::fromJson(out.toUtf8()).object().value(u("request")).toString();
    QVERIFY2(out.contains(u("--confirm ") + request + u("\"")), qPrintable(out));
    then.replaceInStrings(u("REQUEST"), request);
    QVERIFY(m_pc->stored()[0].dhcp); // answered before anything changed
    QVERIFY(m_detached.contains(u("--detached-run")));
    QCOMPARE(run(m_detached.mid(2), out, err), 0); // the detached run makes the change
    QCOMPARE(m_pc->stored()[0].address, u("10.0.0.5"));
    if (then.removeAll(u("late")) > 0)
        m_pc->computer->now = [] { return QDateTime::currentMSecsSinceEpoch() + 40'000; };
    const bool fifo = then.removeAll(u("fifo")) > 0;
    const QString record = path + u(".trial");
    if (fifo)
        QVERIFY(QFile::rename(record, record + u(".away")) &&
                ::mkfifo(QFile::encodeName(record).constData(), 0600) == 0);
    err.clear();
    QCOMPARE(run(then, out, err), status);
    if (fifo) {
        QVERIFY2(err.contains(u("normal bir dosya değil")), qPrintable(err));
        QVERIFY(QFile::remove(record) && QFile::rename(record + u(".away"), record));
    }
    QCOMPARE(m_pc->stored()[0].address, address);
    QVERIFY2(readAll(path).contains("ProfileName=" + current.toUtf8() + "\n"), readAll(path));
}

// Each dry run against the real run from the same state: the same status and refusal, and the
// adapters it says would move are the ones that move.
void tst_CommandRunner::dryRunAnswersAsTheRun_data() {
    QTest::addColumn<QString>("state");
    QTest::addColumn<QStringList>("args");
    const QStringList alfa{u("--apply"), u("Alfa"), u("--all")};
    const QStringList alfaOn{u("--apply"), u("Alfa")}; // with --adapter
    const QStringList dhcp{u("--dhcp")};
    for (const QString &state : {u("all on DHCP"), u("on Alfa already"), u("Wi-Fi static"),
                                 u("another run's trial"), u("a remote change waits")}) {
        QTest::newRow(qPrintable(state + u(": --apply"))) << state << alfa;
        QTest::newRow(qPrintable(state + u(": --apply --adapter 2")))
            << state << alfaOn + QStringList{u("--adapter"), u("2")};
        QTest::newRow(qPrintable(state + u(": --dhcp"))) << state << dhcp;
    }
    QTest::newRow("no such profile")
        << u("all on DHCP") << QStringList{u("--apply"), u("Yok"), u("--all")};
    // Configuration management's first day: the profile is pushed with the apply.
    QTest::newRow("not stored yet: previewed from the import that brings it")
        << u("first day") << alfa;
    QTest::newRow("stored with other values: previewed from the import that changes them")
        << u("on Alfa already")
        << QStringList{u("--apply"), u("Alfa"), u("--adapter"), u("2"), u("IMPORT")};
    QTest::newRow("no such adapter")
        << u("Wi-Fi static") << alfaOn + QStringList{u("--adapter"), u("9")};
}

void tst_CommandRunner::dryRunAnswersAsTheRun() {
    QFETCH(QString, state);
    QFETCH(QStringList, args);
    const QString path = m_dir.filePath(u("ayar.config"));
    QProcess other; // a run of the program that is still going
    const auto prepare = [&] {
        other.kill();
        other.waitForFinished();
        m_pc = std::make_unique<SimulatedFixture>();
        QFile::remove(path + u(".trial"));
        writeAll(path,
                 state == u("first day")
                     ? QByteArray("[Profiles]\n")
                     : QByteArray("[Profiles]\nAlfa=10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1....\n"));
        QString out;
        QString err;
        if (state == u("on Alfa already"))
            QCOMPARE(run({u("--apply"), u("Alfa"), u("--adapter"), u("2")}, out, err), 0);
        if (state == u("Wi-Fi static")) {
            SimulatedComputer::Adapter &wifi = m_pc->computer->adapters[1];
            wifi.dhcp = false;
            wifi.address = u("192.168.10.2");
            wifi.mask = u("255.255.255.0");
            m_pc->store();
        }
        if (state == u("another run's trial")) {
            QVERIFY(m_pc->pendingOfOtherRun(other, 20));
            SimulatedFixture::recordOfOtherRun(other, path, u("Zeta"));
        }
        if (state == u("a remote change waits")) {
            QCOMPARE(run({u("--apply"), u("Alfa"), u("--all"), u("--confirm-within"), u("30")}, out,
                         err),
                     0);
            QCOMPARE(run(m_detached.mid(2), out, err), 0);
        }
    };
    // The profiles an import would push, when the row brings one.
    const QString import = m_dir.filePath(u("push.json"));
    writeAll(import, R"({"ALFA": {"address": "10.0.0.7", "mask": "255.0.0.0", "gateway": "10.0.0.1",
                                   "dns1": "10.0.0.1"}})");
    const bool pushes = state == u("first day") || args.removeAll(u("IMPORT")) > 0;
    const auto answer = [&](const QStringList &with) {
        QString out;
        QString err;
        const QStringList preview =
            pushes && !with.isEmpty() ? QStringList{u("--with-profiles"), import} : QStringList{};
        const int status = run(args + with + preview + QStringList{u("--json")}, out, err);
        const QJsonObject o = QJsonDocument::fromJson(out.toUtf8()).object();
        return std::make_tuple(status, o.value(u("code")).toString(), o);
    };
    const auto captions = [](const QList<SimulatedComputer::Adapter> &adapters) {
        QStringList list;
        for (const auto &a : adapters)
            list.append(a.caption + (a.dhcp ? u(" dhcp") : u(" ") + a.address));
        return list;
    };

    prepare();
    const auto [dryStatus, dryCode, dry] = answer({u("--dry-run")});
    QVERIFY(dry.value(u("dryRun")).toBool());
    QStringList wouldMove;
    for (const QJsonValue &item : dry.value(u("preview")).toArray()) {
        if (item[u("changes")].toBool())
            wouldMove.append(item[u("caption")].toString());
    }
    prepare();
    const QStringList before = captions(m_pc->stored());
    if (pushes) {
        QString out;
        QString err;
        QCOMPARE(run({u("--import-profiles"), import}, out, err), 0);
    }
    const auto [status, code, real] = answer({});
    const QStringList after = captions(m_pc->stored());
    QStringList moved;
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (before[i] != after[i])
            moved.append(m_pc->stored()[i].caption);
    }
    other.kill();
    other.waitForFinished();

    QCOMPARE(dryStatus, status);
    QCOMPARE(dryCode, code == u("applied") || code == u("dhcp") ? u("would-change") : code);
    QCOMPARE(dry.value(u("changed")).toBool(), real.value(u("changed")).toBool());
    QCOMPARE(wouldMove, moved);
}

// Configuration management runs the same apply again and again: what holds the profile
// already is not touched (no file written, no checkpoint, nothing started from afar).
void tst_CommandRunner::applyAgainChangesNothing() {
    m_pc = std::make_unique<SimulatedFixture>();
    QFile::remove(m_dir.filePath(u("ayar.config.trial")));
    writeAll(m_dir.filePath(u("ayar.config")),
             "[Profiles]\nAlfa=10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1.10.0.0.2\n");
    QString out;
    QString err;
    QCOMPARE(run({u("--apply"), u("Alfa"), u("--all"), u("--json")}, out, err), 0);
    QVERIFY2(out.contains(u("\"changed\":true")), qPrintable(out));
    const int writes = m_pc->computer->fileWrites();
    m_detached.clear();
    for (const QStringList &again :
         {QStringList{u("--apply"), u("Alfa"), u("--all"), u("--json")},
          {u("--apply"), u("Alfa"), u("--all"), u("--confirm-within"), u("30"), u("--json")}}) {
        out.clear();
        QCOMPARE(run(again, out, err), 0);
        QVERIFY2(out.contains(u("\"changed\":false")), qPrintable(out));
    }
    QCOMPARE(m_pc->computer->fileWrites(), writes);
    QVERIFY(m_detached.isEmpty());
}

// Settings in a folder that others may write to (/tmp): a trial record that another user put
// beside them is no record of this user's trial and changes nothing.
void tst_CommandRunner::plantedRecordIsIgnored() {
    if (::geteuid() != 0)
        QSKIP("needs root to make a file of another user");
    m_pc = std::make_unique<SimulatedFixture>();
    const QString path = m_dir.filePath(u("ayar.config"));
    writeAll(path, "[Profiles]\nAlfa=10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1....\n"
                   "[CurrentProfile]\nProfileName=Alfa\n");
    writeAll(path + u(".trial"), R"({"profileBefore": "Zeta"})");
    QVERIFY(::chown(QFile::encodeName(path + u(".trial")).constData(), 65534, 65534) == 0);
    QString out;
    QString err;
    QCOMPARE(run({u("--list")}, out, err), 0);
    QVERIFY2(out.contains(u("* Alfa")), qPrintable(out + err));
    QFile::remove(path + u(".trial"));
}

QTEST_GUILESS_MAIN(tst_CommandRunner)
// A settings file that exists but cannot be read (larger than is read, or without the right
// to read it, which root always has): every command says so instead of finding no profile, and
// nothing changes.
void tst_CommandRunner::unreadableSettingsAreSaid_data() {
    QTest::addColumn<bool>("large");
    QTest::addColumn<QStringList>("args");
    for (const bool large : {true, false}) {
        const char *kind = large ? "too large" : "no right to read";
        QTest::addRow("%s: --status", kind) << large << QStringList{u("--status")};
        QTest::addRow("%s: --list", kind) << large << QStringList{u("--list")};
        QTest::addRow("%s: --apply", kind)
            << large << QStringList{u("--apply"), u("Alfa"), u("--all")};
        QTest::addRow("%s: --set-profile", kind)
            << large << QStringList{u("--set-profile"), u("Yeni"),     u("10.0.0.8"),
                                    u("255.0.0.0"),     u("10.0.0.1"), u("10.0.0.1")};
    }
}

void tst_CommandRunner::unreadableSettingsAreSaid() {
    QFETCH(bool, large);
    QFETCH(QStringList, args);
    if (!large && ::geteuid() == 0)
        QSKIP("root may read any file");
    m_pc = std::make_unique<SimulatedFixture>();
    const QString path = m_dir.filePath(u("ayar.config"));
    writeAll(path, "[Profiles]\nAlfa=10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1....\n");
    QFile file(path);
    if (large)
        QVERIFY(file.resize(65 * 1024 * 1024)); // sparse: no disk is used
    else
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0) == 0);
    QString out;
    QString err;
    const int status = run(args + QStringList{u("--json")}, out, err);
    QFile::remove(path);
    const QJsonObject o = QJsonDocument::fromJson(out.toUtf8()).object();
    QCOMPARE(status, 1);
    QCOMPARE(o.value(u("code")).toString(), u("settings-unreadable"));
    QVERIFY2(err.contains(u("Ayar dosyası okunamadı")), qPrintable(err));
    if (args.first() == u("--status")) {
        QVERIFY(o.value(u("current")).isNull()); // not known, rather than "none"
        QCOMPARE(o.value(u("local")).toString(), u("10.0.0.9"));
    }
    QVERIFY(m_pc->stored()[0].dhcp);
}

#include "tst_commandrunner.moc"
