// The main window, offscreen: load order, the profile list and its commands, the caption,
// hiding in the notification area, Timer1 and the layout.
#include "CannedHttpServer.h"
#include "FakePrompts.h"
#include "FakeTrayIcon.h"
#include "SimulatedFixture.h"
#include "TestFiles.h"
#include "app/ProfileListWidget.h"
#include "app/frmMain.h"
#include "app/modTrayIcon.h"
#include "dialogs/AddressBox.h"
#include "dialogs/frmNewSettings.h"
#include "dialogs/frmSelectNIC.h"
#include "settings/IniFileStore.h"
#include "settings/clsIni.h"
#include "settings/modNetProfiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QUrl>
#include <functional>
#include <memory>
#include <sys/stat.h>

namespace {

QString u(const char *utf8) {
    return QString::fromUtf8(utf8);
}

QStringList listed(const QListWidget *list) {
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names.append(list->item(i)->text());
    return names;
}

} // namespace

class tst_frmMain : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void othersTrialIsShownNotJudged();
    void noCurrentProfile();
    void currentProfileSelectedAtLoad_data();
    void currentProfileSelectedAtLoad();
    void currentProfileNoLongerListed();
    void missingSettingsFileIsCreated();
    void unusableSettingsFileEndsLoad();
    void givenSettingsPathIsTakenExactly();
    void listIsSortedForTurkishReaders();
    void emptyValueStillEnablesButtons();
    void editAndCloneFillTheEditor();
    void doubleClickEdits();
    void editBeforeSelectionIsRefused();
    void deleteAsksAndReports();
    void listFollowsTheSettingsFile();
    void minimiseHidesInTrayAndRestores();
    void withoutNotificationAreaMinimisesNormally();
    void startSwitchHides();
    void closeRemovesIcon();
    void trayMenuListsProfiles();
    void longNamesStayTellable();
    void startAtLoginFromTheMenu();
    void timer1TicksOncePerArming();
    void applyNeedsASelectionAndACompleteProfile();
    void applyToOneAdapter();
    void applyCancelledOrRefused();
    void commandsActOnlyOnTheSelection();
    void profileCheckedBeforeAnyAdapter();
    void dhcpForgetsCurrentProfile();
    void dhcpFailuresAreReported();
    void webPageButtons();
    void refreshShowsTheAnswer_data();
    void refreshShowsTheAnswer();
    void refreshRunsOnLoadButtonAndTick();
    void noServiceSwitchesToDhcpOnce();
    void withoutConfiguredServiceNothingSwitches();
    void closingEndsTheCheckAtOnce();
    void changeOnTrialIsJudgedByTheCheck_data();
    void changeOnTrialIsJudgedByTheCheck();
    void startNamesTheProfileTheAdaptersAreOn_data();
    void startNamesTheProfileTheAdaptersAreOn();
    void layout_data();
    void layout();

private:
    void writeSettings(const QByteArray &text);
    bool load(const QStringList &args = {});
    // The window as designed, before its load.
    void construct();
    // Applies the selected profile, choosing in the adapter dialog with `choose`.
    void apply(const std::function<void(frmSelectNIC &)> &choose);
    // Runs `inside` on the editor once it is shown modally, then closes it.
    void withEditor(const std::function<void()> &open,
                    const std::function<void(frmNewSettings &)> &inside);

    QTemporaryDir m_dir;
    QString m_path;
    clsIni::PathRule m_pathRule = clsIni::PathRule::Complete;
    FakePrompts m_prompts;
    std::unique_ptr<FakeTrayIcon> m_tray;
    std::unique_ptr<SimulatedFixture> m_pc;
    QList<QUrl> m_opened;
    bool m_openResult = true;
    int m_httpTimeoutMs = 500;
    std::unique_ptr<frmMain> m_window;
};

void tst_frmMain::init() {
    m_path = m_dir.filePath(u("Nuvar_Pos_Zelvi_ip.exe.config"));
    QFile::remove(m_path);
    QFile::remove(m_path + u(".trial"));
    m_prompts = FakePrompts();
    m_tray = std::make_unique<FakeTrayIcon>();
    m_pc = std::make_unique<SimulatedFixture>();
    m_opened.clear();
    m_openResult = true;
    m_pathRule = clsIni::PathRule::Complete;
    m_httpTimeoutMs = 500;
    TrayIconShown = false;
}

void tst_frmMain::cleanup() {
    if (const QString dir = qEnvironmentVariable("ZELVI_SCREENSHOT_DIR");
        !dir.isEmpty() && m_window && m_window->isVisible())
        m_window->grab().save(dir + u("/main.png"));
    m_window.reset();
}

void tst_frmMain::writeSettings(const QByteArray &text) {
    QFile f(m_path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

bool tst_frmMain::load(const QStringList &args) {
    construct();
    if (!m_window->Form_Load(CommandLine::parse(args)))
        return false;
    m_window->showAfterLoad();
    return true;
}

void tst_frmMain::construct() {
    frmMain::Services services;
    services.settingsPath = m_path;
    services.settingsPathRule = m_pathRule;
    services.prompts = &m_prompts;
    services.tray = m_tray.get();
    services.backend = m_pc->computer.get();
    services.localAddress = [](UserPrompts &) { return QStringLiteral("10.0.0.5"); };
    services.httpTimeoutMs = m_httpTimeoutMs;
    services.openUrl = [this](const QUrl &url) {
        m_opened.append(url);
        return m_openResult;
    };
    m_window = std::make_unique<frmMain>(services);
}

void tst_frmMain::withEditor(const std::function<void()> &open,
                             const std::function<void(frmNewSettings &)> &inside) {
    bool seen = false;
    QTimer::singleShot(0, this, [&] {
        auto *editor = qobject_cast<frmNewSettings *>(QApplication::activeModalWidget());
        QVERIFY(editor);
        seen = true;
        inside(*editor);
        editor->reject();
    });
    open();
    QVERIFY(seen);
}

void tst_frmMain::apply(const std::function<void(frmSelectNIC &)> &choose) {
    bool seen = false;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<frmSelectNIC *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        seen = true;
        choose(*dialog);
    });
    m_window->cmdProfileActivate->click();
    QVERIFY(seen);
}

void tst_frmMain::noCurrentProfile() {
    writeSettings("[Profiles]\nKasa=1.2.3.4\n");
    QVERIFY(load());
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QCOMPARE(m_window->windowTitle(), u("Nuvar_POS_Zelvi_IP"));
    QVERIFY(m_window->lstProfiles->selectedItems().isEmpty()); // nothing selected
    QVERIFY(!m_window->cmdProfileClone->isEnabled());
    QVERIFY(!m_window->cmdProfileActivate->isEnabled());
    QVERIFY(m_window->ProfileParts.isEmpty());
}

// A name from a hand-edited file that holds a character reordering text is shown with it
// visible, in the list and in the caption: it cannot reorder either.
void tst_frmMain::currentProfileSelectedAtLoad_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("current"); // as recorded
    QTest::addColumn<QString>("shown");   // in the list and in the caption
    QTest::newRow("recorded in other letter case") << u("Ofis") << u("ofis") << u("Ofis");
    QTest::newRow("a name that would reorder")
        << u("Ofis\u202E1.2") << u("Ofis\u202E1.2") << u("Ofis\\u202e1.2");
}

