#include "core/CommandRunner.h"

#include "adapters/AdapterCommands.h"
#include "adapters/AnswerCode.h"
#include "adapters/ApplyReport.h"
#include "adapters/ProfileCheck.h"
#include "adapters/TrialLedger.h"
#include "adapters/WmiAdapter.h"
#include "core/CommandOutput.h"
#include "core/Links.h"
#include "core/MainWindowRules.h"
#include "core/ProfileCommands.h"
#include "core/ProfileExport.h"
#include "core/RemoteCommands.h"
#include "core/RemoteTrial.h"
#include "core/TrialCountdown.h"
#include "discovery/ExternalAddress.h"
#include "settings/IniFileStore.h"
#include "settings/Text.h"
#include "settings/modNetProfiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrl>

namespace CommandRunner {

namespace {

// Whether the command may change the adapters (and so put back what an ended run left).
bool changesAdapters(const CommandLine &cl) {
    return ((cl.command == CommandLine::Command::Apply ||
             cl.command == CommandLine::Command::Dhcp) &&
            !cl.dryRun) ||
           cl.command == CommandLine::Command::Confirm || cl.command == CommandLine::Command::Undo;
}

using namespace modNetProfiles;
using Command = CommandLine::Command;

QStringList sortedProfiles(clsIni &ini) {
    QStringList names;
    qint32 count = 0;
    ini.ReadSection(ini.FileName(), ProfilesSection, names, count);
    return MainWindowRules::sortedProfileNames(names);
}

// The stored spelling of a profile's name, as the list shows it; empty when there is none.
QString storedName(clsIni &ini, const QString &asked) {
    for (const QString &name : sortedProfiles(ini)) {
        if (MainWindowRules::sameProfileName(name, asked))
            return name;
    }
    return {};
}

// The number in a caption's brackets ("[00000002] Ethernet" gives 2), or -1.
qint64 captionIndex(const QString &caption) {
    static const QRegularExpression index(QStringLiteral("^\\[(\\d+)\\] "));
    const QRegularExpressionMatch m = index.match(caption);
    return m.hasMatch() ? m.captured(1).toLongLong() : -1;
}

QString address(const QStringList &parts, int field) {
    const QString text = AdapterCommands::RetAddr(parts, qint16(field * 4));
    return text == QLatin1String("...") ? QString() : text;
}

// The external check as the window makes it: what the line shows, and whether the
// connection counts as missing.
struct External {
    QString shown;
    bool noInternet = false;
    QString
        state; // for scripts, in every language: address, service-error, no-internet, no-service
};
External externalCheck(clsIni &ini, const Context &context) {
    const QString url = Links::externalAddressUrl(ini);
    if (url.isEmpty())
        return {Text::tr("SERVİS YOK"), false, QStringLiteral("no-service")};
    const ExternalAddress::Outcome o = ExternalAddress::outcome(
        ExternalAddress::post(QUrl(url), QByteArray(), context.httpTimeoutMs));
    switch (o.kind) {
    case ExternalAddress::Outcome::Kind::Address:
        return {o.text, false, QStringLiteral("address")};
    case ExternalAddress::Outcome::Kind::ServiceError:
        return {Text::tr("SERVİS HATASI"), false, QStringLiteral("service-error")};
    case ExternalAddress::Outcome::Kind::NoInternet:
        break;
    }
    return {Text::tr("İNTERNET YOK"), true, QStringLiteral("no-internet")};
}

int list(Run &run, clsIni &ini) {
    const QString current = ini.ReadString(CurrentProfileSection, ProfileNameKey, QString());
    QJsonArray profiles;
    for (const QString &name : sortedProfiles(ini)) {
        const bool isCurrent =
            !current.isEmpty() && MainWindowRules::sameProfileName(name, current);
        run.line((isCurrent ? QStringLiteral("* ") : QStringLiteral("  ")) + name);
        profiles.append(
            QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("current"), isCurrent}});
    }
    run.json().insert(QStringLiteral("profiles"), profiles);
    run.json().insert(QStringLiteral("current"), current);
    return run.finish(Done);
}

