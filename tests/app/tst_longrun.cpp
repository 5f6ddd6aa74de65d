// Months in the notification area, compressed: thousands of cycles of select, apply, DHCP,
// refresh and edit on the simulated computer with the address service on loopback. Memory
// must not grow, and no window, timer or icon may be left over.
#include "FakePrompts.h"
#include "FakeTrayIcon.h"
#include "SimulatedFixture.h"
#include "app/frmMain.h"
#include "dialogs/AddressBox.h"
#include "dialogs/frmNewSettings.h"
#include "dialogs/frmSelectNIC.h"
#include "service/IpService.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <unistd.h>

namespace {

QString u(const char *utf8) {
    return QString::fromUtf8(utf8);
}

// Resident memory of this process, in bytes.
qint64 residentBytes() {
    QFile f(u("/proc/self/statm"));
    f.open(QIODevice::ReadOnly);
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.value(1).toLongLong() * ::sysconf(_SC_PAGESIZE);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr int kCycles = 200; // the sanitizers look for leaks and faults; memory is theirs
constexpr bool kMeasure = false;
#else
constexpr int kCycles = 2000;
constexpr bool kMeasure = true;
#endif

} // namespace

class tst_LongRun : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void manyCycles();
};

void tst_LongRun::manyCycles() {
    QTemporaryDir dir;
    IpService service;
    QVERIFY(service.listen(QHostAddress::LocalHost, 0));
    const QString settings = dir.filePath(u("Nuvar_Pos_Zelvi_ip.exe.config"));
    QFile f(settings);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Profiles]\nKasa=192.168.5.50.255.255.255.0.192.168.5.254.192.168.5.254.8.8.8.8\n"
            "Ofis=10.0.0.20.255.0.0.0.10.0.0.1.10.0.0.1....\n[Links]\nExternalAddressUrl=http://"
            "127.0.0.1:" +
            QByteArray::number(service.port()) + "/ip.php\n");
    f.close();

    SimulatedFixture pc;
    FakePrompts prompts;
    FakeTrayIcon tray;
    frmMain::Services services;
    services.settingsPath = settings;
    services.prompts = &prompts;
    services.tray = &tray;
    services.backend = pc.computer.get();
    services.openUrl = [](const QUrl &) { return true; };
    services.localAddress = [](UserPrompts &) { return u("10.0.0.5"); };
    frmMain window(services);
    QVERIFY(window.Form_Load(CommandLine()));
    window.showAfterLoad();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const int topLevels = int(QApplication::topLevelWidgets().size());
    const int timers = int(window.findChildren<QTimer *>().size());

    qint64 early = 0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        window.lstProfiles->setCurrentRow(cycle % 2);
        QTimer::singleShot(0, &window, [] {
            auto *dialog = qobject_cast<frmSelectNIC *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->lstNIC->setCurrentRow(0);
            dialog->cmdSave->click();
        });
        window.cmdProfileActivate_Click();
        QCOMPARE(window.Timer1Interval(), 10000);
        window.setTimer1Interval(0);

        window.cmdEnableDHCP_Click();
        window.setTimer1Interval(0);
        window.ipnedir_Click();
        QCOMPARE(window.disip->text(), u("127.0.0.1"));

        window.lstProfiles->setCurrentRow(0);
        QTimer::singleShot(0, &window, [cycle] {
            auto *editor = qobject_cast<frmNewSettings *>(QApplication::activeModalWidget());
            if (!editor)
                return;
            editor->txtIP[3]->setText(QString::number(50 + cycle % 5));
            editor->cmdSave_Click();
            editor->reject();
        });
        window.cmdProfileEdit_Click();

        if (window.isMinimized() == false && cycle % 50 == 0) {
            window.showMinimized();
            QTRY_VERIFY(tray.visible);
            tray.doubleClick();
            QTRY_VERIFY(!tray.visible);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (cycle == 99)
            early = residentBytes();
    }
    QVERIFY(prompts.messages.isEmpty());
    QCOMPARE(int(QApplication::topLevelWidgets().size()), topLevels);
    QCOMPARE(int(window.findChildren<QTimer *>().size()), timers);
    QCOMPARE(window.Timer1Interval(), 0);
    QVERIFY(!tray.visible);
    if (kMeasure) {
        const qint64 late = residentBytes();
        qInfo("resident memory after cycle 100: %lld KiB, after cycle %d: %lld KiB", early / 1024,
              kCycles, late / 1024);
        QVERIFY2(late - early < 3 * 1024 * 1024, "memory grew by more than 3 MiB");
    }
}

QTEST_MAIN(tst_LongRun)
#include "tst_longrun.moc"