void tst_frmMain::currentProfileSelectedAtLoad() {
    QFETCH(QString, name);
    QFETCH(QString, current);
    QFETCH(QString, shown);
    writeSettings((u("[Profiles]\nKasa=1.2.3.4\n") + name +
                   u("=5.6.7.8\n[CurrentProfile]\nProfileName=") + current + u("\n"))
                      .toUtf8());
    QVERIFY(load());
    QCOMPARE(m_window->lstProfiles->currentItem()->text(), shown);
    QVERIFY(m_window->cmdProfileClone->isEnabled());
    QVERIFY(m_window->cmdProfileActivate->isEnabled());
    QCOMPARE(m_window->ProfileParts, (QStringList{u("5"), u("6"), u("7"), u("8")}));
    QCOMPARE(m_window->windowTitle(),
             u("Nuvar_POS_Zelvi_IP (") + (current == name ? shown : current) + u(")"));
}

void tst_frmMain::currentProfileNoLongerListed() {
    writeSettings("[Profiles]\nKasa=1.2.3.4\n[CurrentProfile]\nProfileName=Eski\n");
    QVERIFY(load());
    QVERIFY(m_window->lstProfiles->selectedItems().isEmpty()); // nothing selected
    QVERIFY(!m_window->cmdProfileClone->isEnabled());
    QVERIFY(!m_window->cmdProfileActivate->isEnabled());
    QCOMPARE(m_window->windowTitle(), u("Nuvar_POS_Zelvi_IP (Eski)"));
}

void tst_frmMain::missingSettingsFileIsCreated() {
    QVERIFY(load());
    QVERIFY(QFileInfo::exists(m_path));
    QCOMPARE(QFileInfo(m_path).size(), 0);
    QCOMPARE(m_window->lstProfiles->count(), 0);
    QCOMPARE(m_window->windowTitle(), u("Nuvar_POS_Zelvi_IP"));
    QVERIFY(m_prompts.messages.isEmpty());
}

void tst_frmMain::unusableSettingsFileEndsLoad() {
    m_path = m_dir.filePath(u("no/such/folder/x.config"));
    QVERIFY(!load());
    QCOMPARE(m_prompts.messages.size(), 1);
    QVERIFY(m_prompts.messages[0].contains(u("Hata 76")));
    QCOMPARE(m_prompts.icons[0], UserPrompts::Icon::Stop);
}

void tst_frmMain::givenSettingsPathIsTakenExactly() {
    m_path = m_dir.filePath(u("ayarlar")); // no "." anywhere
    m_pathRule = clsIni::PathRule::Exact;
    writeSettings("[Profiles]\nKasa=10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1....\n");
    QVERIFY(load());
    QCOMPARE(listed(m_window->lstProfiles), QStringList{u("Kasa")});
    m_window->lstProfiles->setCurrentRow(0);
    m_prompts.answer = true;
    m_window->cmdProfileDelete->click();
    QCOMPARE(readAll(m_path), QByteArray("[Profiles]\n"));
    QVERIFY(!QFileInfo::exists(m_path + u(".ini")));
}

void tst_frmMain::listIsSortedForTurkishReaders() {
    writeSettings(u("[Profiles]\nZeta=1\nAlfa=2\nMerkez=3\nŞube=4\nsube=5\nÇarşı=6\ncami=7\n"
                    "Kasa 10=8\nKasa 2=9\n")
                      .toUtf8());
    QVERIFY(load());
    QCOMPARE(listed(m_window->lstProfiles),
             (QStringList{u("Alfa"), u("cami"), u("Çarşı"), u("Kasa 2"), u("Kasa 10"), u("Merkez"),
                          u("sube"), u("Şube"), u("Zeta")}));

    // A list long enough to be filled in pieces (the window painting between them): whole, in
    // order, a name shown with its control character made visible still found by its name.
    QByteArray many = "[Profiles]\n";
    for (int i = 0; i < 45000; ++i)
        many += "Kasa " + QByteArray::number(100000 + i) + "=1\n";
    many += "Zz\x1b[31m=2\n";
    writeSettings(many);
    QVERIFY(load());
    QCOMPARE(m_window->lstProfiles->count(), 45001);
    QCOMPARE(m_window->lstProfiles->item(44999)->text(), u("Kasa 144999"));
    QCOMPARE(ProfileListWidget::nameOf(m_window->lstProfiles->item(45000)), u("Zz\x1b[31m"));
}

void tst_frmMain::emptyValueStillEnablesButtons() {
    writeSettings("[Profiles]\nBos=\n");
    QVERIFY(load());
    m_window->lstProfiles->setCurrentRow(0);
    QVERIFY(m_window->cmdProfileClone->isEnabled());
    QVERIFY(m_window->cmdProfileActivate->isEnabled());
    QVERIFY(m_window->ProfileParts.isEmpty());
}

void tst_frmMain::editAndCloneFillTheEditor() {
    writeSettings("[Profiles]\nKasa=10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1.8.8.4.4\nKisa=1.2.3\n");
    QVERIFY(load());
    m_window->lstProfiles->setCurrentRow(0);
    withEditor([&] { m_window->cmdProfileClone->click(); },
               [&](frmNewSettings &editor) {
                   QCOMPARE(EditMode, 0);
                   QCOMPARE(editor.txtProfileName->text(), u("Kasa (CLONE)"));
                   QCOMPARE(editor.txtIP[0]->text(), u("10"));
                   QCOMPARE(editor.txtIP[19]->text(), u("4"));
               });
    withEditor([&] { m_window->cmdProfileEdit->click(); },
               [&](frmNewSettings &editor) {
                   QCOMPARE(EditMode, 1);
                   QCOMPARE(editor.txtProfileName->text(), u("Kasa"));
                   editor.txtIP[3]->setText(u("6"));
                   editor.cmdSave_Click(); // saved without a question
               });
    QVERIFY(m_prompts.questions.isEmpty());
    QVERIFY(readAll(m_path).contains("Kasa=10.0.0.6.255"));

    // A value with fewer parts than boxes fills what there is.
    m_window->lstProfiles->setCurrentRow(1);
    withEditor([&] { m_window->cmdProfileEdit->click(); },
               [&](frmNewSettings &editor) {
                   QCOMPARE(editor.txtIP[2]->text(), u("3"));
                   QCOMPARE(editor.txtIP[3]->text(), QString());
               });

    withEditor([&] { m_window->cmdProfileCreateNew->click(); },
               [&](frmNewSettings &editor) {
                   QCOMPARE(EditMode, 0);
                   QCOMPARE(editor.txtProfileName->text(), QString());
                   QCOMPARE(editor.txtIP[0]->text(), QString());
               });
}

