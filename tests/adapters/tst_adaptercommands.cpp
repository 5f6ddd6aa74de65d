// Applying profiles and switching to DHCP through the WMI-shaped interface, against the
// simulated computer.
#include "SimulatedFixture.h"
#include "TestFiles.h"
#include "adapters/AdapterCommands.h"
#include "adapters/AddressText.h"
#include "adapters/ApplyReport.h"
#include "adapters/NeighbourProbe.h"
#include "adapters/Wmi.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <sys/stat.h>

using namespace AdapterCommands;
using Kind = ApplyOutcome::Kind;

Q_DECLARE_METATYPE(AdapterCommands::ApplyOutcome::Kind)
Q_DECLARE_METATYPE(AdapterBackend::Fate)

namespace {

QString u(const char *utf8) {
    return QString::fromUtf8(utf8);
}

QStringList parts(const char *dotted) {
    return u(dotted).split(QLatin1Char('.'));
}

const char *kProfile = "10.0.0.5.255.255.255.0.10.0.0.1.8.8.8.8.0.0.0.0";

} // namespace

class tst_AdapterCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void retAddr();
    void neighbourTable();
    void matchingByDescription_data();
    void matchingByDescription();
    void serviceShape();
    void simulatedChecksArguments_data();
    void simulatedChecksArguments();
    void simulatedStateSurvivesRestart();
    void dhcpOutcomeIsTheLastAdapters();
    void dhcpPlatformFailures();
    void profileReachesAdapterAsStored();
    void unsetSecondDnsIsLeftOut_data();
    void unsetSecondDnsIsLeftOut();
    void oneChosenAdapterOthersOnDhcp();
    void allAdapters();
    void applyOutcomes();
    void listsDescriptions();
    void malformedFileIsRefused_data();
    void malformedFileIsRefused();
    void fileShapesAreRefused_data();
    void fileShapesAreRefused();
    void oneFileWritePerCommand();
    void changesOnTrial_data();
    void changesOnTrial();
    void leftoverTrialIsUndoneFirst();
};

void tst_AdapterCommands::retAddr() {
    const QStringList ar{u("1"), u("2"), u("3"), u("4")};
    QCOMPARE(RetAddr(ar, 0), u("1.2.3.4"));
    QCOMPARE(ar.size(), 4);
    QCOMPARE(RetAddr(parts("1.2.3.4...."), 4), u("..."));
}

// The kernel's neighbour table as /proc/net/arp gives it: only a complete entry of that address
// on that card is an answer.
void tst_AdapterCommands::neighbourTable() {
    const auto complete = [](const char *line) {
        return NeighbourProbe::completeIn(QByteArray("IP address HW type Flags HW address Mask "
                                                     "Device\n") +
                                              line,
                                          u("eth0"), u("10.0.0.1"));
    };
    QVERIFY(complete("10.0.0.1 0x1 0x2 aa:bb:cc:dd:ee:ff * eth0"));
    QVERIFY(!complete("10.0.0.1 0x1 0x0 00:00:00:00:00:00 * eth0"));  // still asking
    QVERIFY(!complete("10.0.0.1 0x1 0x2 aa:bb:cc:dd:ee:ff * eth1"));  // another card
    QVERIFY(!complete("10.0.0.10 0x1 0x2 aa:bb:cc:dd:ee:ff * eth0")); // a longer address
}

void tst_AdapterCommands::matchingByDescription_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("matches");
    QTest::newRow("same") << u("[7] Ethernet Adapter") << u("Ethernet Adapter") << true;
    QTest::newRow("#2 is another adapter")
        << u("[12] Ethernet Adapter #2") << u("Ethernet Adapter") << false;
    QTest::newRow("part of a name") << u("[7] Ethernet Adapter") << u("Ethernet") << false;
    QTest::newRow("all") << u("[7] Ethernet Adapter") << u("*ALL") << true;
    QTest::newRow("all is exact") << u("[7] Ethernet Adapter") << u("*all") << false;
    QTest::newRow("caption without index") << u("Loopback") << u("Loopback") << true;
    QTest::newRow("letter case counts")
        << u("[7] Ethernet Adapter") << u("ethernet adapter") << false;
    QTest::newRow("whole caption")
        << u("[7] Ethernet Adapter") << u("[7] Ethernet Adapter") << true;
    QTest::newRow("same description, other index")
        << u("[8] Ethernet Adapter") << u("[7] Ethernet Adapter") << false;
}

