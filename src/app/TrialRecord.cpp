#include "TrialRecord.h"

#include "WmiAdapter.h"
#include "clsIni.h"
#include "modNetProfiles.h"

namespace TrialRecord {

namespace {

const QString kPreviousKey = QStringLiteral("ProfileBeforeTrial");
// What a missing key reads as: no stored name contains a control character.
const QString kNone = QStringLiteral("\x01");

} // namespace

void remember(clsIni &ini) {
    using namespace modNetProfiles;
    if (ini.ReadString(CurrentProfileSection, kPreviousKey, kNone) != kNone)
        return; // a trial of this run not settled yet: the profile before it still counts
    ini.WriteString(CurrentProfileSection, kPreviousKey,
                    ini.ReadString(CurrentProfileSection, ProfileNameKey, QString()));
}

void forget(clsIni &ini) {
    using namespace modNetProfiles;
    if (ini.ReadString(CurrentProfileSection, kPreviousKey, kNone) != kNone)
        ini.DeleteKey(CurrentProfileSection, kPreviousKey);
}

bool remembered(clsIni &ini) {
    return ini.ReadString(modNetProfiles::CurrentProfileSection, kPreviousKey, kNone) != kNone;
}

void settle(clsIni &ini, AdapterBackend &backend) {
    using namespace modNetProfiles;
    const QString previous = ini.ReadString(CurrentProfileSection, kPreviousKey, kNone);
    if (previous == kNone || backend.checkpointSecondsLeft() >= 0)
        return;
    ini.WriteString(CurrentProfileSection, ProfileNameKey, previous);
    ini.DeleteKey(CurrentProfileSection, kPreviousKey);
}

} // namespace TrialRecord