void tst_frmMain::doubleClickEdits() {
    writeSettings("[Profiles]\nKasa=1.2.3.4\n");
    QVERIFY(load());
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QListWidget *list = m_window->lstProfiles;
    const QPoint at = list->visualItemRect(list->item(0)).center();
    withEditor(
        [&] {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        },
        [&](frmNewSettings &editor) {
            QCOMPARE(EditMode, 1);
            QCOMPARE(editor.txtProfileName->text(), u("Kasa"));
        });
}

void tst_frmMain::editBeforeSelectionIsRefused() {
    writeSettings("[Profiles]\nKasa=1.2.3.4\n");
    QVERIFY(load());
    m_window->cmdProfileEdit->click();
    m_window->cmdProfileClone_Click();
    QCOMPARE(m_prompts.messages.size(), 2);
    QCOMPARE(m_prompts.icons[0], UserPrompts::Icon::Information);
    QVERIFY(!QApplication::activeModalWidget());
}

// Another window or a command changes the profiles: the list follows, the selection kept by
// name; an apply of a profile deleted meanwhile says so and touches nothing.
void tst_frmMain::listFollowsTheSettingsFile() {
    writeSettings("[Profiles]\nKasa=10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1....\n"
                  "Ofis=10.0.0.6.255.0.0.0.10.0.0.1.10.0.0.1....\n");
    QVERIFY(load());
    m_window->lstProfiles->setCurrentRow(1);
    clsIni other;
    QVERIFY(other.setFileName(m_path, clsIni::PathRule::Exact));
    QVERIFY(
        other.WriteString(u("Profiles"), u("Ana"), u("10.0.0.7.255.0.0.0.10.0.0.1.10.0.0.1....")));
    QTRY_COMPARE(listed(m_window->lstProfiles), (QStringList{u("Ana"), u("Kasa"), u("Ofis")}));
    QCOMPARE(ProfileListWidget::nameOf(m_window->selectedProfile()), u("Ofis"));

    QVERIFY(other.DeleteKey(u("Profiles"), u("Ofis")) != 0);
    m_window->cmdProfileActivate->click(); // before the list has followed
    QCOMPARE(m_prompts.messages.size(), 1);
    QVERIFY2(m_prompts.messages[0].contains(u("\"Ofis\" profili artık ayar dosyasında yok")),
             qPrintable(m_prompts.messages[0]));
    QCOMPARE(listed(m_window->lstProfiles), (QStringList{u("Ana"), u("Kasa")}));
    QVERIFY(m_pc->stored()[0].dhcp); // nothing applied
}

void tst_frmMain::deleteAsksAndReports() {
    writeSettings("[Profiles]\nKasa=1.2.3.4\nOfis=5\n[CurrentProfile]\nProfileName=Kasa\n");
    QVERIFY(load());

    m_window->lstProfiles->setCurrentRow(-1);
    m_window->cmdProfileDelete->click();
    QCOMPARE(m_prompts.messages.size(), 1); // nothing selected
    QCOMPARE(m_prompts.icons[0], UserPrompts::Icon::Stop);

    m_window->lstProfiles->setCurrentRow(0);
    m_prompts.answer = false;
    m_window->cmdProfileDelete->click();
    QCOMPARE(m_prompts.questions.size(), 1);
    QVERIFY(m_prompts.questions[0].contains(u("\"Kasa\"")));
    QCOMPARE(m_prompts.questionIcons[0], UserPrompts::Icon::Stop);
    QCOMPARE(m_window->lstProfiles->count(), 2);
    QCOMPARE(m_window->selectedProfile(), m_window->lstProfiles->item(0));

    m_prompts.answer = true;
    m_window->cmdProfileDelete->click();
    QCOMPARE(listed(m_window->lstProfiles), QStringList{u("Ofis")});
    QVERIFY(m_window->lstProfiles->selectedItems().isEmpty()); // nothing selected
    QVERIFY(m_window->cmdProfileClone->isEnabled());
    QCOMPARE(readAll(m_path),
             QByteArray("[Profiles]\nOfis=5\n[CurrentProfile]\nProfileName=Kasa\n"));
    QCOMPARE(m_window->windowTitle(), u("Nuvar_POS_Zelvi_IP (Kasa)"));

    // A settings file locked against writing: the delete is reported.
    QVERIFY(::chmod(QFile::encodeName(m_path).constData(), 0444) == 0);
    m_window->lstProfiles->setCurrentRow(0);
    m_window->cmdProfileDelete->click();
    QCOMPARE(m_prompts.messages.size(), 2);
    QVERIFY(m_prompts.messages[1].contains(u("silinemedi")));
    QCOMPARE(listed(m_window->lstProfiles), QStringList{u("Ofis")});
    ::chmod(QFile::encodeName(m_path).constData(), 0644);
}

void tst_frmMain::minimiseHidesInTrayAndRestores() {
    writeSettings("[CurrentProfile]\nProfileName=Kasa\n");
    QVERIFY(load());
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->showMinimized();
    QTRY_VERIFY(!m_window->isVisible());
    QVERIFY(m_tray->visible);
    QVERIFY(TrayIconShown);
    QVERIFY(m_tray->toolTip.contains(u("Profil: Kasa")));

    // The caption is rebuilt from the file when the window comes back.
    writeSettings("[CurrentProfile]\nProfileName=\n");
    m_tray->doubleClick();
    QTRY_VERIFY(m_window->isVisible());
    QVERIFY(!m_window->isMinimized());
    QVERIFY(!m_tray->visible);
    QVERIFY(!TrayIconShown);
    QCOMPARE(m_window->windowTitle(), u("Nuvar_POS_Zelvi_IP"));

    // Restored by other means while the icon is there: the icon goes too.
    m_window->showMinimized();
    QTRY_VERIFY(m_tray->visible);
    m_window->showNormal();
    QTRY_VERIFY(!m_tray->visible);
    QVERIFY(!TrayIconShown);
}

void tst_frmMain::withoutNotificationAreaMinimisesNormally() {
    m_tray->available = false;
    QVERIFY(load());
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->showMinimized();
    QTest::qWait(50);
    QVERIFY(m_window->isMinimized());
    QVERIFY(!m_tray->visible);
    QCOMPARE(m_tray->shows, 0);
}

void tst_frmMain::startSwitchHides() {
    QVERIFY(load({u("/hideonstartup")}));
    QTest::qWait(50);
    QVERIFY(!m_window->isVisible());
    QVERIFY(m_tray->visible);

    m_window.reset();
    QVERIFY(load({u("/HIDEONSTARTUP"), u("now")}));
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    m_window.reset();
    m_tray->available = false;
    QVERIFY(load({u("HIDEONSTARTUP")}));
    QTest::qWait(50);
    QVERIFY(m_window->isMinimized()); // reachable from the taskbar
}

void tst_frmMain::closeRemovesIcon() {
    QVERIFY(load({u("/HIDEONSTARTUP")}));
    QVERIFY(m_tray->visible);
    bool unloaded = false;
    connect(m_window.get(), &frmMain::unloaded, this, [&] { unloaded = true; });
    QVERIFY(m_window->close());
    QVERIFY(unloaded);
    QVERIFY(!m_tray->visible);
    QVERIFY(!TrayIconShown);
    QVERIFY(!m_window->SettingsIni);
}

