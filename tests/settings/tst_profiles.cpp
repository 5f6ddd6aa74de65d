// Loading the profile names into a list and saving a profile, on real files.
#include "FakePrompts.h"
#include "TestFiles.h"
#include "settings/FileLocation.h"
#include "settings/ProfileList.h"
#include "settings/SharedFolder.h"
#include "settings/UserFileUpgrade.h"
#include "settings/clsIni.h"
#include "settings/modNetProfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <pwd.h>
#include <unistd.h>

using namespace modNetProfiles;

namespace {

QString u(const char *utf8) {
    return QString::fromUtf8(utf8);
}

ProfileFields fields(const QString &dotted) {
    ProfileFields f;
    const QStringList parts = dotted.split(QLatin1Char('.'));
    for (int i = 0; i < FieldCount && i < parts.size(); ++i)
        f[i] = parts[i];
    return f;
}

// A list that refuses every entry.
class RefusingList : public ProfileList {
public:
    void clear() override { ++clears; }
    bool addItem(const QString &) override { return false; }
    int clears = 0;
};

} // namespace

class tst_Profiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void firstStartCreatesEmptyFile();
    void namesInFileOrder();
    void unusableFileIsReportedOnce();
    void refusingListIsReportedOnce();
    void saveStoresJoinedFields_data();
    void saveStoresJoinedFields();
    void existingNameAsksBeforeReplacing();
    void editModeNeverAsks();
    void failedSaveIsReported();
    void settingsFileBesideProgram_data();
    void settingsFileBesideProgram();
    void tillFolderTrustsRootAndGroup_data();
    void tillFolderTrustsRootAndGroup();
    void earlierProfilesTakenOnce();
    void windowsFileComesOutAsItWent();
    void configFolderAsXdgSays_data();
    void configFolderAsXdgSays();

private:
    QTemporaryDir m_dir;
    QString m_path;
    FakePrompts m_prompts;
};

void tst_Profiles::init() {
    m_path = m_dir.filePath(u("Nuvar_Pos_Zelvi_ip.exe.config"));
    QFile::remove(m_path);
    m_prompts = FakePrompts();
    EditMode = 0;
}

void tst_Profiles::firstStartCreatesEmptyFile() {
    StringProfileList list;
    list.items = {u("stale")};
    ProfilesLoad(m_path, list, m_prompts);
    QVERIFY(list.items.isEmpty());
    QVERIFY(m_prompts.messages.isEmpty());
    QVERIFY(QFileInfo::exists(m_path));
    QCOMPARE(QFileInfo(m_path).size(), 0);
}

void tst_Profiles::namesInFileOrder() {
    writeAll(m_path, "[Other]\nX=1\n[Profiles]\nB=1\nA=2\nC=3\n");
    StringProfileList list;
    ProfilesLoad(m_path, list, m_prompts);
    QCOMPARE(list.items, (QStringList{u("B"), u("A"), u("C")}));
}

void tst_Profiles::unusableFileIsReportedOnce() {
    StringProfileList list;
    list.items = {u("stale")};
    ProfilesLoad(m_dir.path() + u("/missing/x.config"), list, m_prompts);
    QCOMPARE(m_prompts.messages.size(), 1);
    QVERIFY(m_prompts.messages[0].startsWith(u("Error 76 (")));
    QVERIFY(m_prompts.messages[0].endsWith(
        u(")\r\nin procedure ProfilesLoad of Modulo modNetProfiles")));
    QCOMPARE(m_prompts.icons[0], UserPrompts::Icon::None);
    QVERIFY(list.items.isEmpty());

    // A folder where the file should be: it can be neither created nor read.
    const QString folder = m_dir.filePath(u("folder.config"));
    QVERIFY(QDir().mkdir(folder));
    FakePrompts prompts;
    ProfilesLoad(folder, list, prompts);
    QCOMPARE(prompts.messages.size(), 1); // neither created nor read: told once
    QVERIFY(list.items.isEmpty());
}

void tst_Profiles::refusingListIsReportedOnce() {
    writeAll(m_path, "[Profiles]\nA=1\nB=2\nC=3\n");
    RefusingList list;
    ProfilesLoad(m_path, list, m_prompts);
    QCOMPARE(list.clears, 1);
    QCOMPARE(m_prompts.messages.size(), 1);
}

