#include "app/frmMain.h"

#include "adapters/AdapterCommands.h"
#include "adapters/ApplyReport.h"
#include "adapters/ProfileCheck.h"
#include "app/ProfileListWidget.h"
#include "app/TrayIcon.h"
#include "app/modTrayIcon.h"
#include "core/Links.h"
#include "core/MainWindowRules.h"
#include "core/RemoteTrial.h"
#include "dialogs/frmSelectNIC.h"
#include "discovery/ExternalAddress.h"
#include "discovery/ipbul.h"
#include "settings/IniError.h"
#include "settings/Text.h"
#include "settings/UserPrompts.h"
#include "settings/clsIni.h"
#include "settings/modNetProfiles.h"
#include "widgets/modMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

using namespace modNetProfiles;

QString frmMain::errorText(const IniError &error) {
    return Text::tr("Hata %1 (%2)").arg(error.number).arg(error.description);
}

frmMain::frmMain(const Services &services, QWidget *parent)
    : QWidget(parent), m_services(services), m_listTarget(nullptr) {
    if (!m_services.localAddress)
        m_services.localAddress = [](UserPrompts &prompts) {
            return ipbul::GetLocalAddress(prompts);
        };
    setupUi();
    m_listTarget = ProfileListWidget(lstProfiles);
    setTrayIcon(m_services.tray);

    connect(lstProfiles, &QListWidget::itemSelectionChanged, this, [this] {
        if (selectedProfile())
            lstProfiles_Click();
    });
    connect(lstProfiles, &QListWidget::itemClicked, this, &frmMain::lstProfiles_Click);
    connect(lstProfiles, &QListWidget::itemDoubleClicked, cmdProfileEdit, &QPushButton::click);
    connect(cmdProfileCreateNew, &QPushButton::clicked, this, &frmMain::cmdProfileCreateNew_Click);
    connect(cmdProfileEdit, &QPushButton::clicked, this, &frmMain::cmdProfileEdit_Click);
    connect(cmdProfileClone, &QPushButton::clicked, this, &frmMain::cmdProfileClone_Click);
    connect(cmdProfileDelete, &QPushButton::clicked, this, &frmMain::cmdProfileDelete_Click);
    connect(cmdProfileActivate, &QPushButton::clicked, this, &frmMain::cmdProfileActivate_Click);
    connect(cmdEnableDHCP, &QPushButton::clicked, this, &frmMain::cmdEnableDHCP_Click);
    connect(ipnedir, &QPushButton::clicked, this, &frmMain::ipnedir_Click);
    connect(Command1, &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmMain::Command2_Click);
    connect(Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
    m_trialTicker = new QTimer(this);
    m_trialTicker->setInterval(1000);
    connect(m_trialTicker, &QTimer::timeout, this, &frmMain::showTrial);
    connect(m_services.tray, &TrayIcon::doubleClicked, this, &frmMain::trayIcon_DoubleClick);
    connect(trayMenu, &QMenu::aboutToShow, this, &frmMain::fillTrayMenu);
    m_services.tray->setContextMenu(trayMenu);
}

frmMain::~frmMain() {
    Form_Unload();
}

// ---- lifecycle -----------------------------------------------------------------------------

bool frmMain::Form_Load(const CommandLine &commandLine) {
    SettingsIni = std::make_unique<clsIni>();
    if (!SettingsIni->setFileName(m_services.settingsPath, m_services.settingsPathRule)) {
        m_services.prompts->message(Text::tr("Ayar dosyası açılamadı, program kapanacak.\n%1")
                                        .arg(errorText(SettingsIni->lastError())),
                                    UserPrompts::Icon::Stop);
        return false;
    }
    followTrials();
    RefreshProfileList();
    watchSettingsFile();
    const QString current = currentProfile();
    if (!current.isEmpty())
        selectProfile(current);
    m_startHidden = commandLine.hideOnStartup;
    ipnedir_Click();
    // Closed while the address check ran: the program ends instead of showing the window.
    return !m_unloaded;
}

void frmMain::showAfterLoad() {
    if (m_startHidden && m_services.tray->isAvailable()) {
        hideInTray(); // never displayed: only the icon
        return;
    }
    if (m_startHidden)
        showMinimized(); // no notification area: a hidden window could not be reached
    else
        show();
}

void frmMain::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        centreOnScreen(this);
    }
    Form_Resize();
}

