#include "core/ChangeCommands.h"

#include "adapters/AdapterBackend.h"
#include "adapters/AdapterCommands.h"
#include "adapters/AnswerCode.h"
#include "adapters/ApplyReport.h"
#include "adapters/ProfileCheck.h"
#include "core/Links.h"
#include "core/MainWindowRules.h"
#include "core/ProfileCommands.h"
#include "core/RemoteCommands.h"
#include "core/TrialCountdown.h"
#include "settings/Text.h"
#include "settings/modNetProfiles.h"

#include <QJsonArray>
#include <QJsonObject>
#include <functional>

namespace CommandRunner {

namespace {

using namespace modNetProfiles;

// What adapters that took a change leave to be said (no cable: applied when it comes).
void sayNotices(Run &run, const QStringList &notices) {
    for (const QString &notice : notices)
        run.say(notice);
    if (!notices.isEmpty())
        run.json().insert(QStringLiteral("notices"), QJsonArray::fromStringList(notices));
}

// A change is on trial only for the time its call takes: kept at once when no check follows.
constexpr int kUncheckedTrialSeconds = 30;

// Keeps this run's change on trial; false when the system had put it back meanwhile (the run
// was paused past its time), which the run then says, naming the profile now current.
bool keepTrial(Run &run, clsIni &ini, AdapterBackend &backend, AdapterCommands::Trial &trial) {
    const TrialCountdown::Kept kept =
        trial.pending ? TrialCountdown::keep(ini, backend) : TrialCountdown::Kept();
    trial.pending = false;
    if (kept.outcome == AdapterBackend::Keep::PutBack) {
        const QString &now = kept.now;
        run.json().insert(QStringLiteral("putBack"), true);
        run.json().insert(QStringLiteral("current"), now);
        run.fail(Text::tr("Değişiklik kalmadı: %1\nAğ bağdaştırıcıları şimdi %2.")
                     .arg(kept.problem, now.isEmpty() ? Text::tr("değişiklikten önceki ayarlarında")
                                                      : Text::tr("\"%1\" profilinde").arg(now)),
                 0, AnswerCode::PutBack);
        return false;
    }
    if (kept.outcome == AdapterBackend::Keep::Failed) {
        // Never reported kept: the change is still on trial and goes back at its time.
        AdapterCommands::Trial failed;
        failed.keptAs(kept.outcome, kept.problem);
        run.fail(ApplyReport::trialProblemText(failed, std::max(0, backend.trialSecondsLeft())), 0,
                 AnswerCode::KeepFailed);
        return true;
    }
    trial.keptAs(kept.outcome, kept.problem);
    return true;
}

// What --check does when it finds no internet, as the window's check does: every adapter back
// to DHCP. Exit 3 only when every adapter took it.
int fallBack(Run &run, clsIni &ini, AdapterBackend &backend, const QString &name) {
    // Never over another run's or program's change on trial: that one is judged by its own.
    if (const TrialCountdown::Claimed claimed = TrialCountdown::claim(ini, backend); !claimed.ok) {
        run.json().insert(QStringLiteral("revertedToDhcp"), false);
        run.fail(Text::tr("İnternet bağlantısı yok, ancak otomatik IP'ye (DHCP) geçilmedi: %1")
                     .arg(claimed.refusal),
                 0, claimed.code);
        return run.finish(Refused);
    }
    AdapterCommands::DhcpReset reset =
        AdapterCommands::ResetAdaptersToDHCP(backend, kUncheckedTrialSeconds);
    if (!reset.trial.pending)
        TrialCountdown::release(ini);
    run.json().insert(QStringLiteral("revertedToDhcp"), !reset.failed && reset.refusals.isEmpty());
    if (reset.failed) {
        run.fail(Text::tr("İnternet bağlantısı yok, ancak \"%1\" geri alınamadı. ").arg(name) +
                     ApplyReport::dhcpFailedText(reset, backend.name()),
                 reset.error.number,
                 reset.trial.busy.isEmpty() ? ApplyReport::errorCode(reset.error)
                                            : AnswerCode::Busy);
        return run.finish(Refused);
    }
    const bool recorded = recordCurrent(run, ini, QString()); // while still on trial
    if (!keepTrial(run, ini, backend, reset.trial))
        return run.finish(Refused);
    if (!reset.refusals.isEmpty()) {
        run.json().insert(QStringLiteral("fallbackRefusals"), refusalsJson(reset.refusals));
        run.fail(ApplyReport::fallbackRefusedText(reset, name), reset.refusals.first().code,
                 AnswerCode::AdapterRefused);
        return run.finish(Refused);
    }
    run.setCode(AnswerCode::RevertedToDhcp);
    run.say(Text::tr("İnternet bağlantısı yok: \"%1\" geri alındı,\n"
                     "bütün ağ bağdaştırıcıları otomatik IP'ye (DHCP) geçirildi.")
                .arg(name));
    run.line(Text::tr("Otomatik IP'ye (DHCP) dönüldü."));
    return run.finish(recorded ? RevertedToDhcp : Refused);
}

// The adapter that --adapter names: by the number in its caption's brackets, or by its
// interface's name (the description's first word); empty when none is.
QString chosenAdapter(const QStringList &captions, const QString &asked) {
    bool number = false;
    const qlonglong index = asked.toLongLong(&number);
    for (const QString &caption : captions) {
        if (number ? captionIndex(caption) == index
                   : AdapterCommands::interfaceOf(caption) == asked)
            return caption;
    }
    return {};
}

// Without an address service an apply is judged by its gateway's answer on the adapters that
// took it: kept when it answers (or when that cannot be told), put back when it is silent.
int judgeByGateway(Run &run, clsIni &ini, AdapterBackend &backend, const ApplyPlan &plan,
                   const Context &context, bool pending, const std::function<bool()> &keep) {
    const AdapterCommands::GatewayJudgement judged =
        AdapterCommands::judgeByGateway(backend, plan.selection, plan.parts, context.httpTimeoutMs);
    using Verdict = AdapterCommands::GatewayJudgement::Verdict;
    run.json().insert(QStringLiteral("gateway"),
                      QJsonObject{{QStringLiteral("address"), judged.gateway},
                                  {QStringLiteral("answered"),
                                   judged.verdict == Verdict::Unknown
                                       ? QJsonValue()
                                       : QJsonValue(judged.verdict == Verdict::Answered)}});
    run.json().insert(QStringLiteral("revertedToDhcp"), false);
    if (judged.verdict == Verdict::Silent && !pending) {
        run.fail(Text::tr("MODEM IP %1, %2 üzerinde cevap vermedi; değişiklik denenmeden "
                          "yapıldığı için geri alınamadı.")
                     .arg(judged.gateway, judged.adapters.join(QStringLiteral(", "))),
                 0, AnswerCode::NoSafetyNet);
        return run.finish(Refused);
    }
    if (judged.verdict != Verdict::Silent) {
        if (!keep())
            return run.finish(PutBack);
        run.line(
            judged.verdict == Verdict::Answered
                ? Text::tr("MODEM IP %1 cevap verdi; değişiklik kalıcı.").arg(judged.gateway)
                : Text::tr("MODEM IP %1 denetlenemedi; değişiklik kalıcı.").arg(judged.gateway));
        return run.finish(Done);
    }
    const TrialCountdown::Kept back =
        TrialCountdown::putBack(ini, backend, ApplyReport::gatewaySilentText(judged));
    if (back.outcome != AdapterBackend::Keep::PutBack) {
        run.fail(back.problem, 0, AnswerCode::KeepFailed);
        return run.finish(Refused);
    }
    run.json().insert(QStringLiteral("putBack"), true);
    run.json().insert(QStringLiteral("current"), back.now);
    run.json().insert(QStringLiteral("code"), AnswerCode::PutBack); // not the apply's any more
    run.fail(Text::tr("Değişiklik kalmadı: %1\nAğ bağdaştırıcıları şimdi %2.")
                 .arg(back.problem, back.now.isEmpty()
                                        ? Text::tr("değişiklikten önceki ayarlarında")
                                        : Text::tr("\"%1\" profilinde").arg(back.now)),
             0, AnswerCode::PutBack);
    return run.finish(PutBack);
}

ApplyPlan refused(ApplyPlan plan, const QString &reason, const QString &code) {
    plan.refusal = reason;
    plan.code = code;
    return plan;
}

// Applies the planned change here and now, on trial while the check judges it, and says what
// became of it: applied, refused in part or left on DHCP; with --check, kept or fallen back.
int applyHere(Run &run, const CommandLine &cl, clsIni &ini, AdapterBackend &backend,
              const Context &context, const ApplyPlan &plan) {
    const QString &name = plan.name;
    const QString &selection = plan.selection;
    // The trial becomes this run's, or nothing changes.
    if (const TrialCountdown::Claimed claimed = TrialCountdown::claim(ini, backend); !claimed.ok)
        return run.refuse(claimed.refusal, 0, claimed.code);

    // On trial until the check has judged: the internet check, or without an address service
    // the profile's gateway (an apply only); without a check the change is kept at once (the
    // trial still puts the adapters back when the address is in use).
    const bool service = !Links::externalAddressUrl(ini).isEmpty();
    const int trialSeconds =
        cl.check ? TrialCountdown::lengthFor(cl.checkAfterSeconds, context.httpTimeoutMs)
                 : kUncheckedTrialSeconds;
    const QStringList toDhcp = AdapterCommands::othersLeavingStatic(backend, selection);
    const AdapterCommands::ApplyOutcome outcome =
        AdapterCommands::applyProfile(backend, selection, plan.parts, trialSeconds);
    if (outcome.adaptersChanged && !toDhcp.isEmpty()) {
        run.json().insert(QStringLiteral("toDhcp"), QJsonArray::fromStringList(toDhcp));
        run.line(Text::tr("Statik adresleri olan şu ağ bağdaştırıcıları da otomatik IP'ye (DHCP) "
                          "alındı: %1")
                     .arg(toDhcp.join(QStringLiteral(", "))));
    }
    // The rules of the window: applied, refused in part or left on DHCP, the check follows.
    const bool changed = AdapterCommands::connectionCheckFollows(outcome.kind);
    const bool checkFollows = cl.check && changed;
    AdapterCommands::Trial trial = outcome.trial;
    const bool applied = outcome.kind == AdapterCommands::ApplyOutcome::Kind::Applied;
    const bool byGateway = cl.check && !service && applied;
    const bool judged = (cl.check && service) || byGateway;
    run.json().insert(QStringLiteral("changed"), applied || outcome.adaptersChanged);
    if (!trial.pending)
        TrialCountdown::release(ini); // nothing of this run's on trial
    const auto keep = [&] {
        if (!keepTrial(run, ini, backend, trial))
            return false;
        // Said only of a change that was made: a refusal says that nothing was.
        if (const QString text = ApplyReport::trialProblemText(trial, trialSeconds);
            changed && !text.isEmpty())
            run.say(text);
        trial.problem.clear(); // said once
        return true;
    };
    // The current profile is recorded while the change is still on trial: a run that starts
    // meanwhile is refused, so the settings never name a profile whose change another run has
    // replaced since. Put back, the change takes the record back with it.
    if (applied)
        recordCurrent(run, ini, name);
    else if (outcome.adaptersChanged)
        recordCurrent(run, ini, QString()); // no longer on the earlier profile
    if (!(judged && checkFollows && trial.pending) && !keep())
        return run.finish(PutBack); // paused during the change past its time

    run.json().insert(QStringLiteral("applied"), applied);
    sayNotices(run, outcome.notices);
    if (applied) {
        run.line(Text::tr("\"%1\" profili uygulandı: %2.")
                     .arg(name, selection == QLatin1String("*ALL")
                                    ? Text::tr("bütün ağ bağdaştırıcıları")
                                    : selection));
    } else {
        if (!outcome.refusals.isEmpty())
            run.json().insert(QStringLiteral("refusals"), refusalsJson(outcome.refusals));
        run.fail(ApplyReport::outcomeText(outcome, name, selection, backend.name(),
                                          checkFollows ? cl.checkAfterSeconds : -1),
                 !outcome.refusals.isEmpty() ? outcome.refusals.first().code : outcome.error.number,
                 ApplyReport::outcomeCode(outcome));
    }
    if (applied)
        run.setCode(AnswerCode::Applied);
    if (!checkFollows)
        return run.finish(Done);

    // As the window's timer does: wait, look, and fall back when the internet is missing.
    // Ended meanwhile, the program leaves the change to the system, which puts it back.
    if (trial.pending)
        run.line(
            Text::tr("Deneniyor: %1 saniye içinde doğrulanmazsa geri alınır.").arg(trialSeconds));
    context.wait(cl.checkAfterSeconds);
    if (byGateway)
        return judgeByGateway(run, ini, backend, plan, context, trial.pending, keep);
    const External external = externalCheck(ini, context);
    if (judged && !keep())
        return run.finish(PutBack); // paused past the trial: what was checked is gone
    run.json().insert(QStringLiteral("external"), external.shown);
    run.json().insert(QStringLiteral("externalState"), external.state);
    run.line(QStringLiteral("MODEM IP: %1").arg(external.shown));
    if (!external.noInternet) {
        run.json().insert(QStringLiteral("revertedToDhcp"), false);
        return run.finish(Done);
    }
    return fallBack(run, ini, backend, name);
}

} // namespace

ApplyPlan planApply(const CommandLine &cl, clsIni &ini, AdapterBackend &backend) {
    ApplyPlan plan;
    // A preview of the profile as an import would leave it (configuration management's check
    // mode: the values it pushes, not the ones stored yet); otherwise the stored one.
    std::optional<ProfileWrites::Verdict> pushed;
    if (!cl.withProfiles.isEmpty()) {
        QString problem;
        pushed = ProfileWrites::pushed(cl.withProfiles, cl.profile, cl.yes, problem);
        if (!problem.isEmpty())
            return refused(plan, problem, AnswerCode::ImportUnreadable);
        if (pushed && !pushed->code.isEmpty())
            return refused(plan, pushed->reason, pushed->code);
    }
    plan.name = pushed ? pushed->name : storedName(ini, cl.profile);
    if (plan.name.isEmpty())
        return refused(plan, Text::tr("\"%1\" adında bir profil yok.").arg(cl.profile),
                       AnswerCode::NoSuchProfile);
    if (const std::optional<QString> refusal = ApplyReport::refusedNameText(plan.name))
        return refused(plan, *refusal, AnswerCode::InvalidName);
    plan.parts = MainWindowRules::profileParts(
        pushed ? pushed->value : ini.ReadString(ProfilesSection, plan.name, QString()));
    const ProfileCheck::Result check = ProfileCheck::check(plan.parts);
    if (!check.canApply())
        return refused(plan, ApplyReport::refusedProfileText(plan.name, *check.refusal),
                       AnswerCode::InvalidProfile);
    if (!check.doubts.isEmpty() && !cl.yes)
        return refused(plan,
                       ProfileCheck::doubtText(plan.name, check.doubts) +
                           Text::tr("\nAğ ayarlarına dokunulmadı; yine de uygulamak için "
                                    "--yes ekleyin."),
                       AnswerCode::DoubtfulProfile);
    plan.selection = QStringLiteral("*ALL");
    const QStringList captions = AdapterCommands::adapterCaptions(backend);
    if (!cl.adapterIndex.isEmpty()) {
        plan.selection = chosenAdapter(captions, cl.adapterIndex);
        if (plan.selection.isEmpty())
            return refused(plan,
                           Text::tr("\"%1\" adlı ya da numaralı ağ bağdaştırıcısı yok. "
                                    "Bağdaştırıcılar:\n%2")
                               .arg(cl.adapterIndex, captions.join(QLatin1Char('\n'))),
                           AnswerCode::NoSuchAdapter);
    } else if (!cl.allAdapters && captions.size() > 1) {
        // One static address on two cards cuts the second card's network off: asked, never
        // assumed.
        return refused(plan,
                       Text::tr("Bu bilgisayarda birden çok ağ bağdaştırıcısı var; profil "
                                "hangisine uygulanacak?\n%1\n--adapter NUMARA ya da AD ile "
                                "birini seçin; hepsine aynı adres için --adapter all.")
                           .arg(captions.join(QLatin1Char('\n'))),
                       AnswerCode::SeveralAdapters);
    }
    // For configuration management: what holds the profile already is left alone, and no
    // connection drops.
    plan.changes = cl.detachedRun || backend.trialSecondsLeft() >= 0 ||
                   !AdapterCommands::alreadyHeld(backend, plan.selection, plan.parts);
    return plan;
}

int apply(Run &run, const CommandLine &cl, clsIni &ini, AdapterBackend &backend,
          const Context &context) {
    // The run that makes a remote change: the answer of the command that started it is on its
    // way over the network, so the address moves only after it; what is checked is what the
    // settings and adapters hold then.
    if (cl.detachedRun)
        context.wait(1);
    // What is asked, and what of it is allowed.
    const ApplyPlan plan = planApply(cl, ini, backend);
    if (!plan.name.isEmpty())
        run.json().insert(QStringLiteral("profile"), plan.name);
    if (!plan.code.isEmpty())
        return run.refuse(plan.refusal, 0, plan.code);
    run.json().insert(QStringLiteral("adapters"), plan.selection);
    // What is done: nothing (a preview, or what holds the profile already), a change made by a
    // detached run that waits for its confirmation, or a change here.
    if (cl.dryRun) {
        // The refusal the real apply would meet (another run's change on trial, a remote change
        // waiting, a full disk) is the preview's answer too.
        if (const TrialCountdown::Claimed claimed = TrialCountdown::wouldClaim(ini, backend);
            plan.changes && !claimed.ok)
            return run.refuse(claimed.refusal, 0, claimed.code);
        return previewApply(run, backend, plan.selection, plan.parts);
    }
    if (!plan.changes) {
        run.json().insert(QStringLiteral("changed"), false);
        run.setCode(AnswerCode::AlreadyHeld);
        recordCurrent(run, ini, plan.name);
        run.line(Text::tr("\"%1\" profili zaten uygulanmış (%2); ağ ayarlarına dokunulmadı.")
                     .arg(plan.name, plan.selection == QLatin1String("*ALL")
                                         ? Text::tr("bütün ağ bağdaştırıcıları")
                                         : plan.selection));
        return run.finish(Done);
    }
    if (cl.confirmWithin > 0) {
        if (cl.detachedRun)
            return applyDetached(run, cl, ini, backend, context, plan.name, plan.selection,
                                 plan.parts);
        return applyFromAfar(run, cl, ini, backend, context, plan.name, plan.selection);
    }
    return applyHere(run, cl, ini, backend, context, plan);
}

int dhcp(Run &run, const CommandLine &cl, clsIni &ini, AdapterBackend &backend) {
    // Run again and again by configuration management: adapters on DHCP are left alone.
    const bool changes = backend.trialSecondsLeft() >= 0 || !AdapterCommands::allOnDhcp(backend);
    if (cl.dryRun) { // the real run's refusal, or what would move
        if (const TrialCountdown::Claimed claimed = TrialCountdown::wouldClaim(ini, backend);
            changes && !claimed.ok)
            return run.refuse(claimed.refusal, 0, claimed.code);
        return previewDhcp(run, backend);
    }
    if (!changes) {
        run.json().insert(QStringLiteral("changed"), false);
        run.setCode(AnswerCode::AlreadyHeld);
        recordCurrent(run, ini, QString());
        run.line(Text::tr("Bütün ağ bağdaştırıcıları zaten otomatik IP'de (DHCP); ağ ayarlarına "
                          "dokunulmadı."));
        return run.finish(Done);
    }
    if (const TrialCountdown::Claimed claimed = TrialCountdown::claim(ini, backend); !claimed.ok)
        return run.refuse(claimed.refusal, 0, claimed.code);
    // On trial for the call alone: another program's change on trial is respected.
    AdapterCommands::DhcpReset reset =
        AdapterCommands::ResetAdaptersToDHCP(backend, kUncheckedTrialSeconds);
    if (!reset.trial.pending)
        TrialCountdown::release(ini);
    run.json().insert(QStringLiteral("changed"), reset.changed && !reset.failed);
    if (reset.failed)
        return run.refuse(ApplyReport::dhcpFailedText(reset, backend.name()), reset.error.number,
                          reset.trial.busy.isEmpty() ? ApplyReport::errorCode(reset.error)
                                                     : AnswerCode::Busy);
    // Recorded while still on trial: a run that starts meanwhile is refused (put back, the
    // change takes the record back with it).
    recordCurrent(run, ini, QString());
    if (!keepTrial(run, ini, backend, reset.trial))
        return run.finish(PutBack);
    if (const QString text = ApplyReport::trialProblemText(reset.trial, kUncheckedTrialSeconds);
        !text.isEmpty())
        run.say(text);
    run.json().insert(QStringLiteral("adapters"), reset.adapters);
    sayNotices(run, reset.notices);
    if (!reset.refusals.isEmpty()) {
        run.json().insert(QStringLiteral("refusals"), refusalsJson(reset.refusals));
        return run.refuse(ApplyReport::dhcpRefusedText(reset), reset.refusals.first().code,
                          AnswerCode::AdapterRefused);
    }
    run.line(Text::tr("Bütün ağ bağdaştırıcıları (%1) otomatik IP'de (DHCP).").arg(reset.adapters));
    run.setCode(AnswerCode::Dhcp);
    return run.finish(Done);
}

} // namespace CommandRunner
