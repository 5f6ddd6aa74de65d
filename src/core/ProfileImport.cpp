#include "core/ProfileCommands.h"

// What an import or --set-profile writes: the profiles read (INI or JSON, all or none), each
// judged by the window's rules, and stored in one write.

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

namespace ProfileWrites {

using modNetProfiles::ProfilesSection;

Verdict judge(const Incoming &profile, bool yes) {
    Verdict v;
    v.name = IniLines::trimBlanks(profile.name).toString();
    modNetProfiles::ProfileFields fields;
    if (const std::optional<QString> problem =
            ProfileRules::fieldsFromAddresses(profile.addresses, fields)) {
        v.code = AnswerCode::InvalidAddress;
        v.reason = *problem;
        return v;
    }
    if (const std::optional<ProfileRules::Problem> problem =
            ProfileRules::saveProblem(v.name, fields)) {
        v.code = problem->code;
        v.reason = problem->reason;
        return v;
    }
    v.value = modNetProfiles::joinFields(fields);
    const ProfileCheck::Result check = ProfileCheck::check(fields);
    if (!check.canApply()) {
        v.code = AnswerCode::InvalidProfile;
        v.reason = *check.refusal;
    } else if (!check.doubts.isEmpty()) {
        v.doubts = check.doubts;
        if (!yes) {
            v.code = AnswerCode::DoubtfulProfile;
            v.reason = ProfileCheck::doubtText(v.name, check.doubts) +
                       Text::tr("\nYine de kaydetmek için --yes ekleyin.");
        }
    }
    return v;
}

namespace {

// A stored value's twenty parts as five addresses ("..." is a blank one).
QStringList addressesOfValue(const QString &value) {
    // Where each group of four parts starts: after every fourth dot.
    std::array<qsizetype, 6> starts{};
    qsizetype dots = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'.' && ++dots % 4 == 0 && dots < modNetProfiles::FieldCount)
            starts[std::size_t(dots / 4)] = i + 1;
    }
    if (dots != modNetProfiles::FieldCount - 1)
        return {value}; // judged as it stands: the first address then names the fault
    starts[5] = value.size() + 1;
    QStringList addresses;
    for (std::size_t row = 0; row < 5; ++row) {
        const QStringView four =
            QStringView(value).sliced(starts[row], starts[row + 1] - starts[row] - 1);
        addresses.append(four == u"..." ? QString() : four.toString());
    }
    return addresses;
}

// The names of a JSON object's members in the order they stand, each as often as it stands
// (a parsed object keeps one of two members of one name, silently). `bytes` is valid JSON.
QStringList memberNames(const QByteArray &bytes) {
    QStringList names;
    int depth = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            --depth;
        } else if (c == '"') {
            const qsizetype start = i;
            for (++i; i < bytes.size() && bytes[i] != '"'; ++i) {
                if (bytes[i] == '\\')
                    ++i;
            }
            qsizetype next = i + 1;
            while (next < bytes.size() && QChar::isSpace(uchar(bytes[next])))
                ++next;
            if (depth == 1 && next < bytes.size() && bytes[next] == ':')
                names.append(QJsonDocument::fromJson('[' + bytes.mid(start, i + 1 - start) + ']')
                                 .array()
                                 .at(0)
                                 .toString());
        }
    }
    return names;
}

std::optional<QList<Incoming>> parseJson(const QByteArray &bytes, QString &problem) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (!doc.isObject()) {
        problem = Text::tr("JSON okunamadı: %1").arg(error.errorString());
        return std::nullopt;
    }
    static const char *const keys[] = {"address", "mask", "gateway", "dns1", "dns2"};
    QList<Incoming> profiles;
    const QJsonObject all = doc.object();
    const QStringList names = memberNames(bytes);
    for (const QString &name : names) {
        const auto it = all.constFind(name);
        Incoming in{name, {}};
        const QJsonObject fields = it.value().toObject();
        for (const char *key : keys) {
            const QJsonValue value = fields.value(QLatin1String(key));
            if (!value.isString() && !value.isUndefined() && !value.isNull()) {
                problem = Text::tr("\"%1\" profilinin %2 alanı metin olmalı.")
                              .arg(it.key(), QLatin1String(key));
                return std::nullopt;
            }
            in.addresses.append(value.toString());
        }
        profiles.append(in);
    }
    return profiles;
}

} // namespace

std::optional<QList<Incoming>> parseImport(const QByteArray &bytes, QString &problem) {
    if (bytes.trimmed().startsWith('{'))
        return parseJson(bytes, problem);
    const IniDocument doc = IniDocument::fromFileBytes(bytes);
    if (!doc.hasSection(ProfilesSection)) {
        problem = Text::tr("Dosyada ne bir JSON nesnesi ne de [Profiles] bölümü var.");
        return std::nullopt;
    }
    QList<Incoming> profiles;
    for (const auto &[name, value] : doc.keys(ProfilesSection, true))
        profiles.append({name, addressesOfValue(value)});
    return profiles;
}

bool store(const QString &path, QList<Verdict> &verdicts, bool dryRun, IniError &error,
           QString &notice) {
    return IniFileStore::update(
        path,
        [&](IniDocument &doc) {
            // One look-up table and one edit of the text: thousands of profiles take the time
            // of a load and a save.
            QHash<QString, std::pair<QString, QString>> stored; // folded -> spelling, value
            for (auto &[name, value] : doc.keys(ProfilesSection))
                stored.insert(IniCodec::foldName(name), {name, value});
            std::vector<std::pair<QString, QString>> writes;
            std::vector<Verdict *> writers;
            for (Verdict &v : verdicts) {
                const auto old = stored.constFind(IniCodec::foldName(v.name));
                v.changed = false;
                if (old != stored.cend()) {
                    v.before = old->first + QLatin1Char('=') + old->second;
                    if (old->first == v.name && old->second == v.value)
                        continue;
                }
                writes.emplace_back(v.name, v.value);
                writers.push_back(&v);
            }
            const std::vector<bool> changed = doc.setValues(ProfilesSection, writes);
            bool any = false;
            for (std::size_t i = 0; i < writers.size(); ++i) {
                writers[i]->changed = changed[i];
                any = any || changed[i];
            }
            return any && !dryRun;
        },
        error, &notice);
}

std::optional<QByteArray> readImport(const QString &file, QString &problem) {
    constexpr qint64 MaxBytes = 16 * 1024 * 1024; // 100,000 profiles and more
    QFile in(file);
    const bool opened = file == QLatin1String("-") ? in.open(stdin, QIODevice::ReadOnly)
                                                   : in.open(QIODevice::ReadOnly);
    const QByteArray bytes = opened ? in.read(MaxBytes + 1) : QByteArray();
    if (opened && bytes.size() <= MaxBytes)
        return bytes;
    problem = opened ? Text::tr("%1 çok büyük (en çok 16 MiB).").arg(file)
                     : Text::tr("%1 okunamadı: %2").arg(file, in.errorString());
    return std::nullopt;
}

std::optional<Verdict> pushed(const QString &file, const QString &name, bool yes,
                              QString &problem) {
    const std::optional<QByteArray> bytes = readImport(file, problem);
    if (!bytes)
        return std::nullopt;
    const std::optional<QList<Incoming>> incoming = parseImport(*bytes, problem);
    if (!incoming) {
        problem = Text::tr("%1 okunamadı: %2").arg(file, problem);
        return std::nullopt;
    }
    for (const Incoming &in : *incoming) {
        if (MainWindowRules::sameProfileName(in.name, name))
            return judge(in, yes);
    }
    return std::nullopt;
}

} // namespace ProfileWrites