void frmMain::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void frmMain::Form_Resize() {
    // While hidden in the notification area the window comes back only by being shown; a
    // state change that the window system reports for the hidden window is no restore.
    if (TrayIconShown && !isVisible())
        return;
    if (isMinimized()) {
        if (m_services.tray->isAvailable()) {
            // After the state change has finished.
            QMetaObject::invokeMethod(this, &frmMain::hideInTray, Qt::QueuedConnection);
        }
        return;
    }
    refreshCaption();
    if (TrayIconShown)
        RemoveTrayIcon();
}

void frmMain::hideInTray() {
    if (!isMinimized() && isVisible())
        return; // restored in the meantime
    hide();
    m_services.tray->show(windowIcon(), trayToolTip());
    TrayIconShown = true;
}

void frmMain::closeEvent(QCloseEvent *event) {
    if (m_refreshing) {
        // Closed while the refresh waits for its answer: closed as soon as it has it.
        m_closeRequested = true;
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
    Q_EMIT unloaded();
}

void frmMain::Form_Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    Timer1->stop();
    // Closed by the user: what was applied stays, as it would without the trial.
    keepTrial();
    SettingsIni.reset();
    RemoveTrayIcon();
    QCoreApplication::processEvents();
}

void frmMain::setTimer1Interval(int milliseconds) {
    if (milliseconds <= 0) {
        Timer1->stop();
        Timer1->setInterval(0);
    } else {
        Timer1->start(milliseconds);
    }
}

int frmMain::Timer1Interval() const {
    return Timer1->isActive() ? Timer1->interval() : 0;
}

void frmMain::Timer1_Timer() {
    ipnedir_Click();
    setTimer1Interval(0);
}

QString frmMain::currentProfile() const {
    if (!SettingsIni)
        return {};
    // Asked every second of a trial: the file is read again only when it has changed.
    if (const FileStamp now = FileStamp::of(SettingsIni->FileName());
        !now.exists || now != m_currentRead) {
        m_current = SettingsIni->ReadString(CurrentProfileSection, ProfileNameKey, QString());
        m_currentRead = now;
    }
    return m_current;
}

// ---- applying a profile, automatic addressing ---------------------------------------------

void frmMain::refreshCaption() {
    QString trial;
    if (const int seconds = trialSecondsLeft(); seconds >= 0)
        trial = QStringLiteral(" [%1]").arg(MainWindowRules::trialText(seconds));
    setWindowTitle(MainWindowRules::caption(currentProfile()) + trial + m_services.captionNote);
    // A screen reader names the window by what it is; what the caption says is its description.
    setAccessibleDescription(windowTitle());
}

void frmMain::showAddress(QLabel *line, const QString &text) {
    line->setText(text);
    // The line is named by the label beside it; what it shows is its description.
    line->setAccessibleDescription(text);
}

void frmMain::cmdProfileActivate_Click() {
    const QListWidgetItem *item = selectedProfile();
    if (!item) {
        m_services.prompts->message(Text::tr("Önce listeden uygulanacak profili seçin."),
                                    UserPrompts::Icon::Information);
        return;
    }
    const QString listed = ProfileListWidget::nameOf(item);
    followSettingsFile(); // the profile as the file holds it now, not as it was listed
    item = selectedProfile();
    if (!item) {
        m_services.prompts->message(
            Text::tr("\"%1\" profili artık ayar dosyasında yok: başka bir pencere ya da komut "
                     "silmiş olabilir.\nListe yenilendi; ağ ayarlarına dokunulmadı.")
                .arg(listed),
            UserPrompts::Icon::Stop);
        return;
    }
    const QString name = ProfileListWidget::nameOf(item);
    if (const std::optional<QString> refused = ApplyReport::refusedNameText(name)) {
        m_services.prompts->message(*refused, UserPrompts::Icon::Stop);
        return;
    }
    const ProfileCheck::Result check = ProfileCheck::check(ProfileParts);
    if (!check.canApply()) {
        m_services.prompts->message(ApplyReport::refusedProfileText(name, *check.refusal),
                                    UserPrompts::Icon::Stop);
        return;
    }
    if (!check.doubts.isEmpty() &&
        !m_services.prompts->askYesNo(ProfileCheck::doubtQuestion(name, check.doubts),
                                      UserPrompts::Icon::Question, UserPrompts::Default::No))
        return;
    if (!ApplyProfile(name))
        return;

    if (SettingsIni->WriteString(CurrentProfileSection, ProfileNameKey, name) == 0)
        m_services.prompts->message(
            Text::tr("\"%1\" profili uygulandı, ancak ayar dosyasına etkin profil olarak "
                     "yazılamadı.\n%2")
                .arg(name, errorText(SettingsIni->lastError())),
            UserPrompts::Icon::Stop);
    refreshCaption();
    showAddress(icip, Text::tr("BEKLEYİNİZ"));
    showAddress(disip, Text::tr("BEKLEYİNİZ"));
    setTimer1Interval(10000);
    restartTrialClock();
}

