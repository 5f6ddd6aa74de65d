// The settings file under several processes: killed in the middle of writing, and two
// copies of the program saving at the same moment.
#include "settings/IniDocument.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString u(const char *utf8) {
    return QString::fromUtf8(utf8);
}

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every line must be the section header or a complete profile: a torn write would leave a
// cut line or a missing tail.
bool wellFormed(const QByteArray &bytes, QString &why) {
    const QList<QByteArray> lines = bytes.split('\n');
    if (!bytes.isEmpty() && !bytes.endsWith('\n')) {
        why = u("file does not end with a line end");
        return false;
    }
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QByteArray line = lines[i].endsWith('\r') ? lines[i].chopped(1) : lines[i];
        if (line == "[Profiles]")
            continue;
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0 || line.mid(eq + 1).count('.') != 19) {
            why = u("bad line %1: %2").arg(i).arg(QString::fromUtf8(line));
            return false;
        }
    }
    return true;
}

QProcess *startWriter(QObject *parent, const QString &path, const QString &prefix, int count,
                      int pauseMs = 0) {
    auto *p = new QProcess(parent);
    p->setProgram(QStringLiteral(PROFILE_WRITER_PATH));
    p->setArguments({path, prefix, QString::number(count), QString::number(pauseMs)});
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start();
    return p;
}

// The numbers of the saves a writer reported as complete.
QList<int> completedSaves(const QByteArray &output) {
    QList<int> saved;
    for (const QByteArray &line : output.split('\n')) {
        if (line.startsWith("saved "))
            saved.append(line.mid(6).toInt());
    }
    if (!output.endsWith('\n') && !saved.isEmpty())
        saved.removeLast(); // the last line may be cut
    return saved;
}

} // namespace

class tst_SettingsProcesses : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void killedWriterLeavesWholeFile();
    void twoWritersKeepEveryProfile();
    void refusingFolderIsNamed_data();
    void refusingFolderIsNamed();
};

void tst_SettingsProcesses::killedWriterLeavesWholeFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u("Nuvar_Pos_Zelvi_ip.exe.config"));

    // A file large enough that a kill often lands in the middle of a write, made in one write
    // (saved one by one, it takes minutes on a disk that flushes slowly).
    QStringList expected;
    QByteArray base("[Profiles]\n");
    for (int i = 0; i < 1500; ++i) {
        expected.append(u("base-%1").arg(i));
        base += "base-" + QByteArray::number(i) + "=10.0." + QByteArray::number(i / 256) + '.' +
                QByteArray::number(i % 256) + ".255.255.255.0.10.0.0.1.10.0.0.1.8.8.8.8\n";
    }
    QFile fill(path);
    QVERIFY(fill.open(QIODevice::WriteOnly));
    QCOMPARE(fill.write(base), base.size());
    fill.close();

    auto *rng = QRandomGenerator::global();
    for (int round = 0; round < 20; ++round) {
        const QString prefix = u("r%1-").arg(round);
        QProcess *writer = startWriter(this, path, prefix, 0);
        QVERIFY(writer->waitForStarted());
        QByteArray output;
        const int wanted = 1 + int(rng->bounded(4));
        while (completedSaves(output).size() < wanted && writer->state() == QProcess::Running) {
            writer->waitForReadyRead(5000);
            output += writer->readAllStandardOutput();
        }
        QTest::qSleep(int(rng->bounded(3)));
        ::kill(pid_t(writer->processId()), SIGKILL);
        QVERIFY(writer->waitForFinished(10000));
        output += writer->readAllStandardOutput();
        QCOMPARE(writer->exitStatus(), QProcess::CrashExit);
        for (int n : completedSaves(output))
            expected.append(prefix + QString::number(n));
        delete writer;

        const QByteArray bytes = readAll(path);
        QString why;
        QVERIFY2(wellFormed(bytes, why), qPrintable(why));
        const QStringList names = IniDocument::fromFileBytes(bytes).keyNames(u("Profiles"));
        for (const QString &name : std::as_const(expected))
            QVERIFY2(names.contains(name), qPrintable(u("lost ") + name));
    }
}