void tst_frmMain::trayMenuListsProfiles() {
    writeSettings("[Profiles]\nKasa=1\nOfis=2\n[CurrentProfile]\nProfileName=Ofis\n");
    QVERIFY(load());
    QVERIFY(m_tray->menu);
    Q_EMIT m_tray->menu->aboutToShow();
    QStringList texts;
    QStringList checked;
    for (QAction *a : m_tray->menu->actions()) {
        if (a->isSeparator())
            continue;
        texts.append(a->text());
        if (a->isChecked())
            checked.append(a->text());
    }
    QCOMPARE(texts, (QStringList{u("Pencereyi aç"), u("Kasa"), u("Ofis"), u("OTOMATİK IP UYGULA"),
                                 u("Oturum açılınca başlat"), u("Çıkış")}));
    QCOMPARE(checked, QStringList{u("Ofis")});
}

void tst_frmMain::startAtLoginFromTheMenu() {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(u("config"))));
    const QString entry = m_dir.filePath(u("config/autostart/nuvar-pos-zelvi-ip.desktop"));
    QVERIFY(load());
    const auto loginAction = [this] {
        Q_EMIT m_tray->menu->aboutToShow();
        QAction *found = nullptr;
        for (QAction *a : m_tray->menu->actions())
            found = a->text() == u("Oturum açılınca başlat") ? a : found;
        return found;
    };
    QVERIFY(!loginAction()->isChecked());
    loginAction()->trigger();
    QVERIFY(readAll(entry).contains(
        "\nExec=" + QFile::encodeName(QCoreApplication::applicationFilePath()) +
        " /HIDEONSTARTUP\n"));
    QVERIFY(loginAction()->isChecked());
    loginAction()->trigger();
    QVERIFY(!QFileInfo::exists(entry));
    QVERIFY(m_prompts.messages.isEmpty());
    qunsetenv("XDG_CONFIG_HOME");
}

void tst_frmMain::timer1TicksOncePerArming() {
    QVERIFY(load());
    QCOMPARE(m_window->Timer1Interval(), 0);
    m_window->setTimer1Interval(20);
    QCOMPARE(m_window->Timer1Interval(), 20);
    QTRY_COMPARE(m_window->Timer1Interval(), 0);
    QTest::qWait(100);
    QCOMPARE(m_window->Timer1Interval(), 0); // it does not repeat
}

void tst_frmMain::applyNeedsASelectionAndACompleteProfile() {
    writeSettings("[Profiles]\nKasa=1.2.3.4\n");
    QVERIFY(load());
    m_window->cmdProfileActivate_Click();
    QCOMPARE(m_prompts.messages.size(), 1);
    QCOMPARE(m_prompts.icons[0], UserPrompts::Icon::Information);

    m_window->lstProfiles->setCurrentRow(0); // only four parts: damaged
    m_window->cmdProfileActivate->click();
    QCOMPARE(m_prompts.messages.size(), 2);
    QVERIFY(m_prompts.messages[1].contains(u("eksik")));
    QVERIFY(!QApplication::activeModalWidget()); // no dialog, no adapter touched
    QVERIFY(m_pc->stored()[0].dns.isEmpty());
    QCOMPARE(m_window->Timer1Interval(), 0);
}

void tst_frmMain::applyToOneAdapter() {
    writeSettings("[Profiles]\nOfis=10.0.0.5.255.255.255.0.10.0.0.1.8.8.8.8.0.0.0.0\n");
    QVERIFY(load());
    m_window->lstProfiles->setCurrentRow(0);
    apply([](frmSelectNIC &d) {
        d.lstNIC->setCurrentRow(0);
        d.cmdSave->click();
    });
    QVERIFY(m_prompts.messages.isEmpty());
    QCOMPARE(m_pc->stored()[0].address, u("10.0.0.5"));
    QVERIFY(m_pc->stored()[1].dhcp);
    QVERIFY(readAll(m_path).contains("[CurrentProfile]\nProfileName=Ofis\n"));
    // On trial until its gateway is heard (no address service here).
    QCOMPARE(m_window->windowTitle(), u("Nuvar_POS_Zelvi_IP (Ofis) [deneniyor, 20 sn]"));
    QCOMPARE(m_window->icip->text(), u("BEKLEYİNİZ"));
    QCOMPARE(m_window->disip->text(), u("BEKLEYİNİZ"));
    QCOMPARE(m_window->Timer1Interval(), 10000);
    QVERIFY(!QApplication::overrideCursor());
}

void tst_frmMain::applyCancelledOrRefused() {
    writeSettings("[Profiles]\nOfis=10.0.0.5.255.255.255.0.10.0.0.1.8.8.8.8....\n"
                  "[CurrentProfile]\nProfileName=Eski\n");
    QVERIFY(load());
    m_window->lstProfiles->setCurrentRow(0);
    apply([](frmSelectNIC &d) { d.cmdCancel->click(); });
    QCOMPARE(m_prompts.messages.size(), 1);
    QVERIFY(m_prompts.messages[0].startsWith(u("\"Ofis\" profili uygulanmadı.")));
    QCOMPARE(m_window->Timer1Interval(), 0);
    QCOMPARE(m_window->windowTitle(), u("Nuvar_POS_Zelvi_IP (Eski)"));

    m_pc->refuse(1, u("EnableStatic"), 91);
    apply([](frmSelectNIC &d) {
        d.chkAllNIC->setChecked(true);
        d.cmdSave->click();
    });
    QCOMPARE(m_prompts.messages.size(), 2);
    QVERIFY(m_prompts.messages[1].contains(u("Wireless Network Adapter")));
    QVERIFY(m_prompts.messages[1].contains(u("kod 91")));
    // Every adapter has left the earlier profile: none is current any more.
    QVERIFY(readAll(m_path).contains("[CurrentProfile]\nProfileName=\n"));
    QCOMPARE(m_window->windowTitle(), u("Nuvar_POS_Zelvi_IP"));
    QCOMPARE(m_window->Timer1Interval(), 10000); // the check still runs

    // The chosen adapter has gone since the dialog was filled.
    m_window->setTimer1Interval(0);
    writeSettings("[Profiles]\nOfis=10.0.0.5.255.255.255.0.10.0.0.1.8.8.8.8....\n"
                  "[CurrentProfile]\nProfileName=Eski\n");
    apply([this](frmSelectNIC &d) {
        d.lstNIC->setCurrentRow(0);
        m_pc->computer->adapters.removeFirst();
        m_pc->store();
        d.cmdSave->click();
    });
    QCOMPARE(m_prompts.messages.size(), 3);
    QVERIFY(m_prompts.messages[2].contains(u("artık bulunamıyor")));
    QVERIFY(readAll(m_path).contains("[CurrentProfile]\nProfileName=\n"));
}

