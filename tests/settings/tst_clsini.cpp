// clsIni on real files: path completion, reads with their limits and defaults, writes that
// are refused or fail without touching the file.
#include "TestFiles.h"
#include "settings/clsIni.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString u(const char *utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

class tst_clsIni : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void fileNameCompletion_data();
    void fileNameCompletion();
    void fileNameCreatesOnlyMissingFile();
    void fileNameInMissingFolderFails();
    void readStringDefaultsAndLimit();
    void readInt_data();
    void readInt();
    void readBool_data();
    void readBool();
    void readSectionIsNeverCut();
    void readSectionOfMissingFile();
    void refusedWriteLeavesFileUnchanged_data();
    void refusedWriteLeavesFileUnchanged();
    void readOnlyFileIsNotWritten();
    void deleteOfMissingKeyTouchesNothing();
    void deleteSection();
    void windows1254FileStaysWindows1254();
    void writeKeepsPermissionsAndLink();
    void onlyRegularFilesAreRead_data();
    void onlyRegularFilesAreRead();
    void linksInSharedFolders();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void tst_clsIni::init() {
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(QStringLiteral("settings.config"));
    QFile::remove(m_path);
}

void tst_clsIni::fileNameCompletion_data() {
    QTest::addColumn<QString>("assigned");
    QTest::addColumn<QString>("stored");
    const QString folder = QCoreApplication::applicationDirPath();
    QTest::newRow("bare name") << u("tst_clsini_a") << folder + u("/tst_clsini_a.ini");
    QTest::newRow("name with extension")
        << u("tst_clsini_b.cfg") << folder + u("/tst_clsini_b.cfg");
    QTest::newRow("folder without dot")
        << m_dir.path() + u("/plain") << m_dir.path() + u("/plain.ini");
}

void tst_clsIni::fileNameCompletion() {
    QFETCH(QString, assigned);
    QFETCH(QString, stored);
    clsIni ini;
    QVERIFY(ini.setFileName(assigned));
    QCOMPARE(ini.FileName(), stored);
    QVERIFY(QFileInfo::exists(stored));
    if (!stored.startsWith(m_dir.path()))
        QFile::remove(stored);

    // A dot anywhere, also in a folder name, means no ".ini" is added.
    QTemporaryDir dotted(m_dir.path() + u("/my.data-XXXXXX"));
    clsIni other;
    QVERIFY(other.setFileName(dotted.path() + u("/settings")));
    QCOMPARE(other.FileName(), dotted.path() + u("/settings"));
}

void tst_clsIni::fileNameCreatesOnlyMissingFile() {
    clsIni ini;
    QVERIFY(ini.setFileName(m_path));
    QCOMPARE(QFileInfo(m_path).size(), 0);

    writeAll(m_path, "[Profiles]\r\nKASA=1\r\n");
    clsIni again;
    QVERIFY(again.setFileName(m_path));
    QCOMPARE(readAll(m_path), QByteArray("[Profiles]\r\nKASA=1\r\n"));
}

void tst_clsIni::fileNameInMissingFolderFails() {
    clsIni ini;
    QVERIFY(!ini.setFileName(m_dir.path() + u("/no/such/folder/x.config")));
    QCOMPARE(ini.lastError().number, 76);
    QVERIFY(ini.lastError().description.contains(u("/no/such/folder")));
    QCOMPARE(ini.ReadString(u("s"), u("k"), u("def")), u("def")); // reads still answer

    QVERIFY(QDir(m_dir.path()).mkdir(u("folder.config")));
    QVERIFY(!ini.setFileName(m_dir.filePath(u("folder.config")))); // the path names a folder
    QCOMPARE(ini.lastError().number, 75);
}

void tst_clsIni::readStringDefaultsAndLimit() {
    const QString longValue(300, QLatin1Char('x'));
    writeAll(m_path, "[s]\nempty=\nlong=" + longValue.toLatin1() + "\nk=v\n");
    clsIni ini;
    QVERIFY(ini.setFileName(m_path));
    QCOMPARE(ini.ReadString(u("s"), u("k"), u("def")), u("v"));
    QCOMPARE(ini.ReadString(u(""), u("k"), u("def")), QString());
    QCOMPARE(ini.ReadString(u("s"), u(""), u("def")), QString());
    QCOMPARE(ini.ReadString(u("s"), u("empty"), u("def")), u("def"));
    QCOMPARE(ini.ReadString(u("s"), u("missing"), u("def")), u("def"));
    QCOMPARE(ini.ReadString(u("s"), u("long"), u("def")), longValue.left(254));
}

