#pragma once

#include "adapters/AdapterCommands.h"
#include "app/ProfileListWidget.h"
#include "core/CommandLine.h"
#include "core/TrialCountdown.h"
#include "settings/FileStamp.h"
#include "settings/clsIni.h"

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class AdapterBackend;
class QFileSystemWatcher;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;
class QTimer;
class QUrl;
class TrayIcon;
class UserPrompts;

// The main window: the profile list and its commands, the apply and DHCP buttons, the two
// address lines, the web-page buttons, and the notification-area icon while it is hidden.
class frmMain : public QWidget {
    Q_OBJECT

public:
    // What the window works with; tests hand in stand-ins.
    struct Services {
        QString settingsPath;
        // The path beside the program is completed as the settings store does; one that the
        // user gave is taken exactly.
        clsIni::PathRule settingsPathRule = clsIni::PathRule::Complete;
        UserPrompts *prompts = nullptr;
        TrayIcon *tray = nullptr;
        std::function<bool(const QUrl &)> openUrl; // opens a page in the browser, no waiting
        AdapterBackend *backend = nullptr;         // the computer's network configuration
        QString captionNote; // shown after the caption, e.g. that nothing real is changed
        std::function<QString(UserPrompts &)> localAddress; // default: the host name's address
        int httpTimeoutMs = 10000; // how long the address service may take to answer
    };

    explicit frmMain(const Services &services, QWidget *parent = nullptr);
    ~frmMain() override;

    // Runs the load, before the window is first shown. False when the program is to end:
    // the settings file cannot be created or opened (the user has been told), or the window
    // was closed while the load ran (isUnloaded()).
    bool Form_Load(const CommandLine &commandLine);
    // Shows the window for the first time, or leaves it hidden in the notification area
    // (minimised, when the desktop has no notification area) as the load decided.
    void showAfterLoad();

    // The one-shot refresh timer: an interval of 0 means stopped.
    void setTimer1Interval(int milliseconds);
    int Timer1Interval() const;

    QString currentProfile() const;
    // The profile the user selected, or nothing: the list's current row alone (which the
    // toolkit sets by itself when the list gets the focus) is no choice.
    QListWidgetItem *selectedProfile() const;
    // The window has unloaded (closed, or closed while it loaded).
    bool isUnloaded() const { return m_unloaded; }

    // Handlers, public so that the notification-area menu and tests can run them.
    void lstProfiles_Click();
    void cmdProfileCreateNew_Click();
    void cmdProfileEdit_Click();
    void cmdProfileClone_Click();
    void cmdProfileDelete_Click();
    void cmdProfileActivate_Click();
    void cmdEnableDHCP_Click();
    void ipnedir_Click();
    void Command1_Click();
    void Command2_Click();
    void Timer1_Timer();
    void ProfileEdit();
    void RefreshProfileList();

    // The change of the adapters on trial: seconds until the system puts them back by
    // itself unless a check of the connection keeps it, or -1.
    int trialSecondsLeft() const;

    // Controls.
    QTimer *Timer1 = nullptr;
    QPushButton *ipnedir = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *cmdEnableDHCP = nullptr;
    QPushButton *cmdProfileActivate = nullptr;
    QPushButton *cmdProfileEdit = nullptr;
    QPushButton *cmdProfileDelete = nullptr;
    QPushButton *cmdProfileClone = nullptr;
    QPushButton *cmdProfileCreateNew = nullptr;
    QListWidget *lstProfiles = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *disip = nullptr;
    QLabel *icip = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label1 = nullptr;
    QMenu *trayMenu = nullptr;

    std::unique_ptr<clsIni> SettingsIni;
    QStringList ProfileParts;

Q_SIGNALS:
    // The window has unloaded: the program ends.
    void unloaded();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void setupUi();
    void Form_Resize();
    void Form_Unload();
    void hideInTray();
    void trayIcon_DoubleClick();
    void fillTrayMenu();
    QString trayToolTip() const;
    void selectProfile(const QString &name);
    void refreshCaption();
    // Shows an address line's text, to the eye and to a screen reader.
    void showAddress(QLabel *line, const QString &text);
    // A change from afar waits for its confirmation: said, and nothing else changes meanwhile.
    bool remoteTrialWaits();
    // Makes the next change of the adapters this window's trial; otherwise says why not
    // (after `lead`, when given) and returns false.
    bool claimTrial(const QString &lead = QString());
    // The notification-area menu's answer to a change from afar: kept, or undone.
    void settleRemoteTrial(bool keep);
    // Asks for the adapters and applies the selected profile to them.
    bool ApplyProfile(const QString &name);
    // After an apply that stopped once the adapters had changed: no profile is current.
    void forgetCurrentProfile();
    // Every adapter to DHCP: on trial when the user asked for it, kept at once when the check
    // of the connection falls back; never over another run's or program's trial.
    void switchToDhcp(bool onTrial);
    // How long a change stays on trial: the check after ten seconds and its own deadline,
    // with room to spare.
    int trialSeconds() const;
    // At load: a change on trial left by an earlier run, and those other runs begin meanwhile.
    void followTrials();
    // `changed`: the adapters did change, so a missing safety net is worth a word.
    void startTrial(const AdapterCommands::Trial &trial, bool changed);
    // Another run's change on trial, begun while the window is open: shown counting down.
    void showOthersTrial();
    // The trial's time counts from now: a message the user read took none of it.
    void restartTrialClock();
    // The check of the connection has judged: the change on trial is kept (the fallback to
    // DHCP, when it follows, is a change of its own), unless the system had put it back.
    void keepTrial();
    // Without an address service, this window's apply is judged by its gateway's answer.
    void judgeByGateway();
    // What keeping this window's change came to, said where it is not what was asked for.
    void reportKept(const TrialCountdown::Kept &kept);
    // The seconds left as the backend counts them (a suspended computer's time included), in
    // the caption and the tip; a trial that ended is settled.
    void showTrial();
    void openEditor(bool filled);
    // The list follows the settings file when anyone changes it (another window, a command, an
    // import), keeping the profile chosen by its name.
    void watchSettingsFile();
    void followSettingsFile();
    static QString errorText(const IniError &error);

    Services m_services;
    ProfileListWidget m_listTarget;
    bool m_startHidden = false;
    bool m_shownOnce = false;
    bool m_unloaded = false;
    bool m_refreshing = false;             // the address refresh is waiting for its answer
    bool m_closeRequested = false;         // the window was closed meanwhile
    std::optional<TrialCountdown> m_trial; // a change on trial, this window's or another run's
    struct ByGateway {
        QString selection;
        QStringList parts;
    };
    std::optional<ByGateway> m_byGateway; // this window's apply, which its gateway judges
    QTimer *m_trialTicker = nullptr;      // the seconds left, in the caption and the tip
    // The settings file is read again only when it changed (a file of a million profiles takes
    // a second to read): the current profile as last read, and the trial record as last seen.
    mutable FileStamp m_currentRead;
    mutable QString m_current;
    FileStamp m_trialRecordSeen;
    FileStamp m_listRead; // the settings file as the list was last loaded from it
    QFileSystemWatcher *m_settingsWatch = nullptr;
    QTimer *m_settingsSettle = nullptr;
};
