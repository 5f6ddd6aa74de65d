#include "core/RemoteTrial.h"

#include "adapters/AdapterBackend.h"
#include "adapters/AnswerCode.h"
#include "settings/Text.h"
#include "settings/clsIni.h"

#include <QDeadlineTimer>
#include <QThread>
#include <optional>

namespace RemoteTrial {

namespace {

using Decision = TrialLedger::Decision;

Result stillMaking(const Info &info) {
    return {1,
            Text::tr("\"%1\" profili hâlâ uygulanıyor; birkaç saniye sonra yeniden "
                     "deneyin.")
                .arg(info.profile),
            AnswerCode::StillStarting};
}

// The outcome of the run that makes the change, once it has one (it starts a second after the
// command that asked for it, and the change takes a few more); a run that ended without one
// is settled as refused.
Info outcome(TrialLedger &ledger, clsIni &ini, AdapterBackend &backend) {
    QDeadlineTimer made(15000);
    for (;;) {
        ledger.settle(ini, backend);
        const Info info = ledger.remote();
        if ((info.state != State::Starting && info.state != State::Applying) || made.hasExpired())
            return info;
        QThread::msleep(100);
    }
}

// The record cannot be read or taken (locked by another run past the wait, unreadable): what
// waits there is not known, and never said to be nothing.
Result recordProblem(const QString &problem) {
    return {1,
            Text::tr("Deneme kaydı okunamadı ya da kilitli; uzaktan yapılmış bir değişiklik "
                     "bekliyor olabilir;\nağ ayarlarına dokunulmadı: %1")
                .arg(problem),
            AnswerCode::RecordUnwritable};
}

// Takes the change to decide it; when another run decides it at the moment, waits for that
// one's outcome. False with the state it came to, or with `problem` when the record could not
// be read or written.
bool decide(TrialLedger &ledger, Decision decision, Info &now, QString &problem) {
    QDeadlineTimer other(45000);
    for (;;) {
        if (ledger.claimDecision(decision, now, &problem))
            return true;
        if (!problem.isEmpty())
            return false;
        const bool deciding = now.state == State::Confirming || now.state == State::Undoing;
        if (!deciding || !now.run.alive() || other.hasExpired())
            return false;
        QThread::msleep(100);
    }
}

// What the change had come to when this run could not take it.
Result answerFor(const Info &info, Decision decision) {
    switch (info.state) {
    case State::Starting:
    case State::Applying:
        return stillMaking(info);
    case State::Refused:
        return {1, Text::tr("\"%1\" profili uygulanmamıştı: %2").arg(info.profile, info.reason),
                AnswerCode::NotApplied};
    case State::PutBack:
        if (decision == Decision::Undo)
            return {
                0,
                Text::tr("\"%1\" profili zaten geri alınmıştı (süre dolmuştu).").arg(info.profile),
                AnswerCode::PutBack};
        return {3,
                Text::tr("\"%1\" profili doğrulanmadı: süre dolunca geri alınmıştı. Ağ "
                         "bağdaştırıcıları önceki ayarlarında.")
                    .arg(info.profile),
                AnswerCode::PutBack};
    case State::Confirmed:
        if (decision == Decision::Undo)
            return {1,
                    Text::tr("\"%1\" profili doğrulanmış ve kalıcı yapılmıştı; geri alınamaz.")
                        .arg(info.profile),
                    AnswerCode::Confirmed};
        break;
    case State::Undone:
        if (decision == Decision::Confirm)
            return {1,
                    Text::tr("\"%1\" profili --undo ile geri alınmıştı; doğrulanamaz.")
                        .arg(info.profile),
                    AnswerCode::Undone};
        break;
    case State::Confirming:
    case State::Undoing:
        return {1,
                Text::tr("\"%1\" profili için başka bir --confirm ya da --undo sürüyor; "
                         "sonucu --status söyler.")
                    .arg(info.profile),
                AnswerCode::Busy};
    case State::None:
    case State::Applied:
        break;
    }
    return {1,
            decision == Decision::Confirm
                ? Text::tr("Doğrulanacak, uzaktan yapılmış bir değişiklik yok.")
                : Text::tr("Geri alınacak, uzaktan yapılmış bir değişiklik yok."),
            AnswerCode::NoRemoteChange};
}

// A decision meant for one request, and the record holds another one (or none): nothing is done.
std::optional<Result> otherRequest(const Info &info, const QString &request) {
    if (request.isEmpty() || info.request == request)
        return std::nullopt;
    if (info.state == State::None)
        return Result{
            1, Text::tr("%1 isteğine ait, uzaktan yapılmış bir değişiklik yok.").arg(request),
            AnswerCode::NoRemoteChange};
    return Result{1,
                  Text::tr("Bekleyen değişiklik başka bir isteğin (\"%1\", istek %2); %3 isteği "
                           "için hiçbir şey yapılmadı.")
                      .arg(info.profile, info.request, request),
                  AnswerCode::OtherRequest};
}

// Takes over the checkpoint of the run that made the change (it may still be ending, having
// just written its outcome); nothing when there is one to act on, else the answer: the system
// put it back already, or (after a killed decision) it had been kept.
std::optional<Result> takeOver(TrialLedger &ledger, clsIni &ini, AdapterBackend &backend,
                               const Info &info, Decision decision) {
    QDeadlineTimer ended(5000);
    while (!backend.adoptTrial()) {
        if (backend.trialSecondsLeft() < 0) {
            const std::optional<RunIdentity> run = ledger.trialRun();
            if (run && backend.trialFate(*run) == AdapterBackend::Fate::Kept) {
                ledger.kept();
                Info now = info;
                now.state = State::Confirmed;
                if (decision == Decision::Undo)
                    return answerFor(now, decision);
                return Result{
                    0, Text::tr("\"%1\" profili doğrulandı ve kalıcı yapıldı.").arg(info.profile),
                    AnswerCode::Confirmed};
            }
            ledger.putBack(ini);
            Info now = info;
            now.state = State::PutBack;
            return answerFor(now, decision);
        }
        if (ended.hasExpired()) {
            ledger.dropDecision();
            return stillMaking(info);
        }
        QThread::msleep(100);
    }
    return std::nullopt;
}

} // namespace

QString stateName(State state) {
    return TrialLedger::remoteName(state);
}

Info read(clsIni &ini) {
    return TrialLedger(ini).remote();
}

bool awaits(clsIni &ini, AdapterBackend &backend) {
    return read(ini).state == State::Applied && backend.trialSecondsLeft() >= 0;
}

QString busyText(const Info &info, int secondsLeft) {
    if (info.state == State::Applied && secondsLeft < 0) // its time is up: being put back
        return Text::tr("Uzaktan yapılan \"%1\" değişikliğinin süresi doldu, geri alınıyor;\n"
                        "ağ ayarlarına dokunulmadı. Sonucu --status söyler.")
            .arg(info.profile);
    if (info.state == State::Applied)
        return Text::tr("Uzaktan yapılan \"%1\" değişikliği doğrulama bekliyor (%2 saniye daha);\n"
                        "ağ ayarlarına dokunulmadı. Önce --confirm ile kalıcı yapın ya da --undo "
                        "ile geri alın.")
            .arg(info.profile)
            .arg(secondsLeft);
    return Text::tr(
               "Uzaktan istenen \"%1\" değişikliği şu anda yapılıyor ya da karara bağlanıyor;\n"
               "ağ ayarlarına dokunulmadı. Sonucu --status söyler.")
        .arg(info.profile);
}

QString busyText(clsIni &ini, AdapterBackend &backend) {
    return busyText(read(ini), backend.trialSecondsLeft());
}

Result confirm(clsIni &ini, AdapterBackend &backend, const QString &request) {
    TrialLedger ledger(ini);
    if (QString unread; !ledger.read(&unread))
        return recordProblem(unread);
    Info info = outcome(ledger, ini, backend);
    if (std::optional<Result> other = otherRequest(info, request))
        return *other;
    if (QString problem; !decide(ledger, Decision::Confirm, info, problem))
        return problem.isEmpty() ? answerFor(info, Decision::Confirm) : recordProblem(problem);
    if (const std::optional<Result> answer =
            takeOver(ledger, ini, backend, info, Decision::Confirm))
        return *answer;
    QString problem;
    switch (backend.keepChanges(problem)) {
    case AdapterBackend::Keep::Kept:
        ledger.kept();
        return {0, Text::tr("\"%1\" profili doğrulandı ve kalıcı yapıldı.").arg(info.profile),
                AnswerCode::Confirmed};
    case AdapterBackend::Keep::PutBack:
        ledger.putBack(ini);
        return {3, Text::tr("\"%1\" profili doğrulanamadı: %2").arg(info.profile, problem),
                AnswerCode::PutBack};
    case AdapterBackend::Keep::Unsaved:
    case AdapterBackend::Keep::Failed:
        break;
    }
    // Still on trial where the checkpoint stays; kept (in memory only) where it went.
    if (backend.trialSecondsLeft() >= 0)
        ledger.dropDecision();
    else
        ledger.kept();
    return {1, Text::tr("\"%1\" profili kalıcı yapılamadı: %2").arg(info.profile, problem),
            AnswerCode::KeepFailed};
}

Result undo(clsIni &ini, AdapterBackend &backend, const QString &request) {
    TrialLedger ledger(ini);
    if (QString unread; !ledger.read(&unread))
        return recordProblem(unread);
    Info info = outcome(ledger, ini, backend);
    if (std::optional<Result> other = otherRequest(info, request))
        return *other;
    if (QString problem; !decide(ledger, Decision::Undo, info, problem))
        return problem.isEmpty() ? answerFor(info, Decision::Undo) : recordProblem(problem);
    if (const std::optional<Result> answer = takeOver(ledger, ini, backend, info, Decision::Undo))
        return *answer;
    QString problem;
    if (!backend.putBack(problem)) {
        ledger.dropDecision();
        return {1, Text::tr("\"%1\" profili geri alınamadı: %2").arg(info.profile, problem),
                AnswerCode::UndoFailed};
    }
    const QString now = ledger.putBack(ini, State::Undone);
    return {
        0,
        Text::tr("\"%1\" profili geri alındı; ağ bağdaştırıcıları önceki "
                 "ayarlarında%2.")
            .arg(info.profile, now.isEmpty() ? QString() : QStringLiteral(" (\"%1\")").arg(now)),
        AnswerCode::Undone};
}

QString describe(const Info &info, int secondsLeft) {
    switch (info.state) {
    case State::None:
        return {};
    case State::Starting:
        return Text::tr("Uzaktan: \"%1\" birazdan uygulanacak.").arg(info.profile);
    case State::Applying:
        return Text::tr("Uzaktan: \"%1\" şu anda uygulanıyor.").arg(info.profile);
    case State::Applied:
        return secondsLeft >= 0
                   ? Text::tr("Uzaktan: \"%1\" uygulandı, doğrulama bekliyor (%2 sn):\n"
                              "kalıcı yapmak için --confirm, geri almak için --undo.")
                         .arg(info.profile)
                         .arg(secondsLeft)
                   : Text::tr("Uzaktan: \"%1\" doğrulanmadı, geri alındı.").arg(info.profile);
    case State::Confirming:
        return Text::tr("Uzaktan: \"%1\" şu anda kalıcı yapılıyor (--confirm).").arg(info.profile);
    case State::Undoing:
        return Text::tr("Uzaktan: \"%1\" şu anda geri alınıyor (--undo).").arg(info.profile);
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