void tst_clsIni::readInt_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("ok");
    QTest::newRow("number then letters") << QByteArray("42abc") << 42 << true;
    QTest::newRow("letters") << QByteArray("abc") << 0 << true;
    QTest::newRow("empty gives default") << QByteArray("") << 7 << true;
    QTest::newRow("blanks inside") << QByteArray("1 2 3") << 123 << true;
    QTest::newRow("half to even down") << QByteArray("2.5") << 2 << true;
    QTest::newRow("half to even up") << QByteArray("3.5") << 4 << true;
    QTest::newRow("negative") << QByteArray("-32768") << -32768 << true;
    QTest::newRow("exponent") << QByteArray("1e3") << 1000 << true;
    QTest::newRow("overflow") << QByteArray("32767.5") << 0 << false;
    QTest::newRow("huge") << QByteArray("9e999") << 0 << false;
}

void tst_clsIni::readInt() {
    QFETCH(QByteArray, stored);
    QFETCH(int, expected);
    QFETCH(bool, ok);
    writeAll(m_path, "[s]\nn=" + stored + "\n");
    clsIni ini;
    QVERIFY(ini.setFileName(m_path));
    bool readOk = false;
    QCOMPARE(int(ini.ReadInt(u("s"), u("n"), 7, &readOk)), expected);
    QCOMPARE(readOk, ok);
    if (!ok)
        QCOMPARE(ini.lastError().number, 6);
}

void tst_clsIni::readBool_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("defaultValue");
    QTest::addColumn<bool>("expected");
    QTest::newRow("0") << QByteArray("b=0") << true << false;
    QTest::newRow("Falso") << QByteArray("b=Falso") << true << false;
    QTest::newRow("empty value") << QByteArray("b=") << true << false;
    QTest::newRow("falso lower case") << QByteArray("b=falso") << false << true;
    QTest::newRow("False") << QByteArray("b=False") << false << true;
    QTest::newRow("1") << QByteArray("b=1") << false << true;
    QTest::newRow("Yes") << QByteArray("b=Yes") << false << true;
    QTest::newRow("missing, default true") << QByteArray("") << true << true;
    QTest::newRow("missing, default false") << QByteArray("") << false << false;
}

void tst_clsIni::readBool() {
    QFETCH(QByteArray, line);
    QFETCH(bool, defaultValue);
    QFETCH(bool, expected);
    writeAll(m_path, "[s]\n" + line + "\n");
    clsIni ini;
    QVERIFY(ini.setFileName(m_path));
    QCOMPARE(ini.ReadBool(u("s"), u("b"), defaultValue), expected);
}

void tst_clsIni::readSectionIsNeverCut() {
    QByteArray text = "[Profiles]\n";
    QStringList expected;
    for (int i = 0; i < 2000; ++i) { // about 40,000 characters of names
        const QString name = u("Şube profili %1").arg(i, 5, 10, QLatin1Char('0'));
        expected.append(name);
        text += name.toUtf8() + "=1.2.3.4\n";
    }
    writeAll(m_path, text);
    clsIni ini;
    QVERIFY(ini.setFileName(m_path));
    QStringList keys{u("stale")};
    qint32 count = -1;
    QVERIFY(ini.ReadSection(ini.FileName(), u("Profiles"), keys, count));
    QCOMPARE(count, 2000);
    QCOMPARE(keys, expected);
}

void tst_clsIni::readSectionOfMissingFile() {
    clsIni ini;
    QStringList keys{u("stale")};
    qint32 count = -1;
    QVERIFY(ini.ReadSection(m_dir.filePath(u("none.config")), u("Profiles"), keys, count));
    QCOMPARE(count, 0);
    QVERIFY(keys.isEmpty());
    QVERIFY(!QFileInfo::exists(m_dir.filePath(u("none.config")))); // reads never create
}

void tst_clsIni::refusedWriteLeavesFileUnchanged_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("key with =") << u("Profiles") << u("A=B") << u("1");
    QTest::newRow("key with line break") << u("Profiles") << u("A\r\nB") << u("1");
    QTest::newRow("key starting [") << u("Profiles") << u("[A") << u("1");
    QTest::newRow("key starting ;") << u("Profiles") << u(";A") << u("1");
    QTest::newRow("section with ]") << u("Pro]files") << u("A") << u("1");
    QTest::newRow("value with line break") << u("Profiles") << u("A") << u("1\n[CurrentProfile]");
}