void tst_frmMain::commandsActOnlyOnTheSelection() {
    const QByteArray settings = "[Profiles]\nAlfa=10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1....\n"
                                "Merkez=10.0.0.6.255.0.0.0.10.0.0.1.10.0.0.1....\n"
                                "Zeta=10.0.0.7.255.0.0.0.10.0.0.1.10.0.0.1....\n";
    writeSettings(settings);
    QVERIFY(load());
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    // The list gets the focus: the toolkit makes its first row current, selecting nothing.
    m_window->lstProfiles->setFocus(Qt::TabFocusReason);
    QCOMPARE(m_window->lstProfiles->currentRow(), 0);
    const QByteArray computer = readAll(m_pc->computer->file());

    m_window->cmdProfileActivate_Click();
    m_window->cmdProfileEdit->click();
    m_window->cmdProfileClone_Click();
    m_window->cmdProfileDelete->click();
    QCOMPARE(m_prompts.messages.size(), 4);
    QVERIFY(m_prompts.questions.isEmpty());
    QCOMPARE(readAll(m_path), settings);
    QCOMPARE(readAll(m_pc->computer->file()), computer);

    // The menu of the notification area applies the entry chosen there.
    Q_EMIT m_tray->menu->aboutToShow();
    QAction *merkez = nullptr;
    for (QAction *a : m_tray->menu->actions())
        merkez = a->text() == u("Merkez") ? a : merkez;
    QVERIFY(merkez);
    bool chosen = false;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<frmSelectNIC *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        chosen = true;
        dialog->chkAllNIC->setChecked(true);
        dialog->cmdSave->click();
    });
    merkez->trigger();
    QVERIFY(chosen);
    QCOMPARE(m_pc->stored()[0].address, u("10.0.0.6"));
    QVERIFY(readAll(m_path).contains("ProfileName=Merkez"));
}

void tst_frmMain::profileCheckedBeforeAnyAdapter() {
    writeSettings("[Profiles]\nBozuk=10.0.0.300.255.255.255.0.10.0.0.1.8.8.8.8....\n"
                  "Dis=10.0.0.5.255.255.255.0.10.0.1.1.8.8.8.8....\n" +
                  QByteArray(300, 'U') + "=10.0.0.7.255.255.255.0.10.0.0.1.8.8.8.8....\nKa" +
                  QByteArray(1, '\0') + "sa=10.0.0.8.255.255.255.0.10.0.0.1.8.8.8.8....\n");
    QVERIFY(load());
    const QByteArray computer = readAll(m_pc->computer->file());
    m_window->lstProfiles->setCurrentRow(0); // Bozuk: cannot work
    m_window->cmdProfileActivate->click();
    QCOMPARE(m_prompts.messages.size(), 1);
    QVERIFY(m_prompts.messages[0].contains(u("ZELVİ IP")));
    QVERIFY(m_prompts.messages[0].contains(u("10.0.0.300")));

    // Names from a hand-edited file that the editor refuses: one too long to be read back as
    // the current profile, one with a NUL.
    for (const QString &bad : {QString(300, u'U'), u("Ka") + QChar(0) + u("sa")}) {
        const QList<QListWidgetItem *> items =
            m_window->lstProfiles->findItems(bad.left(2), Qt::MatchStartsWith);
        QCOMPARE(items.size(), 1);
        m_window->lstProfiles->setCurrentItem(items[0]);
        m_prompts.messages.clear();
        m_window->cmdProfileActivate->click();
        QCOMPARE(m_prompts.messages.size(), 1);
        QVERIFY2(m_prompts.messages[0].contains(u("ağ ayarlarına dokunulmadı")),
                 qPrintable(m_prompts.messages[0]));
        QCOMPARE(readAll(m_pc->computer->file()), computer);
        QVERIFY(!readAll(m_path).contains("ProfileName"));
    }

    m_window->lstProfiles->setCurrentRow(1); // Dis: the gateway is outside the subnet
    m_prompts.answer = false;
    m_window->cmdProfileActivate->click();
    QCOMPARE(m_prompts.questions.size(), 1);
    QVERIFY(m_prompts.questions[0].contains(u("10.0.1.1")));
    QCOMPARE(m_prompts.presets[0], UserPrompts::Default::No);
    QVERIFY(!QApplication::activeModalWidget()); // no adapter dialog
    QCOMPARE(readAll(m_pc->computer->file()), computer);
    QCOMPARE(m_window->Timer1Interval(), 0);

    m_prompts.answer = true; // the user means it
    apply([](frmSelectNIC &d) {
        d.chkAllNIC->setChecked(true);
        d.cmdSave->click();
    });
    QCOMPARE(m_pc->stored()[0].gateway, u("10.0.1.1"));
}

void tst_frmMain::dhcpForgetsCurrentProfile() {
    writeSettings("[Profiles]\nOfis=1.2.3.4\n[CurrentProfile]\nProfileName=Ofis\n");
    QVERIFY(load());
    QVERIFY(m_window->cmdProfileActivate->isEnabled());
    QTest::mouseClick(m_window->cmdEnableDHCP, Qt::LeftButton);
    QVERIFY(m_prompts.messages.isEmpty());
    QVERIFY(readAll(m_path).contains("[CurrentProfile]\nProfileName=\n"));
    QCOMPARE(m_window->windowTitle(), u("Nuvar_POS_Zelvi_IP"));
    QVERIFY(m_window->lstProfiles->selectedItems().isEmpty());
    QVERIFY(!m_window->cmdProfileActivate->isEnabled());
    QCOMPARE(m_window->Timer1Interval(), 10000);
    for (const auto &a : m_pc->stored())
        QVERIFY(a.dhcp);

    // A computer without adapters: no message, the profile is still forgotten.
    m_pc = std::make_unique<SimulatedFixture>(QStringList{});
    writeSettings("[Profiles]\nOfis=1.2.3.4\n[CurrentProfile]\nProfileName=Ofis\n");
    QVERIFY(load());
    m_window->cmdEnableDHCP_Click();
    QVERIFY(m_prompts.messages.isEmpty());
    QVERIFY(readAll(m_path).contains("ProfileName=\n"));
}

void tst_frmMain::dhcpFailuresAreReported() {
    writeSettings("[CurrentProfile]\nProfileName=Ofis\n");
    m_pc->refuse(0, u("EnableDHCP"), 91);
    QVERIFY(load());
    m_window->cmdEnableDHCP_Click();
    QCOMPARE(m_prompts.messages.size(), 1);
    QVERIFY(m_prompts.messages[0].contains(u("Ethernet Adapter")));
    QVERIFY(m_prompts.messages[0].contains(u("yönetici")));
    QVERIFY(readAll(m_path).contains("ProfileName=\n")); // the other steps ran

    writeSettings("[CurrentProfile]\nProfileName=Ofis\n");
    m_pc->computer->failConnect = WmiError{-2147023174, u("hizmet yok")};
    m_pc->store();
    m_window->setTimer1Interval(0);
    m_window->cmdEnableDHCP_Click();
    QCOMPARE(m_prompts.messages.size(), 2);
    QVERIFY(m_prompts.messages[1].contains(u("hizmet yok")));
    QVERIFY(readAll(m_path).contains("ProfileName=Ofis")); // nothing else changed
    QCOMPARE(m_window->Timer1Interval(), 0);
}