void tst_SettingsProcesses::twoWritersKeepEveryProfile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u("Nuvar_Pos_Zelvi_ip.exe.config"));
    // Saves taking turns: each writer pauses between its saves as separate runs would, so the
    // other gets the folder however slowly the disk flushes.
    constexpr int Saves = 60;
    QProcess *first = startWriter(this, path, u("first-"), Saves, 50);
    QProcess *second = startWriter(this, path, u("second-"), Saves, 50);
    QVERIFY(first->waitForFinished(120000));
    QVERIFY(second->waitForFinished(120000));
    QCOMPARE(first->exitCode(), 0);
    QCOMPARE(second->exitCode(), 0);

    const QByteArray bytes = readAll(path);
    QString why;
    QVERIFY2(wellFormed(bytes, why), qPrintable(why));
    const QStringList names = IniDocument::fromFileBytes(bytes).keyNames(u("Profiles"));
    QCOMPARE(names.size(), 2 * Saves);
    for (int i = 0; i < Saves; ++i) {
        QVERIFY(names.contains(u("first-%1").arg(i)));
        QVERIFY(names.contains(u("second-%1").arg(i)));
    }
    delete first;
    delete second;
}

// A folder the user may not write to: the message names the folder, not the file (which may
// be writable itself); a folder that is missing because it cannot be made says why (a file
// where it should be, a folder above it that may not be written to). As root the writer runs
// as nobody, for whom the folder's rights count.
void tst_SettingsProcesses::refusingFolderIsNamed_data() {
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QString>("below"); // the settings file's folder within "kasa"
    QTest::addColumn<QString>("said");  // with "kasa" for that folder's path
    QTest::newRow("a writable file in the folder")
        << true << QString() << u("Klasöre yazma izni yok: kasa");
    QTest::newRow("no file yet") << false << QString() << u("Klasöre yazma izni yok: kasa");
    QTest::newRow("a file where a folder should be")
        << true << u("ayar.config/nuvar")
        << u("Klasör oluşturulamıyor: kasa/ayar.config bir dosya");
    QTest::newRow("a folder that cannot be made")
        << false << u("nuvar") << u("Klasör oluşturulamadı: kasa klasörüne yazma izni yok");
}

void tst_SettingsProcesses::refusingFolderIsNamed() {
    QFETCH(bool, fileExists);
    QFETCH(QString, below);
    QFETCH(QString, said);
    QTemporaryDir dir;
    const QString folder = dir.filePath(u("kasa"));
    QVERIFY(QDir().mkdir(folder));
    const QString path =
        folder + u("/") + (below.isEmpty() ? QString() : below + u("/")) + u("ayar.config");
    const QString writer = dir.filePath(u("profile_writer")); // within nobody's reach
    QVERIFY(QFile::copy(QStringLiteral(PROFILE_WRITER_PATH), writer));
    const bool root = ::geteuid() == 0;
    if (fileExists) {
        QFile f(folder + u("/ayar.config"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Profiles]\n");
        f.close();
        QVERIFY(::chmod(QFile::encodeName(f.fileName()).constData(), 0666) == 0);
    }
    QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
    QVERIFY(::chmod(QFile::encodeName(writer).constData(), 0755) == 0);
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0555) == 0);
    QProcess p;
    if (root) {
        p.setChildProcessModifier([] {
            ::setgroups(0, nullptr);
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(3);
        });
    }
    p.start(writer, {path, u("a"), u("1")});
    QVERIFY(p.waitForFinished(20000));
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QCOMPARE(p.exitCode(), 1);
    QVERIFY2(err.contains(QString(said).replace(u("kasa"), folder)), qPrintable(err));
}

QTEST_GUILESS_MAIN(tst_SettingsProcesses)
#include "tst_settings_processes.moc"
