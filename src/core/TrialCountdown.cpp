#include "core/TrialCountdown.h"

#include "adapters/AnswerCode.h"
#include "adapters/TrialLedger.h"
#include "core/RemoteTrial.h"
#include "settings/Text.h"
#include "settings/WholeFile.h"
#include "settings/clsIni.h"

#include <QFileInfo>
#include <utility>

TrialCountdown::Claimed TrialCountdown::roomFor(clsIni &ini, AdapterBackend &backend) {
    const QStringList folders =
        QStringList{QFileInfo(ini.FileName()).absolutePath()} + backend.storageFolders();
    for (const QString &folder : folders) {
        if (const std::optional<QString> full = WholeFile::noRoomIn(folder))
            return {false,
                    Text::tr("%1\nDeğişikliğin dosyaları yazılamaz; ağ ayarlarına dokunulmadı.")
                        .arg(*full),
                    AnswerCode::DiskFull};
    }
    return {true, {}, {}};
}

TrialCountdown::Claimed TrialCountdown::claim(clsIni &ini, AdapterBackend &backend) {
    if (Claimed room = roomFor(ini, backend); !room.ok)
        return room;
    TrialLedger ledger(ini);
    TrialLedger::ClaimResult claimed;
    // An abandoned trial in the way is settled (put back) first, once.
    for (int attempt = 0; attempt < 2; ++attempt) {
        claimed = ledger.claim(ini);
        if (claimed.kind != TrialLedger::Claim::Unsettled)
            break;
        ledger.settle(ini, backend, true);
    }
    return refusalOf(claimed, backend);
}

TrialCountdown::Claimed TrialCountdown::wouldClaim(clsIni &ini, AdapterBackend &backend) {
    if (Claimed room = roomFor(ini, backend); !room.ok)
        return room;
    return refusalOf(TrialLedger(ini).wouldClaim(), backend);
}

TrialCountdown::Claimed TrialCountdown::refusalOf(const TrialLedger::ClaimResult &claimed,
                                                  AdapterBackend &backend) {
    switch (claimed.kind) {
    case TrialLedger::Claim::Claimed:
        return {true, {}, {}};
    case TrialLedger::Claim::Failed:
        return {false,
                Text::tr("Deneme kaydı okunamadı ya da yazılamadı; ağ ayarlarına dokunulmadı.\n%1")
                    .arg(claimed.problem),
                AnswerCode::RecordUnwritable};
    case TrialLedger::Claim::Busy:
    case TrialLedger::Claim::Unsettled:
        break;
    }
    if (claimed.remote.state != TrialLedger::Remote::None)
        return {false, RemoteTrial::busyText(claimed.remote, backend.trialSecondsLeft()),
                AnswerCode::RemoteWaits};
    const int left = backend.trialSecondsLeft();
    return {
        false,
        left >= 0
            ? Text::tr("Bu program başka bir pencerede ya da komutta bir "
                       "değişikliği deniyor (%1 saniye daha).")
                  .arg(left)
            : Text::tr("Bu program başka bir pencerede ya da komutta ağ ayarlarını değiştiriyor;\n"
                       "ağ ayarlarına dokunulmadı. Birazdan yeniden deneyin."),
        AnswerCode::Busy};
}

void TrialCountdown::release(clsIni &ini) {
    TrialLedger(ini).release();
}

TrialCountdown::Kept TrialCountdown::keep(clsIni &ini, AdapterBackend &backend) {
    TrialLedger ledger(ini);
    Kept kept;
    ledger.markKeeping();
    kept.outcome = backend.keepChanges(kept.problem);
    if (kept.outcome == AdapterBackend::Keep::PutBack)
        kept.now = ledger.putBack(ini); // the profile before it is current again
    else if (kept.outcome == AdapterBackend::Keep::Failed)
        ledger.keepFailed(); // still on trial: the system puts it back, a later run records it
    else
        ledger.kept();
    return kept;
}

