// The program as a process, started the way SSH sessions and scripts start it: its statuses and
// texts with and without a display, names that cannot take over a terminal, a lost output, and
// lines that arrive while a command still waits.
#include "TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString u(const char *utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

class tst_CommandProcess : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void statuses_data();
    void statuses();
    void linesArriveAsDecided();
    void twoRunsOnOneComputer();
    void trialsThatMeet_data();
    void trialsThatMeet();
    void languages_data();
    void languages();
    void everyCommandInEnglish();
    void legacyLocaleGetsItsCharacterSet();
    void readOnlyFolderChangesNothingAndSaysSo();

private:
    // Runs the program to its end: its status, and its JSON answer in `answer`.
    int runJson(const QStringList &args, QJsonObject &answer);
    QString adapterAddress(int index);
    QString currentProfile();

    // In the program's own language unless `locale` (LANG) says otherwise.
    void start(QProcess &process, const QStringList &args, bool display,
               const QString &locale = QString());

    QTemporaryDir m_dir;
};

void tst_CommandProcess::initTestCase() {
    // Started by the name that the package installs, which the usage must show.
    QVERIFY(QFile::link(QStringLiteral(ZELVI_PROGRAM), m_dir.filePath(u("nuvar-pos-zelvi-ip"))));
}

void tst_CommandProcess::init() {
    writeAll(m_dir.filePath(u("a.config")),
             "[Profiles]\nAlfa=10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1....\n"
             "Beta=10.0.0.6.255.0.0.0.10.0.0.1.10.0.0.1....\n"
             "Renk\x1b[31m=10.0.0.6.255.0.0.0.10.0.0.1.10.0.0.1....\n"
             "Ters\xe2\x80\xaeYon=10.0.0.7.255.0.0.0.10.0.0.1.10.0.0.1....\n");
}

void tst_CommandProcess::start(QProcess &process, const QStringList &args, bool display,
                               const QString &locale) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name :
         {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        env.remove(QString::fromLatin1(name));
    env.insert(u("LANG"), locale.isEmpty() ? u("C.UTF-8") : locale);
    if (display)
        env.insert(u("QT_QPA_PLATFORM"), u("offscreen"));
    process.setProcessEnvironment(env);
    process.start(m_dir.filePath(u("nuvar-pos-zelvi-ip")),
                  QStringList{u("--settings"), m_dir.filePath(u("a.config")), u("--backend"),
                              u("simulated=") + m_dir.filePath(u("pc.json"))} +
                      args);
}

void tst_CommandProcess::statuses_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("display");
    QTest::addColumn<QString>("output"); // stdout: "" or a file it goes to instead
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out"); // parts of stdout and stderr
    QTest::addColumn<QString>("err");
    const auto row = [](const char *name, QStringList args, bool display, const char *output,
                        int status, const char *out, const char *err) {
        QTest::newRow(name) << args << display << u(output) << status << u(out) << u(err);
    };
    row("a typo without a display", {u("--lst")}, false, "", 2, "",
        "Kullanım: nuvar-pos-zelvi-ip [SEÇENEKLER]");
    row("a typo with a display", {u("--lst")}, true, "", 2, "", "Bilinmeyen seçenek: --lst");
    row("--json alone answers in JSON", {u("--json")}, false, "", 2, "\"status\":2", "--json");
    row("--check-after without --check",
        {u("--apply"), u("Alfa"), u("--all"), u("--check-after"), u("5")}, false, "", 2, "",
        "--check-after yalnızca --check");
    row("help: the name typed, the options as parsed", {u("--help")}, false, "", 0,
        "Kullanım: nuvar-pos-zelvi-ip [SEÇENEKLER]", "");
    row("one dash: the window opens, with a warning", {u("-HIDEONSTARTUP"), u("--report-shown")},
        true, "", 0, "shown after", "Uyarı: -HIDEONSTARTUP");
    row("names cannot recolour or reorder a terminal", {u("--list")}, false, "", 0,
        "  Renk\\x1b[31m\n  Ters\\u202eYon\n", "");
    row("a lost output is no success", {u("--list")}, false, "/dev/full", 1, "",
        "Çıktı yazılamadı");
    row("the window without a display: a reason, no abort", {}, false, "", 1, "",
        "Pencere açılamadı: bu oturumda ekran yok");
    row("hidden at login without a display", {u("/HIDEONSTARTUP")}, false, "", 1, "",
        "Pencere açılamadı");
}