bool frmMain::remoteTrialWaits() {
    if (!RemoteTrial::awaits(*SettingsIni, *m_services.backend))
        return false;
    m_services.prompts->message(RemoteTrial::busyText(*SettingsIni, *m_services.backend),
                                UserPrompts::Icon::Information);
    return true;
}

bool frmMain::claimTrial(const QString &lead) {
    const TrialCountdown::Claimed claimed =
        TrialCountdown::claim(*SettingsIni, *m_services.backend);
    if (!claimed.ok)
        m_services.prompts->message(lead.isEmpty() ? claimed.refusal : lead.arg(claimed.refusal),
                                    UserPrompts::Icon::Information);
    return claimed.ok;
}

bool frmMain::ApplyProfile(const QString &name) {
    if (remoteTrialWaits())
        return false;
    QString selection;
    {
        frmSelectNIC dialog(*m_services.backend, *m_services.prompts, this);
        dialog.exec();
        selection = dialog.SelectedAdapter();
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (!selection.trimmed().isEmpty()) {
        keepTrial(); // an earlier change still on trial is settled by this one
        if (!claimTrial()) {
            QApplication::restoreOverrideCursor();
            return false;
        }
    }
    const AdapterCommands::ApplyOutcome outcome =
        AdapterCommands::applyProfile(*m_services.backend, selection, ProfileParts, trialSeconds());
    if (!outcome.trial.pending)
        TrialCountdown::release(*SettingsIni);
    QApplication::restoreOverrideCursor();
    using Kind = AdapterCommands::ApplyOutcome::Kind;
    // Named while the change is still this window's trial (a run that starts meanwhile is
    // refused); the caller writes it again and says if it could not be written.
    if (outcome.kind == Kind::Applied)
        SettingsIni->WriteString(CurrentProfileSection, ProfileNameKey, name);
    m_byGateway.reset();
    if (outcome.kind == Kind::Applied)
        m_byGateway = ByGateway{selection, ProfileParts};
    startTrial(outcome.trial, AdapterCommands::connectionCheckFollows(outcome.kind));

    if (outcome.kind != Kind::Applied && outcome.adaptersChanged)
        forgetCurrentProfile(); // the adapters are no longer on the earlier profile
    if (!outcome.notices.isEmpty())
        m_services.prompts->message(outcome.notices.join(QLatin1Char('\n')),
                                    UserPrompts::Icon::Information);
    if (outcome.kind == Kind::Applied)
        return true;
    m_services.prompts->message(
        ApplyReport::outcomeText(outcome, name, selection, m_services.backend->name()),
        ApplyReport::isNotice(outcome.kind) ? UserPrompts::Icon::Information
                                            : UserPrompts::Icon::Stop);
    if (!AdapterCommands::connectionCheckFollows(outcome.kind))
        return false;
    if (outcome.kind == Kind::Refused) {
        showAddress(icip, Text::tr("BEKLEYİNİZ"));
        showAddress(disip, Text::tr("BEKLEYİNİZ"));
    }
    // The adapters changed all the same: the connection is checked as after an apply.
    setTimer1Interval(10000);
    restartTrialClock();
    return false;
}

void frmMain::forgetCurrentProfile() {
    if (currentProfile().isEmpty())
        return;
    if (SettingsIni->WriteString(CurrentProfileSection, ProfileNameKey, QString()) == 0)
        m_services.prompts->message(Text::tr("Etkin profil ayar dosyasından silinemedi.\n%1")
                                        .arg(errorText(SettingsIni->lastError())),
                                    UserPrompts::Icon::Stop);
    refreshCaption();
}

void frmMain::cmdEnableDHCP_Click() {
    if (remoteTrialWaits())
        return;
    switchToDhcp(true);
}

void frmMain::switchToDhcp(bool onTrial) {
    keepTrial();
    // Never over another run's or program's change on trial, not even as the fallback.
    if (!claimTrial(onTrial ? QString()
                            : Text::tr("İnternet bağlantısı yok, ancak otomatik IP'ye (DHCP) "
                                       "geçilmedi: %1")))
        return;
    const AdapterCommands::DhcpReset reset =
        AdapterCommands::ResetAdaptersToDHCP(*m_services.backend, trialSeconds());
    if (!reset.trial.pending)
        TrialCountdown::release(*SettingsIni);
    m_byGateway.reset(); // automatic IP has no gateway of the profile's to judge by
    if (onTrial)
        startTrial(reset.trial, !reset.failed);
    // The fallback is kept at once, once the settings say so (while still on trial: a run
    // that starts meanwhile is refused).
    const auto keepFallback = [&] {
        if (!onTrial && reset.trial.pending)
            reportKept(TrialCountdown::keep(*SettingsIni, *m_services.backend));
    };
    if (reset.failed) {
        keepFallback();
        m_services.prompts->message(ApplyReport::dhcpFailedText(reset, m_services.backend->name()),
                                    UserPrompts::Icon::Stop);
        return;
    }
    const bool written =
        SettingsIni->WriteString(CurrentProfileSection, ProfileNameKey, QString()) != 0;
    keepFallback();
    refreshCaption();
    lstProfiles->setCurrentItem(nullptr);
    lstProfiles->clearSelection();
    cmdProfileActivate->setEnabled(false);
    setTimer1Interval(10000);
    if (!reset.refusals.isEmpty())
        m_services.prompts->message(ApplyReport::dhcpRefusedText(reset), UserPrompts::Icon::Stop);
    if (!written)
        m_services.prompts->message(Text::tr("Etkin profil ayar dosyasından silinemedi.\n%1")
                                        .arg(errorText(SettingsIni->lastError())),
                                    UserPrompts::Icon::Stop);
    restartTrialClock();
}

void frmMain::ipnedir_Click() {
    if (m_refreshing)
        return; // the refresh under way answers for this one too
    m_refreshing = true;
    showAddress(icip, m_services.localAddress(*m_services.prompts));
    const QString url = Links::externalAddressUrl(*SettingsIni);
    disip->setToolTip(QString());
    // Only a change on trial before this check began is judged by it: the wait for the answer
    // lets the user start another one meanwhile.
    const bool judging = m_trial->ours();
    if (url.isEmpty()) {
        // No address service configured: an apply is judged by its gateway, nothing else.
        showAddress(disip, Text::tr("SERVİS YOK"));
        disip->setToolTip(MainWindowRules::noServiceHelp());
        if (judging && m_byGateway)
            judgeByGateway();
    } else {
        // A close request ends the wait at once.
        const ExternalAddress::Answer answer = ExternalAddress::post(
            QUrl(url), QByteArray(), m_services.httpTimeoutMs, [this] { return m_closeRequested; });
        const ExternalAddress::Outcome outcome = ExternalAddress::outcome(answer);
        using Kind = ExternalAddress::Outcome::Kind;
        if (outcome.kind == Kind::Address) {
            showAddress(disip, outcome.text);
        } else if (outcome.kind == Kind::ServiceError) {
            // The service answered: the internet is there, only the address is not.
            showAddress(disip, Text::tr("SERVİS HATASI"));
            disip->setToolTip(ExternalAddress::errorHelp(answer, url));
        } else {
            showAddress(disip, Text::tr("İNTERNET YOK"));
            // A change from afar waits for its own confirmation, or for its time to end.
            if (!m_closeRequested && !RemoteTrial::awaits(*SettingsIni, *m_services.backend))
                switchToDhcp(false); // keeps the trial first: the fallback is the safe state
        }
    }
    if (judging)
        keepTrial();
    if (TrayIconShown)
        m_services.tray->setToolTip(trayToolTip());
    m_refreshing = false;
    if (m_closeRequested)
        close();
}

// ---- web pages -------------------------------------------------------------------------------

void frmMain::Command1_Click() {
    const QString url = Links::routerUrl(*SettingsIni);
    if (!m_services.openUrl(QUrl(url)))
        m_services.prompts->message(
            Text::tr("Modem sayfası açılamadı: %1\nVarsayılan web tarayıcısı başlatılamadı.")
                .arg(url),
            UserPrompts::Icon::Stop);
}

void frmMain::Command2_Click() {
    const QString url = Links::portTestUrl(*SettingsIni);
    if (!m_services.openUrl(QUrl(url)))
        m_services.prompts->message(
            Text::tr("Port testi sayfası açılamadı: %1\nVarsayılan web tarayıcısı "
                     "başlatılamadı.")
                .arg(url),
            UserPrompts::Icon::Stop);
}

// ---- the notification-area icon -----------------------------------------------------------

void frmMain::trayIcon_DoubleClick() {
    RestoreFromTray(this);
    RemoveTrayIcon();
}