void tst_AdapterCommands::matchingByDescription() {
    QFETCH(QString, caption);
    QFETCH(QString, chosen);
    QFETCH(bool, matches);
    QCOMPARE(adapterMatches(caption, chosen), matches);
}

void tst_AdapterCommands::serviceShape() {
    SimulatedFixture pc;
    WmiError error;
    QVERIFY(Wmi::GetObject(*pc.computer, u("winmgmts:\\\\.\\root\\cimv2"), error));
    QVERIFY(Wmi::GetObject(*pc.computer, u("WINMGMTS:\\\\.\\ROOT\\CIMV2"), error));
    QVERIFY(!Wmi::GetObject(*pc.computer, u("winmgmts:\\\\.\\root\\default"), error));
    QCOMPARE(error.number, Wmi::InvalidSyntax);

    Wmi::SWbemLocator locator(*pc.computer);
    QVERIFY(!locator.ConnectServer(u("otherhost"), u("root\\cimv2"), error));
    QVERIFY(!locator.ConnectServer(u("localhost"), u("root\\wmi"), error));
    QCOMPARE(error.number, Wmi::InvalidNamespace);
    const auto service = locator.ConnectServer(u("localhost"), u("root\\cimv2"), error);
    QVERIFY(service);

    WmiAdapterList adapters;
    QVERIFY(service->ExecQuery(
        u("select *  from WIN32_NetworkAdapterConfiguration WHERE IPEnabled = True"), adapters,
        error));
    QCOMPARE(int(adapters.size()), 2);
    QCOMPARE(adapters[0]->Caption(), u("[00000002] Ethernet Adapter"));
    QVERIFY(!service->ExecQuery(u("Select * FROM Win32_NetworkAdapter where IPEnabled=TRUE"),
                                adapters, error));
    QCOMPARE(error.number, Wmi::InvalidClass);
    QVERIFY(!service->ExecQuery(
        u("Select * FROM Win32_NetworkAdapterConfiguration where IPEnabled=FALSE"), adapters,
        error));
    QCOMPARE(error.number, Wmi::InvalidQuery);
    QVERIFY(!service->ExecQuery(
        u("Select * FROM Win32_NetworkAdapterConfiguration where IPEnabled=TRUE"), adapters, error,
        1));

    // An adapter that is not IP-enabled is not listed.
    pc.computer->adapters[1].ipEnabled = false;
    pc.store();
    QVERIFY(service->ExecQuery(
        u("Select * FROM Win32_NetworkAdapterConfiguration where IPEnabled=TRUE"), adapters,
        error));
    QCOMPARE(int(adapters.size()), 1);
}

void tst_AdapterCommands::simulatedChecksArguments_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("gateway");
    QTest::addColumn<int>("staticResult");
    QTest::addColumn<int>("gatewayResult");
    QTest::newRow("good") << u("192.168.5.50") << u("255.255.255.0") << u("192.168.5.1") << 0 << 0;
    QTest::newRow("leading zeros") << u("010.0.0.5") << u("255.0.0.0") << u("10.0.0.1") << 0 << 0;
    QTest::newRow("octet 256") << u("192.168.5.256") << u("255.255.255.0") << u("192.168.5.1") << 70
                               << 0;
    QTest::newRow("three octets") << u("192.168.5") << u("255.255.255.0") << u("192.168.5.1") << 70
                                  << 0;
    QTest::newRow("mask with a hole")
        << u("10.0.0.5") << u("255.0.255.0") << u("10.0.0.1") << 66 << 0;
    QTest::newRow("mask of dots") << u("10.0.0.5") << u("...") << u("10.0.0.1") << 66 << 0;
    QTest::newRow("gateway not an address")
        << u("10.0.0.5") << u("255.0.0.0") << u("modem") << 0 << 71;
}

void tst_AdapterCommands::simulatedChecksArguments() {
    QFETCH(QString, address);
    QFETCH(QString, mask);
    QFETCH(QString, gateway);
    QFETCH(int, staticResult);
    QFETCH(int, gatewayResult);
    SimulatedFixture pc;
    WmiAdapterList adapters;
    WmiError error;
    QVERIFY(pc.computer->connect(error));
    QVERIFY(pc.computer->ipEnabledAdapters(adapters, error));
    QCOMPARE(int(adapters[0]->EnableStatic({address}, {mask})), staticResult);
    QCOMPARE(int(adapters[0]->SetGateways({gateway}, {1})), gatewayResult);
    // A refused method changes nothing.
    if (staticResult != 0)
        QVERIFY(pc.stored()[0].dhcp);
}

