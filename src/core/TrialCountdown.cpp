#include "core/TrialCountdown.h"

#include "core/RemoteTrial.h"
#include "core/TrialRecord.h"
#include "settings/clsIni.h"
#include "settings/modNetProfiles.h"

TrialCountdown::Kept TrialCountdown::keep(clsIni &ini, AdapterBackend &backend, bool remembered) {
    Kept kept;
    kept.outcome = backend.keepChanges(kept.problem);
    if (kept.outcome == AdapterBackend::Keep::PutBack) {
        // The profile before it is current again, where this run recorded it.
        kept.now = remembered ? TrialRecord::putBack(ini)
                              : ini.ReadString(modNetProfiles::CurrentProfileSection,
                                               modNetProfiles::ProfileNameKey, QString());
    } else if (remembered) {
        TrialRecord::forget(ini);
    }
    return kept;
}

void TrialCountdown::adoptLeftover() {
    TrialRecord::settle(m_ini, m_backend);
    if (!TrialRecord::remembered(m_ini))
        return;
    if (const int left = m_backend.checkpointSecondsLeft(); left >= 0) {
        // A change from afar is the administrator's to confirm, not this run's check's.
        m_ours = !RemoteTrial::awaits(m_ini, m_backend) && m_backend.adoptCheckpoint();
        m_left = left;
    }
}

void TrialCountdown::begin(int seconds) {
    m_ours = true;
    TrialRecord::remember(m_ini);
    m_left = seconds;
}

bool TrialCountdown::followOthers() {
    if (counting() || !TrialRecord::remembered(m_ini))
        return false;
    m_left = m_backend.checkpointSecondsLeft();
    return counting();
}

void TrialCountdown::restart(int seconds) {
    QString problem;
    if (m_ours && m_backend.extendCheckpoint(seconds, problem))
        m_left = seconds;
}

TrialCountdown::Kept TrialCountdown::keepOwn() {
    m_ours = false;
    m_left = -1;
    return keep(m_ini, m_backend, true);
}

int TrialCountdown::tick() {
    if (!counting())
        return -1;
    m_left = m_backend.checkpointSecondsLeft();
    if (m_left < 0) {
        // Ended: put back by the system when not judged in time, or judged by its run.
        m_ours = false;
        TrialRecord::settle(m_ini, m_backend);
    }
    return m_left;
}