void tst_clsIni::refusedWriteLeavesFileUnchanged() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    const QByteArray before = "[Profiles]\nKASA=1\n";
    writeAll(m_path, before);
    clsIni ini;
    QVERIFY(ini.setFileName(m_path));
    QCOMPARE(ini.WriteString(section, key, value), 0);
    QCOMPARE(ini.lastError().number, 5);
    QVERIFY(!ini.lastError().description.isEmpty());
    QCOMPARE(readAll(m_path), before);
}

void tst_clsIni::readOnlyFileIsNotWritten() {
    const QByteArray before = "[Profiles]\nKASA=1\n";
    writeAll(m_path, before);
    QVERIFY(::chmod(QFile::encodeName(m_path).constData(), 0444) == 0);
    clsIni ini;
    QVERIFY(ini.setFileName(m_path));
    QCOMPARE(ini.WriteString(u("Profiles"), u("OFIS"), u("2")), 0);
    QCOMPARE(ini.DeleteKey(u("Profiles"), u("KASA")), 0);
    QCOMPARE(ini.lastError().number, 70);
    QCOMPARE(readAll(m_path), before);
    QCOMPARE(ini.ReadString(u("Profiles"), u("KASA"), QString()), u("1")); // still readable
    ::chmod(QFile::encodeName(m_path).constData(), 0644);
}

void tst_clsIni::deleteOfMissingKeyTouchesNothing() {
    clsIni ini;
    QVERIFY(ini.setFileName(m_path));
    QFile::remove(m_path);
    QCOMPARE(ini.DeleteKey(u("Profiles"), u("KASA")), 1);
    QVERIFY(!QFileInfo::exists(m_path)); // not created by a deletion of nothing

    const QByteArray before = "[Profiles]\r\n\xDE"
                              "UBE=1\r\n"; // Windows-1254, left as it is
    writeAll(m_path, before);
    QCOMPARE(ini.DeleteKey(u("Profiles"), u("KASA")), 1);
    QCOMPARE(readAll(m_path), before);
}

void tst_clsIni::deleteSection() {
    writeAll(m_path, "[Profiles]\nKASA=1\n[CurrentProfile]\nProfileName=KASA\n");
    clsIni ini;
    QVERIFY(ini.setFileName(m_path));
    QCOMPARE(ini.DeleteSection(u("profiles")), 1);
    QCOMPARE(readAll(m_path), QByteArray("[CurrentProfile]\nProfileName=KASA\n"));
}

void tst_clsIni::windows1254FileStaysWindows1254() {
    // "İzmir Şube ğ" in Windows-1254, with Windows line ends.
    writeAll(m_path, "[Profiles]\r\n\xDDzmir \xDE"
                     "ube \xF0=1.2\r\n");
    clsIni ini;
    QVERIFY(ini.setFileName(m_path));
    QStringList keys;
    qint32 count = 0;
    QVERIFY(ini.ReadSection(ini.FileName(), u("Profiles"), keys, count));
    QCOMPARE(keys, QStringList{u("İzmir Şube ğ")});
    QCOMPARE(ini.ReadString(u("Profiles"), u("İZMİR ŞUBE Ğ"), QString()), u("1.2"));

    // A Windows computer reads it again: it stays in its code page and its line ends.
    QCOMPARE(ini.WriteString(u("CurrentProfile"), u("ProfileName"), u("İzmir Şube ğ")), 1);
    QVERIFY(ini.lastNotice().isEmpty());
    QCOMPARE(readAll(m_path), QByteArray("[Profiles]\r\n\xDDzmir \xDE"
                                         "ube \xF0=1.2\r\n[CurrentProfile]\r\nProfileName=\xDDzmir "
                                         "\xDE"
                                         "ube \xF0\r\n"));
    // A name the code page cannot hold: the file becomes UTF-8, and the user is told.
    QCOMPARE(ini.WriteString(u("Profiles"), u("Кафе"), u("2")), 1);
    QVERIFY(ini.lastNotice().contains(u("UTF-8")));
    QCOMPARE(ini.ReadString(u("Profiles"), u("izmir şube ğ"), QString()), u("1.2"));
    QVERIFY(readAll(m_path).startsWith("[Profiles]\r\nİzmir Şube ğ=1.2\r\nКафе=2\r\n"));
}

