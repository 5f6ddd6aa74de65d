// The commands that write profiles (--set-profile, --import-profiles, --delete-profile) and
// --apply --dry-run, on real files: what a fleet's configuration management sends them, the
// settings file's bytes after, and "changed" when the file did not change.
#include "SimulatedFixture.h"
#include "TestFiles.h"
#include "core/CommandRunner.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

QString u(const char *utf8) {
    return QString::fromUtf8(utf8);
}

QByteArray utf16le(const QString &text) {
    QByteArray bytes("\xff\xfe", 2);
    bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    return bytes;
}

const QByteArray kStart =
    "; kasa ayarlari\r\n[Profiles]\r\nkasi=10.0.0.5.255.255.255.0.10.0.0.1."
    "10.0.0.1....\r\nKasa 1 = 10.0.0.6.255.255.255.0.10.0.0.1.10.0.0.1....\r\n"
    "[CurrentProfile]\r\nProfileName=kasi\r\n";

} // namespace

class tst_ProfileCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writes_data();
    void writes();
    void fromAdapterAndDryRun();
    void exportAsFiles_data();
    void exportAsFiles();

private:
    QJsonObject run(const QStringList &args, int &status);

    QTemporaryDir m_dir;
    std::unique_ptr<SimulatedFixture> m_pc;
};

QJsonObject tst_ProfileCommands::run(const QStringList &args, int &status) {
    const CommandLine cl = CommandLine::parse(
        QStringList{u("--settings"), m_dir.filePath(u("ayar.config")), u("--json")} + args);
    if (!cl.error.isEmpty()) {
        status = CommandRunner::WrongUsage;
        return {{u("error"), cl.error}};
    }
    CommandRunner::Context context;
    context.settingsPath = cl.settingsFile;
    context.backend = [this](QString &) { return m_pc->computer.get(); };
    context.localAddress = [] { return u("10.0.0.9"); };
    QString out;
    QString err;
    QTextStream o(&out);
    QTextStream e(&err);
    status = CommandRunner::run(cl, context, o, e);
    return QJsonDocument::fromJson(out.toUtf8()).object();
}