void tst_Profiles::saveStoresJoinedFields_data() {
    QTest::addColumn<QString>("dotted");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("all five addresses")
        << u("192.168.5.50.255.255.255.0.192.168.5.254.192.168.5.254.192.168.5.2")
        << QByteArray("KASA=192.168.5.50.255.255.255.0.192.168.5.254.192.168.5.254.192.168.5.2");
    QTest::newRow("no second DNS server")
        << u("10.0.0.20.255.255.255.0.10.0.0.1.10.0.0.1")
        << QByteArray("KASA=10.0.0.20.255.255.255.0.10.0.0.1.10.0.0.1....");
}

void tst_Profiles::saveStoresJoinedFields() {
    QFETCH(QString, dotted);
    QFETCH(QByteArray, line);
    QVERIFY(ProfileSave(m_path, u("KASA"), fields(dotted), m_prompts).saved());
    QCOMPARE(readAll(m_path), "[Profiles]\r\n" + line + "\r\n");
    QVERIFY(m_prompts.questions.isEmpty());
}

void tst_Profiles::existingNameAsksBeforeReplacing() {
    const QByteArray before = "[Profiles]\nKASA=1.1.1.1.255.0.0.0.1.1.1.2.1.1.1.3....\n";
    writeAll(m_path, before);
    m_prompts.answer = false;
    const SaveResult declined = ProfileSave(m_path, u("kasa"), fields(u("2.2.2.2")), m_prompts);
    QCOMPARE(declined.outcome, SaveResult::Outcome::Declined);
    QCOMPARE(m_prompts.questions.size(), 1);
    QVERIFY(m_prompts.questions[0].contains(u("kasa")));
    QCOMPARE(readAll(m_path), before);

    m_prompts.answer = true;
    QVERIFY(ProfileSave(m_path, u("KASA"), fields(u("2.2.2.2")), m_prompts).saved());
    QCOMPARE(m_prompts.questions.size(), 2);
    QCOMPARE(readAll(m_path), QByteArray("[Profiles]\nKASA=2.2.2.2................\n"));

    // A key with an empty value counts as absent: no question.
    writeAll(m_path, "[Profiles]\nBOS=\n");
    QVERIFY(ProfileSave(m_path, u("BOS"), fields(u("3.3.3.3")), m_prompts).saved());
    QCOMPARE(m_prompts.questions.size(), 2);
}

void tst_Profiles::editModeNeverAsks() {
    writeAll(m_path, "[Profiles]\nKASA=1\n");
    EditMode = 1;
    QVERIFY(ProfileSave(m_path, u("KASA"), fields(u("5.5.5.5")), m_prompts).saved());
    QVERIFY(m_prompts.questions.isEmpty());
    QCOMPARE(readAll(m_path), QByteArray("[Profiles]\nKASA=5.5.5.5................\n"));
}

void tst_Profiles::failedSaveIsReported() {
    const SaveResult refused = ProfileSave(m_path, u("A=B"), fields(u("1.2.3.4")), m_prompts);
    QCOMPARE(refused.outcome, SaveResult::Outcome::Failed);
    QVERIFY(refused.error.description.contains(u("=")));

    const SaveResult noFolder =
        ProfileSave(m_dir.path() + u("/missing/x.config"), u("A"), fields(u("1")), m_prompts);
    QCOMPARE(noFolder.outcome, SaveResult::Outcome::Failed);
    QCOMPARE(noFolder.error.number, 76);
}

void tst_Profiles::settingsFileBesideProgram_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("folderIsUsers");
    QTest::addColumn<bool>("fileIsUsers");
    QTest::addColumn<bool>("beside");
    QTest::newRow("portable copy in the user's folder")
        << u("/home/a/zelvi") << true << false << true;
    QTest::newRow("the user's file in a shared folder") << u("/srv/zelvi") << false << true << true;
    QTest::newRow("another user's folder and file")
        << u("/home/b/zelvi") << false << false << false;
    QTest::newRow("/usr/bin, even for root") << u("/usr/bin") << true << true << false;
    QTest::newRow("/usr/local/bin") << u("/usr/local/bin") << true << false << false;
    QTest::newRow("/opt") << u("/opt/zelvi") << true << false << false;
    QTest::newRow("/lib64") << u("/lib64") << true << false << false;
    QTest::newRow("/etc") << u("/etc/zelvi/") << true << false << false;
    QTest::newRow("/sbin") << u("/sbin") << true << false << false;
    QTest::newRow("a name that only starts like one")
        << u("/usrdata/zelvi") << true << false << true;
}