void tst_clsIni::writeKeepsPermissionsAndLink() {
    writeAll(m_path, "[s]\nk=1\n");
    const QByteArray native = QFile::encodeName(m_path);
    QVERIFY(::chmod(native.constData(), 0640) == 0);
    const QString link = m_dir.filePath(u("link.config"));
    QVERIFY(QFile::link(m_path, link));

    clsIni ini;
    QVERIFY(ini.setFileName(link));
    QCOMPARE(ini.WriteString(u("s"), u("k"), u("2")), 1);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readAll(m_path), QByteArray("[s]\nk=2\n"));
    struct stat st {};
    QVERIFY(::stat(native.constData(), &st) == 0);
    QCOMPARE(int(st.st_mode & 0777), 0640);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Hidden | QDir::Files).filter(u(".tmp-")),
             QStringList());
}

void tst_clsIni::onlyRegularFilesAreRead_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("FIFO") << u("fifo") << u("FIFO");
    QTest::newRow("link to /dev/zero") << u("zero") << u("aygıt");
    QTest::newRow("folder") << u("folder") << u("klasör");
    QTest::newRow("over 64 MiB") << u("large") << u("çok büyük");
}

void tst_clsIni::onlyRegularFilesAreRead() {
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QByteArray native = QFile::encodeName(m_path);
    if (kind == u("fifo"))
        QVERIFY(::mkfifo(native.constData(), 0600) == 0);
    else if (kind == u("zero"))
        QVERIFY(QFile::link(u("/dev/zero"), m_path));
    else if (kind == u("folder"))
        QVERIFY(QDir().mkdir(m_path));
    else {
        QFile big(m_path);
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize(65 * 1024 * 1024)); // sparse: no disk space taken
    }
    // Never waits, never reads without end: refused with the reason.
    clsIni ini;
    QString why;
    if (!ini.setFileName(m_path)) {
        why = ini.lastError().description;
    } else {
        QStringList keys;
        qint32 count = 0;
        QVERIFY(!ini.ReadSection(ini.FileName(), u("Profiles"), keys, count));
        QCOMPARE(ini.WriteString(u("Profiles"), u("KASA"), u("1")), 0);
        why = ini.lastError().description;
    }
    QVERIFY2(why.contains(reason), qPrintable(why));
    QDir(m_path).removeRecursively();
    QFile::remove(m_path);
}

void tst_clsIni::linksInSharedFolders() {
    if (::geteuid() != 0)
        QSKIP("making a file of another user needs root");
    constexpr uid_t other = 65534;
    // A folder such as /tmp, and in it a link that another user planted towards our file.
    const QString shared = m_dir.filePath(u("shared"));
    QVERIFY(QDir().mkdir(shared));
    QVERIFY(::chmod(QFile::encodeName(shared).constData(), 01777) == 0);
    const QString victim = m_dir.filePath(u("victim.config"));
    writeAll(victim, "[s]\nk=1\n");
    const QString link = shared + u("/settings.config");
    QVERIFY(QFile::link(victim, link));
    const QByteArray nativeLink = QFile::encodeName(link);
    QVERIFY(::lchown(nativeLink.constData(), other, other) == 0);

    clsIni ini;
    QVERIFY(!ini.setFileName(link));
    QVERIFY2(ini.lastError().description.contains(u("bağlantı")),
             qPrintable(ini.lastError().description));
    QCOMPARE(ini.WriteString(u("s"), u("k"), u("2")), 0);
    QCOMPARE(readAll(victim), QByteArray("[s]\nk=1\n"));

    // Our own link is followed; a temporary file of another user beside the file is no
    // leftover of ours and stays, one of ours is removed.
    QVERIFY(::lchown(nativeLink.constData(), 0, 0) == 0);
    const QString theirs = m_dir.filePath(u(".victim.config.tmp-theirs"));
    const QString ours = m_dir.filePath(u(".victim.config.tmp-ours"));
    writeAll(theirs, "x");
    writeAll(ours, "x");
    QVERIFY(::chown(QFile::encodeName(theirs).constData(), other, other) == 0);
    QVERIFY(ini.setFileName(link));
    QCOMPARE(ini.WriteString(u("s"), u("k"), u("2")), 1);
    QCOMPARE(readAll(victim), QByteArray("[s]\nk=2\n"));
    QVERIFY(QFileInfo::exists(theirs));
    QVERIFY(!QFileInfo::exists(ours));
}

QTEST_GUILESS_MAIN(tst_clsIni)
#include "tst_clsini.moc"
