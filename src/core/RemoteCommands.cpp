#include "core/RemoteCommands.h"

#include "adapters/AdapterBackend.h"
#include "adapters/AdapterCommands.h"
#include "adapters/AnswerCode.h"
#include "adapters/ApplyReport.h"
#include "adapters/TrialLedger.h"
#include "core/RemoteTrial.h"
#include "core/TrialCountdown.h"
#include "settings/Text.h"
#include "settings/clsIni.h"

#include <QJsonArray>
#include <QRandomGenerator>

namespace CommandRunner {

namespace {

// A word for a POSIX shell, quoted when it needs to be.
QString shellWord(const QString &word) {
    static const QString plain =
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-=:");
    bool quote = word.isEmpty();
    for (const QChar c : word)
        quote = quote || !plain.contains(c);
    if (!quote)
        return word;
    QString quoted = word;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

// The command that reaches the same settings and adapters, with `command` at its end.
QString sameRunWith(const CommandLine &cl, const clsIni &ini, const Context &context,
                    const char *command) {
    QString line = shellWord(context.programName);
    if (!cl.settingsFile.isEmpty())
        line += QStringLiteral(" --settings ") + shellWord(ini.FileName());
    if (!cl.backend.isEmpty())
        line += QStringLiteral(" --backend ") + shellWord(cl.backend);
    return line + QLatin1Char(' ') + QLatin1String(command);
}

} // namespace

int applyFromAfar(Run &run, const CommandLine &cl, clsIni &ini, AdapterBackend &backend,
                  const Context &context, const QString &name, const QString &selection) {
    if (const TrialCountdown::Claimed room = TrialCountdown::roomFor(ini, backend); !room.ok)
        return run.refuse(room.refusal, 0, room.code);
    TrialLedger ledger(ini);
    const QString request =
        QString::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, u'0');
    TrialLedger::ClaimResult begun = ledger.beginRemote(name, cl.confirmWithin, request);
    if (begun.kind == TrialLedger::Claim::Unsettled) {
        ledger.settle(ini, backend);
        begun = ledger.beginRemote(name, cl.confirmWithin, request);
    }
    if (const TrialCountdown::Claimed refusal = TrialCountdown::refusalOf(begun, backend);
        !refusal.ok)
        return run.refuse(refusal.refusal, 0, refusal.code);
    QStringList arguments{QStringLiteral("--settings"), ini.FileName()};
    if (!cl.backend.isEmpty())
        arguments << QStringLiteral("--backend") << cl.backend;
    arguments << QStringLiteral("--apply") << name;
    if (!cl.adapterIndex.isEmpty())
        arguments << QStringLiteral("--adapter") << cl.adapterIndex;
    else if (cl.allAdapters)
        arguments << QStringLiteral("--all");
    if (cl.yes)
        arguments << QStringLiteral("--yes");
    if (!cl.language.isEmpty())
        arguments << QStringLiteral("--language") << cl.language; // its reasons in that language
    arguments << QStringLiteral("--confirm-within") << QString::number(cl.confirmWithin)
              << QStringLiteral("--detached-run") << request;
    QString problem;
    qint64 pid = 0;
    if (!context.detach(arguments, &pid, problem)) {
        ledger.withdraw(request);
        return run.refuse(
            Text::tr("Değişikliği yapacak süreç başlatılamadı; ağ ayarlarına dokunulmadı: %1")
                .arg(problem),
            0, AnswerCode::DetachFailed);
    }
    if (pid > 0)
        ledger.handOver(request, pid);
    run.json().insert(QStringLiteral("changed"), true); // asked for, made a second later
    const QString confirm = sameRunWith(cl, ini, context, "--confirm") + QLatin1Char(' ') + request;
    const QString undo = sameRunWith(cl, ini, context, "--undo") + QLatin1Char(' ') + request;
    run.json().insert(QStringLiteral("confirmWithin"), cl.confirmWithin);
    run.json().insert(QStringLiteral("startsInSeconds"), 1);
    run.json().insert(QStringLiteral("confirm"), confirm);
    run.json().insert(QStringLiteral("undo"), undo);
    run.json().insert(QStringLiteral("request"), request);
    run.line(Text::tr("\"%1\" profili 1 saniye sonra, bu oturumdan bağımsız uygulanacak ve "
                      "%2 saniye denenecek.")
                 .arg(name)
                 .arg(cl.confirmWithin));
    // Told before it is made: an apply also moves the other static adapters to DHCP.
    if (const QStringList toDhcp = AdapterCommands::othersLeavingStatic(backend, selection);
        !toDhcp.isEmpty()) {
        run.json().insert(QStringLiteral("toDhcp"), QJsonArray::fromStringList(toDhcp));
        run.line(Text::tr("Statik adresleri olan şu ağ bağdaştırıcıları da otomatik IP'ye (DHCP) "
                          "alınacak: %1")
                     .arg(toDhcp.join(QStringLiteral(", "))));
    }
    run.line(Text::tr("Kalıcı yapmak için (yeni adresten): %1").arg(confirm));
    run.line(Text::tr("Hemen geri almak için: %1").arg(undo));
    run.line(Text::tr("Doğrulanmazsa ağ ayarları kendiliğinden eski hallerine döner; sonucu "
                      "--status söyler."));
    run.setCode(AnswerCode::RemoteStarting);
    return run.finish(Done);
}

int applyDetached(Run &run, const CommandLine &cl, clsIni &ini, AdapterBackend &backend,
                  const Context &context, const QString &name, const QString &selection,
                  const QStringList &parts) {
    Q_UNUSED(context);
    TrialLedger ledger(ini);
    // Only the newest request is made, and only while it has not been settled otherwise.
    if (const std::optional<QString> refusal = ledger.startApplying(ini, cl.request)) {
        run.fail(*refusal);
        ledger.finishApplying(cl.request, false, *refusal, AnswerCode::Superseded);
        return run.finish(Refused);
    }
    const AdapterCommands::ApplyOutcome outcome =
        AdapterCommands::applyProfile(backend, selection, parts, cl.confirmWithin, true);
    const bool applied = outcome.kind == AdapterCommands::ApplyOutcome::Kind::Applied;
    const bool onTrial =
        AdapterCommands::connectionCheckFollows(outcome.kind) && outcome.trial.pending;
    // On trial until --confirm, --undo or the end of its time: not kept here.
    if (onTrial)
        recordCurrent(run, ini, applied ? name : QString());
    else if (outcome.adaptersChanged)
        recordCurrent(run, ini, QString());
    QString reason;
    if (!applied)
        reason = ApplyReport::outcomeText(outcome, name, selection, backend.name(), -1);
    ledger.finishApplying(cl.request, onTrial, reason,
                          applied ? QString() : ApplyReport::outcomeCode(outcome));
    if (!applied)
        run.fail(reason);
    return run.finish(Done);
}

} // namespace CommandRunner