void tst_AdapterCommands::simulatedStateSurvivesRestart() {
    SimulatedFixture pc;
    QCOMPARE(SetTCP_Profile(*pc.computer, u("Ethernet Adapter"), parts(kProfile)).matched, 1);
    SimulatedComputer restarted(pc.computer->file());
    WmiError error;
    QVERIFY(restarted.connect(error));
    QCOMPARE(restarted.adapters[0].address, u("10.0.0.5"));
    QVERIFY(!restarted.adapters[0].dhcp);

    // A new file starts with two adapters on DHCP.
    SimulatedComputer fresh(pc.dir.filePath(u("new.json")));
    QVERIFY(fresh.connect(error));
    QCOMPARE(fresh.adapters.size(), 2);
    QVERIFY(fresh.adapters[0].dhcp);
}

void tst_AdapterCommands::dhcpOutcomeIsTheLastAdapters() {
    SimulatedFixture first;
    first.refuse(0, u("EnableDHCP"), 91);
    DhcpReset r = ResetAdaptersToDHCP(*first.computer);
    QVERIFY(r.outcome);
    QCOMPARE(r.refusals.size(), 1);
    QCOMPARE(r.refusals[0].adapter, u("Ethernet Adapter"));
    QCOMPARE(r.refusals[0].code, 91);

    SimulatedFixture second;
    second.refuse(1, u("EnableDHCP"), 81);
    r = ResetAdaptersToDHCP(*second.computer);
    QVERIFY(!r.outcome);
    QVERIFY(describe(r.refusals).contains(u("Wireless Network Adapter")));
    QVERIFY(describe(r.refusals).contains(u("DHCP yapılandırılamadı")));

    SimulatedFixture none(QStringList{});
    r = ResetAdaptersToDHCP(*none.computer);
    QVERIFY(!r.outcome);
    QVERIFY(!r.failed);
    QCOMPARE(r.adapters, 0);
}

void tst_AdapterCommands::dhcpPlatformFailures() {
    SimulatedFixture pc;
    pc.computer->failConnect = WmiError{Wmi::ServerUnavailable, u("hizmet yok")};
    pc.store();
    DhcpReset r = ResetAdaptersToDHCP(*pc.computer);
    QVERIFY(r.failed);
    QCOMPARE(r.error.description, u("hizmet yok"));

    pc.computer->failConnect.reset();
    pc.computer->failQuery = WmiError{Wmi::InvalidQuery, u("sorgu olmadı")};
    pc.store();
    r = ResetAdaptersToDHCP(*pc.computer);
    QVERIFY(r.failed);
    QCOMPARE(r.error.number, Wmi::InvalidQuery);
    QVERIFY(adapterDescriptions(*pc.computer).isEmpty()); // the dialog lists nothing
}

void tst_AdapterCommands::profileReachesAdapterAsStored() {
    SimulatedFixture pc;
    const StaticApply r = SetTCP_Profile(*pc.computer, u("Ethernet Adapter"), parts(kProfile));
    QVERIFY(!r.failed);
    QCOMPARE(r.matched, 1);
    QVERIFY(r.refusals.isEmpty());
    const SimulatedComputer::Adapter a = pc.stored()[0];
    QVERIFY(!a.dhcp);
    QCOMPARE(a.address, u("10.0.0.5"));
    QCOMPARE(a.mask, u("255.255.255.0"));
    QCOMPARE(a.gateway, u("10.0.0.1"));
    QCOMPARE(a.gatewayMetric, 1);
    QCOMPARE(a.dns, QStringList{u("8.8.8.8")}); // DNS 2 of 0.0.0.0 is no server
    QCOMPARE(a.wins, (QStringList{u("0.0.0.0"), u("0.0.0.0")}));
    QVERIFY(pc.stored()[1].dhcp);
}

// DNS 2 blank or 0.0.0.0 (no server: a resolver would ask this computer) is not written, and
// an adapter holding only DNS 1 holds such a profile already.
void tst_AdapterCommands::unsetSecondDnsIsLeftOut_data() {
    QTest::addColumn<QString>("dns2");
    QTest::newRow("blank") << u("...");
    QTest::newRow("0.0.0.0") << u("0.0.0.0");
    QTest::newRow("0.0.0.0 with leading zeros") << u("00.000.0.0");
}

