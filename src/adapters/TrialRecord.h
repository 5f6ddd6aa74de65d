#pragma once

// The record's keys and the steps that both halves of TrialLedger take on it (the adapters'
// trial in TrialLedger.cpp, the remote change in TrialLedgerRemote.cpp). Internal to them.

#include "adapters/RunIdentity.h"
#include "adapters/TrialLedger.h"
#include "settings/clsIni.h"
#include "settings/modNetProfiles.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>

namespace TrialRecord {

inline const QString kBefore = QStringLiteral("profileBefore");
inline const QString kPhase = QStringLiteral("phase");
inline const QString kMadeBy = QStringLiteral("checkpointMadeBy");
inline const QString kRemote = QStringLiteral("remote");
// What a backend keeps of its own trial (NetworkManager's checkpoint object).
inline const QString kBackendTrial = QStringLiteral("checkpoint");

inline qint64 nowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

// The trial of the adapters in the record, besides who made it.
inline bool holdsTrial(const QJsonObject &record) {
    return record.contains(kBefore) || record.contains(kPhase) || record.contains(kBackendTrial);
}

inline void dropTrial(QJsonObject &record) {
    record.remove(kBefore);
    record.remove(kPhase);
    record.remove(kMadeBy);
    if (!record.contains(kBackendTrial))
        RunIdentity::removeFrom(record);
}

inline void setRemoteState(QJsonObject &record, TrialLedger::Remote state,
                           const QString &reason = QString(), const QString &code = QString()) {
    QJsonObject remote = record.value(kRemote).toObject();
    remote.insert(QStringLiteral("state"), TrialLedger::remoteName(state));
    if (!reason.isEmpty())
        remote.insert(QStringLiteral("reason"), reason);
    if (!code.isEmpty())
        remote.insert(QStringLiteral("code"), code);
    remote.insert(QStringLiteral("since"), double(nowMs()));
    RunIdentity::removeFrom(remote);
    record.insert(kRemote, remote);
}

inline QString currentProfile(clsIni &ini) {
    return ini.ReadString(modNetProfiles::CurrentProfileSection, modNetProfiles::ProfileNameKey,
                          QString());
}

// The trial becomes this run's; an earlier one of this run's keeps the profile before it.
inline void takeTrial(QJsonObject &record, clsIni &ini) {
    if (!record.contains(kBefore))
        record.insert(kBefore, currentProfile(ini));
    record.remove(kPhase);
    record.remove(kMadeBy);
    RunIdentity::self().intoJson(record);
}

} // namespace TrialRecord
