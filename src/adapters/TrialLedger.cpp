#include "adapters/TrialLedger.h"

#include "adapters/AnswerCode.h"
#include "settings/FolderLock.h"
#include "settings/Text.h"
#include "settings/WholeFile.h"
#include "settings/clsIni.h"
#include "settings/modNetProfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 kMaxBytes = 64 * 1024;
// A remote change asked for starts a second later; one still not begun after this long will
// never be (its run is stopped or hangs): it is refused, and its run, if it goes on, gives up.
constexpr qint64 kStartingMs = 60000;

const QString kBefore = QStringLiteral("profileBefore");
const QString kPhase = QStringLiteral("phase");
const QString kMadeBy = QStringLiteral("checkpointMadeBy");
const QString kRemote = QStringLiteral("remote");
// Where an earlier version of the program kept the profile before, in [CurrentProfile].
const QString kLegacyKey = QStringLiteral("ProfileBeforeTrial");

using Remote = TrialLedger::Remote;

constexpr struct {
    Remote state;
    const char *name;
} kStates[] = {{Remote::Starting, "starting"}, {Remote::Applying, "applying"},
               {Remote::Applied, "applied"},   {Remote::Confirming, "confirming"},
               {Remote::Undoing, "undoing"},   {Remote::Confirmed, "confirmed"},
               {Remote::Undone, "undone"},     {Remote::PutBack, "putBack"},
               {Remote::Refused, "refused"}};

qint64 nowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