void tst_AdapterCommands::unsetSecondDnsIsLeftOut() {
    QFETCH(QString, dns2);
    SimulatedFixture pc;
    const QStringList profile = (u("10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1.") + dns2).split(u'.');
    const StaticApply r = SetTCP_Profile(*pc.computer, u("*ALL"), profile);
    QVERIFY(r.refusals.isEmpty());
    QCOMPARE(pc.stored()[0].dns, QStringList{u("10.0.0.1")});
    QVERIFY(alreadyHeld(*pc.computer, u("*ALL"), profile));
}

void tst_AdapterCommands::oneChosenAdapterOthersOnDhcp() {
    SimulatedFixture pc({u("[1] Ethernet Adapter"), u("[12] Ethernet Adapter #2"),
                         u("[3] Wireless Network Adapter")});
    QCOMPARE(applyProfile(*pc.computer, u("*ALL"), parts(kProfile)).kind, Kind::Applied);
    const ApplyOutcome o = applyProfile(*pc.computer, u("Ethernet Adapter"), parts(kProfile));
    QCOMPARE(o.kind, Kind::Applied);
    const auto state = pc.stored();
    QCOMPARE(state[0].address, u("10.0.0.5"));
    QVERIFY(state[1].dhcp); // "#2" is another adapter
    QVERIFY(state[1].address.isEmpty());
    QVERIFY(state[2].dhcp);
    QVERIFY(state[2].dns.isEmpty());
}

void tst_AdapterCommands::allAdapters() {
    SimulatedFixture pc;
    QCOMPARE(applyProfile(*pc.computer, u("*ALL"), parts(kProfile)).kind, Kind::Applied);
    for (const auto &a : pc.stored()) {
        QCOMPARE(a.address, u("10.0.0.5"));
        QCOMPARE(a.gateway, u("10.0.0.1"));
    }
}

void tst_AdapterCommands::applyOutcomes() {
    {
        // Nothing chosen: no adapter is touched.
        SimulatedFixture pc;
        pc.computer->adapters[0].dhcp = false;
        pc.computer->adapters[0].address = u("1.1.1.1");
        pc.store();
        QCOMPARE(applyProfile(*pc.computer, u("   "), parts(kProfile)).kind, Kind::NoAdapterChosen);
        QCOMPARE(pc.stored()[0].address, u("1.1.1.1"));
    }
    {
        // The last adapter does not take DHCP: no static setting is applied.
        SimulatedFixture pc;
        pc.refuse(1, u("EnableDHCP"), 91);
        const ApplyOutcome o = applyProfile(*pc.computer, u("Ethernet Adapter"), parts(kProfile));
        QCOMPARE(o.kind, Kind::DhcpNotConfirmed);
        QCOMPARE(o.refusals.size(), 1);
        QVERIFY(pc.stored()[0].dhcp);
    }
    {
        // Only the first refuses DHCP: the profile still goes on.
        SimulatedFixture pc;
        pc.refuse(0, u("EnableDHCP"), 91);
        QCOMPARE(applyProfile(*pc.computer, u("*ALL"), parts(kProfile)).kind, Kind::Applied);
    }
    {
        SimulatedFixture pc;
        pc.refuse(1, u("SetGateways"), 71);
        const ApplyOutcome o = applyProfile(*pc.computer, u("*ALL"), parts(kProfile));
        QCOMPARE(o.kind, Kind::Refused);
        QCOMPARE(o.refusals.size(), 1);
        QCOMPARE(o.refusals[0].method, u("SetGateways"));
        QVERIFY(describe(o.refusals).contains(u("ağ geçidi")));
    }
    {
        SimulatedFixture pc;
        QCOMPARE(applyProfile(*pc.computer, u("Gone Adapter"), parts(kProfile)).kind,
                 Kind::NothingMatched);
    }
    {
        SimulatedFixture pc;
        pc.computer->failQuery = WmiError{Wmi::InvalidQuery, u("x")};
        pc.store();
        QCOMPARE(applyProfile(*pc.computer, u("*ALL"), parts(kProfile)).kind, Kind::PlatformError);
    }
    {
        SimulatedFixture pc(QStringList{});
        QCOMPARE(applyProfile(*pc.computer, u("*ALL"), parts(kProfile)).kind,
                 Kind::DhcpNotConfirmed);
    }
}