void tst_Profiles::settingsFileBesideProgram() {
    QFETCH(QString, folder);
    QFETCH(bool, folderIsUsers);
    QFETCH(bool, fileIsUsers);
    QFETCH(bool, beside);
    QCOMPARE(FileLocation::besideProgram(folder, folderIsUsers, fileIsUsers), beside);
    // This test's own folder is the user's: a portable copy.
    QCOMPARE(settingsFilePath(),
             QCoreApplication::applicationDirPath() + u("/Nuvar_Pos_Zelvi_ip.exe.config"));
}

// Where an installed copy keeps its files, and who is trusted in the till's folder.
void tst_Profiles::tillFolderTrustsRootAndGroup_data() {
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<int>("fileOwner");
    QTest::addColumn<int>("fileGroup"); // the folder's group is 100
    QTest::addColumn<bool>("trusted");
    QTest::addColumn<int>("newMode"); // what a new file of rw-r--r-- gets there
    QTest::newRow("root's file") << 0755 << 0 << 5 << true << 0644;
    QTest::newRow("another user's file") << 0755 << 4242 << 100 << false << 0644;
    QTest::newRow("the group's file in the till's folder") << 02775 << 4242 << 100 << true << 0664;
    QTest::newRow("another group's file there") << 02775 << 4242 << 5 << false << 0664;
    QTest::newRow("group-writable, not set-group-ID") << 0775 << 4242 << 100 << false << 0644;
    QTest::newRow("writable by everyone") << 02777 << 4242 << 100 << false << 0644;
}

void tst_Profiles::tillFolderTrustsRootAndGroup() {
    QFETCH(int, folderMode);
    QFETCH(int, fileOwner);
    QFETCH(int, fileGroup);
    QFETCH(bool, trusted);
    QFETCH(int, newMode);
    struct stat folder {};
    folder.st_mode = S_IFDIR | mode_t(folderMode);
    folder.st_gid = 100;
    struct stat file {};
    file.st_mode = S_IFREG | 0644;
    file.st_uid = uid_t(fileOwner);
    file.st_gid = gid_t(fileGroup);
    if (::geteuid() == 4242)
        QSKIP("this user is the row's other user");
    QCOMPARE(SharedFolder::trusted(file, folder), trusted);
    QCOMPARE(int(SharedFolder::modeIn(folder, 0644)), newMode);
}

// An upgrade from the version with a file per user: the user's profiles join the till's list
// once, the till's value wins a shared name, the earlier file stays as it was.
void tst_Profiles::earlierProfilesTakenOnce() {
    const QString till = m_dir.filePath(u("till.config"));
    const QString earlier = m_dir.filePath(u("user.config"));
    writeAll(till, "[Profiles]\nKasa 1=1.1.1.1.255.0.0.0.1.1.1.2.1.1.1.2....\n");
    const QByteArray old = "[Profiles]\nKASA 1=9.9.9.9.255.0.0.0.9.9.9.1.9.9.9.1....\n"
                           "Depo=2.2.2.2.255.0.0.0.2.2.2.1.2.2.2.1....\n"
                           "[Links]\nExternalAddressUrl=http://h/ip.php\n";
    writeAll(earlier, old);
    const UserFileUpgrade::Taken taken = UserFileUpgrade::take(till, earlier);
    QVERIFY(!taken.failed);
    QVERIFY2(taken.line.contains(u("1 yeni, 1 aynı adla")), qPrintable(taken.line));
    clsIni ini;
    QVERIFY(ini.setFileName(till, clsIni::PathRule::Exact));
    QCOMPARE(ini.ReadString(u("Profiles"), u("Kasa 1"), {}),
             u("1.1.1.1.255.0.0.0.1.1.1.2.1.1.1.2...."));
    QCOMPARE(ini.ReadString(u("Profiles"), u("Depo"), {}),
             u("2.2.2.2.255.0.0.0.2.2.2.1.2.2.2.1...."));
    QCOMPARE(ini.ReadString(u("Links"), u("ExternalAddressUrl"), {}), u("http://h/ip.php"));
    QCOMPARE(readAll(earlier), old);
    // Deleted from the till's list later, it does not come back.
    QVERIFY(ini.DeleteKey(u("Profiles"), u("Depo")));
    QVERIFY(UserFileUpgrade::take(till, earlier).line.isEmpty());
    QCOMPARE(ini.ReadString(u("Profiles"), u("Depo"), {}), QString());
    // A till's file that cannot take them: none taken, nothing marked, tried again next time.
    const QString other = m_dir.filePath(u("other.config"));
    writeAll(other, old);
    const UserFileUpgrade::Taken refused =
        UserFileUpgrade::take(m_dir.filePath(u("no/till")), other);
    QVERIFY(refused.failed);
    QVERIFY(!QFileInfo::exists(UserFileUpgrade::markOf(other)));
}

