// The NetworkManager backend against a real NetworkManager and a real DHCP server, in the
// network namespaces of scripts/nm-harness.sh (this test runs inside the computer's).
#include "adapters/AdapterCommands.h"
#include "adapters/Wmi.h"
#include "networkmanager/NetworkManagerBackend.h"

#include <QDBusConnection>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <grp.h>
#include <net/if.h>
#include <unistd.h>

using namespace AdapterCommands;

namespace {

QString u(const char *utf8) {
    return QString::fromUtf8(utf8);
}

QString run(const QString &program, const QStringList &args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

QString testIface() {
    return qEnvironmentVariable("ZELVI_NM_IFACE");
}

QStringList ipv4Addresses() {
    QStringList found;
    static const QRegularExpression inet(QStringLiteral("inet (\\S+)"));
    auto it =
        inet.globalMatch(run(u("ip"), {u("-4"), u("addr"), u("show"), u("dev"), testIface()}));
    while (it.hasNext())
        found.append(it.next().captured(1));
    return found;
}

// The link's one IPv4 address, or empty while it holds none or several: the addresses are read
// once, so a condition over them never mixes two moments of a changing link.
QString onlyAddress() {
    const QStringList now = ipv4Addresses();
    return now.size() == 1 ? now.first() : QString();
}

bool holdsOneOtherThan(const QString &address) {
    const QString now = onlyAddress();
    return !now.isEmpty() && now != address;
}

QStringList parts(const char *dotted) {
    return u(dotted).split(QLatin1Char('.'));
}

} // namespace

class tst_NetworkManager : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void listsTheAdapter();
    void staticProfileReachesTheDevice();
    void dhcpGetsALease();
    void badArgumentsChangeNothing();
    void userWithoutRightsIsRefused();
    void repeatedChangesLeaveOneAddress();

private:
    std::unique_ptr<NetworkManagerBackend> m_nm;
    QString m_description;
};

void tst_NetworkManager::initTestCase() {
    if (testIface().isEmpty())
        QSKIP("runs only inside scripts/nm-harness.sh");
    m_nm = std::make_unique<NetworkManagerBackend>(QDBusConnection::systemBus());
    WmiError error;
    QVERIFY2(m_nm->connect(error), qPrintable(error.description));
    // The adapter's profile, as a technician's machine would have it.
    const QString out =
        run(u("nmcli"), {u("connection"), u("add"), u("type"), u("ethernet"), u("ifname"),
                         testIface(), u("con-name"), u("kasa"), u("ipv4.method"), u("auto"),
                         u("ipv6.method"), u("disabled"), u("ipv4.dhcp-send-hostname"), u("no")});
    QVERIFY2(out.contains(u("successfully added")), qPrintable(out));
    m_description = testIface();
}

void tst_NetworkManager::listsTheAdapter() {
    WmiError error;
    WmiAdapterList adapters;
    QVERIFY(m_nm->ipEnabledAdapters(adapters, error));
    QCOMPARE(int(adapters.size()), 1); // loopback is not listed
    const uint index = if_nametoindex(testIface().toLocal8Bit().constData());
    QCOMPARE(adapters[0]->Caption(),
             u("[%1] %2").arg(index, 8, 10, QLatin1Char('0')).arg(testIface()));
    QCOMPARE(adapterDescriptions(*m_nm), QStringList{testIface()});
}

void tst_NetworkManager::staticProfileReachesTheDevice() {
    const ApplyOutcome o = applyProfile(
        *m_nm, m_description, parts("10.99.0.50.255.255.255.0.10.99.0.1.10.99.0.1.8.8.8.8"));
    QCOMPARE(int(o.kind), int(ApplyOutcome::Kind::Applied));
    QCOMPARE(ipv4Addresses(), QStringList{u("10.99.0.50/24")});
    const QString routes = run(u("ip"), {u("-4"), u("route")});
    QVERIFY2(
        routes.contains(u("default via 10.99.0.1 dev %1 proto static metric 1").arg(testIface())),
        qPrintable(routes));
    const QString dns = run(u("nmcli"), {u("-g"), u("ipv4.dns,ipv4.ignore-auto-dns"),
                                         u("connection"), u("show"), u("kasa")});
    QVERIFY2(dns.contains(u("10.99.0.1,8.8.8.8")), qPrintable(dns));
    QVERIFY2(dns.contains(u("yes")), qPrintable(dns));

    // Held, until the profile is changed in memory only (as when its storing failed): a
    // restart would lose it, so applying it again is no longer "already applied".
    const QStringList profile = parts("10.99.0.50.255.255.255.0.10.99.0.1.10.99.0.1.8.8.8.8");
    QVERIFY(alreadyHeld(*m_nm, m_description, profile));
    const QString temporary = run(u("nmcli"), {u("connection"), u("modify"), u("--temporary"),
                                               u("kasa"), u("connection.zone"), u("kasa")});
    QVERIFY2(temporary.trimmed().isEmpty(), qPrintable(temporary));
    QCOMPARE(ipv4Addresses(), QStringList{u("10.99.0.50/24")}); // still on the device
    QVERIFY(!alreadyHeld(*m_nm, m_description, profile));
}