void tst_AdapterCommands::listsDescriptions() {
    SimulatedFixture pc({u("[1] Ethernet Adapter"), u("Loopback"), u("[2] Ethernet Adapter")});
    QCOMPARE(adapterDescriptions(*pc.computer),
             (QStringList{u("Ethernet Adapter"), u("Loopback"), u("Ethernet Adapter")}));
    QVERIFY(AddressText::isMask(u("255.255.255.0")));
    QVERIFY(!AddressText::isMask(u("255.255.0.255")));
    QCOMPARE(AddressText::prefixLength(*AddressText::parse(u("255.255.240.0"))), 20);
}

void tst_AdapterCommands::malformedFileIsRefused_data() {
    QTest::addColumn<QByteArray>("refuse");
    QTest::addColumn<QByteArray>("checkpoint");
    QTest::addColumn<QString>("reason");
    const QByteArray none = "null";
    QTest::newRow("code as text") << QByteArray(R"({"EnableStatic": "91"})") << none
                                  << u("tam sayı");
    QTest::newRow("fraction") << QByteArray(R"({"EnableStatic": 91.5})") << none << u("tam sayı");
    QTest::newRow("unknown method")
        << QByteArray(R"({"EnableStatc": 91})") << none << u("EnableStatc");
    QTest::newRow("not an object") << QByteArray(R"(["EnableStatic"])") << none << u("nesne");
    // Put back at once, it would leave the computer without adapters.
    QTest::newRow("checkpoint without its time or adapters")
        << none << QByteArray(R"({"until": "soon"})") << u("checkpoint");
    QTest::newRow("checkpoint with nothing to put back")
        << none << QByteArray(R"({"until": 1, "adapters": []})") << u("checkpoint");
    QTest::newRow("checkpoint at a time no clock reaches")
        << none << QByteArray(R"({"until": -5, "adapters": [{"caption": "[2] E"}]})")
        << u("checkpoint");
}

void tst_AdapterCommands::malformedFileIsRefused() {
    QFETCH(QByteArray, refuse);
    QFETCH(QByteArray, checkpoint);
    QFETCH(QString, reason);
    SimulatedFixture pc;
    QFile f(pc.computer->file());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(
        R"({"adapters": [{"caption": "[2] Ethernet Adapter", "address": "10.0.0.9", "refuse": )" +
        refuse + "}], \"checkpoint\": " + checkpoint + "}");
    f.close();
    const ApplyOutcome r = applyProfile(*pc.computer, u("*ALL"), parts(kProfile));
    QCOMPARE(r.kind, Kind::PlatformError);
    QVERIFY2(r.error.description.contains(reason), qPrintable(r.error.description));
    QVERIFY(r.error.description.contains(u("Ethernet Adapter")) || checkpoint != "null");
    QVERIFY(readAll(pc.computer->file()).contains("10.0.0.9")); // the file is left as it was
}

// The simulated computer's file follows the settings file's rules: what is no regular file is
// refused at once (a FIFO would hold the program, /dev/zero fill its memory), and a file that
// is not a JSON object says so.
void tst_AdapterCommands::fileShapesAreRefused_data() {
    QTest::addColumn<QString>("path"); // in the test's folder unless absolute
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a device") << u("/dev/zero") << QByteArray() << u("/dev/zero bir aygıt");
    QTest::newRow("a FIFO") << u("fifo") << QByteArray() << u("FIFO");
    QTest::newRow("a folder") << u("folder") << QByteArray() << u("bir klasör");
    QTest::newRow("an array") << u("pc.json") << QByteArray("[]") << u("JSON nesnesi");
    QTest::newRow("no JSON") << u("pc.json") << QByteArray("{\"adapters\": [") << u("JSON hatası");
}

