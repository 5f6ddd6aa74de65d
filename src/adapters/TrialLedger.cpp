#include "adapters/TrialLedger.h"

#include "adapters/AnswerCode.h"
#include "adapters/TrialRecord.h"
#include "settings/FolderLock.h"
#include "settings/SharedFolder.h"
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

// The adapters' half of the record (`profileBefore`, the run, `phase`), each step one
// read-check-write (the remote change's half: TrialLedgerRemote.cpp):
//
//   (none) --claim--> this run's --markKeeping--> keeping --kept--> (none)
//   this run's --release (nothing came to be on trial)--> (none)
//   this run's, keeping --putBack--> (none); the profile before it is current again
//   keeping --keepFailed--> this run's, until the system puts it back at its time
//   an ended run's --adopt--> this run's;  --settle--> (none), kept or put back
//
// A claim over another run's trial that goes on is Busy; over an ended run's, Unsettled (it is
// settled first); over a remote change that waits or is being decided, Busy; over a record that
// cannot be read, Failed.

namespace {

using namespace TrialRecord;

constexpr qint64 kMaxBytes = 64 * 1024;
// Where an earlier version of the program kept the profile before, in [CurrentProfile].
const QString kLegacyKey = QStringLiteral("ProfileBeforeTrial");

using Remote = TrialLedger::Remote;

QString errnoText(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
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
    else if (const std::optional<struct stat> folder =
                 SharedFolder::statOf(QFileInfo(m_path).absolutePath());
             !folder || !SharedFolder::trusted(st, *folder))
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
            !record.contains(kBackendTrial))
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
    if (!restored && backend.trialSecondsLeft() >= 0) {
        // Still the system's to put back at its time, or the administrator's to confirm; a
        // change about to start puts an abandoned one back first.
        if (!changing || awaits || !backend.adoptTrial())
            return {};
        QString problem;
        if (!backend.putBack(problem))
            return Text::tr("Sona ermiş bir çalışmanın denediği değişiklik geri alınamadı: %1")
                .arg(problem);
    }
    const AdapterBackend::Fate fate =
        restored ? AdapterBackend::Fate::PutBack
                 : backend.trialFate(record->contains(kMadeBy)
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