void tst_frmMain::refreshShowsTheAnswer_data() {
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<QString>("shown");
    QTest::newRow("address") << CannedHttpServer::http(200, "85.105.1.2") << false
                             << u("85.105.1.2");
    QTest::newRow("five characters") << CannedHttpServer::http(200, "1.2.3") << false << u("1.2.3");
    QTest::newRow("HTML as its text")
        << CannedHttpServer::http(200, "<b>1.2.3.4</b>") << false << u("<b>1.2.3.4</b>");
    QTest::newRow("empty") << CannedHttpServer::http(200, "") << false << u("İNTERNET YOK");
    QTest::newRow("four characters")
        << CannedHttpServer::http(200, "1.2.") << false << u("İNTERNET YOK");
    QTest::newRow("time-out") << QByteArray() << true << u("İNTERNET YOK");
    QTest::newRow("error page: the internet is there")
        << CannedHttpServer::http(503, "<h1>Service Unavailable</h1>") << false
        << u("SERVİS HATASI");
}

void tst_frmMain::refreshShowsTheAnswer() {
    QFETCH(QByteArray, response);
    QFETCH(bool, silent);
    QFETCH(QString, shown);
    CannedHttpServer server;
    server.response = response;
    server.silent = silent;
    m_pc->computer->adapters[0].dhcp = false;
    m_pc->computer->adapters[0].address = u("10.0.0.5");
    m_pc->store();
    writeSettings("[Profiles]\nOfis=1\n[CurrentProfile]\nProfileName=Ofis\n[Links]\n"
                  "ExternalAddressUrl=" +
                  server.url().toUtf8() + "\n");
    QVERIFY(load());
    QCOMPARE(m_window->icip->text(), u("10.0.0.5"));
    QCOMPARE(m_window->disip->text(), shown);
    QCOMPARE(m_window->disip->textFormat(), Qt::PlainText);
    const bool fellBack = shown == u("İNTERNET YOK");
    if (shown == u("SERVİS HATASI"))
        QVERIFY(m_window->disip->toolTip().contains(u("503")));
    QCOMPARE(m_pc->stored()[0].dhcp, fellBack);
    QCOMPARE(readAll(m_path).contains("ProfileName=Ofis"), !fellBack);
    QCOMPARE(m_window->Timer1Interval(), fellBack ? 10000 : 0);
    QVERIFY(readAll(m_path).contains("[Links]")); // read, never written
}

void tst_frmMain::refreshRunsOnLoadButtonAndTick() {
    CannedHttpServer server;
    writeSettings("[Links]\nExternalAddressUrl=" + server.url().toUtf8() + "\n");
    QVERIFY(load());
    QCOMPARE(server.requests, 1);
    QTest::mouseClick(m_window->ipnedir, Qt::LeftButton);
    QCOMPARE(server.requests, 2);
    m_window->setTimer1Interval(20);
    QTRY_COMPARE(server.requests, 3);
    QCOMPARE(m_window->Timer1Interval(), 0);
    QTest::qWait(100);
    QCOMPARE(server.requests, 3);
}

void tst_frmMain::noServiceSwitchesToDhcpOnce() {
    // A port nobody listens on: refused.
    quint16 port = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    writeSettings("[Links]\nExternalAddressUrl=http://127.0.0.1:" + QByteArray::number(port) +
                  "/ip.php\n");
    QVERIFY(load());
    QCOMPARE(m_window->disip->text(), u("İNTERNET YOK"));
    QCOMPARE(m_window->Timer1Interval(), 10000);

    // The tick refreshes once more, switches again, and leaves the timer stopped.
    m_pc->computer->adapters[1].dhcp = false;
    m_pc->store();
    m_window->Timer1_Timer();
    QVERIFY(m_pc->stored()[1].dhcp);
    QCOMPARE(m_window->Timer1Interval(), 0);
    QTest::qWait(50);
    QCOMPARE(m_window->Timer1Interval(), 0);

    // Another run's change on trial (a script's, root's): the fallback leaves it to that run's
    // own check, and says why.
    m_pc->computer->adapters[1].dhcp = false;
    QProcess other;
    QVERIFY(m_pc->pendingOfOtherRun(other, 60));
    SimulatedFixture::recordOfOtherRun(other, m_path, QString());
    m_prompts.messages.clear();
    m_window->Timer1_Timer();
    QVERIFY(!m_pc->stored()[1].dhcp);
    QVERIFY2(m_prompts.messages.join(u("\n")).contains(u("DHCP) geçilmedi")),
             qPrintable(m_prompts.messages.join(u("\n"))));
    other.kill();
    other.waitForFinished();
}

void tst_frmMain::withoutConfiguredServiceNothingSwitches() {
    m_pc->computer->adapters[0].dhcp = false;
    m_pc->store();
    writeSettings("[CurrentProfile]\nProfileName=Ofis\n");
    QVERIFY(load());
    QCOMPARE(m_window->disip->text(), u("SERVİS YOK"));
    QVERIFY(
        m_window->disip->toolTip().contains(u("--set-link ExternalAddressUrl"))); // how to set it
    QVERIFY(!m_pc->stored()[0].dhcp);
    QCOMPARE(m_window->Timer1Interval(), 0);
    QVERIFY(readAll(m_path).contains("ProfileName=Ofis"));
}

void tst_frmMain::closingEndsTheCheckAtOnce() {
    CannedHttpServer server;
    server.trickleMs = 100; // a whole answer would take ten seconds and more
    m_httpTimeoutMs = 60000;
    writeSettings("[CurrentProfile]\nProfileName=Ofis\n[Links]\nExternalAddressUrl=" +
                  server.url().toUtf8() + "\n");
    construct();
    bool unloaded = false;
    connect(m_window.get(), &frmMain::unloaded, this, [&] { unloaded = true; });
    QTimer::singleShot(300, m_window.get(), [this] { m_window->close(); });
    // Closed while the start's check waits: the program ends instead of showing the window.
    QVERIFY(!m_window->Form_Load(CommandLine::parse({})));
    QVERIFY(unloaded);
    QVERIFY(m_window->isUnloaded());
    QVERIFY(!m_window->isVisible());
    QTRY_COMPARE(server.abandoned, 1);                     // it did not wait for the trickle to end
    QVERIFY(readAll(m_path).contains("ProfileName=Ofis")); // closing is no reason to switch
}

void tst_frmMain::webPageButtons() {
    QVERIFY(load());
    QTest::mouseClick(m_window->Command1, Qt::LeftButton);
    QTest::mouseClick(m_window->Command2, Qt::LeftButton);
    QTest::mouseClick(m_window->Command1, Qt::LeftButton);
    QCOMPARE(m_opened.size(), 3);
    QCOMPARE(m_opened[0].scheme(), u("http"));
    QVERIFY(m_opened[0].host().startsWith(u("192.168.")));
    QCOMPARE(m_opened[1].scheme(), u("https"));
    QCOMPARE(m_opened[1].path(), u("/"));
    QVERIFY(m_prompts.messages.isEmpty());

    m_openResult = false;
    QTest::mouseClick(m_window->Command2, Qt::LeftButton);
    QCOMPARE(m_prompts.messages.size(), 1);
}