void tst_AdapterCommands::fileShapesAreRefused() {
    QFETCH(QString, path);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString file = path.startsWith(u'/') ? path : dir.filePath(path);
    if (path == u("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    else if (path == u("folder"))
        QVERIFY(QDir(dir.path()).mkdir(path));
    else if (!content.isEmpty())
        writeAll(file, content);
    SimulatedComputer computer(file);
    WmiError error;
    QVERIFY(!computer.load(error));
    QVERIFY2(error.description.contains(reason), qPrintable(error.description));
}

void tst_AdapterCommands::oneFileWritePerCommand() {
    QStringList captions;
    for (int i = 0; i < 200; ++i)
        captions.append(u("[%1] Adapter").arg(i));
    SimulatedFixture pc(captions);
    const int before = pc.computer->fileWrites();
    QCOMPARE(applyProfile(*pc.computer, u("*ALL"), parts(kProfile)).kind, Kind::Applied);
    QCOMPARE(pc.computer->fileWrites() - before, 2); // the switch to DHCP, then the profile
    QCOMPARE(pc.stored()[199].address, u("10.0.0.5"));
}

// One adapter on 10.0.0.9, the clock of the computer and of a later run in the test's hands.
struct TrialComputer : SimulatedFixture {
    TrialComputer() : SimulatedFixture({QStringLiteral("[2] Ethernet Adapter")}) {
        computer->adapters[0].dhcp = false;
        computer->adapters[0].address = QStringLiteral("10.0.0.9");
        computer->now = [this] { return clock; };
        store();
    }
    // What a run started now finds: a trial whose time has come is put back; and what it is
    // told became of this run's trial (the settings name the profile by that answer).
    SimulatedComputer::Adapter laterRun(int &secondsLeft, AdapterBackend::Fate *fate = nullptr) {
        SimulatedComputer later(computer->file());
        later.now = [this] { return clock; };
        WmiError error;
        later.connect(error);
        secondsLeft = later.trialSecondsLeft();
        if (fate)
            *fate = later.trialFate(RunIdentity::self());
        return later.adapters.value(0);
    }
    qint64 clock = 1'000'000;
};

void tst_AdapterCommands::changesOnTrial_data() {
    QTest::addColumn<bool>("addressInUse");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<int>("secondsLater");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("secondsLeft");
    QTest::addColumn<AdapterBackend::Fate>("fate");
    using Fate = AdapterBackend::Fate;
    QTest::newRow("kept by the check") << false << true << 60 << u("10.0.0.5") << -1 << Fate::Kept;
    QTest::newRow("not judged yet") << false << false << 10 << u("10.0.0.5") << 20 << Fate::Unknown;
    QTest::newRow("program ended: put back")
        << false << false << 31 << u("10.0.0.9") << -1 << Fate::PutBack;
    QTest::newRow("address held by another device: put back at once")
        << true << false << 0 << u("10.0.0.9") << -1 << Fate::PutBack;
}

void tst_AdapterCommands::changesOnTrial() {
    QFETCH(bool, addressInUse);
    QFETCH(bool, kept);
    TrialComputer pc;
    if (addressInUse) {
        pc.computer->adapters[0].inUse = QStringList{u("10.0.0.5")};
        pc.store();
    }
    const ApplyOutcome o = applyProfile(*pc.computer, u("*ALL"), parts(kProfile), 30);
    QCOMPARE(o.kind, addressInUse ? Kind::AddressInUse : Kind::Applied);
    QCOMPARE(o.trial.pending, !addressInUse);
    if (addressInUse) {
        QVERIFY(!o.adaptersChanged);
        const QString text = ApplyReport::outcomeText(o, u("Kasa"), u("*ALL"), u("x"));
        QVERIFY2(text.contains(u("10.0.0.5 adresini ağda başka bir cihaz kullanıyor")) &&
                     text.contains(u("önceki ayarlarına döndürüldü")),
                 qPrintable(text));
    }
    QString problem;
    if (kept)
        QCOMPARE(pc.computer->keepChanges(problem), AdapterBackend::Keep::Kept);
    QFETCH(int, secondsLater);
    pc.clock += secondsLater * 1000;
    int secondsLeft = 0;
    AdapterBackend::Fate fate = AdapterBackend::Fate::Unknown;
    QTEST(pc.laterRun(secondsLeft, &fate).address, "address");
    QTEST(secondsLeft, "secondsLeft");
    QTEST(fate, "fate");
}

void tst_AdapterCommands::leftoverTrialIsUndoneFirst() {
    // A run applied 10.0.0.5 and ended before its check; the next run, within the time,
    // starts from what the adapters had before that, not from the change nobody kept.
    TrialComputer pc;
    QVERIFY(applyProfile(*pc.computer, u("*ALL"), parts(kProfile), 30).trial.pending);
    pc.clock += 5000;
    const char *other = "10.0.0.6.255.255.255.0.10.0.0.1.8.8.8.8.0.0.0.0";
    QVERIFY(applyProfile(*pc.computer, u("*ALL"), parts(other), 30).trial.pending);
    QCOMPARE(pc.stored()[0].address, u("10.0.0.6"));
    pc.clock += 31000;
    int secondsLeft = 0;
    QCOMPARE(pc.laterRun(secondsLeft).address, u("10.0.0.9"));
}

QTEST_GUILESS_MAIN(tst_AdapterCommands)
#include "tst_adaptercommands.moc"
