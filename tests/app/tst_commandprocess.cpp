// The program as a process, started the way SSH sessions and scripts start it: its statuses and
// texts with and without a display, names that cannot take over a terminal, a lost output, and
// lines that arrive while a command still waits.
#include "TestFiles.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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
    void languages_data();
    void languages();

private:
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
    row("--check-after without --check", {u("--apply"), u("Alfa"), u("--check-after"), u("5")},
        false, "", 2, "", "--check-after yalnızca --check");
    row("help: the name typed, the options as parsed", {u("--help")}, false, "", 0,
        "Kullanım: nuvar-pos-zelvi-ip [SEÇENEKLER]", "");
    row("one dash: the window opens, with a warning", {u("-HIDEONSTARTUP"), u("--report-shown")},
        true, "", 0, "shown after", "Uyarı: -HIDEONSTARTUP");
    row("names cannot recolour or reorder a terminal", {u("--list")}, false, "", 0,
        "  Renk\\x1b[31m\n  Ters\\u202eYon\n", "");
    row("a lost output is no success", {u("--list")}, false, "/dev/full", 1, "",
        "Çıktı yazılamadı");
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
    start(process, {u("--apply"), u("Alfa"), u("--check"), u("--check-after"), u("5")}, false);
    QVERIFY(process.waitForReadyRead(4000));
    QVERIFY(process.readAllStandardOutput().contains("uygulandı"));
    QCOMPARE(process.state(), QProcess::Running); // still waiting for its check
    QVERIFY(process.waitForFinished(30000));
    QVERIFY(process.readAllStandardOutput().contains("MODEM IP: SERVİS YOK"));
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

#include "tst_commandprocess.moc"