void tst_CommandProcess::statuses() {
    QFETCH(QStringList, args);
    QFETCH(bool, display);
    QFETCH(QString, output);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QProcess process;
    if (!output.isEmpty())
        process.setStandardOutputFile(output);
    start(process, args, display);
    QVERIFY(process.waitForFinished(30000));
    const QString stdoutText = QString::fromUtf8(process.readAllStandardOutput());
    const QString stderrText = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), status);
    QVERIFY2(stdoutText.contains(out), qPrintable(stdoutText));
    QVERIFY2(stderrText.contains(err), qPrintable(stderrText));
    QVERIFY(!stdoutText.contains(u'\x1b') && !stdoutText.contains(QChar(0x202E)));
}

void tst_CommandProcess::linesArriveAsDecided() {
    QProcess process;
    start(process, {u("--apply"), u("Alfa"), u("--all"), u("--check"), u("--check-after"), u("5")},
          false);
    QVERIFY(process.waitForReadyRead(4000));
    QVERIFY(process.readAllStandardOutput().contains("uygulandı"));
    QCOMPARE(process.state(), QProcess::Running); // still waiting for its check
    QVERIFY(process.waitForFinished(30000));
    QVERIFY(process.readAllStandardOutput().contains("MODEM IP 10.0.0.1 cevap verdi")); // its judge
    QCOMPARE(process.exitCode(), 0);
}

// Two runs at once on one simulated computer, forty times: one waits for the other or is
// refused as busy, and whatever the order, the settings name the profile that the adapters
// carry and nothing is left pending.
void tst_CommandProcess::twoRunsOnOneComputer() {
    for (int round = 0; round < 40; ++round) {
        QProcess alfa;
        QProcess beta;
        start(alfa, {u("--apply"), u("Alfa"), u("--adapter"), u("2")}, false);
        start(beta, {u("--apply"), u("Beta"), u("--adapter"), u("3")}, false);
        QVERIFY(alfa.waitForFinished(30000) && beta.waitForFinished(30000));
        for (QProcess *run : {&alfa, &beta}) {
            const QByteArray err = run->readAllStandardError();
            QVERIFY2(run->exitCode() == 0 || err.contains("başka bir pencerede"), err.constData());
        }
        const QByteArray settings = readAll(m_dir.filePath(u("a.config")));
        const QJsonObject pc =
            QJsonDocument::fromJson(readAll(m_dir.filePath(u("pc.json")))).object();
        const QJsonArray adapters = pc.value(u("adapters")).toArray();
        QVERIFY2(!pc.contains(u("checkpoint")), qPrintable(QString::number(round)));
        if (settings.contains("ProfileName=Alfa\n"))
            QCOMPARE(adapters[0].toObject().value(u("address")).toString(), u("10.0.0.5"));
        else if (settings.contains("ProfileName=Beta\n"))
            QCOMPARE(adapters[1].toObject().value(u("address")).toString(), u("10.0.0.6"));
        else
            QFAIL(settings.constData());
    }
}

int tst_CommandProcess::runJson(const QStringList &args, QJsonObject &answer) {
    QProcess process;
    start(process, args + QStringList{u("--json")}, false);
    if (!process.waitForFinished(60000))
        return -1;
    answer = QJsonDocument::fromJson(process.readAllStandardOutput().trimmed()).object();
    return process.exitCode();
}

QString tst_CommandProcess::adapterAddress(int index) {
    const QJsonObject pc = QJsonDocument::fromJson(readAll(m_dir.filePath(u("pc.json")))).object();
    const QJsonArray adapters = pc.value(u("adapters")).toArray();
    if (index >= adapters.size())
        return u("none"); // no computer yet: nothing was changed
    const QJsonObject adapter = adapters[index].toObject();
    return adapter.value(u("dhcp")).toBool() ? u("dhcp") : adapter.value(u("address")).toString();
}

QString tst_CommandProcess::currentProfile() {
    QJsonObject listed;
    runJson({u("--list")}, listed);
    return listed.value(u("current")).toString();
}

