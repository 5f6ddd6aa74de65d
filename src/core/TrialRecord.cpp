#include "core/TrialRecord.h"

#include "adapters/TrialFile.h"
#include "adapters/WmiAdapter.h"
#include "core/RemoteTrial.h"
#include "settings/clsIni.h"
#include "settings/modNetProfiles.h"

#include <QStringList>
#include <optional>

namespace TrialRecord {

namespace {

const QString kBefore = QStringLiteral("profileBefore");
// Where an earlier version of the program kept it, in [CurrentProfile] of the settings file.
const QString kLegacyKey = QStringLiteral("ProfileBeforeTrial");

TrialFile fileOf(clsIni &ini) {
    return TrialFile(TrialFile::besideSettings(ini.FileName()));
}

bool legacyKey(clsIni &ini) {
    QStringList keys;
    qint32 count = 0;
    ini.ReadSection(ini.FileName(), modNetProfiles::CurrentProfileSection, keys, count);
    for (const QString &key : keys) {
        if (key.compare(kLegacyKey, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The profile before the trial; an empty one (DHCP before) is a profile too.
std::optional<QString> before(clsIni &ini) {
    const QJsonObject record = fileOf(ini).read();
    if (record.contains(kBefore))
        return record.value(kBefore).toString();
    if (legacyKey(ini))
        return ini.ReadString(modNetProfiles::CurrentProfileSection, kLegacyKey, QString());
    return std::nullopt;
}

} // namespace

bool remembered(clsIni &ini) {
    return before(ini).has_value();
}

void remember(clsIni &ini) {
    const QString current = ini.ReadString(modNetProfiles::CurrentProfileSection,
                                           modNetProfiles::ProfileNameKey, QString());
    fileOf(ini).update([&](QJsonObject &record) {
        // A trial of this run not settled yet: the profile before it still counts.
        if (!record.contains(kBefore))
            record.insert(kBefore, current);
    });
}

void forget(clsIni &ini) {
    fileOf(ini).update([](QJsonObject &record) { record.remove(kBefore); });
    if (legacyKey(ini))
        ini.DeleteKey(modNetProfiles::CurrentProfileSection, kLegacyKey);
}

QString putBack(clsIni &ini) {
    RemoteTrial::notePutBack(ini);
    const std::optional<QString> remembered = before(ini);
    if (!remembered)
        return ini.ReadString(modNetProfiles::CurrentProfileSection, modNetProfiles::ProfileNameKey,
                              QString());
    const QString earlier = *remembered;
    ini.WriteString(modNetProfiles::CurrentProfileSection, modNetProfiles::ProfileNameKey, earlier);
    forget(ini);
    return earlier;
}

bool pending(clsIni &ini) {
    return !fileOf(ini).read().isEmpty() || legacyKey(ini);
}

void settle(clsIni &ini, AdapterBackend &backend) {
    backend.recoverAbandonedTrial();
    if (!remembered(ini) || backend.checkpointSecondsLeft() >= 0)
        return;
    putBack(ini);
}

} // namespace TrialRecord
