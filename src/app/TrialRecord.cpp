#include "TrialRecord.h"

#include "WmiAdapter.h"
#include "clsIni.h"
#include "modNetProfiles.h"

#include <QStringList>

namespace TrialRecord {

namespace {

const QString kPreviousKey = QStringLiteral("ProfileBeforeTrial");

} // namespace

bool remembered(clsIni &ini) {
    // By the key alone: an empty value (no profile before, DHCP) reads as a missing one.
    QStringList keys;
    qint32 count = 0;
    ini.ReadSection(ini.FileName(), modNetProfiles::CurrentProfileSection, keys, count);
    for (const QString &key : keys) {
        if (key.compare(kPreviousKey, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void remember(clsIni &ini) {
    using namespace modNetProfiles;
    if (remembered(ini))
        return; // a trial of this run not settled yet: the profile before it still counts
    ini.WriteString(CurrentProfileSection, kPreviousKey,
                    ini.ReadString(CurrentProfileSection, ProfileNameKey, QString()));
}

void forget(clsIni &ini) {
    if (remembered(ini))
        ini.DeleteKey(modNetProfiles::CurrentProfileSection, kPreviousKey);
}

void settle(clsIni &ini, AdapterBackend &backend) {
    using namespace modNetProfiles;
    if (!remembered(ini) || backend.checkpointSecondsLeft() >= 0)
        return;
    ini.WriteString(CurrentProfileSection, ProfileNameKey,
                    ini.ReadString(CurrentProfileSection, kPreviousKey, QString()));
    ini.DeleteKey(CurrentProfileSection, kPreviousKey);
}

} // namespace TrialRecord
