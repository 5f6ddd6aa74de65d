#include "core/CommandRunner.h"

#include "adapters/AdapterBackend.h"
#include "adapters/AdapterCommands.h"
#include "adapters/AnswerCode.h"
#include "adapters/ApplyReport.h"
#include "adapters/ProfileCheck.h"
#include "adapters/TrialLedger.h"
#include "core/ChangeCommands.h"
#include "core/CommandOutput.h"
#include "core/Links.h"
#include "core/MainWindowRules.h"
#include "core/ProfileCommands.h"
#include "core/ProfileExport.h"
#include "core/RemoteTrial.h"
#include "discovery/ExternalAddress.h"
#include "settings/IniFileStore.h"
#include "settings/Text.h"
#include "settings/modNetProfiles.h"

#include <QJsonArray>
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

QString address(const QStringList &parts, int field) {
    const QString text = AdapterCommands::RetAddr(parts, qint16(field * 4));
    return text == QLatin1String("...") ? QString() : text;
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

// --set-link KEY VALUE: one [Links] value, the address service's among them.
int setLink(Run &run, const CommandLine &cl, clsIni &ini) {
    IniError error;
    const Links::Written written =
        Links::write(ini.FileName(), cl.linkKey, cl.linkValue, cl.dryRun, error);
    if (!written.ok)
        return run.refuse(Text::tr("Ayar dosyası yazılamadı; %1 kaydedilmedi: %2")
                              .arg(cl.linkKey, error.description),
                          error.number, unwritableCode(error));
    run.json().insert(QStringLiteral("key"), cl.linkKey);
    run.json().insert(QStringLiteral("value"), cl.linkValue);
    run.json().insert(QStringLiteral("before"), written.before);
    run.json().insert(QStringLiteral("changed"), written.changed);
    if (cl.dryRun)
        run.json().insert(QStringLiteral("dryRun"), true);
    run.setCode(!written.changed ? AnswerCode::Unchanged
                : cl.dryRun      ? AnswerCode::WouldChange
                                 : AnswerCode::Saved);
    const QString shown =
        cl.linkValue.isEmpty() ? Text::tr("(programın kendi değeri)") : cl.linkValue;
    run.line(!written.changed ? Text::tr("[Links] %1 zaten böyle: %2").arg(cl.linkKey, shown)
             : cl.dryRun      ? Text::tr("[Links] %1 değişirdi: %2 (--dry-run: hiçbir şey "
                                              "yazılmadı).")
                               .arg(cl.linkKey, shown)
                         : Text::tr("[Links] %1 kaydedildi: %2").arg(cl.linkKey, shown));
    return run.finish(Done);
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
    const int trial = backend ? backend->trialSecondsLeft() : -1;
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

// The external check as the window makes it: what the line shows, and whether the
// connection counts as missing.
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
    case Command::SetLink:
        return setLink(r, cl, ini);
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