void tst_frmMain::layout_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("text");
    // Twips divided by 15.
    QTest::newRow("ipnedir") << u("ipnedir") << QRect(24, 240, 363, 25) << u("BİLLGİSAYAR IPLERİ");
    QTest::newRow("Command2") << u("Command2") << QRect(486, 222, 83, 43) << u("PORT TESTİ");
    QTest::newRow("Command1") << u("Command1") << QRect(400, 222, 79, 43) << u("MODEME GİT");
    QTest::newRow("cmdEnableDHCP")
        << u("cmdEnableDHCP") << QRect(486, 130, 83, 86) << u("OTOMATİK IP UYGULA");
    QTest::newRow("cmdProfileActivate")
        << u("cmdProfileActivate") << QRect(400, 130, 79, 86) << u("ZELVİ IP UYGULA");
    QTest::newRow("cmdProfileEdit")
        << u("cmdProfileEdit") << QRect(113, 210, 89, 25) << u("DÜZENLE");
    QTest::newRow("cmdProfileDelete")
        << u("cmdProfileDelete") << QRect(205, 210, 89, 25) << u("SİL");
    QTest::newRow("cmdProfileClone")
        << u("cmdProfileClone") << QRect(298, 210, 89, 25) << u(" KOPYALA");
    QTest::newRow("cmdProfileCreateNew")
        << u("cmdProfileCreateNew") << QRect(23, 210, 89, 25) << u("EKLE");
    QTest::newRow("lstProfiles") << u("lstProfiles") << QRect(20, 72, 363, 129) << QString();
    QTest::newRow("Image1") << u("Image1") << QRect(400, 72, 169, 51) << QString();
    QTest::newRow("Label4") << u("Label4") << QRect(24, 298, 209, 33) << u("MODEM IP");
    QTest::newRow("Label3") << u("Label3") << QRect(24, 266, 209, 33) << u("BİLGİSAYAR IP");
    // The address lines reach to the buttons' column: 255.255.255.255 fits (tst_textfit).
    QTest::newRow("disip") << u("disip") << QRect(204, 298, 192, 35) << u("888.888.888.888");
    QTest::newRow("icip") << u("icip") << QRect(204, 266, 192, 33) << u("888.888.888.888");
    QTest::newRow("Label2") << u("Label2") << QRect(26, 10, 533, 39)
                            << u("NUVAR POS ZELVİ IP PROGRAMI");
    // Wider than at first, over the list: "SELECT ZELVİ IP" fits (tst_textfit).
    QTest::newRow("Label1") << u("Label1") << QRect(20, 53, 160, 19) << u("ZELVİ IP SEÇ");
}

void tst_frmMain::layout() {
    QFETCH(QString, control);
    QFETCH(QRect, place);
    QFETCH(QString, text);
    construct();
    QCOMPARE(m_window->size(), QSize(580, 340));
    QWidget *w = m_window->findChild<QWidget *>(control);
    QVERIFY2(w, qPrintable(control));
    QCOMPARE(w->geometry(), place);
    if (auto *b = qobject_cast<QPushButton *>(w))
        QCOMPARE(b->text(), text);
    if (auto *l = qobject_cast<QLabel *>(w); l && !text.isEmpty()) {
        QCOMPARE(l->text(), text);
        QCOMPARE(l->textFormat(), Qt::PlainText);
        QVERIFY(l->font().bold());
    }
    // The logo is carried as the window shows it: nothing to scale at the first paint.
    if (auto *l = qobject_cast<QLabel *>(w); l && !l->pixmap().isNull())
        QCOMPARE(l->pixmap().size(), place.size());
}

void tst_frmMain::changeOnTrialIsJudgedByTheCheck_data() {
    QTest::addColumn<QString>("service"); // "answers", "refused" or none configured
    QTest::addColumn<bool>("onTrial");
    QTest::addColumn<bool>("dhcpAfter");
    QTest::addColumn<bool>("unkeepable"); // the computer's file cannot be written at the check
    QTest::newRow("internet: kept") << u("answers") << true << false << false;
    QTest::newRow("no internet: kept, then DHCP") << u("refused") << true << true << false;
    QTest::newRow("no service, the gateway answers: kept") << QString() << true << false << false;
    QTest::newRow("no service, the gateway silent: put back as it was")
        << u("silent gateway") << true << true << false;
    QTest::newRow("internet, the keep fails: said, counted down, named back once put back")
        << u("answers") << true << false << true;
}

void tst_frmMain::changeOnTrialIsJudgedByTheCheck() {
    QFETCH(QString, service);
    QFETCH(bool, onTrial);
    CannedHttpServer server;
    QByteArray url = server.url().toUtf8();
    if (service == u("refused")) {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        url = "http://127.0.0.1:" + QByteArray::number(probe.serverPort()) + "/ip.php";
    }
    const bool byGateway = service.isEmpty() || service == u("silent gateway");
    if (service == u("silent gateway")) {
        m_pc->computer->adapters[0].silent = QStringList{u("10.0.0.1")};
        m_pc->store();
    }
    writeSettings("[Profiles]\nOfis=10.0.0.5.255.255.255.0.10.0.0.1.8.8.8.8....\n" +
                  (byGateway ? QByteArray() : "[Links]\nExternalAddressUrl=" + url + "\n"));
    m_pc->stopClock();
    QVERIFY(load());
    m_window->lstProfiles->setCurrentRow(0);
    apply([](frmSelectNIC &d) {
        d.lstNIC->setCurrentRow(0);
        d.cmdSave->click();
    });
    QVERIFY2(m_prompts.messages.isEmpty(), qPrintable(m_prompts.messages.join(u("\n"))));
    // With the check's own deadline of half a second: 10 + 0 + 10 seconds.
    QCOMPARE(m_window->windowTitle(), onTrial ? u("Nuvar_POS_Zelvi_IP (Ofis) [deneniyor, 20 sn]")
                                              : u("Nuvar_POS_Zelvi_IP (Ofis)"));
    QCOMPARE(m_pc->computer->trialSecondsLeft(), onTrial ? 20 : -1);

    QFETCH(bool, unkeepable);
    const QString pcFile = m_pc->computer->file();
    if (unkeepable) {
        QVERIFY(QFile::rename(pcFile, pcFile + u(".away")) && QDir().mkdir(pcFile));
        m_prompts.onMessage = [&] { // the file back while the user reads of the failed keep
            QVERIFY(QDir().rmdir(pcFile) && QFile::rename(pcFile + u(".away"), pcFile));
        };
        m_window->Timer1_Timer();
        QVERIFY2(m_prompts.messages.join(u("\n")).contains(u("kalıcı yapılamadı")),
                 qPrintable(m_prompts.messages.join(u("\n"))));
        QVERIFY(m_window->windowTitle().contains(u("deneniyor"))); // still on trial
        const qint64 later = m_pc->computer->now() + 30000;
        m_pc->computer->now = [later] { return later; };
        QTRY_VERIFY_WITH_TIMEOUT(m_prompts.messages.last().contains(u("Değişiklik kalmadı")),
                                 10000);                        // at the window's next second
        QVERIFY(!readAll(m_path).contains("ProfileName=Ofis")); // the settings follow
        QVERIFY(!QFile::exists(m_path + u(".trial")));
        return;
    }
    m_window->Timer1_Timer();
    if (service == u("silent gateway")) {
        QVERIFY2(m_prompts.messages.join(u("\n")).contains(u("MODEM IP 10.0.0.1, Ethernet Adapter "
                                                             "üzerinde cevap vermedi")),
                 qPrintable(m_prompts.messages.join(u("\n"))));
        QVERIFY(!readAll(m_path).contains("ProfileName=Ofis"));
    }
    QCOMPARE(m_pc->computer->trialSecondsLeft(), -1); // nothing left to put back
    QVERIFY(!readAll(m_path).contains("ProfileBeforeTrial"));
    QFETCH(bool, dhcpAfter);
    QCOMPARE(m_pc->stored()[0].dhcp, dhcpAfter);
    QVERIFY(!m_window->windowTitle().contains(u("deneniyor")));
}

