// The whole road: the main window with the NetworkManager backend, a real DHCP server and
// our address service on the "router", inside the namespaces of scripts/nm-harness.sh; or with
// the systemd-networkd backend inside scripts/networkd-harness.sh (ZELVI_ND_IFACE set). Without
// an address service, a profile whose gateway does not answer is put back.
#include "FakePrompts.h"
#include "FakeTrayIcon.h"
#include "app/frmMain.h"
#include "dialogs/frmSelectNIC.h"
#include "discovery/ipbul.h"
#include "networkd/NetworkdBackend.h"
#include "networkmanager/NetworkManagerBackend.h"

#include <QApplication>
#include <QDBusConnection>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QString u(const char *utf8) {
    return QString::fromUtf8(utf8);
}

QString run(const QStringList &args) {
    QProcess p;
    p.start(args.first(), args.mid(1));
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

QString lease() {
    const QString out = run({u("ip"), u("-4"), u("-o"), u("addr"), u("show"), u("dev"), u("zc0")});
    const qsizetype at = out.indexOf(u("inet 10.99.0.1"));
    return at < 0 ? QString() : out.mid(at + 5).section(QLatin1Char('/'), 0, 0);
}

} // namespace

class tst_WholeRoad : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void startShowsRealAddresses();
    void profileInTheRoutersNetworkStays();
    void profileWithoutInternetIsUndone();
    void withoutServiceTheGatewayJudges();

private:
    void apply(const QString &profile);
    QString current();

    QTemporaryDir m_dir;
    QString m_settings;
    FakePrompts m_prompts;
    FakeTrayIcon m_tray;
    std::unique_ptr<AdapterBackend> m_nm;
    std::unique_ptr<frmMain> m_window;
};

void tst_WholeRoad::initTestCase() {
    if (qEnvironmentVariable("ZELVI_NM_SERVICE_URL").isEmpty())
        QSKIP("runs only inside scripts/nm-harness.sh with the address service");
    const bool networkd = !qEnvironmentVariable("ZELVI_ND_IFACE").isEmpty();
    if (!networkd) {
        run({u("nmcli"), u("connection"), u("add"), u("type"), u("ethernet"), u("ifname"), u("zc0"),
             u("con-name"), u("kasa"), u("ipv6.method"), u("disabled"),
             u("ipv4.dhcp-send-hostname"), u("no")});
        run({u("nmcli"), u("connection"), u("up"), u("kasa")});
    }
    QTRY_VERIFY_WITH_TIMEOUT(!lease().isEmpty(), 60000);

    m_settings = m_dir.filePath(u("Nuvar_Pos_Zelvi_ip.exe.config"));
    QFile f(m_settings);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Profiles]\nIcerde=10.99.0.50.255.255.255.0.10.99.0.1.10.99.0.1....\n"
            "Disarida=172.31.5.50.255.255.255.0.172.31.5.1.172.31.5.1....\n[Links]\n"
            "ExternalAddressUrl=" +
            qgetenv("ZELVI_NM_SERVICE_URL") + "\n");
    f.close();

    if (networkd) {
        auto backend = std::make_unique<NetworkdBackend>(QDBusConnection::systemBus());
        // The keeper of a change on trial is the program's own.
        backend->startKeeper = [](const QStringList &arguments, QString &problem) {
            QProcess keeper;
            keeper.setProgram(qEnvironmentVariable("ZELVI_PROGRAM"));
            keeper.setArguments(arguments);
            keeper.setStandardOutputFile(QProcess::nullDevice());
            keeper.setStandardErrorFile(QProcess::nullDevice());
            if (keeper.startDetached())
                return true;
            problem = keeper.errorString();
            return false;
        };
        m_nm = std::move(backend);
    } else {
        m_nm = std::make_unique<NetworkManagerBackend>(QDBusConnection::systemBus());
    }
    frmMain::Services services;
    services.settingsPath = m_settings;
    services.prompts = &m_prompts;
    services.tray = &m_tray;
    services.backend = m_nm.get();
    services.openUrl = [](const QUrl &) { return true; };
    services.httpTimeoutMs = 3000;
    services.localAddress = [](UserPrompts &prompts) {
        // The real lookup, of a name every machine maps to loopback.
        ipbul::Platform platform = ipbul::Platform::system();
        platform.hostName = [](QString &name, int &) {
            name = u("localhost");
            return true;
        };
        return ipbul::GetLocalAddress(prompts, platform);
    };
    m_window = std::make_unique<frmMain>(services);
    QVERIFY(m_window->Form_Load(CommandLine()));
    m_window->showAfterLoad();
}

void tst_WholeRoad::cleanupTestCase() {
    m_window.reset();
}

QString tst_WholeRoad::current() {
    QFile f(m_settings);
    f.open(QIODevice::ReadOnly);
    const QByteArray text = f.readAll();
    const qsizetype at = text.indexOf("ProfileName=");
    return at < 0 ? QString() : QString::fromUtf8(text.mid(at + 12).split('\n').first());
}

