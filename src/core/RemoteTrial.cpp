#include "core/RemoteTrial.h"

#include "adapters/TrialFile.h"
#include "adapters/WmiAdapter.h"
#include "core/TrialRecord.h"
#include "settings/Text.h"
#include "settings/clsIni.h"

#include <QDeadlineTimer>
#include <QJsonObject>
#include <QThread>
#include <functional>
#include <optional>

namespace RemoteTrial {

namespace {

const QString kRemote = QStringLiteral("remote");

constexpr struct {
    State state;
    const char *name;
} kStates[] = {{State::Starting, "starting"}, {State::Applied, "applied"},
               {State::Refused, "refused"},   {State::Confirmed, "confirmed"},
               {State::Undone, "undone"},     {State::PutBack, "putBack"}};

TrialFile fileOf(clsIni &ini) {
    return TrialFile(TrialFile::besideSettings(ini.FileName()));
}

Result stillMaking(const Info &info) {
    return {1, Text::tr("\"%1\" profili hâlâ uygulanıyor; birkaç saniye sonra yeniden "
                        "deneyin.")
                   .arg(info.profile)};
}

// Takes over the change to settle it (nothing to answer yet), or the answer why not. The run
// that made it may still be ending (it has just written its outcome) for a moment; the system
// may have put it back already.
std::optional<Result> takeOver(clsIni &ini, AdapterBackend &backend, const Info &info,
                               const std::function<Result()> &putBack) {
    QDeadlineTimer ended(5000);
    while (!backend.adoptCheckpoint()) {
        if (backend.checkpointSecondsLeft() < 0) {
            TrialRecord::putBack(ini);
            return putBack();
        }
        if (ended.hasExpired())
            return stillMaking(info);
        QThread::msleep(100);
    }
    return std::nullopt;
}

} // namespace

QString stateName(State state) {
    for (const auto &s : kStates) {
        if (s.state == state)
            return QString::fromLatin1(s.name);
    }
    return QStringLiteral("none");
}

Info read(clsIni &ini) {
    const QJsonObject remote = fileOf(ini).read().value(kRemote).toObject();
    Info info;
    const QString name = remote.value(QStringLiteral("state")).toString();
    for (const auto &s : kStates) {
        if (name == QLatin1String(s.name))
            info.state = s.state;
    }
    info.profile = remote.value(QStringLiteral("profile")).toString();
    info.reason = remote.value(QStringLiteral("reason")).toString();
    info.seconds = remote.value(QStringLiteral("seconds")).toInt();
    return info;
}

void write(clsIni &ini, const Info &info) {
    fileOf(ini).update([&](QJsonObject &record) {
        if (info.state == State::None) {
            record.remove(kRemote);
            return;
        }
        record.insert(kRemote, QJsonObject{{QStringLiteral("state"), stateName(info.state)},
                                           {QStringLiteral("profile"), info.profile},
                                           {QStringLiteral("reason"), info.reason},
                                           {QStringLiteral("seconds"), info.seconds}});
    });
}

void notePutBack(clsIni &ini) {
    Info info = read(ini);
    if (info.state != State::Applied)
        return;
    info.state = State::PutBack;
    write(ini, info);
}

bool awaits(clsIni &ini, AdapterBackend &backend) {
    return read(ini).state == State::Applied && backend.checkpointSecondsLeft() >= 0;
}

QString busyText(clsIni &ini, AdapterBackend &backend) {
    return Text::tr("Uzaktan yapılan \"%1\" değişikliği doğrulama bekliyor (%2 saniye daha); "
                    "ağ ayarlarına dokunulmadı. Önce --confirm ile kalıcı yapın ya da "
                    "--undo ile geri alın.")
        .arg(read(ini).profile)
        .arg(backend.checkpointSecondsLeft());
}

namespace {

// The outcome of the run that makes the change, once it has one (it starts a second after the
// command that asked for it, and the change takes a few more).
Info outcome(clsIni &ini) {
    QDeadlineTimer made(15000);
    Info info = read(ini);
    while (info.state == State::Starting && !made.hasExpired()) {
        QThread::msleep(100);
        info = read(ini);
    }
    return info;
}

} // namespace

Result confirm(clsIni &ini, AdapterBackend &backend) {
    Info info = outcome(ini);
    switch (info.state) {
    case State::None:
    case State::Confirmed:
    case State::Undone:
        return {1, Text::tr("Doğrulanacak, uzaktan yapılmış bir değişiklik yok.")};
    case State::Starting:
        return stillMaking(info);
    case State::Refused:
        return {1, Text::tr("\"%1\" profili uygulanmamıştı: %2").arg(info.profile, info.reason)};
    case State::PutBack:
        return {3, Text::tr("\"%1\" profili doğrulanmadı: süre dolunca geri alınmıştı. Ağ "
                            "bağdaştırıcıları önceki ayarlarında.")
                       .arg(info.profile)};
    case State::Applied:
        break;
    }
    if (const std::optional<Result> answer =
            takeOver(ini, backend, info, [&] { return confirm(ini, backend); })) // said as such
        return *answer;
    QString problem;
    switch (backend.keepChanges(problem)) {
    case AdapterBackend::Keep::Kept:
        TrialRecord::forget(ini);
        info.state = State::Confirmed;
        write(ini, info);
        return {0, Text::tr("\"%1\" profili doğrulandı ve kalıcı yapıldı.").arg(info.profile)};
    case AdapterBackend::Keep::PutBack:
        TrialRecord::putBack(ini);
        return {3, Text::tr("\"%1\" profili doğrulanamadı: %2").arg(info.profile, problem)};
    case AdapterBackend::Keep::Failed:
        break;
    }
    return {1, Text::tr("\"%1\" profili kalıcı yapılamadı: %2").arg(info.profile, problem)};
}

Result undo(clsIni &ini, AdapterBackend &backend) {
    Info info = outcome(ini);
    if (info.state != State::Applied)
        return {1, Text::tr("Geri alınacak, uzaktan yapılmış bir değişiklik yok.")};
    QString problem;
    if (const std::optional<Result> answer = takeOver(ini, backend, info, [&] {
            return Result{
                0,
                Text::tr("\"%1\" profili zaten geri alınmıştı (süre dolmuştu).").arg(info.profile)};
        }))
        return *answer;
    if (!backend.rollBack(problem))
        return {1, Text::tr("\"%1\" profili geri alınamadı: %2").arg(info.profile, problem)};
    const QString now = TrialRecord::putBack(ini);
    info.state = State::Undone;
    write(ini, info);
    return {0, Text::tr("\"%1\" profili geri alındı; ağ bağdaştırıcıları önceki "
                        "ayarlarında%2.")
                   .arg(info.profile,
                        now.isEmpty() ? QString() : QStringLiteral(" (\"%1\")").arg(now))};
}

QString describe(const Info &info, int secondsLeft) {
    switch (info.state) {
    case State::None:
        return {};
    case State::Starting:
        return Text::tr("Uzaktan: \"%1\" birazdan uygulanacak.").arg(info.profile);
    case State::Applied:
        return secondsLeft >= 0
                   ? Text::tr("Uzaktan: \"%1\" uygulandı, doğrulama bekliyor (%2 sn): "
                              "kalıcı yapmak için --confirm, geri almak için --undo.")
                         .arg(info.profile)
                         .arg(secondsLeft)
                   : Text::tr("Uzaktan: \"%1\" doğrulanmadı, geri alındı.").arg(info.profile);
    case State::Refused:
        return Text::tr("Uzaktan: \"%1\" uygulanmadı: %2").arg(info.profile, info.reason);
    case State::Confirmed:
        return Text::tr("Uzaktan: \"%1\" doğrulandı, kalıcı.").arg(info.profile);
    case State::Undone:
        return Text::tr("Uzaktan: \"%1\" geri alındı (--undo).").arg(info.profile);
    case State::PutBack:
        return Text::tr("Uzaktan: \"%1\" doğrulanmadı, süre dolunca geri alındı.")
            .arg(info.profile);
    }
    return {};
}

} // namespace RemoteTrial