void tst_ProfileCommands::writes_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("import"); // the file --import-profiles reads
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QByteArray>("after"); // empty: as before
    const QStringList kasa = {u("10.0.0.5"), u("255.255.255.0"), u("10.0.0.1"), u("10.0.0.1")};
    const QByteArray none;

    // Found by the program's own folding (Turkish dotted I, blanks), replaced in place in the
    // spelling given; every other line, the line ends and the current profile kept.
    QTest::newRow("Turkish capital replaces in place")
        << kStart << QStringList{u("--set-profile"), u("KASİ")} + kasa << none << 0 << u("saved")
        << QByteArray(kStart).replace("kasi=", "KAS\xc4\xb0=");
    QTest::newRow("exactly so already: untouched")
        << kStart << QStringList{u("--set-profile"), u("kasi")} + kasa << none << 0
        << u("unchanged") << none;
    QTest::newRow("trailing blank is the same profile")
        << kStart << QStringList{u("--set-profile"), u("Kasa 1 "),  u("10.0.0.6"),
                                 u("255.255.255.0"), u("10.0.0.1"), u("10.0.0.1")}
        << none << 0 << u("unchanged") << none;
    QTest::newRow("new profile added to [Profiles], not after the current one")
        << kStart << QStringList{u("--set-profile"), u("ProfileName")} + kasa << none << 0
        << u("saved")
        << QByteArray(kStart).replace(
               "[CurrentProfile]",
               "ProfileName=10.0.0.5.255.255.255.0.10.0.0.1.10.0.0.1....\r\n[CurrentProfile]");
    // Refused before anything is written, with a code.
    QTest::newRow("name read as a section header")
        << kStart << QStringList{u("--set-profile"), u("[Yedek] Kasa")} + kasa << none << 1
        << u("invalid-name") << none;
    QTest::newRow("line break in a name")
        << kStart << QStringList{u("--set-profile"), u("A\n[Links]")} + kasa << none << 1
        << u("invalid-name") << none;
    QTest::newRow("extra dots in an address")
        << kStart << QStringList{u("--set-profile"), u("B"),        u("10.0.0.5.7"),
                                 u("255.255.255.0"), u("10.0.0.1"), u("10.0.0.1")}
        << none << 1 << u("invalid-address") << none;
    QTest::newRow("octet above 255")
        << kStart << QStringList{u("--set-profile"), u("B"),        u("10.0.0.256"),
                                 u("255.255.255.0"), u("10.0.0.1"), u("10.0.0.1")}
        << none << 1 << u("invalid-address") << none;
    QTest::newRow("mask with a hole")
        << kStart << QStringList{u("--set-profile"), u("B"),        u("10.0.0.5"),
                                 u("255.0.255.0"),   u("10.0.0.1"), u("10.0.0.1")}
        << none << 1 << u("invalid-profile") << none;
    const QStringList doubtful = {u("--set-profile"), u("B"),        u("10.0.0.5"),
                                  u("255.255.255.0"), u("10.9.0.1"), u("10.0.0.1")};
    QTest::newRow("gateway outside the subnet: doubtful")
        << kStart << doubtful << none << 1 << u("doubtful-profile") << none;
    QTest::newRow("doubtful with --yes")
        << kStart << doubtful + QStringList{u("--yes")} << none << 0 << u("saved")
        << QByteArray(kStart).replace(
               "[CurrentProfile]",
               "B=10.0.0.5.255.255.255.0.10.9.0.1.10.0.0.1....\r\n[CurrentProfile]");
    // The file's encoding is kept.
    QTest::newRow("UTF-16 file stays UTF-16")
        << utf16le(u("[Profiles]\r\nA=1.2.3.4.255.0.0.0.1.2.3.1.1.2.3.1....\r\n"))
        << QStringList{u("--set-profile"), u("Şube")} + kasa << none << 0 << u("saved")
        << utf16le(u("[Profiles]\r\nA=1.2.3.4.255.0.0.0.1.2.3.1.1.2.3.1....\r\n"
                     "Şube=10.0.0.5.255.255.255.0.10.0.0.1.10.0.0.1....\r\n"));
    QTest::newRow("Windows-1254 file stays Windows-1254")
        << QByteArray("[Profiles]\nKas\xfd=1.2.3.4.255.0.0.0.1.2.3.1.1.2.3.1....\n")
        << QStringList{u("--set-profile"), u("Şube")} + kasa << none << 0 << u("saved")
        << QByteArray("[Profiles]\nKas\xfd=1.2.3.4.255.0.0.0.1.2.3.1.1.2.3.1....\n"
                      "\xdeube=10.0.0.5.255.255.255.0.10.0.0.1.10.0.0.1....\n");
    // Many at once: all or none.
    QTest::newRow("import JSON: one changed, one as it was")
        << kStart << QStringList{u("--import-profiles"), u("IMPORT")}
        << QByteArray(R"({"kasi": {"address": "10.0.0.5", "mask": "255.255.255.0",
                          "gateway": "10.0.0.1", "dns1": "10.0.0.1"},
                          "Kasa 1": {"address": "10.0.0.6", "mask": "255.255.255.0",
                          "gateway": "10.0.0.1", "dns1": "10.0.0.1", "dns2": "8.8.8.8"}})")
        << 0 << u("saved")
        << QByteArray(kStart).replace("Kasa 1 = 10.0.0.6.255.255.255.0.10.0.0.1.10.0.0.1....",
                                      "Kasa 1=10.0.0.6.255.255.255.0.10.0.0.1.10.0.0.1.8.8.8.8");
    QTest::newRow("import with one bad profile writes none")
        << kStart << QStringList{u("--import-profiles"), u("IMPORT")}
        << QByteArray("[Profiles]\nC=10.0.0.7.255.255.255.0.10.0.0.1.10.0.0.1....\n"
                      "D=10.0.0.7.255.255.255.0.10.0.0.1.10.0.0.1.1....\n")
        << 1 << u("invalid-address") << none;
    QTest::newRow("import naming one profile twice")
        << kStart << QStringList{u("--import-profiles"), u("IMPORT")}
        << QByteArray(R"({"KASA 2": {"address": "10.0.0.7", "mask": "255.255.255.0",
                          "gateway": "10.0.0.1", "dns1": "10.0.0.1"},
                          "kasa 2": {"address": "10.0.0.8", "mask": "255.255.255.0",
                          "gateway": "10.0.0.1", "dns1": "10.0.0.1"}})")
        << 1 << u("duplicate-name") << none;
    const QByteArray values = R"({"address": "10.0.0.7", "mask": "255.255.255.0",
                                  "gateway": "10.0.0.1", "dns1": "10.0.0.1"})";
    QTest::newRow("import naming one profile twice, to the letter")
        << kStart << QStringList{u("--import-profiles"), u("IMPORT")}
        << "{\"X\": " + values + ", \"X\": " + values + "}" << 1 << u("duplicate-name") << none;
    QTest::newRow("import naming one profile twice, by Turkish letters")
        << kStart << QStringList{u("--import-profiles"), u("IMPORT")}
        << QByteArray("[Profiles]\nİZMİR=10.0.0.7.255.255.255.0.10.0.0.1.10.0.0.1....\n"
                      "izmir=10.0.0.8.255.255.255.0.10.0.0.1.10.0.0.1....\n")
        << 1 << u("duplicate-name") << none;
    QTest::newRow("import naming one profile twice, by a blank the window trims")
        << kStart << QStringList{u("--import-profiles"), u("IMPORT")}
        << "{\"Y\": " + values + ", \"Y\u00a0\": " + values + "}" << 1 << u("duplicate-name")
        << none;
    QTest::newRow("import of a file that is no profile list")
        << kStart << QStringList{u("--import-profiles"), u("IMPORT")}
        << QByteArray("kasi 10.0.0.5\n") << 1 << u("import-unreadable") << none;
    QTest::newRow("dry run says what would change and writes nothing")
        << kStart << QStringList{u("--set-profile"), u("KASİ")} + kasa + QStringList{u("--dry-run")}
        << none << 0 << u("would-change") << kStart;
    QTest::newRow("delete by folded name")
        << kStart << QStringList{u("--delete-profile"), u("KASA 1")} << none << 0 << u("deleted")
        << QByteArray(kStart).replace("Kasa 1 = 10.0.0.6.255.255.255.0.10.0.0.1.10.0.0.1....\r\n",
                                      "");
    QTest::newRow("delete what is not there")
        << kStart << QStringList{u("--delete-profile"), u("Yok")} << none << 0 << u("absent")
        << none;
}