void tst_NetworkManager::dhcpGetsALease() {
    const DhcpReset r = ResetAdaptersToDHCP(*m_nm);
    QVERIFY(!r.failed);
    QVERIFY(r.outcome);
    QCOMPARE(r.adapters, 1);
    QString lease;
    QTRY_VERIFY_WITH_TIMEOUT(
        (lease = onlyAddress()).startsWith(u("10.99.0.1")) && lease != u("10.99.0.1/24"), 20000);
    const int host = lease.section(QLatin1Char('.'), 3).section(QLatin1Char('/'), 0, 0).toInt();
    QVERIFY2(host >= 100 && host <= 200, qPrintable(lease));
    const QString dns =
        run(u("nmcli"), {u("-g"), u("ipv4.dns"), u("connection"), u("show"), u("kasa")});
    QVERIFY2(dns.trimmed().isEmpty(), qPrintable(dns));
}

void tst_NetworkManager::badArgumentsChangeNothing() {
    const QStringList before = ipv4Addresses();
    WmiError error;
    WmiAdapterList adapters;
    QVERIFY(m_nm->ipEnabledAdapters(adapters, error));
    QCOMPARE(adapters[0]->EnableStatic({u("10.99.0.60")}, {u("255.0.255.0")}), 66);
    QCOMPARE(adapters[0]->EnableStatic({u("10.99.0.300")}, {u("255.255.255.0")}), 70);
    QCOMPARE(adapters[0]->SetGateways({u("modem")}, {1}), 71);
    QCOMPARE(ipv4Addresses(), before);
    const QString method =
        run(u("nmcli"), {u("-g"), u("ipv4.method"), u("connection"), u("show"), u("kasa")});
    QCOMPARE(method.trimmed(), u("auto"));
}

void tst_NetworkManager::userWithoutRightsIsRefused() {
    const QStringList before = ipv4Addresses();
    QProcess client;
    client.setChildProcessModifier([] {
        ::setgroups(0, nullptr);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(3);
    });
    // The build folder may be out of that user's reach (a clone under /root): run a copy
    // from the harness's folder, which everybody can read.
    const QString copy = qEnvironmentVariable("ZELVI_NM_WORK") + u("/nm_client");
    QFile::remove(copy);
    QVERIFY(QFile::copy(QStringLiteral(NM_CLIENT_PATH), copy));
    QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                            QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
    client.start(copy, {testIface(), u("10.99.0.70"), u("255.255.255.0")});
    QVERIFY(client.waitForFinished(60000));
    const QString out = QString::fromUtf8(client.readAllStandardOutput());
    QVERIFY2(out.startsWith(u("91 ")),
             qPrintable(out + QString::fromUtf8(client.readAllStandardError())));
    QVERIFY2(out.size() > 4, qPrintable(out)); // NetworkManager's own words follow
    QCOMPARE(ipv4Addresses(), before);
}

void tst_NetworkManager::repeatedChangesLeaveOneAddress() {
    const QStringList profile = parts("10.99.0.51.255.255.255.0.10.99.0.1.10.99.0.1....");
    QCOMPARE(int(applyProfile(*m_nm, m_description, profile).kind),
             int(ApplyOutcome::Kind::Applied));
    QCOMPARE(int(applyProfile(*m_nm, m_description, profile).kind),
             int(ApplyOutcome::Kind::Applied));
    QCOMPARE(ipv4Addresses(), QStringList{u("10.99.0.51/24")});

    QVERIFY(ResetAdaptersToDHCP(*m_nm).outcome);
    QTRY_VERIFY_WITH_TIMEOUT(holdsOneOtherThan(u("10.99.0.51/24")), 20000);
    QCOMPARE(int(applyProfile(*m_nm, m_description, profile).kind),
             int(ApplyOutcome::Kind::Applied));
    QCOMPARE(ipv4Addresses(), QStringList{u("10.99.0.51/24")});
    QVERIFY(ResetAdaptersToDHCP(*m_nm).outcome);
    QTRY_VERIFY_WITH_TIMEOUT(holdsOneOtherThan(u("10.99.0.51/24")), 20000);
}

QTEST_GUILESS_MAIN(tst_NetworkManager)
#include "tst_networkmanager.moc"
