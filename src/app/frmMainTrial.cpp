// The main window's part in a change on trial: started, counted down in the caption and the
// tip, and kept once the check of the connection has judged it (see core/TrialCountdown.h).
#include "adapters/ApplyReport.h"
#include "adapters/TrialLedger.h"
#include "app/TrayIcon.h"
#include "app/frmMain.h"
#include "app/modTrayIcon.h"
#include "core/Links.h"
#include "settings/Text.h"
#include "settings/UserPrompts.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <utility>

void frmMain::followTrials() {
    // A change left on trial by an earlier run: put back meanwhile, or still on trial, when
    // this start's check judges it as the earlier run's would have.
    // Another run's that still goes on is shown, not judged: it is that run's.
    m_trial.emplace(*SettingsIni, *m_services.backend);
    m_trial->adoptLeftover();
    if (m_trial->counting())
        m_trialTicker->start();
    // Another run's change (from afar, or a command) started while the window is open is
    // shown as it comes: its record is written beside the settings file.
    auto *records =
        new QFileSystemWatcher({QFileInfo(SettingsIni->FileName()).absolutePath()}, this);
    connect(records, &QFileSystemWatcher::directoryChanged, this, &frmMain::showOthersTrial);
}

int frmMain::trialSeconds() const {
    return TrialCountdown::lengthFor(10, m_services.httpTimeoutMs);
}

int frmMain::trialSecondsLeft() const {
    return m_trial ? m_trial->secondsLeft() : -1;
}

void frmMain::startTrial(const AdapterCommands::Trial &trial, bool changed) {
    if (const QString problem = ApplyReport::trialProblemText(trial, trialSeconds());
        changed && !problem.isEmpty())
        m_services.prompts->message(problem, trial.keepProblem.isEmpty()
                                                 ? UserPrompts::Icon::Information
                                                 : UserPrompts::Icon::Stop);
    if (!trial.pending)
        return;
    // No address service: an apply is judged by its gateway's answer, anything else is kept.
    if (Links::externalAddressUrl(*SettingsIni).isEmpty() && !m_byGateway) {
        reportKept(m_trial->keepOwn());
        return;
    }
    m_trial->begin(trialSeconds());
    m_trialTicker->start();
    showTrial();
}

void frmMain::showOthersTrial() {
    if (m_unloaded || !SettingsIni || !m_trial)
        return;
    // The folder changes with every save of the settings: only a change of the trial record is
    // another run's news.
    const FileStamp record = FileStamp::of(TrialLedger::besideSettings(SettingsIni->FileName()));
    if (record == m_trialRecordSeen)
        return;
    m_trialRecordSeen = record;
    if (!m_trial->followOthers())
        return;
    m_trialTicker->start();
    refreshCaption();
}

void frmMain::restartTrialClock() {
    m_trial->restart(trialSeconds());
    showTrial();
}

void frmMain::keepTrial() {
    if (m_trial && m_trial->ours())
        reportKept(m_trial->keepOwn());
}

void frmMain::judgeByGateway() {
    const ByGateway target = *std::exchange(m_byGateway, std::nullopt);
    const AdapterCommands::GatewayJudgement judged = AdapterCommands::judgeByGateway(
        *m_services.backend, target.selection, target.parts, m_services.httpTimeoutMs);
    if (judged.verdict == AdapterCommands::GatewayJudgement::Verdict::Silent)
        reportKept(m_trial->putBackOwn(ApplyReport::gatewaySilentText(judged)));
    else
        keepTrial();
}

void frmMain::reportKept(const TrialCountdown::Kept &kept) {
    m_trialTicker->stop();
    if (kept.outcome == AdapterBackend::Keep::PutBack) {
        m_services.prompts->message(
            Text::tr("Değişiklik kalmadı: %1\nAğ bağdaştırıcıları şimdi %2.")
                .arg(kept.problem, kept.now.isEmpty()
                                       ? Text::tr("otomatik IP'de (DHCP) ya da "
                                                  "değişiklikten önceki ayarlarında")
                                       : Text::tr("\"%1\" profilinde").arg(kept.now)),
            UserPrompts::Icon::Stop);
    } else if (kept.outcome != AdapterBackend::Keep::Kept) {
        AdapterCommands::Trial failed;
        failed.keptAs(kept.outcome, kept.problem);
        m_services.prompts->message(ApplyReport::trialProblemText(failed, trialSeconds()),
                                    UserPrompts::Icon::Stop);
    }
    if (m_unloaded)
        return;
    if (m_trial->counting())
        m_trialTicker->start(); // not kept: counted down until the system puts it back
    showTrial();
}

void frmMain::showTrial() {
    if (m_trialTicker->isActive() && m_trial->tick() < 0)
        m_trialTicker->stop();
    // This window's change ran out before it was judged (a message stayed open past its time):
    // said, never judged as good.
    if (const std::optional<TrialCountdown::Kept> lost = m_trial->takeLost()) {
        reportKept(*lost);
        return;
    }
    refreshCaption();
    if (TrayIconShown)
        m_services.tray->setToolTip(trayToolTip());
}