void tst_ProfileCommands::writes() {
    QFETCH(QByteArray, before);
    QFETCH(QStringList, args);
    QFETCH(QByteArray, import);
    QFETCH(int, status);
    QFETCH(QString, code);
    QFETCH(QByteArray, after);
    m_pc = std::make_unique<SimulatedFixture>();
    const QString settings = m_dir.filePath(u("ayar.config"));
    writeAll(settings, before);
    writeAll(m_dir.filePath(u("IMPORT")), import);
    args.replaceInStrings(u("IMPORT"), m_dir.filePath(u("IMPORT")));
    int got = -1;
    const QJsonObject out = run(args, got);
    QCOMPARE(got, status);
    QCOMPARE(out.value(u("code")).toString(), code);
    QCOMPARE(out.value(u("changed")).toBool(), !after.isEmpty());
    QCOMPARE(readAll(settings), after.isEmpty() ? before : after);
}

// What an adapter holds now becomes a profile; a dry run says what would move and moves
// nothing.
void tst_ProfileCommands::fromAdapterAndDryRun() {
    m_pc = std::make_unique<SimulatedFixture>();
    SimulatedComputer::Adapter &ethernet = m_pc->computer->adapters[0];
    ethernet.dhcp = false;
    ethernet.address = u("192.168.5.20");
    ethernet.mask = u("255.255.255.0");
    ethernet.gateway = u("192.168.5.1");
    ethernet.dns = {u("192.168.5.1"), u("8.8.4.4")};
    m_pc->store();
    const QString settings = m_dir.filePath(u("ayar.config"));
    writeAll(settings, "[Profiles]\r\n");
    int status = -1;
    QJsonObject out = run({u("--set-profile"), u("Elle"), u("--from-adapter"), u("2")}, status);
    QCOMPARE(status, 0);
    QCOMPARE(readAll(settings),
             QByteArray("[Profiles]\r\nElle=192.168.5.20.255.255.255.0.192.168.5.1.192.168.5.1."
                        "8.8.4.4\r\n"));
    out = run({u("--set-profile"), u("Kablosuz"), u("--from-adapter"), u("3")}, status);
    QCOMPARE(out.value(u("code")).toString(), u("adapter-dhcp"));

    const QByteArray computerBefore = readAll(m_pc->computer->file());
    out = run({u("--apply"), u("Elle"), u("--all"), u("--dry-run")}, status);
    QCOMPARE(status, 0);
    QCOMPARE(out.value(u("changed")).toBool(), true); // the wireless adapter would move
    const QJsonArray preview = out.value(u("preview")).toArray();
    QCOMPARE(preview.size(), 2);
    QCOMPARE(preview[0].toObject().value(u("changes")).toBool(), false);
    QCOMPARE(preview[1].toObject().value(u("from")).toObject().value(u("dhcp")).toBool(), true);
    QCOMPARE(preview[1].toObject().value(u("to")).toObject().value(u("address")).toString(),
             u("192.168.5.20"));
    out = run({u("--apply"), u("Elle"), u("--dry-run"), u("--adapter"), u("2")}, status);
    QCOMPARE(out.value(u("changed")).toBool(), false);
    QCOMPARE(readAll(m_pc->computer->file()), computerBefore);
}