int show(Run &run, clsIni &ini, const QString &asked) {
    const QString name = storedName(ini, asked);
    if (name.isEmpty())
        return run.refuse(Text::tr("\"%1\" adında bir profil yok.").arg(asked));
    const QStringList parts =
        MainWindowRules::profileParts(ini.ReadString(ProfilesSection, name, QString()));
    const QStringList labels = {QStringLiteral("IP"), Text::tr("Maske"), Text::tr("Modem IP"),
                                QStringLiteral("DNS 1"), QStringLiteral("DNS 2")};
    const QStringList keys = {QStringLiteral("address"), QStringLiteral("mask"),
                              QStringLiteral("gateway"), QStringLiteral("dns1"),
                              QStringLiteral("dns2")};
    run.json().insert(QStringLiteral("name"), name);
    for (int field = 0; field < 5; ++field) {
        const QString value = address(parts, field);
        run.line(labels[field] + QStringLiteral(": ") + value);
        run.json().insert(keys[field], value);
    }
    return run.finish(Done);
}

int adapters(Run &run, AdapterBackend &backend) {
    WmiError error;
    WmiAdapterList list;
    if (!backend.connect(error) || !backend.ipEnabledAdapters(list, error))
        return run.refuse(Text::tr("Ağ bağdaştırıcıları listelenemedi (%1): %2")
                              .arg(backend.name(), error.description),
                          error.number);
    QJsonArray items;
    for (const auto &adapter : list) {
        const QString caption = adapter->Caption();
        run.line(caption);
        items.append(
            QJsonObject{{QStringLiteral("caption"), caption},
                        {QStringLiteral("index"), double(captionIndex(caption))},
                        {QStringLiteral("description"), AdapterCommands::descriptionOf(caption)}});
    }
    run.json().insert(QStringLiteral("adapters"), items);
    return run.finish(Done);
}

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
        run.fail(
            ApplyReport::trialProblemText(failed, std::max(0, backend.checkpointSecondsLeft())), 0,
            AnswerCode::KeepFailed);
        return true;
    }
    trial.keptAs(kept.outcome, kept.problem);
    return true;
}