// Runs that meet over one change on trial, as two plays, a retry or a monitor make them meet:
// each says what really happened, and the settings name what the adapters hold.
enum class Meeting {
    TwoRemoteAtOnce,
    ConfirmAgainstUndo,
    RecordNotAFile,
    DetachedRunRefuses,
    UnrelatedProcess,
    FolderHeldLocked
};
Q_DECLARE_METATYPE(Meeting)

void tst_CommandProcess::trialsThatMeet_data() {
    QTest::addColumn<Meeting>("meeting");
    QTest::newRow("two remote changes at once: one made, the other refused untouched")
        << Meeting::TwoRemoteAtOnce;
    QTest::newRow("--confirm against --undo: one wins, the other says so")
        << Meeting::ConfirmAgainstUndo;
    QTest::newRow("a record that is a FIFO: refused before anything changes")
        << Meeting::RecordNotAFile;
    QTest::newRow("a detached run that refuses records why, --confirm says it at once")
        << Meeting::DetachedRunRefuses;
    QTest::newRow("a record naming a process number now used by another program")
        << Meeting::UnrelatedProcess;
    QTest::newRow("a folder another program keeps locked: a bounded wait, then refused")
        << Meeting::FolderHeldLocked;
}

void tst_CommandProcess::trialsThatMeet() {
    QFETCH(Meeting, meeting);
    QFile::remove(m_dir.filePath(u("pc.json")));
    const QString record = m_dir.filePath(u("a.config.trial"));
    QFile::remove(record);
    const QStringList remote = {u("--confirm-within"), u("20")};
    QJsonObject a;
    QJsonObject b;
    switch (meeting) {
    case Meeting::TwoRemoteAtOnce: {
        QProcess first;
        QProcess second;
        start(first, QStringList{u("--apply"), u("Alfa"), u("--all"), u("--json")} + remote, false);
        QTest::qWait(300);
        start(second, QStringList{u("--apply"), u("Beta"), u("--all"), u("--json")} + remote,
              false);
        for (QProcess *run : {&first, &second})
            QVERIFY(run->state() == QProcess::NotRunning || run->waitForFinished(30000));
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(second.exitCode(), 1);
        b = QJsonDocument::fromJson(second.readAllStandardOutput().trimmed()).object();
        QCOMPARE(b.value(u("changed")).toBool(true), false);
        QCOMPARE(b.value(u("code")).toString(), u("remote-waits"));
        // The printed commands run as printed from any folder: absolute program and files.
        a = QJsonDocument::fromJson(first.readAllStandardOutput().trimmed()).object();
        QVERIFY2(a.value(u("confirm")).toString().startsWith(QLatin1Char('/')) &&
                     a.value(u("confirm")).toString().contains(m_dir.filePath(u("pc.json"))),
                 qPrintable(a.value(u("confirm")).toString()));
        QCOMPARE(runJson({u("--confirm")}, a), 0); // the first one's, kept
        QCOMPARE(adapterAddress(0), u("10.0.0.5"));
        QCOMPARE(currentProfile(), u("Alfa"));
        break;
    }
    case Meeting::ConfirmAgainstUndo: {
        QCOMPARE(runJson(QStringList{u("--apply"), u("Alfa"), u("--all")} + remote, a), 0);
        QProcess confirm;
        QProcess undo;
        start(confirm, {u("--confirm"), u("--json")}, false);
        start(undo, {u("--undo"), u("--json")}, false);
        for (QProcess *run : {&confirm, &undo})
            QVERIFY(run->state() == QProcess::NotRunning || run->waitForFinished(60000));
        QVERIFY2((confirm.exitCode() == 0) != (undo.exitCode() == 0),
                 qPrintable(QString::fromUtf8(confirm.readAllStandardError() + "|" +
                                              undo.readAllStandardError())));
        const bool kept = confirm.exitCode() == 0;
        QCOMPARE(adapterAddress(0), kept ? u("10.0.0.5") : u("dhcp"));
        QCOMPARE(currentProfile(), kept ? u("Alfa") : QString());
        break;
    }
    case Meeting::RecordNotAFile:
        QVERIFY(::mkfifo(QFile::encodeName(record).constData(), 0600) == 0);
        for (const QStringList &args : {QStringList{u("--apply"), u("Alfa"), u("--all")} + remote,
                                        QStringList{u("--apply"), u("Alfa"), u("--all")}}) {
            QCOMPARE(runJson(args, a), 1);
            QCOMPARE(a.value(u("code")).toString(), u("record-unwritable"));
            QCOMPARE(a.value(u("changed")).toBool(true), false);
        }
        QCOMPARE(adapterAddress(0), u("dhcp"));
        QFile::remove(record);
        break;
    case Meeting::DetachedRunRefuses: {
        // The profile is renamed while the detached run waits its second.
        QCOMPARE(runJson(QStringList{u("--apply"), u("Alfa"), u("--all")} + remote, a), 0);
        writeAll(m_dir.filePath(u("a.config")),
                 readAll(m_dir.filePath(u("a.config"))).replace("Alfa=", "Gamma="));
        QElapsedTimer took;
        took.start();
        QCOMPARE(runJson({u("--confirm")}, b), 1);
        QVERIFY2(took.elapsed() < 10000, "waited for a run that had ended");
        QCOMPARE(b.value(u("code")).toString(), u("not-applied"));
        QVERIFY2(b.value(u("reason")).toString().contains(u("Alfa")),
                 qPrintable(b.value(u("reason")).toString()));
        QCOMPARE(adapterAddress(0), u("dhcp"));
        init(); // the profiles as they were
        break;
    }
    case Meeting::UnrelatedProcess: {
        // The run that was to make the change ended long ago; its number now names a sleep.
        QProcess sleeper;
        sleeper.start(u("sleep"), {u("30")});
        QVERIFY(sleeper.waitForStarted());
        QJsonObject remote{{u("state"), u("starting")},
                           {u("profile"), u("Alfa")},
                           {u("request"), u("r1")},
                           {u("since"), double(QDateTime::currentMSecsSinceEpoch())},
                           {u("pid"), double(sleeper.processId())},
                           {u("start"), 1.0}};
        remote.insert(u("boot"),
                      QString::fromLatin1(readAll(u("/proc/sys/kernel/random/boot_id")).trimmed()));
        writeAll(record, QJsonDocument(QJsonObject{{u("remote"), remote}}).toJson());
        QElapsedTimer took;
        took.start();
        QCOMPARE(runJson({u("--confirm")}, b), 1);
        QVERIFY2(took.elapsed() < 10000, "waited for a process that is not the run");
        QCOMPARE(b.value(u("code")).toString(), u("not-applied"));
        sleeper.kill();
        sleeper.waitForFinished();
        break;
    }
    case Meeting::FolderHeldLocked: {
        QProcess holder; // flock(1) on the settings folder, as any user who can read it may
        holder.start(u("flock"), {m_dir.path(), u("sleep"), u("30")});
        QVERIFY(holder.waitForStarted());
        QTest::qWait(200);
        QElapsedTimer took;
        took.start();
        QCOMPARE(runJson({u("--apply"), u("Alfa"), u("--all")}, a), 1);
        QVERIFY2(took.elapsed() < 28000, "the lock was waited for without end");
        QVERIFY2(a.value(u("reason")).toString().contains(m_dir.path()),
                 qPrintable(a.value(u("reason")).toString()));
        QCOMPARE(a.value(u("changed")).toBool(true), false);
        holder.kill();
        holder.waitForFinished();
        QVERIFY(adapterAddress(0) != u("10.0.0.5"));
        break;
    }
    }
}