void TrialCountdown::adoptLeftover() {
    TrialLedger ledger(m_ini);
    ledger.settle(m_ini, m_backend);
    if (!ledger.trialRun())
        return;
    if (const int left = m_backend.trialSecondsLeft(); left >= 0) {
        // A remote change is the administrator's to confirm, not this run's check's.
        const bool remote = ledger.remote().state == TrialLedger::Remote::Applied;
        m_ours = !remote && m_backend.adoptTrial() && ledger.adopt();
        m_left = left;
    }
}

void TrialCountdown::begin(int seconds) {
    m_ours = true;
    m_left = seconds;
}

bool TrialCountdown::followOthers() {
    if (counting() || !TrialLedger(m_ini).trialRun())
        return false;
    m_left = m_backend.trialSecondsLeft();
    return counting();
}

void TrialCountdown::restart(int seconds) {
    QString problem;
    if (!m_ours)
        return;
    if (m_backend.extendTrial(seconds, problem))
        m_left = seconds;
    else if (m_backend.trialSecondsLeft() < 0)
        ownEnded();
}

std::optional<TrialCountdown::Kept> TrialCountdown::takeLost() {
    return std::exchange(m_lost, std::nullopt);
}

void TrialCountdown::ownEnded() {
    m_ours = false;
    m_unkept = false;
    m_left = -1;
    TrialLedger ledger(m_ini);
    if (m_backend.trialFate(RunIdentity::self()) == AdapterBackend::Fate::Kept) {
        ledger.kept();
        return;
    }
    Kept lost;
    lost.outcome = AdapterBackend::Keep::PutBack;
    lost.problem = Text::tr("Denemenin süresi, değişiklik doğrulanmadan doldu;\n"
                            "ağ ayarları değişiklikten önceki haline döndü.");
    lost.now = ledger.putBack(m_ini);
    m_lost = lost;
}

TrialCountdown::Kept TrialCountdown::putBack(clsIni &ini, AdapterBackend &backend,
                                             const QString &why) {
    Kept back;
    QString problem;
    if (!backend.putBack(problem)) {
        TrialLedger(ini).keepFailed(); // still on trial: the system puts it back at its time
        back.outcome = AdapterBackend::Keep::Failed;
        back.problem = why + QLatin1Char('\n') +
                       Text::tr("Hemen geri alınamadı (%1); denemenin süresi dolunca geri "
                                "alınır.")
                           .arg(problem);
        return back;
    }
    back.outcome = AdapterBackend::Keep::PutBack;
    back.problem = why;
    back.now = TrialLedger(ini).putBack(ini);
    return back;
}

TrialCountdown::Kept TrialCountdown::putBackOwn(const QString &why) {
    const int before = m_left;
    m_ours = false;
    m_left = -1;
    const Kept back = putBack(m_ini, m_backend, why);
    if (back.outcome == AdapterBackend::Keep::Failed) {
        const int left = m_backend.trialSecondsLeft();
        m_left = left >= 0 ? left : before;
        m_unkept = counting();
    }
    return back;
}

TrialCountdown::Kept TrialCountdown::keepOwn() {
    const int before = m_left;
    m_ours = false;
    m_left = -1;
    const Kept kept = keep(m_ini, m_backend);
    // Not kept: still on trial, counted down (from the last seconds known when the backend
    // cannot tell now), and settled here when the system puts it back.
    if (kept.outcome == AdapterBackend::Keep::Failed) {
        const int left = m_backend.trialSecondsLeft();
        m_left = left >= 0 ? left : before;
        m_unkept = counting();
    }
    return kept;
}

int TrialCountdown::tick() {
    if (!counting())
        return -1;
    m_left = m_backend.trialSecondsLeft();
    if (m_left >= 0)
        return m_left;
    if (m_ours || m_unkept)
        ownEnded(); // ended before it was judged or kept: the system put it back
    else
        TrialLedger(m_ini).settle(m_ini, m_backend); // another run's, judged by it or put back
    return m_left;
}
