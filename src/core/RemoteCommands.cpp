#include "core/RemoteCommands.h"

#include "adapters/ApplyReport.h"
#include "adapters/WmiAdapter.h"
#include "core/RemoteTrial.h"
#include "core/TrialRecord.h"
#include "settings/Text.h"
#include "settings/clsIni.h"

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
QString sameRunWith(const CommandLine &cl, const Context &context, const char *command) {
    QString line = shellWord(context.programName);
    if (!cl.settingsFile.isEmpty())
        line += QStringLiteral(" --settings ") + shellWord(cl.settingsFile);
    if (!cl.backend.isEmpty())
        line += QStringLiteral(" --backend ") + shellWord(cl.backend);
    return line + QLatin1Char(' ') + QLatin1String(command);
}

} // namespace

int applyFromAfar(Run &run, const CommandLine &cl, clsIni &ini, AdapterBackend &backend,
                  const Context &context, const QString &name) {
    if (RemoteTrial::awaits(ini, backend))
        return run.refuse(RemoteTrial::busyText(ini, backend));
    if (const int left = backend.checkpointSecondsLeft(); left >= 0)
        return run.refuse(Text::tr("Bu program başka bir pencerede ya da komutta bir "
                                   "değişikliği deniyor (%1 saniye daha).")
                              .arg(left));
    RemoteTrial::write(ini, {RemoteTrial::State::Starting, name, {}, cl.confirmWithin});
    QStringList arguments{QStringLiteral("--settings"), ini.FileName()};
    if (!cl.backend.isEmpty())
        arguments << QStringLiteral("--backend") << cl.backend;
    arguments << QStringLiteral("--apply") << name;
    if (!cl.adapterIndex.isEmpty())
        arguments << QStringLiteral("--adapter") << cl.adapterIndex;
    if (cl.yes)
        arguments << QStringLiteral("--yes");
    if (!cl.language.isEmpty())
        arguments << QStringLiteral("--language") << cl.language; // its reasons in that language
    arguments << QStringLiteral("--confirm-within") << QString::number(cl.confirmWithin)
              << QStringLiteral("--detached-run");
    QString problem;
    if (!context.detach(arguments, problem)) {
        RemoteTrial::write(ini, {});
        return run.refuse(
            Text::tr("Değişikliği yapacak süreç başlatılamadı; ağ ayarlarına dokunulmadı: %1")
                .arg(problem));
    }
    const QString confirm = sameRunWith(cl, context, "--confirm");
    const QString undo = sameRunWith(cl, context, "--undo");
    run.json().insert(QStringLiteral("confirmWithin"), cl.confirmWithin);
    run.json().insert(QStringLiteral("startsInSeconds"), 1);
    run.json().insert(QStringLiteral("confirm"), confirm);
    run.json().insert(QStringLiteral("undo"), undo);
    run.line(Text::tr("\"%1\" profili 1 saniye sonra, bu oturumdan bağımsız uygulanacak ve "
                      "%2 saniye denenecek.")
                 .arg(name)
                 .arg(cl.confirmWithin));
    run.line(Text::tr("Kalıcı yapmak için (yeni adresten): %1").arg(confirm));
    run.line(Text::tr("Hemen geri almak için: %1").arg(undo));
    run.line(Text::tr("Doğrulanmazsa ağ ayarları kendiliğinden eski hallerine döner; sonucu "
                      "--status söyler."));
    return run.finish(Done);
}

int applyDetached(Run &run, const CommandLine &cl, clsIni &ini, AdapterBackend &backend,
                  const Context &context, const QString &name, const QString &selection,
                  const QStringList &parts) {
    // The answer of the command that started this run is on its way over the network: the
    // address moves only after it.
    context.wait(1);
    RemoteTrial::Info info{RemoteTrial::State::Refused, name, {}, cl.confirmWithin};
    const AdapterCommands::ApplyOutcome outcome =
        AdapterCommands::applyProfile(backend, selection, parts, cl.confirmWithin, true);
    const bool applied = outcome.kind == AdapterCommands::ApplyOutcome::Kind::Applied;
    if (AdapterCommands::connectionCheckFollows(outcome.kind) && outcome.trial.pending) {
        // On trial until --confirm, --undo or the end of its time: not kept here.
        TrialRecord::remember(ini);
        recordCurrent(run, ini, applied ? name : QString());
        info.state = RemoteTrial::State::Applied;
    } else if (outcome.adaptersChanged) {
        recordCurrent(run, ini, QString());
    }
    if (!applied)
        info.reason = ApplyReport::outcomeText(outcome, name, selection, backend.name(), -1);
    RemoteTrial::write(ini, info);
    if (!applied)
        run.fail(info.reason);
    return run.finish(Done);
}

} // namespace CommandRunner