QTEST_GUILESS_MAIN(tst_CommandProcess)
// The language of every text: the desktop's (Turkish where it is not set), or --language;
// JSON keys and statuses stay as they are.
void tst_CommandProcess::languages_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("display");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said"); // a part of stdout or stderr
    const auto row = [](const char *name, const char *locale, QStringList args, bool display,
                        int status, const char *said) {
        QTest::newRow(name) << u(locale) << args << display << status << u(said);
    };
    row("English desktop, a typo", "en_US.UTF-8", {u("--lst")}, false, 2,
        "Unknown option: --lst\nUsage: nuvar-pos-zelvi-ip [OPTIONS]");
    row("--language en on a Turkish desktop", "tr_TR.UTF-8",
        {u("--language"), u("en"), u("--show"), u("Yok")}, false, 1,
        "There is no profile named \"Yok\".");
    row("--language=tr on a German desktop, in JSON", "de_DE.UTF-8",
        {u("--language=tr"), u("--show"), u("Yok"), u("--json")}, false, 1,
        "\"reason\":\"\\\"Yok\\\" adında bir profil yok.\",\"status\":1");
    row("English window's warning", "en_US.UTF-8", {u("-HIDEONSTARTUP"), u("--report-shown")}, true,
        0, "Warning: -HIDEONSTARTUP is not an option");
}

