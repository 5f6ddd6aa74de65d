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

private:
    void start(QProcess &process, const QStringList &args, bool display);

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

void tst_CommandProcess::start(QProcess &process, const QStringList &args, bool display) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
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
#include "tst_commandprocess.moc"