void tst_frmMain::startNamesTheProfileTheAdaptersAreOn_data() {
    QTest::addColumn<bool>("stillOnTrial");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("caption");
    // Still on trial: the start's check judges it (without a service, nothing to judge by:
    // kept at once).
    QTest::newRow("still on trial") << true << QByteArray("Eski") << u("Nuvar_POS_Zelvi_IP (Yeni)");
    QTest::newRow("put back meanwhile")
        << false << QByteArray("Eski") << u("Nuvar_POS_Zelvi_IP (Eski)");
    QTest::newRow("put back to DHCP") << false << QByteArray() << u("Nuvar_POS_Zelvi_IP");
}

void tst_frmMain::startNamesTheProfileTheAdaptersAreOn() {
    // An earlier run applied Yeni over Eski (or over DHCP) and ended before its check.
    QFETCH(bool, stillOnTrial);
    if (stillOnTrial)
        QCOMPARE(m_pc->computer->startTrial(30).kind, AdapterBackend::TrialStart::Kind::Made);
    QFETCH(QByteArray, before);
    writeSettings("[Profiles]\nEski=1.2.3.4\nYeni=1.2.3.5\n[CurrentProfile]\nProfileName=Yeni\n"
                  "ProfileBeforeTrial=" +
                  before + "\n");
    QVERIFY(load());
    QTEST(m_window->windowTitle(), "caption");
    QVERIFY(!readAll(m_path).contains("ProfileBeforeTrial"));
    QCOMPARE(m_pc->computer->trialSecondsLeft(), -1);
}

// A change from afar begun while the window is open: shown counting down as soon as its record
// is written, and left to the administrator's --confirm: the window's check keeps nothing.
void tst_frmMain::othersTrialIsShownNotJudged() {
    writeSettings("[Profiles]\nEski=1.2.3.4\nYeni=1.2.3.5\n[CurrentProfile]\nProfileName=Eski\n");
    QVERIFY(load());
    // Another file of the folder written: no news, and the settings file is not read again
    // (a file of a million profiles takes a second to read).
    int reads = IniFileStore::readCount(m_path);
    writeAll(m_dir.filePath(u("baska.txt")), "x");
    QTest::qWait(200);
    QCOMPARE(IniFileStore::readCount(m_path), reads);
    QProcess other; // the run that made the change, still going
    QVERIFY(m_pc->pendingOfOtherRun(other, 60));
    writeAll(m_path + u(".trial"),
             R"({"profileBefore": "Eski", "remote": {"state": "applied", "profile": "Yeni"}})");
    QTRY_VERIFY(m_window->windowTitle().contains(u("deneniyor")));
    // Counted down each second without reading the unchanged settings file again.
    reads = IniFileStore::readCount(m_path);
    const QString title = m_window->windowTitle();
    QTRY_VERIFY(m_window->windowTitle() != title);
    QCOMPARE(IniFileStore::readCount(m_path), reads);
    m_window->Timer1_Timer();
    QVERIFY(m_pc->computer->trialSecondsLeft() > 0); // not kept by the window's check
    other.kill();
    other.waitForFinished();
}

QTEST_MAIN(tst_frmMain)
// Two long names that differ only at their ends: the list, the tray menu and the adapter dialog
// cut them in the middle (both ends shown, no sideways scrolling) and show them whole when
// pointed at; the editor shows a long name from its start.
void tst_frmMain::longNamesStayTellable() {
    const QString stem = u("Şube Merkez Kasa Bilgisayarı Arka Oda Yedek Bağlantı Profili ");
    const QString adapter = u("Intel(R) Ethernet Connection (7) I219-LM Gigabit Network Adapter, "
                              "Virtual Machine Bridge Miniport, Hyper-V Extensible Switch, "
                              "Packet Scheduler Filter Driver ");
    writeSettings((u("[Profiles]\n") + stem + u("#1=10.0.0.5.255.0.0.0.10.0.0.1.10.0.0.1....\n") +
                   stem + u("#2=10.0.0.6.255.0.0.0.10.0.0.1.10.0.0.1....\n"))
                      .toUtf8());
    m_pc = std::make_unique<SimulatedFixture>(
        QStringList{u("[00000002] ") + adapter + u("#1"), u("[00000003] ") + adapter + u("#2")});
    QVERIFY(load());
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    const auto tellable = [](QListWidget *list, const QStringList &whole) {
        QCOMPARE(list->textElideMode(), Qt::ElideMiddle);
        QCOMPARE(list->count(), whole.size());
        for (int row = 0; row < list->count(); ++row) {
            const QRect entry = list->visualItemRect(list->item(row));
            QVERIFY2(entry.width() <= list->viewport()->width(), qPrintable(whole[row]));
            QToolTip::hideText();
            QHelpEvent point(QEvent::ToolTip, entry.center(),
                             list->viewport()->mapToGlobal(entry.center()));
            QApplication::sendEvent(list->viewport(), &point);
            QCOMPARE(QToolTip::text(), whole[row]);
        }
    };
    tellable(m_window->lstProfiles, {stem + u("#1"), stem + u("#2")});

    Q_EMIT m_tray->menu->aboutToShow();
    QStringList shown;
    for (QAction *a : m_tray->menu->actions()) {
        if (a->toolTip().startsWith(stem)) {
            QVERIFY(a->text().endsWith(a->toolTip().right(2)));
            QVERIFY(m_tray->menu->fontMetrics().horizontalAdvance(a->text()) <=
                    m_window->lstProfiles->width());
            shown.append(a->text());
        }
    }
    QCOMPARE(shown.size(), 2);

    m_window->lstProfiles->setCurrentRow(0);
    withEditor([&] { m_window->cmdProfileEdit->click(); },
               [&](frmNewSettings &editor) {
                   QCOMPARE(editor.txtProfileName->text(), stem + u("#1"));
                   QCOMPARE(editor.txtProfileName->cursorPosition(), 0);
               });
    apply([&](frmSelectNIC &dialog) {
        dialog.show();
        dialog.chkAllNIC->setChecked(false);
        tellable(dialog.lstNIC, {adapter + u("#1"), adapter + u("#2")});
        dialog.cmdCancel->click();
    });
}

#include "tst_frmmain.moc"