// "~" is the user's home from the system's user database.
void tst_Profiles::configFolderAsXdgSays_data() {
    QTest::addColumn<QByteArray>("home"); // "-": not set
    QTest::addColumn<QByteArray>("xdg");
    QTest::addColumn<QString>("base");
    QTest::newRow("home") << QByteArray("/home/a") << QByteArray("-") << u("/home/a/.config");
    QTest::newRow("XDG_CONFIG_HOME")
        << QByteArray("/home/a") << QByteArray("/srv/c") << u("/srv/c");
    QTest::newRow("relative XDG_CONFIG_HOME is ignored")
        << QByteArray("/home/a") << QByteArray("c") << u("/home/a/.config");
    QTest::newRow("HOME not set") << QByteArray("-") << QByteArray("-") << u("~/.config");
}

void tst_Profiles::configFolderAsXdgSays() {
    QFETCH(QByteArray, home);
    QFETCH(QByteArray, xdg);
    QFETCH(QString, base);
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedXdg = qgetenv("XDG_CONFIG_HOME");
    const bool hadXdg = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const auto set = [](const char *name, const QByteArray &value) {
        if (value == "-")
            qunsetenv(name);
        else
            qputenv(name, value);
    };
    set("HOME", home);
    set("XDG_CONFIG_HOME", xdg);
    const QString found = FileLocation::configBase();
    qputenv("HOME", savedHome);
    set("XDG_CONFIG_HOME", hadXdg ? savedXdg : QByteArray("-"));
    QCOMPARE(found,
             QString(base).replace(u("~"), QFile::decodeName(::getpwuid(::geteuid())->pw_dir)));
}

QTEST_GUILESS_MAIN(tst_Profiles)
#include "tst_profiles.moc"

// A settings file as a Turkish Windows computer and Notepad leave it: Windows-1254, CR LF,
// quotes, comments, an unknown section. A read, a new profile, a changed one and a delete
// leave every other line as it was, byte for byte, in the same encoding and line ends.
void tst_Profiles::windowsFileComesOutAsItWent() {
    const QByteArray head = "; Merkez ma\xF0"
                            "aza ayarlar\xFD\r\n[Profiles]\r\n";
    const QByteArray kasa =
        "KASA = \"192.168.5.50.255.255.255.0.192.168.5.254.192.168.5.254....\"\r\n";
    const QByteArray sube = "\xDE"
                            "ube \xDDzmir=10.0.0.20.255.0.0.0.10.0.0.1.10.0.0.1....\r\n";
    const QByteArray ofis = "OFIS='10.0.0.21.255.0.0.0.10.0.0.1.10.0.0.1....'\r\n";
    const QByteArray tail = "[Yaz\xFD"
                            "c\xFD]\r\nAd=Kasa yaz\xFD"
                            "c\xFDs\xFD\r\n[CurrentProfile]\r\n"
                            "ProfileName=\xDE"
                            "ube \xDDzmir\r\n";
    writeAll(m_path, head + kasa + sube + ofis + tail);

    StringProfileList list;
    ProfilesLoad(m_path, list, m_prompts);
    QCOMPARE(list.items, (QStringList{u("KASA"), u("Şube İzmir"), u("OFIS")}));
    clsIni ini;
    QVERIFY(ini.setFileName(m_path));
    QCOMPARE(ini.ReadString(u("Profiles"), u("OFIS"), QString()),
             u("10.0.0.21.255.0.0.0.10.0.0.1.10.0.0.1...."));

    EditMode = 0;
    QVERIFY(ProfileSave(m_path, u("Çarşı"), fields(u("10.0.0.22.255.0.0.0.10.0.0.1.10.0.0.1")),
                        m_prompts)
                .saved());
    EditMode = 1;
    QVERIFY(ProfileSave(m_path, u("KASA"),
                        fields(u("192.168.5.51.255.255.255.0.192.168.5.254.192.168.5.254")),
                        m_prompts)
                .saved());
    QCOMPARE(ini.DeleteKey(u("Profiles"), u("ofis")), 1);
    QVERIFY(m_prompts.messages.isEmpty());
    QCOMPARE(readAll(m_path),
             head + "KASA=192.168.5.51.255.255.255.0.192.168.5.254.192.168.5.254....\r\n" + sube +
                 "\xC7"
                 "ar\xFE\xFD"
                 "=10.0.0.22.255.0.0.0.10.0.0.1.10.0.0.1....\r\n" +
                 tail);
}
