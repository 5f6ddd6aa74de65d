#include "core/ProfileCommands.h"

#include "adapters/AdapterBackend.h"
#include "adapters/AdapterCommands.h"
#include "adapters/AnswerCode.h"
#include "adapters/ApplyReport.h"
#include "adapters/ProfileCheck.h"
#include "core/MainWindowRules.h"
#include "core/ProfileRules.h"
#include "settings/IniCodec.h"
#include "settings/IniDocument.h"
#include "settings/IniFileStore.h"
#include "settings/IniLines.h"
#include "settings/Text.h"
#include "settings/clsIni.h"
#include "settings/modNetProfiles.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <thread>

namespace CommandRunner {

namespace {

using ProfileWrites::Verdict;

QJsonObject verdictJson(const Verdict &v) {
    QJsonObject o{{QStringLiteral("name"), v.name},
                  {QStringLiteral("changed"), v.changed},
                  {QStringLiteral("value"), v.value}};
    if (v.before)
        o.insert(QStringLiteral("before"), *v.before);
    if (!v.code.isEmpty()) {
        o.insert(QStringLiteral("code"), v.code);
        o.insert(QStringLiteral("reason"), v.reason);
    }
    if (!v.doubts.isEmpty())
        o.insert(QStringLiteral("doubts"), QJsonArray::fromStringList(v.doubts));
    return o;
}

// Each profile judged on its own: a big import is shared among the processor's cores.
QList<Verdict> judgeAll(const QList<ProfileWrites::Incoming> &incoming, bool yes) {
    QList<Verdict> verdicts(incoming.size());
    Verdict *const out = verdicts.data(); // written by one thread per range
    const auto judgeRange = [&](qsizetype from, qsizetype to) {
        for (qsizetype i = from; i < to; ++i)
            out[i] = ProfileWrites::judge(incoming.at(i), yes);
    };
    const qsizetype cores = std::max(1U, std::thread::hardware_concurrency());
    const qsizetype threads = std::clamp<qsizetype>(incoming.size() / 5000, 1, cores);
    const qsizetype share = (incoming.size() + threads - 1) / threads;
    std::vector<std::thread> helpers;
    for (qsizetype t = 1; t < threads; ++t)
        helpers.emplace_back(judgeRange, t * share, std::min(incoming.size(), (t + 1) * share));
    judgeRange(0, std::min(incoming.size(), share));
    for (std::thread &helper : helpers)
        helper.join();
    return verdicts;
}

// Stores the verdicts (all storable) and records what changed; false (the run failed) when the
// file could not be written.
bool storeAll(Run &run, clsIni &ini, QList<Verdict> &verdicts, bool dryRun) {
    IniError error;
    QString notice;
    if (!ProfileWrites::store(ini.FileName(), verdicts, dryRun, error, notice)) {
        run.fail(
            Text::tr("Ayar dosyası yazılamadı; profiller kaydedilmedi: %1").arg(error.description),
            error.number, unwritableCode(error));
        return false;
    }
    if (!notice.isEmpty())
        run.say(notice);
    bool changed = false;
    for (const Verdict &v : verdicts)
        changed = changed || v.changed;
    run.json().insert(QStringLiteral("changed"), changed);
    run.setCode(!changed ? AnswerCode::Unchanged
                : dryRun ? AnswerCode::WouldChange
                         : AnswerCode::Saved);
    if (dryRun)
        run.json().insert(QStringLiteral("dryRun"), true);
    return true;
}

// The adapter's addresses now, as a profile's five; nothing (and the run refused) when it
// holds none that can be stored.
std::optional<QStringList> adapterAddresses(Run &run, const QString &index,
                                            const Context &context) {
    QString reason;
    AdapterBackend *backend = context.backend(reason);
    if (!backend) {
        run.fail(reason, 0, AnswerCode::BackendUnreachable);
        return std::nullopt;
    }
    WmiError error;
    WmiAdapterList adapters;
    if (!backend->connect(error) || !backend->ipEnabledAdapters(adapters, error)) {
        run.fail(Text::tr("Ağ bağdaştırıcıları listelenemedi (%1): %2")
                     .arg(backend->name(), error.description),
                 error.number, AnswerCode::PlatformError);
        return std::nullopt;
    }
    static const QRegularExpression bracket(QStringLiteral("^\\[(\\d+)\\] "));
    for (const auto &adapter : adapters) {
        const QRegularExpressionMatch m = bracket.match(adapter->Caption());
        if (!m.hasMatch() || m.captured(1).toLongLong() != index.toLongLong())
            continue;
        const std::optional<WmiAdapter::Held> held = adapter->held();
        if (!held || held->address.isEmpty()) {
            run.fail(
                held && held->dhcp
                    ? Text::tr("%1 otomatik IP'de (DHCP): kaydedilecek sabit bir adresi yok.")
                          .arg(adapter->Caption())
                    : Text::tr("%1 bağdaştırıcısının adresleri okunamadı.").arg(adapter->Caption()),
                0, held && held->dhcp ? AnswerCode::AdapterDhcp : AnswerCode::AdapterUnreadable);
            return std::nullopt;
        }
        return QStringList{held->address.value(0), held->mask.value(0), held->gateway.value(0),
                           held->dns.value(0), held->dns.value(1)};
    }
    run.fail(Text::tr("%1 numaralı ağ bağdaştırıcısı yok (--adapters listesine bakın).").arg(index),
             0, AnswerCode::NoSuchAdapter);
    return std::nullopt;
}

QString refusedText(const Verdict &v) {
    return Text::tr("\"%1\" profili kaydedilmedi; ayar dosyasına dokunulmadı.\n%2")
        .arg(v.name, v.reason);
}

} // namespace

int setProfile(Run &run, const CommandLine &cl, clsIni &ini, const Context &context) {
    QStringList addresses = cl.addresses;
    if (cl.fromAdapter) {
        const std::optional<QStringList> now = adapterAddresses(run, cl.adapterIndex, context);
        if (!now)
            return run.finish(Refused);
        addresses = *now;
    }
    QList<Verdict> verdicts{ProfileWrites::judge({cl.profile, addresses}, cl.yes)};
    const Verdict &v = verdicts.first();
    run.json().insert(QStringLiteral("profile"), v.name);
    if (!v.code.isEmpty())
        return run.refuse(refusedText(v), 0, v.code);
    if (!storeAll(run, ini, verdicts, cl.dryRun))
        return run.finish(Refused);
    run.json().insert(QStringLiteral("profiles"), QJsonArray{verdictJson(v)});
    if (cl.dryRun)
        run.line(v.changed ? Text::tr("\"%1\" profili değişirdi (--dry-run: hiçbir şey yazılmadı).")
                                 .arg(v.name)
                           : Text::tr("\"%1\" profili zaten böyle kayıtlı.").arg(v.name));
    else
        run.line(v.changed ? Text::tr("\"%1\" profili kaydedildi.").arg(v.name)
                           : Text::tr("\"%1\" profili zaten böyle kayıtlı; ayar dosyasına "
                                      "dokunulmadı.")
                                 .arg(v.name));
    return run.finish(Done);
}

int importProfiles(Run &run, const CommandLine &cl, clsIni &ini) {
    QString problem;
    const std::optional<QByteArray> bytes = ProfileWrites::readImport(cl.importFile, problem);
    if (!bytes)
        return run.refuse(problem, 0, AnswerCode::ImportUnreadable);
    const std::optional<QList<ProfileWrites::Incoming>> incoming =
        ProfileWrites::parseImport(*bytes, problem);
    if (!incoming)
        return run.refuse(Text::tr("%1 okunamadı: %2").arg(cl.importFile, problem), 0,
                          AnswerCode::ImportUnreadable);
    QList<Verdict> verdicts = judgeAll(*incoming, cl.yes);
    QHash<QString, QString> seen;
    const Verdict *refused = nullptr;
    for (Verdict &v : verdicts) {
        const QString folded = MainWindowRules::foldedProfileName(v.name);
        if (v.code.isEmpty() && seen.contains(folded)) {
            v.code = AnswerCode::DuplicateName;
            v.reason =
                Text::tr("\"%1\" ile aynı ad (büyük/küçük harf ayrılmaz).").arg(seen[folded]);
        }
        seen.insert(folded, v.name);
    }
    for (const Verdict &v : verdicts) {
        if (!v.code.isEmpty() && !refused)
            refused = &v;
    }
    if (refused) {
        QJsonArray items;
        for (const Verdict &v : verdicts) {
            items.append(verdictJson(v));
            if (!v.code.isEmpty())
                run.say(refusedText(v));
        }
        run.json().insert(QStringLiteral("profiles"), items);
        return run.refuse(
            Text::tr("Profillerden hiçbiri kaydedilmedi: %1 profil uygun değil.")
                .arg(std::count_if(verdicts.begin(), verdicts.end(),
                                   [](const Verdict &v) { return !v.code.isEmpty(); })),
            0, refused->code);
    }
    if (!storeAll(run, ini, verdicts, cl.dryRun))
        return run.finish(Refused);
    QJsonArray items;
    for (const Verdict &v : verdicts) {
        items.append(verdictJson(v));
        run.line(QStringLiteral("%1: %2").arg(v.name, v.changed ? Text::tr("kaydedildi")
                                                                : Text::tr("değişmedi")));
    }
    run.json().insert(QStringLiteral("profiles"), items);
    return run.finish(Done);
}

int deleteProfile(Run &run, const CommandLine &cl, clsIni &ini) {
    const QString asked = IniLines::trimBlanks(cl.profile).toString();
    run.json().insert(QStringLiteral("profile"), asked);
    bool removed = false;
    IniError error;
    if (!IniFileStore::update(
            ini.FileName(),
            [&](IniDocument &doc) {
                removed = doc.removeKey(modNetProfiles::ProfilesSection, asked);
                return removed && !cl.dryRun;
            },
            error))
        return run.refuse(
            Text::tr("Ayar dosyası yazılamadı; profil silinmedi: %1").arg(error.description),
            error.number, unwritableCode(error));
    run.json().insert(QStringLiteral("changed"), removed);
    run.setCode(!removed    ? AnswerCode::Absent
                : cl.dryRun ? AnswerCode::WouldChange
                            : AnswerCode::Deleted);
    run.line(
        !removed ? Text::tr("\"%1\" adında bir profil yok; bir şey değişmedi.").arg(asked)
        : cl.dryRun
            ? Text::tr("\"%1\" profili silinirdi (--dry-run: hiçbir şey yazılmadı).").arg(asked)
            : Text::tr("\"%1\" profili silindi.").arg(asked));
    return run.finish(Done);
}

namespace {

QJsonObject heldJson(const WmiAdapter::Held &h) {
    return QJsonObject{{QStringLiteral("dhcp"), h.dhcp},
                       {QStringLiteral("address"), h.address.join(QLatin1Char(','))},
                       {QStringLiteral("mask"), h.mask.join(QLatin1Char(','))},
                       {QStringLiteral("gateway"), h.gateway.join(QLatin1Char(','))},
                       {QStringLiteral("dns"), QJsonArray::fromStringList(h.dns)}};
}

// The adapters, or the run refused when they cannot be listed.
std::optional<int> listAdapters(Run &run, AdapterBackend &backend, WmiAdapterList &adapters) {
    WmiError error;
    if (backend.connect(error) && backend.ipEnabledAdapters(adapters, error))
        return std::nullopt;
    return run.refuse(Text::tr("Ağ bağdaştırıcıları listelenemedi (%1): %2")
                          .arg(backend.name(), error.description),
                      error.number, AnswerCode::PlatformError);
}

QString heldText(const WmiAdapter::Held &h);

// One adapter of a dry run: what it holds and what it would hold, said and as JSON.
QJsonObject previewItem(Run &run, const QString &caption,
                        const std::optional<WmiAdapter::Held> &held, const WmiAdapter::Held &to,
                        bool moves) {
    run.line(QStringLiteral("%1: %2 → %3")
                 .arg(caption, held ? heldText(*held) : Text::tr("bilinmiyor"),
                      moves ? heldText(to) : Text::tr("değişmez")));
    return QJsonObject{{QStringLiteral("caption"), caption},
                       {QStringLiteral("changes"), moves},
                       {QStringLiteral("to"), heldJson(to)},
                       {QStringLiteral("from"), held ? QJsonValue(heldJson(*held)) : QJsonValue()}};
}

QString heldText(const WmiAdapter::Held &h) {
    if (h.dhcp)
        return Text::tr("otomatik IP (DHCP)");
    return Text::tr("%1/%2, ağ geçidi %3, DNS %4")
        .arg(h.address.join(QLatin1Char(',')), h.mask.join(QLatin1Char(',')),
             h.gateway.join(QLatin1Char(',')), h.dns.join(QLatin1Char(',')));
}

} // namespace

int previewApply(Run &run, AdapterBackend &backend, const QString &selection,
                 const QStringList &ProfileParts) {
    const WmiAdapter::Held wanted = AdapterCommands::heldBy(ProfileParts);
    WmiAdapterList adapters;
    if (std::optional<int> refused = listAdapters(run, backend, adapters))
        return *refused;
    QJsonArray items;
    bool changes = false;
    QList<std::pair<QString, WmiAdapter::Held>> leaving; // static adapters that are not chosen
    for (const auto &adapter : adapters) {
        if (!AdapterCommands::adapterMatches(adapter->Caption(), selection)) {
            if (const std::optional<WmiAdapter::Held> held = adapter->held(); held && !held->dhcp)
                leaving.append({adapter->Caption(), *held});
            continue;
        }
        if (const QString file = adapter->hiddenBy(); !file.isEmpty())
            return run.refuse(ApplyReport::hiddenText(adapter->Caption(), file),
                              WmiResult::HiddenByFile, AnswerCode::HiddenByFile);
        const std::optional<WmiAdapter::Held> held = adapter->held();
        const bool moves = !held || held->dhcp || held->address != wanted.address ||
                           held->mask != wanted.mask || held->gateway != wanted.gateway ||
                           held->dns != wanted.dns;
        changes = changes || moves;
        items.append(previewItem(run, adapter->Caption(), held, wanted, moves));
    }
    if (items.isEmpty())
        return run.refuse(Text::tr("Değişecek bir ağ bağdaştırıcısı yok."), 0,
                          AnswerCode::NoSuchAdapter);
    // Every other adapter goes to DHCP first: those holding a static address are named too.
    if (changes) {
        for (const auto &[caption, held] : leaving)
            items.append(previewItem(run, caption, held, WmiAdapter::Held(), true));
    }
    // A change on trial is judged first: the apply would wait for it.
    const int trial = backend.trialSecondsLeft();
    run.json().insert(QStringLiteral("trialSecondsLeft"),
                      trial >= 0 ? QJsonValue(trial) : QJsonValue());
    run.json().insert(QStringLiteral("changed"), changes);
    run.json().insert(QStringLiteral("dryRun"), true);
    run.json().insert(QStringLiteral("preview"), items);
    run.setCode(changes ? AnswerCode::WouldChange : AnswerCode::AlreadyHeld);
    return run.finish(Done);
}

int previewDhcp(Run &run, AdapterBackend &backend) {
    WmiAdapterList adapters;
    if (std::optional<int> refused = listAdapters(run, backend, adapters))
        return *refused;
    QJsonArray items;
    bool changes = false;
    const WmiAdapter::Held dhcp;
    for (const auto &adapter : adapters) {
        if (const QString file = adapter->hiddenBy(); !file.isEmpty())
            return run.refuse(ApplyReport::hiddenText(adapter->Caption(), file),
                              WmiResult::HiddenByFile, AnswerCode::HiddenByFile);
        const std::optional<WmiAdapter::Held> held = adapter->held();
        const bool moves = !held || !held->dhcp;
        changes = changes || moves;
        items.append(previewItem(run, adapter->Caption(), held, dhcp, moves));
    }
    run.json().insert(QStringLiteral("changed"), changes);
    run.json().insert(QStringLiteral("preview"), items);
    run.setCode(changes ? AnswerCode::WouldChange : AnswerCode::AlreadyHeld);
    return run.finish(Done);
}

} // namespace CommandRunner