void tst_WholeRoad::apply(const QString &profile) {
    const QList<QListWidgetItem *> items =
        m_window->lstProfiles->findItems(profile, Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    m_window->lstProfiles->setCurrentItem(items.first());
    bool chosen = false;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<frmSelectNIC *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->lstNIC->count(), 1);
        dialog->lstNIC->setCurrentRow(0);
        chosen = true;
        dialog->cmdSave->click();
    });
    m_window->cmdProfileActivate->click();
    QVERIFY(chosen);
}

void tst_WholeRoad::startShowsRealAddresses() {
    const QString address = lease();
    QVERIFY(!address.isEmpty());
    QCOMPARE(m_window->icip->text(), address);
    QCOMPARE(m_window->disip->text(), address); // as the service on the router sees us
    QVERIFY(m_prompts.messages.isEmpty());
}

void tst_WholeRoad::profileInTheRoutersNetworkStays() {
    apply(u("Icerde"));
    QVERIFY2(m_prompts.messages.isEmpty(), qPrintable(m_prompts.messages.join(u("\n"))));
    QCOMPARE(m_window->disip->text(), u("BEKLEYİNİZ"));
    QCOMPARE(current(), u("Icerde"));
    // On trial: NetworkManager holds the earlier state until the check keeps the change.
    QVERIFY2(m_window->windowTitle().contains(u("[deneniyor, ")),
             qPrintable(m_window->windowTitle()));
    QVERIFY(m_nm->trialSecondsLeft() > 10);
    QTRY_COMPARE_WITH_TIMEOUT(m_window->Timer1Interval(), 0, 20000);
    QCOMPARE(m_nm->trialSecondsLeft(), -1);
    QCOMPARE(m_window->windowTitle(), u("Nuvar_POS_Zelvi_IP (Icerde)"));
    QCOMPARE(m_window->disip->text(), u("10.99.0.50"));
    QCOMPARE(m_window->icip->text(), u("10.99.0.50"));
    QCOMPARE(current(), u("Icerde"));
}

void tst_WholeRoad::profileWithoutInternetIsUndone() {
    apply(u("Disarida"));
    QVERIFY2(m_prompts.messages.isEmpty(), qPrintable(m_prompts.messages.join(u("\n"))));
    QCOMPARE(current(), u("Disarida"));
    // About ten seconds later the check finds no service and switches back to DHCP.
    QTRY_COMPARE_WITH_TIMEOUT(m_window->disip->text(), u("İNTERNET YOK"), 25000);
    QCOMPARE(current(), QString());
    QCOMPARE(m_window->windowTitle(), u("Nuvar_POS_Zelvi_IP")); // the fallback is no trial
    QCOMPARE(m_nm->trialSecondsLeft(), -1);
    QCOMPARE(m_window->Timer1Interval(), 0);             // the tick's own switch does not re-arm it
    QTRY_VERIFY_WITH_TIMEOUT(!lease().isEmpty(), 60000); // a lease from the router again
    // The technician's refresh finds the service again.
    QTest::mouseClick(m_window->ipnedir, Qt::LeftButton);
    QCOMPARE(m_window->disip->text(), lease());
    QCOMPARE(m_window->icip->text(), lease());
}

// No address service: ten seconds after the apply the profile's gateway must answer on the card.
void tst_WholeRoad::withoutServiceTheGatewayJudges() {
    m_prompts.messages.clear();
    QFile f(m_settings);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[Profiles]\nDogru=10.99.0.51.255.255.255.0.10.99.0.1.10.99.0.1....\n"
            "Yanlis=10.99.0.52.255.255.255.0.10.99.0.254.10.99.0.1....\n");
    f.close();
    QTRY_VERIFY_WITH_TIMEOUT(
        !m_window->lstProfiles->findItems(u("Yanlis"), Qt::MatchExactly).isEmpty(), 5000);
    apply(u("Dogru"));
    m_window->Timer1_Timer(); // its tick, without waiting ten seconds for it
    QCOMPARE(m_window->Timer1Interval(), 0);
    QCOMPARE(m_nm->trialSecondsLeft(), -1);
    QCOMPARE(m_window->windowTitle(), u("Nuvar_POS_Zelvi_IP (Dogru)"));
    QVERIFY2(m_prompts.messages.isEmpty(), qPrintable(m_prompts.messages.join(u("\n"))));
    apply(u("Yanlis"));
    m_window->Timer1_Timer();
    QVERIFY2(m_prompts.messages.join(u("\n")).contains(u("MODEM IP 10.99.0.254, zc0 üzerinde "
                                                         "cevap vermedi")),
             qPrintable(m_prompts.messages.join(u("\n"))));
    QCOMPARE(current(), u("Dogru"));
    QCOMPARE(m_window->windowTitle(), u("Nuvar_POS_Zelvi_IP (Dogru)"));
    QTRY_VERIFY_WITH_TIMEOUT(
        run({u("ip"), u("-4"), u("-o"), u("addr"), u("show"), u("dev"), u("zc0")})
            .contains(u("inet 10.99.0.51/24")),
        15000);
}

QTEST_MAIN(tst_WholeRoad)
#include "tst_wholeroad.moc"