int dhcp(Run &run, const CommandLine &cl, clsIni &ini, AdapterBackend &backend) {
    // Run again and again by configuration management: adapters on DHCP are left alone.
    const bool changes =
        backend.checkpointSecondsLeft() >= 0 || !AdapterCommands::allOnDhcp(backend);
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

int apply(Run &run, const CommandLine &cl, clsIni &ini, AdapterBackend &backend,
          const Context &context) {
    // The run that makes a remote change: the answer of the command that started it is on its
    // way over the network, so the address moves only after it; what is checked is what the
    // settings and adapters hold then.
    if (cl.detachedRun)
        context.wait(1);
    // A preview of the profile as an import would leave it (configuration management's check
    // mode: the values it pushes, not the ones stored yet); otherwise the stored one.
    std::optional<ProfileWrites::Verdict> pushed;
    if (!cl.withProfiles.isEmpty()) {
        QString problem;
        pushed = ProfileWrites::pushed(cl.withProfiles, cl.profile, cl.yes, problem);
        if (!problem.isEmpty())
            return run.refuse(problem, 0, AnswerCode::ImportUnreadable);
        if (pushed && !pushed->code.isEmpty())
            return run.refuse(pushed->reason, 0, pushed->code);
    }
    const QString name = pushed ? pushed->name : storedName(ini, cl.profile);
    if (name.isEmpty())
        return run.refuse(Text::tr("\"%1\" adında bir profil yok.").arg(cl.profile), 0,
                          AnswerCode::NoSuchProfile);
    run.json().insert(QStringLiteral("profile"), name);
    if (const std::optional<QString> refused = ApplyReport::refusedNameText(name))
        return run.refuse(*refused, 0, AnswerCode::InvalidName);
    const QStringList parts = MainWindowRules::profileParts(
        pushed ? pushed->value : ini.ReadString(ProfilesSection, name, QString()));
    const ProfileCheck::Result check = ProfileCheck::check(parts);
    if (!check.canApply())
        return run.refuse(ApplyReport::refusedProfileText(name, *check.refusal), 0,
                          AnswerCode::InvalidProfile);
    if (!check.doubts.isEmpty() && !cl.yes)
        return run.refuse(ProfileCheck::doubtText(name, check.doubts) +
                              Text::tr("\nAğ ayarlarına dokunulmadı; yine de uygulamak için "
                                       "--yes ekleyin."),
                          0, AnswerCode::DoubtfulProfile);

    QString selection = QStringLiteral("*ALL");
    if (!cl.adapterIndex.isEmpty()) {
        selection.clear();
        for (const QString &caption : AdapterCommands::adapterCaptions(backend)) {
            if (captionIndex(caption) == cl.adapterIndex.toLongLong())
                selection = caption;
        }
        if (selection.isEmpty())
            return run.refuse(Text::tr("%1 numaralı ağ bağdaştırıcısı yok (--adapters "
                                       "listesine bakın).")
                                  .arg(cl.adapterIndex),
                              0, AnswerCode::NoSuchAdapter);
    }
    run.json().insert(QStringLiteral("adapters"), selection);
    // For configuration management: what holds the profile already is left alone, and no
    // connection drops.
    const bool changes = cl.detachedRun || backend.checkpointSecondsLeft() >= 0 ||
                         !AdapterCommands::alreadyHeld(backend, selection, parts);
    if (cl.dryRun) {
        // The refusal the real apply would meet (another run's change on trial, a remote change
        // waiting, a full disk) is the preview's answer too.
        if (const TrialCountdown::Claimed claimed = TrialCountdown::wouldClaim(ini, backend);
            changes && !claimed.ok)
            return run.refuse(claimed.refusal, 0, claimed.code);
        return previewApply(run, backend, selection, parts);
    }
    if (!changes) {
        run.json().insert(QStringLiteral("changed"), false);
        run.setCode(AnswerCode::AlreadyHeld);
        recordCurrent(run, ini, name);
        run.line(Text::tr("\"%1\" profili zaten uygulanmış (%2); ağ ayarlarına dokunulmadı.")
                     .arg(name, selection == QLatin1String("*ALL")
                                    ? Text::tr("bütün ağ bağdaştırıcıları")
                                    : selection));
        return run.finish(Done);
    }
    if (cl.confirmWithin > 0) {
        if (cl.detachedRun)
            return applyDetached(run, cl, ini, backend, context, name, selection, parts);
        return applyFromAfar(run, cl, ini, backend, context, name, selection);
    }
    // The trial becomes this run's, or nothing changes.
    if (const TrialCountdown::Claimed claimed = TrialCountdown::claim(ini, backend); !claimed.ok)
        return run.refuse(claimed.refusal, 0, claimed.code);

    // On trial until the check has judged; without a check the change is kept at once (the
    // checkpoint still puts the adapters back when the address is in use).
    const bool judged = cl.check && !Links::externalAddressUrl(ini).isEmpty();
    const int trialSeconds =
        judged ? TrialCountdown::lengthFor(cl.checkAfterSeconds, context.httpTimeoutMs)
               : kUncheckedTrialSeconds;
    const QStringList toDhcp = AdapterCommands::othersLeavingStatic(backend, selection);
    const AdapterCommands::ApplyOutcome outcome =
        AdapterCommands::applyProfile(backend, selection, parts, trialSeconds);
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

int exportProfile(Run &run, const CommandLine &cl, clsIni &ini) {
    const QString name = storedName(ini, cl.profile);
    if (name.isEmpty())
        return run.refuse(Text::tr("\"%1\" adında bir profil yok.").arg(cl.profile), 0,
                          AnswerCode::NoSuchProfile);
    const QStringList parts =
        MainWindowRules::profileParts(ini.ReadString(ProfilesSection, name, QString()));
    if (const ProfileCheck::Result check = ProfileCheck::check(parts); !check.canApply())
        return run.refuse(ApplyReport::refusedProfileText(name, *check.refusal), 0,
                          AnswerCode::InvalidProfile);
    const QString text = ProfileExport::text(*ProfileExport::formatNamed(cl.exportFormat), name,
                                             parts, cl.interfaceName);
    for (const QString &line : text.chopped(1).split(QLatin1Char('\n')))
        run.line(line);
    run.json().insert(QStringLiteral("profile"), name);
    run.json().insert(QStringLiteral("format"), cl.exportFormat);
    run.json().insert(QStringLiteral("content"), text);
    return run.finish(Done);
}

int status(Run &run, clsIni &ini, const Context &context, const std::optional<IniError> &unread) {
    // A settings file that cannot be read: the current profile is not known, and the run fails
    // with the reason, after saying what it knows.
    if (unread)
        run.fail(Text::tr("Ayar dosyası okunamadı: %1").arg(unread->description), unread->number,
                 AnswerCode::SettingsUnreadable);
    const QString current =
        unread ? QString() : ini.ReadString(CurrentProfileSection, ProfileNameKey, QString());
    const QString local = context.localAddress();
    const External external = externalCheck(ini, context);
    QString unreachable;
    AdapterBackend *backend = context.backend(unreachable);
    const int trial = backend ? backend->checkpointSecondsLeft() : -1;
    run.json().insert(QStringLiteral("backend"), backend ? backend->name() : QString());
    run.line(Text::tr("Profil: %1")
                 .arg(unread              ? Text::tr("bilinmiyor")
                      : current.isEmpty() ? Text::tr("yok (otomatik IP, DHCP)")
                                          : current));
    if (trial >= 0)
        run.line(Text::tr("Değişiklik %1: doğrulanmazsa geri alınır.")
                     .arg(MainWindowRules::trialText(trial)));
    run.json().insert(QStringLiteral("trialSecondsLeft"),
                      trial >= 0 ? QJsonValue(trial) : QJsonValue());
    if (const RemoteTrial::Info remote = RemoteTrial::read(ini);
        remote.state != RemoteTrial::State::None) {
        run.line(RemoteTrial::describe(remote, trial));
        run.json().insert(
            QStringLiteral("remote"),
            QJsonObject{{QStringLiteral("state"), RemoteTrial::stateName(remote.state)},
                        {QStringLiteral("profile"), remote.profile},
                        {QStringLiteral("reason"), remote.reason},
                        {QStringLiteral("code"), remote.code},
                        {QStringLiteral("request"), remote.request}});
    }
    // An administrator's file in force before the program's: a change would stay behind it.
    QJsonArray hidden;
    WmiAdapterList adapters;
    WmiError listError;
    if (backend && backend->ipEnabledAdapters(adapters, listError)) {
        for (const std::unique_ptr<WmiAdapter> &adapter : adapters) {
            if (const QString file = adapter->hiddenBy(); !file.isEmpty()) {
                run.line(ApplyReport::hiddenText(adapter->Caption(), file));
                hidden.append(QJsonObject{{QStringLiteral("adapter"), adapter->Caption()},
                                          {QStringLiteral("file"), file}});
            }
        }
    }
    if (!hidden.isEmpty())
        run.json().insert(QStringLiteral("hiddenBy"), hidden);
    run.line(Text::tr("BİLGİSAYAR IP: %1").arg(local));
    run.line(QStringLiteral("MODEM IP: %1").arg(external.shown));
    run.json().insert(QStringLiteral("current"), unread ? QJsonValue() : QJsonValue(current));
    run.json().insert(QStringLiteral("local"), local);
    run.json().insert(QStringLiteral("external"), external.shown);
    run.json().insert(QStringLiteral("externalState"), external.state);
    return run.finish(Done);
}

} // namespace

int run(const CommandLine &cl, const Context &context, QTextStream &out, QTextStream &err) {
    Run r(cl, out, err);
    clsIni ini;
    // The run that makes a remote change records why it stopped: its output goes nowhere.
    const auto refuse = [&](const QString &reason, qint64 number, const QString &code) {
        if (cl.detachedRun)
            TrialLedger(TrialLedger::besideSettings(context.settingsPath))
                .finishApplying(cl.request, false, reason, code);
        return r.refuse(reason, number, code);
    };
    if (!ini.setFileName(context.settingsPath, context.pathRule))
        return refuse(Text::tr("Ayar dosyası açılamadı: %1").arg(ini.lastError().description),
                      ini.lastError().number, AnswerCode::SettingsUnreadable);
    // A settings file that exists but cannot be read (its rights, its kind, its size) is said
    // so: a command that works on the profiles refuses rather than find none; --status says
    // what it knows and fails; DHCP, --confirm, --undo and --adapters need no profile.
    std::optional<IniError> unread;
    if (IniError problem; !IniFileStore::readable(ini.FileName(), problem))
        unread = problem;
    const bool needsProfiles = cl.command != Command::Status && cl.command != Command::Dhcp &&
                               cl.command != Command::Confirm && cl.command != Command::Undo &&
                               cl.command != Command::Adapters;
    if (unread && needsProfiles)
        return refuse(Text::tr("Ayar dosyası okunamadı; hiçbir şeye dokunulmadı.\n%1")
                          .arg(unread->description),
                      unread->number, AnswerCode::SettingsUnreadable);
    // A change that an ended run left on trial: put back by the system or kept meanwhile, it
    // is recorded so (a change about to be made puts one still pending back first).
    if (const std::optional<QJsonObject> record = TrialLedger(ini).read();
        !record || !record->isEmpty()) {
        QString unreachable;
        if (AdapterBackend *backend = context.backend(unreachable)) {
            const bool changing =
                (cl.command == Command::Apply || cl.command == Command::Dhcp) && !cl.dryRun;
            // Only a command that changes the adapters puts an abandoned change back: --status,
            // --list and the like say what waits.
            if (const QString settled =
                    TrialLedger(ini).settle(ini, *backend, changing, changesAdapters(cl));
                !settled.isEmpty()) {
                r.say(settled);
                r.json().insert(QStringLiteral("settled"), settled);
            }
        }
    }
    // Told before anything is made or promised (a remote change answers before it is made):
    // polkit's answer for this caller, not a later line in --status.
    if (changesAdapters(cl)) {
        QString unreachable;
        if (AdapterBackend *backend = context.backend(unreachable)) {
            if (const std::optional<QString> why = backend->notAllowed(false))
                return refuse(*why, 91, AnswerCode::NotAuthorized);
        }
    }
    switch (cl.command) {
    case Command::List:
        return list(r, ini);
    case Command::Show:
        return show(r, ini, cl.profile);
    case Command::Status:
        return status(r, ini, context, unread);
    case Command::SetProfile:
        return setProfile(r, cl, ini, context);
    case Command::ImportProfiles:
        return importProfiles(r, cl, ini);
    case Command::DeleteProfile:
        return deleteProfile(r, cl, ini);
    case Command::ExportProfile:
        return exportProfile(r, cl, ini);
    case Command::Adapters:
    case Command::Apply:
    case Command::Dhcp:
    case Command::Confirm:
    case Command::Undo:
        break;
    case Command::None:
        return r.finish(WrongUsage);
    }
    QString reason;
    AdapterBackend *backend = context.backend(reason);
    if (!backend)
        return refuse(reason, 0, AnswerCode::BackendUnreachable);
    if (cl.command == Command::Adapters)
        return adapters(r, *backend);
    if (cl.command == Command::Dhcp)
        return dhcp(r, cl, ini, *backend);
    if (cl.command == Command::Confirm || cl.command == Command::Undo) {
        const RemoteTrial::Result result = cl.command == Command::Confirm
                                               ? RemoteTrial::confirm(ini, *backend, cl.request)
                                               : RemoteTrial::undo(ini, *backend, cl.request);
        if (result.status == Done)
            r.line(result.text);
        else
            r.fail(result.text, 0, result.code);
        r.setCode(result.code);
        return r.finish(result.status);
    }
    const int status = apply(r, cl, ini, *backend, context);
    if (cl.detachedRun && status != Done) // refused before it began: why, for --status
        TrialLedger(ini).finishApplying(cl.request, false,
                                        r.json().value(QStringLiteral("reason")).toString(),
                                        r.json().value(QStringLiteral("code")).toString());
    return status;
}

} // namespace CommandRunner
