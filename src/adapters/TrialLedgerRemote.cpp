#include "adapters/TrialLedger.h"
#include "adapters/TrialRecord.h"
#include "settings/Text.h"

// The remote change's half of the record (`remote`): its states, each step one read-check-write.
//
//   (none) --beginRemote--> starting --startApplying--> applying --finishApplying--> applied
//   starting --withdraw (its run never started)--> (none)
//   starting, applying --finishApplying(refused)--> refused
//   applied --claimDecision(Confirm)--> confirming --kept--> confirmed
//   applied --claimDecision(Undo)--> undoing --putBack--> undone
//   confirming, undoing --dropDecision (could not be carried out)--> applied
//   applied, confirming --settle (its trial ran out)--> putBack;  undoing --settle--> undone
//
// While a change is starting, applying, applied, confirming or undoing, every other claim is
// refused (busy); a starting one whose run never began within a minute is taken for ended.

namespace {

using namespace TrialRecord;
using Remote = TrialLedger::Remote;

// A remote change asked for starts a second later; one still not begun after this long will
// never be (its run is stopped or hangs): it is refused, and its run, if it goes on, gives up.
constexpr qint64 kStartingMs = 60000;

constexpr struct {
    Remote state;
    const char *name;
} kStates[] = {{Remote::Starting, "starting"}, {Remote::Applying, "applying"},
               {Remote::Applied, "applied"},   {Remote::Confirming, "confirming"},
               {Remote::Undoing, "undoing"},   {Remote::Confirmed, "confirmed"},
               {Remote::Undone, "undone"},     {Remote::PutBack, "putBack"},
               {Remote::Refused, "refused"}};

} // namespace

QString TrialLedger::remoteName(Remote state) {
    for (const auto &s : kStates) {
        if (s.state == state)
            return QString::fromLatin1(s.name);
    }
    return QStringLiteral("none");
}

TrialLedger::RemoteInfo TrialLedger::remoteOf(const QJsonObject &record) {
    const QJsonObject remote = record.value(kRemote).toObject();
    RemoteInfo info;
    const QString name = remote.value(QStringLiteral("state")).toString();
    for (const auto &s : kStates) {
        if (name == QLatin1String(s.name))
            info.state = s.state;
    }
    info.profile = remote.value(QStringLiteral("profile")).toString();
    info.reason = remote.value(QStringLiteral("reason")).toString();
    info.code = remote.value(QStringLiteral("code")).toString();
    info.seconds = remote.value(QStringLiteral("seconds")).toInt();
    info.request = remote.value(QStringLiteral("request")).toString();
    info.run = RunIdentity::fromJson(remote);
    // A request still waiting for its run long after it should have begun will never be made.
    if (info.state == Remote::Starting &&
        nowMs() - qint64(remote.value(QStringLiteral("since")).toDouble()) > kStartingMs)
        info.run = {};
    return info;
}

TrialLedger::RemoteInfo TrialLedger::remote() const {
    return remoteOf(read().value_or(QJsonObject()));
}

TrialLedger::ClaimResult TrialLedger::beginRemote(const QString &profile, int seconds,
                                                  const QString &request) {
    return claimWith([&](QJsonObject &record) {
        QJsonObject remote{{QStringLiteral("state"), remoteName(Remote::Starting)},
                           {QStringLiteral("profile"), profile},
                           {QStringLiteral("seconds"), seconds},
                           {QStringLiteral("request"), request},
                           {QStringLiteral("since"), double(nowMs())}};
        RunIdentity::self().intoJson(remote);
        record.insert(kRemote, remote);
    });
}

void TrialLedger::handOver(const QString &request, qint64 pid) {
    const RunIdentity run = RunIdentity::ofProcess(pid);
    transact([&](QJsonObject &record) {
        QJsonObject remote = record.value(kRemote).toObject();
        const RemoteInfo info = remoteOf(record);
        if (info.request != request || info.state != Remote::Starting)
            return;
        if (info.run.state() == RunIdentity::State::This)
            run.intoJson(remote); // not yet taken by that run itself
        record.insert(kRemote, remote);
    });
}

void TrialLedger::withdraw(const QString &request) {
    transact([&](QJsonObject &record) {
        const RemoteInfo info = remoteOf(record);
        if (info.request == request && info.state == Remote::Starting)
            record.remove(kRemote);
    });
}

std::optional<QString> TrialLedger::startApplying(clsIni &ini, const QString &request) {
    std::optional<QString> refusal =
        Text::tr("yerine daha yeni bir istek geldi ya da istek bu arada sonuçlandı.");
    QString problem;
    if (!transact(
            [&](QJsonObject &record) {
                const RemoteInfo info = remoteOf(record);
                if (info.request != request || info.state != Remote::Starting || !info.run.alive())
                    return;
                QJsonObject rest = record;
                rest.remove(kRemote);
                ClaimResult busy;
                if (busyReason(rest, busy)) {
                    refusal = Text::tr("başka bir çalışmanın değişikliği deneniyor.");
                    return;
                }
                takeTrial(record, ini);
                QJsonObject remote = record.value(kRemote).toObject();
                remote.insert(QStringLiteral("state"), remoteName(Remote::Applying));
                remote.insert(QStringLiteral("since"), double(nowMs()));
                RunIdentity::self().intoJson(remote);
                record.insert(kRemote, remote);
                refusal.reset();
            },
            &problem))
        return problem;
    return refusal;
}

void TrialLedger::finishApplying(const QString &request, bool applied, const QString &reason,
                                 const QString &code) {
    transact([&](QJsonObject &record) {
        const RemoteInfo info = remoteOf(record);
        if (info.request != request ||
            (info.state != Remote::Applying && (applied || info.state != Remote::Starting)))
            return;
        setRemoteState(record, applied ? Remote::Applied : Remote::Refused, reason, code);
        if (!applied && RunIdentity::fromJson(record).state() == RunIdentity::State::This &&
            !record.contains(QStringLiteral("checkpoint")))
            dropTrial(record);
    });
}

bool TrialLedger::claimDecision(Decision decision, RemoteInfo &now, QString *problem) {
    bool claimed = false;
    const bool ok = transact(
        [&](QJsonObject &record) {
            now = remoteOf(record);
            const bool lapsed = (now.state == Remote::Confirming || now.state == Remote::Undoing) &&
                                !now.run.alive();
            if (now.state != Remote::Applied && !lapsed)
                return;
            QJsonObject remote = record.value(kRemote).toObject();
            remote.insert(
                QStringLiteral("state"),
                remoteName(decision == Decision::Confirm ? Remote::Confirming : Remote::Undoing));
            remote.insert(QStringLiteral("since"), double(nowMs()));
            RunIdentity::self().intoJson(remote);
            record.insert(kRemote, remote);
            claimed = true;
        },
        problem);
    return claimed && ok;
}

void TrialLedger::dropDecision() {
    transact([](QJsonObject &record) {
        const RemoteInfo info = remoteOf(record);
        if ((info.state == Remote::Confirming || info.state == Remote::Undoing) &&
            info.run.state() == RunIdentity::State::This)
            setRemoteState(record, Remote::Applied);
    });
}