void tst_CommandProcess::languages() {
    QFETCH(QString, locale);
    QFETCH(QStringList, args);
    QFETCH(bool, display);
    QFETCH(int, status);
    QFETCH(QString, said);
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    start(process, args, display, locale);
    QVERIFY(process.waitForFinished(30000));
    const QString text = QString::fromUtf8(process.readAll());
    QCOMPARE(process.exitCode(), status);
    QVERIFY2(text.contains(said), qPrintable(text));
}

// Every command's output in English holds no Turkish beyond the product's name, in text and in
// JSON, and the usage fits an 80-column terminal in both languages.
void tst_CommandProcess::everyCommandInEnglish() {
    const QString import = m_dir.filePath(u("import.json"));
    writeAll(import, "{\"Gamma\": {\"address\": \"10.0.0.9\", \"mask\": \"255.0.0.0\", "
                     "\"gateway\": \"10.0.0.1\", \"dns1\": \"10.0.0.1\"}, \"Bad\": {}}");
    const QList<QStringList> commands = {
        {u("--help")},
        {u("--lst")},
        {u("--list")},
        {u("--show"), u("Alfa")},
        {u("--show"), u("Yok")},
        {u("--adapters")},
        {u("--apply"), u("Alfa"), u("--all"), u("--dry-run")},
        {u("--apply"), u("Alfa"), u("--adapter"), u("9")},
        {u("--apply"), u("Alfa"), u("--all")},
        {u("--apply"), u("Alfa"), u("--all")},
        {u("--apply"), u("Beta"), u("--all"), u("--check"), u("--check-after"), u("0")},
        {u("--status")},
        {u("--confirm")},
        {u("--undo")},
        {u("--dhcp")},
        {u("--set-profile"), u("Delta"), u("10.0.0.255"), u("255.255.255.0"), u("10.0.0.1"),
         u("10.0.0.1")},
        {u("--set-profile"), u("Delta"), u("10.0.0.8"), u("255.0.0.0"), u("10.0.0.1"),
         u("10.0.0.1")},
        {u("--set-profile"), u("Delta"), u("--from-adapter"), u("1")},
        {u("--import-profiles"), import},
        {u("--delete-profile"), u("Delta")},
        {u("--delete-profile"), u("Delta")},
        {u("--export-profile"), u("Alfa"), u("--format"), u("netplan"), u("--interface"),
         u("eth0")},
        {u("--apply"), u("Alfa"), u("--all"), u("--confirm-within"), u("10"), u("--check")},
    };
    const QRegularExpression turkish(u("[çğıöşüÇĞİÖŞÜ]"));
    for (const QStringList &command : commands) {
        for (const bool json : {false, true}) {
            QProcess process;
            process.setProcessChannelMode(QProcess::MergedChannels);
            start(process,
                  QStringList{u("--language"), u("en")} + command +
                      (json ? QStringList{u("--json")} : QStringList()),
                  false);
            QVERIFY(process.waitForFinished(60000));
            const QString text = QString::fromUtf8(process.readAll());
            QVERIFY2(!QString(text).remove(u("ZELVİ")).contains(turkish),
                     qPrintable(command.join(u' ') + u'\n' + text));
        }
    }
    for (const char *language : {"en", "tr"}) {
        QProcess process;
        start(process, {u("--language"), u(language), u("--help")}, false);
        QVERIFY(process.waitForFinished(30000));
        for (const QString &line : QString::fromUtf8(process.readAll()).split(u'\n')) {
            if (!line.contains(u(".exe.config"))) // the settings file's own path may be long
                QVERIFY2(line.size() <= 80, qPrintable(line));
        }
    }
}