// A profile as another tool's file: the text is exactly the golden file (leading zeros gone).
void tst_ProfileCommands::exportAsFiles_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("golden");
    QTest::newRow("networkd") << u("networkd") << u("golden/kasa.network");
    QTest::newRow("netplan") << u("netplan") << u("golden/kasa.netplan.yaml");
    QTest::newRow("nmstate") << u("nmstate") << u("golden/kasa.nmstate.yaml");
}

void tst_ProfileCommands::exportAsFiles() {
    QFETCH(QString, format);
    QFETCH(QString, golden);
    m_pc = std::make_unique<SimulatedFixture>();
    writeAll(m_dir.filePath(u("ayar.config")),
             "[Profiles]\nKasa 1=192.168.005.020.255.255.255.000.192.168.5.1.192.168.5.1."
             "8.8.4.4\n");
    int status = -1;
    const QJsonObject out = run(
        {u("--export-profile"), u("kasa 1"), u("--format"), format, u("--interface"), u("enp1s0")},
        status);
    QCOMPARE(status, 0);
    QCOMPARE(out.value(u("content")).toString().toUtf8(), readAll(QFINDTESTDATA(golden)));
    run({u("--export-profile"), u("kasa 1"), u("--format"), format, u("--interface"), u("en p1")},
        status);
    QCOMPARE(status, int(CommandRunner::WrongUsage)); // no interface can be named so
}

QTEST_GUILESS_MAIN(tst_ProfileCommands)
#include "tst_profilecommands.moc"