QString errnoText(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

// The trial of the adapters in the record, besides who made it.
bool holdsTrial(const QJsonObject &record) {
    return record.contains(kBefore) || record.contains(kPhase) ||
           record.contains(QStringLiteral("checkpoint"));
}

void dropTrial(QJsonObject &record) {
    record.remove(kBefore);
    record.remove(kPhase);
    record.remove(kMadeBy);
    if (!record.contains(QStringLiteral("checkpoint")))
        RunIdentity::removeFrom(record);
}

void setRemoteState(QJsonObject &record, Remote state, const QString &reason = QString(),
                    const QString &code = QString()) {
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

QString currentProfile(clsIni &ini) {
    return ini.ReadString(modNetProfiles::CurrentProfileSection, modNetProfiles::ProfileNameKey,
                          QString());
}

// The trial becomes this run's; an earlier one of this run's keeps the profile before it.
void takeTrial(QJsonObject &record, clsIni &ini) {
    if (!record.contains(kBefore))
        record.insert(kBefore, currentProfile(ini));
    record.remove(kPhase);
    record.remove(kMadeBy);
    RunIdentity::self().intoJson(record);
}

} // namespace

TrialLedger::TrialLedger(QString recordPath) : m_path(std::move(recordPath)) {}

TrialLedger::TrialLedger(clsIni &ini) : m_path(besideSettings(ini.FileName())) {}

QString TrialLedger::besideSettings(const QString &settingsPath) {
    return settingsPath + QStringLiteral(".trial");
}

std::optional<QJsonObject> TrialLedger::read(QString *problem) const {
    const auto refuse = [&](const QString &why) -> std::optional<QJsonObject> {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    // Never through a link, never waiting on a FIFO: what is there is looked at on the open
    // file itself.
    const int fd = ::open(QFile::encodeName(m_path).constData(),
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (err == ENOENT)
            return QJsonObject();
        if (err == ELOOP)
            return refuse(Text::tr("Deneme kaydı bir bağlantı (link); güvenlik için "
                                   "okunmadı: %1")
                              .arg(m_path));
        return refuse(Text::tr("Deneme kaydı okunamadı: %1 (%2)").arg(m_path, errnoText(err)));
    }
    struct stat st {};
    QByteArray bytes;
    QString why;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        why = Text::tr("Deneme kaydı normal bir dosya değil: %1").arg(m_path);
    else if (st.st_uid != ::geteuid())
        why = Text::tr("Deneme kaydı başka bir kullanıcının dosyası: %1").arg(m_path);
    else if (st.st_size > kMaxBytes)
        why = Text::tr("Deneme kaydı çok uzun (%1 bayt): %2").arg(st.st_size).arg(m_path);
    else {
        bytes = WholeFile::readUpTo(fd, qsizetype(st.st_size) + 1);
        if (bytes.size() > kMaxBytes)
            why = Text::tr("Deneme kaydı çok uzun: %1").arg(m_path);
    }
    ::close(fd);
    if (!why.isEmpty())
        return refuse(why);
    if (bytes.trimmed().isEmpty())
        return QJsonObject();
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (!doc.isObject())
        return refuse(Text::tr("Deneme kaydı bozuk: %1 (%2). Silinirse, denenen değişiklik "
                               "olduğu gibi kalır.")
                          .arg(m_path, error.errorString()));
    return doc.object();
}

bool TrialLedger::transact(const std::function<void(QJsonObject &)> &change, QString *problem) {
    const auto fail = [&](const QString &why) {
        if (problem)
            *problem = why;
        return false;
    };
    const QString folder = QFileInfo(m_path).absolutePath();
    QDir().mkpath(folder);
    FolderLock lock(QFile::encodeName(folder));
    if (!lock.locked())
        return fail(Text::tr("Deneme kaydının klasörü kilitlenemedi: %1").arg(lock.problem()));
    QString why;
    const std::optional<QJsonObject> old = read(&why);
    if (!old)
        return fail(why);
    QJsonObject record = *old;
    change(record);
    // A record that says nothing but who made it has nothing left to tell.
    QJsonObject rest = record;
    RunIdentity::removeFrom(rest);
    if (rest.isEmpty())
        record = {};
    if (record == *old)
        return true;
    if (record.isEmpty()) {
        if (::unlink(QFile::encodeName(m_path).constData()) != 0 && errno != ENOENT)
            return fail(Text::tr("Deneme kaydı silinemedi: %1 (%2)").arg(m_path, errnoText(errno)));
        return true;
    }
    if (const std::optional<QString> failed =
            WholeFile::replace(m_path, QJsonDocument(record).toJson()))
        return fail(Text::tr("Deneme kaydı yazılamadı: %1").arg(*failed));
    return true;
}

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

std::optional<QString> TrialLedger::busyReason(const QJsonObject &record,
                                               ClaimResult &result) const {
    const RemoteInfo remote = remoteOf(record);
    switch (remote.state) {
    case Remote::Starting:
    case Remote::Applying:
    case Remote::Confirming:
    case Remote::Undoing:
        if (remote.run.state() == RunIdentity::State::This)
            break;
        result.remote = remote;
        result.kind = remote.run.alive() ? Claim::Busy : Claim::Unsettled;
        return remoteName(remote.state);
    case Remote::Applied:
        result.remote = remote;
        result.kind = Claim::Busy;
        return remoteName(remote.state);
    default:
        break;
    }
    if (!holdsTrial(record))
        return std::nullopt;
    const RunIdentity run = RunIdentity::fromJson(record);
    switch (run.state()) {
    case RunIdentity::State::Other:
        result.kind = Claim::Busy;
        result.other = run;
        return QStringLiteral("other");
    case RunIdentity::State::Ended:
    case RunIdentity::State::None: // a record of an earlier version names no run
        result.kind = Claim::Unsettled;
        return QStringLiteral("ended");
    case RunIdentity::State::This:
        break;
    }
    return std::nullopt;
}

TrialLedger::ClaimResult TrialLedger::claimWith(const std::function<void(QJsonObject &)> &take) {
    ClaimResult result;
    QString problem;
    if (!transact(
            [&](QJsonObject &record) {
                if (busyReason(record, result))
                    return;
                take(record);
                result.kind = Claim::Claimed;
            },
            &problem)) {
        result.kind = Claim::Failed;
        result.problem = problem;
    }
    return result;
}

TrialLedger::ClaimResult TrialLedger::wouldClaim() const {
    ClaimResult result;
    QString problem;
    const std::optional<QJsonObject> record = read(&problem);
    if (!record) {
        result.kind = Claim::Failed;
        result.problem = problem;
    } else if (!busyReason(*record, result) || result.kind == Claim::Unsettled) {
        result = ClaimResult{};
        result.kind = Claim::Claimed;
    }
    return result;
}

TrialLedger::ClaimResult TrialLedger::claim(clsIni &ini) {
    return claimWith([&](QJsonObject &record) { takeTrial(record, ini); });
}

std::optional<RunIdentity> TrialLedger::trialRun() const {
    const std::optional<QJsonObject> record = read();
    if (!record || !record->contains(kBefore))
        return std::nullopt;
    return RunIdentity::fromJson(*record);
}

bool TrialLedger::adopt() {
    bool adopted = false;
    const bool stored = transact([&](QJsonObject &record) {
        if (!record.contains(kBefore) || RunIdentity::fromJson(record).alive())
            return;
        record.remove(kPhase);
        // The checkpoint is still the ended run's: what became of it is asked by that run.
        if (!record.contains(kMadeBy)) {
            QJsonObject madeBy;
            RunIdentity::fromJson(record).intoJson(madeBy);
            record.insert(kMadeBy, madeBy);
        }
        RunIdentity::self().intoJson(record);
        adopted = true;
    });
    return adopted && stored;
}

void TrialLedger::release() {
    transact([](QJsonObject &record) {
        if (RunIdentity::fromJson(record).state() == RunIdentity::State::This &&
            !record.contains(QStringLiteral("checkpoint")))
            dropTrial(record);
    });
}

void TrialLedger::markKeeping() {
    transact([](QJsonObject &record) {
        if (RunIdentity::fromJson(record).state() == RunIdentity::State::This &&
            record.contains(kBefore))
            record.insert(kPhase, QStringLiteral("keeping"));
    });
}

void TrialLedger::keepFailed() {
    transact([](QJsonObject &record) {
        if (RunIdentity::fromJson(record).state() == RunIdentity::State::This)
            record.remove(kPhase);
    });
}

bool TrialLedger::kept(QString *problem) {
    return transact(
        [](QJsonObject &record) {
            dropTrial(record);
            const Remote state = remoteOf(record).state;
            if (state == Remote::Applied || state == Remote::Confirming)
                setRemoteState(record, Remote::Confirmed);
        },
        problem);
}

QString TrialLedger::putBack(clsIni &ini, Remote asState) {
    QString now = currentProfile(ini);
    transact([&](QJsonObject &record) {
        if (record.contains(kBefore)) {
            const QString before = record.value(kBefore).toString();
            // In the same step, with the folder still locked: no run can start in between.
            if (ini.WriteString(modNetProfiles::CurrentProfileSection,
                                modNetProfiles::ProfileNameKey, before) == 0)
                return; // left as it is, for a later run to settle
            now = before;
        }
        dropTrial(record);
        switch (remoteOf(record).state) {
        case Remote::Applying:
        case Remote::Applied:
        case Remote::Confirming:
            setRemoteState(record, Remote::PutBack);
            break;
        case Remote::Undoing:
            setRemoteState(record, asState == Remote::PutBack ? Remote::Undone : asState);
            break;
        default:
            break;
        }
    });
    return now;
}

QString TrialLedger::settle(clsIni &ini, AdapterBackend &backend, bool changing, bool mayRestore) {
    const std::optional<QJsonObject> first = read();
    if (!first)
        return {};
    // Remote steps whose runs ended: a request never begun or never finished is refused; a
    // decision never carried out waits again.
    const RemoteInfo remote = remoteOf(*first);
    const bool runEnded = !remote.run.alive();
    if (runEnded && (remote.state == Remote::Starting || remote.state == Remote::Applying ||
                     remote.state == Remote::Confirming || remote.state == Remote::Undoing)) {
        transact([&](QJsonObject &record) {
            const RemoteInfo now = remoteOf(record);
            if (now.state != remote.state || now.request != remote.request || now.run.alive())
                return;
            if (now.state == Remote::Starting)
                setRemoteState(record, Remote::Refused,
                               Text::tr("değişikliği yapacak süreç, değişikliğe başlamadan sona "
                                        "erdi ya da zamanında başlamadı;\n"
                                        "ağ ayarlarına dokunulmadı."),
                               AnswerCode::RunEnded);
            else if (now.state == Remote::Applying)
                setRemoteState(record, Remote::Refused,
                               Text::tr("değişikliği yapan süreç, değişiklik bitmeden sona "
                                        "erdi; yaptığı kısım geri alınır."),
                               AnswerCode::RunEnded);
            else
                setRemoteState(record, Remote::Applied);
        });
    }
    // A record of an earlier version, in the settings file itself: moved here.
    QStringList keys;
    qint32 count = 0;
    ini.ReadSection(ini.FileName(), modNetProfiles::CurrentProfileSection, keys, count);
    for (const QString &key : keys) {
        if (key.compare(kLegacyKey, Qt::CaseInsensitive) != 0)
            continue;
        const QString before =
            ini.ReadString(modNetProfiles::CurrentProfileSection, kLegacyKey, QString());
        if (transact([&](QJsonObject &now) {
                if (!now.contains(kBefore))
                    now.insert(kBefore, before);
            }))
            ini.DeleteKey(modNetProfiles::CurrentProfileSection, kLegacyKey);
    }
    std::optional<QJsonObject> record = read();
    if (!record)
        return {};
    const RunIdentity run = RunIdentity::fromJson(*record);
    if (!holdsTrial(*record) || run.alive())
        return {}; // nothing left, or its run's own
    const bool awaits = remoteOf(*record).state == Remote::Applied;
    bool restored = false;
    const QString recovered = backend.recoverAbandonedTrial(restored, mayRestore);
    if (!recovered.isEmpty() && !restored)
        return recovered; // the record stays for a later run
    if (!restored && backend.checkpointSecondsLeft() >= 0) {
        // Still the system's to put back at its time, or the administrator's to confirm; a
        // change about to start puts an abandoned one back first.
        if (!changing || awaits || !backend.adoptCheckpoint())
            return {};
        QString problem;
        if (!backend.rollBack(problem))
            return Text::tr("Sona ermiş bir çalışmanın denediği değişiklik geri alınamadı: %1")
                .arg(problem);
    }
    const AdapterBackend::Fate fate =
        restored
            ? AdapterBackend::Fate::PutBack
            : backend.checkpointFate(record->contains(kMadeBy)
                                         ? RunIdentity::fromJson(record->value(kMadeBy).toObject())
                                         : run);
    const QString before = record->value(kBefore).toString();
    const bool keptByRun = fate == AdapterBackend::Fate::Kept ||
                           (fate == AdapterBackend::Fate::Unknown &&
                            record->value(kPhase).toString() == QLatin1String("keeping"));
    bool done = false;
    transact([&](QJsonObject &now) {
        if (RunIdentity::fromJson(now) != run || now.value(kBefore) != record->value(kBefore))
            return; // settled by another run meanwhile
        done = true;
        if (keptByRun) {
            dropTrial(now);
            const Remote state = remoteOf(now).state;
            if (state == Remote::Applied || state == Remote::Confirming)
                setRemoteState(now, Remote::Confirmed);
            return;
        }
        if (now.contains(kBefore) && ini.WriteString(modNetProfiles::CurrentProfileSection,
                                                     modNetProfiles::ProfileNameKey, before) == 0) {
            done = false;
            return;
        }
        dropTrial(now);
        const Remote state = remoteOf(now).state;
        if (state == Remote::Applied || state == Remote::Confirming)
            setRemoteState(now, Remote::PutBack);
        else if (state == Remote::Undoing)
            setRemoteState(now, Remote::Undone);
    });
    if (!done || keptByRun)
        return {};
    // Made before the computer last started: the restart undid it, not the end of its time.
    const QString why =
        !recovered.isEmpty() ? recovered
        : run.boot != RunIdentity::self().boot
            ? Text::tr("Denenen değişiklik doğrulanmadan bilgisayar yeniden başladı; yeniden "
                       "başlama değişikliği geri aldı.")
            : Text::tr("Sona ermiş bir çalışmanın denediği değişiklik kalıcı yapılmadan sona "
                       "ermişti ve geri alınmıştı.");
    return why + QLatin1Char(' ') + Text::tr("Etkin profil yeniden \"%1\".").arg(before);
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