// A till set up with a Latin-5 locale: text in Latin-5 ("ı" is 0xFD), JSON still UTF-8. The
// locale is made for the test alone (LOCPATH), from the C library's own sources.
void tst_CommandProcess::legacyLocaleGetsItsCharacterSet() {
    const QString locales = m_dir.filePath(u("locales"));
    QVERIFY(QDir().mkpath(locales));
    QProcess localedef;
    localedef.start(u("localedef"), {u("-i"), u("tr_TR"), u("-f"), u("ISO-8859-9"),
                                     locales + u("/tr_TR.ISO-8859-9")});
    QVERIFY(localedef.waitForFinished(60000));
    QVERIFY2(localedef.exitCode() == 0, localedef.readAllStandardError().constData());
    qputenv("LOCPATH", QFile::encodeName(locales));
    for (const bool json : {false, true}) {
        QProcess process;
        const QStringList args{u("--show"), u("Yok")};
        start(process, json ? args + QStringList{u("--json")} : args, false, u("tr_TR.ISO-8859-9"));
        QVERIFY(process.waitForFinished(30000));
        const QByteArray text =
            json ? process.readAllStandardOutput() : process.readAllStandardError();
        const QByteArray expected = json ? QByteArray("\\\"Yok\\\" ad\xc4\xb1nda bir profil yok.")
                                         : QByteArray("\"Yok\" ad\xfdnda bir profil yok.\n");
        QVERIFY2(text.contains(expected), text.toHex(' ').constData());
    }
    // A name typed there arrives in Latin-5 ("Işık": I \xfe \xfd k) and finds its profile; the
    // export of it is UTF-8, as YAML is.
    const QString settings = m_dir.filePath(u("latin5.config"));
    writeAll(settings, "[Profiles]\nI\xc5\x9f\xc4\xb1k=10.0.0.8.255.0.0.0.10.0.0.1.10.0.0.1....\n");
    QProcess shell;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u("LC_ALL"), u("tr_TR.ISO-8859-9"));
    shell.setProcessEnvironment(env);
    shell.start(u("/bin/sh"),
                {u("-c"),
                 u("n=$(printf 'I\\376\\375k'); \"$0\" --settings \"$1\" --show \"$n\" >/dev/null "
                   "&& \"$0\" --settings \"$1\" --export-profile \"$n\" --format netplan "
                   "--interface eth0"),
                 m_dir.filePath(u("nuvar-pos-zelvi-ip")), settings});
    QVERIFY(shell.waitForFinished(30000));
    const QByteArray exported = shell.readAllStandardOutput();
    QVERIFY2(shell.exitCode() == 0 && exported.contains("\"I\xc5\x9f\xc4\xb1k\""),
             (exported + shell.readAllStandardError()).constData());
    qunsetenv("LOCPATH");
}

// A settings folder the user may not write to (the file itself writable): a change with a check
// is refused before anything changes, and nothing claims that the adapters changed. As root the
// program runs as nobody, for whom the folder's rights count.
void tst_CommandProcess::readOnlyFolderChangesNothingAndSaysSo() {
    QTemporaryDir dir;
    const QString program = dir.filePath(u("zelvi"));
    QVERIFY(QFile::copy(QStringLiteral(ZELVI_PROGRAM), program));
    const QString settings = dir.filePath(u("a.config"));
    const QString pc = dir.filePath(u("pc.json"));
    writeAll(settings, "[Profiles]\nB=10.0.0.6.255.0.0.0.10.0.0.1.10.0.0.1....\n");
    writeAll(pc, "{\"adapters\": [{\"caption\": \"[1] Kasa\", \"dhcp\": true}]}");
    for (const QString &file : {settings, pc})
        QVERIFY(::chmod(QFile::encodeName(file).constData(), 0666) == 0);
    QVERIFY(::chmod(QFile::encodeName(program).constData(), 0755) == 0);
    QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0555) == 0);
    const QByteArray before = readAll(pc);
    QProcess process;
    if (::geteuid() == 0) {
        process.setChildProcessModifier([] {
            ::setgroups(0, nullptr);
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(3);
        });
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u("LANG"), u("C.UTF-8"));
    env.remove(u("DISPLAY"));
    process.setProcessEnvironment(env);
    process.start(program, {u("--settings"), settings, u("--backend"), u("simulated=") + pc,
                            u("--apply"), u("B"), u("--all"), u("--check"), u("--json")});
    QVERIFY(process.waitForFinished(30000));
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    const QJsonObject o = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    QCOMPARE(process.exitCode(), 1);
    QCOMPARE(o.value(u("changed")).toBool(true), false);
    QVERIFY2(!err.contains(u("değişti")) && err.contains(u("dokunulmadı")), qPrintable(err));
    QCOMPARE(readAll(pc), before);
}

#include "tst_commandprocess.moc"
