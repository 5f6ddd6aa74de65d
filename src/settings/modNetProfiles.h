#pragma once

#include "settings/IniError.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>

class ProfileList;
class UserPrompts;

// The settings file's layout and the routines that load and save profiles.
namespace modNetProfiles {

inline const QString SettingsFileName = QStringLiteral("Nuvar_Pos_Zelvi_ip.exe.config");
inline const QString ProfilesSection = QStringLiteral("Profiles");
inline const QString CurrentProfileSection = QStringLiteral("CurrentProfile");
inline const QString ProfileNameKey = QStringLiteral("ProfileName");

// Number of address fields of a profile: address, mask, gateway, DNS 1, DNS 2, four each.
constexpr int FieldCount = 20;
using ProfileFields = std::array<QString, FieldCount>;

// The settings file: beside the program (a portable copy), or in the user's configuration
// folder when the program's folder holds none and cannot be written (FileLocation).
QString settingsFilePath();

// Replaces the entries of `list` with the names of all profiles, in file order. A failing
// step is reported to the user once, then the routine goes on; the list is always left
// usable (empty when the file cannot be created or read).
void ProfilesLoad(const QString &path, ProfileList &list, UserPrompts &prompts);

// The outcome of a save.
struct SaveResult {
    enum class Outcome { Saved, Declined, Failed };
    Outcome outcome = Outcome::Saved;
    IniError error; // why it failed
    QString notice; // what the user should know about a save that succeeded, if anything

    bool saved() const { return outcome == Outcome::Saved; }
};

// Writes one profile: the fields joined with "." under the name in section "Profiles".
// A new profile (EditMode 0) whose name exists already is written only when the user
// agrees to replace it. When another program holds the settings folder, `waiting` (if given)
// is called before the save waits for it, the window painting meanwhile.
SaveResult ProfileSave(const QString &path, const QString &name, const ProfileFields &fields,
                       UserPrompts &prompts, const std::function<void()> &waiting = {});

// Why a profile cannot be stored under this name and recognised again as the current
// profile (a read returns at most 254 characters), if it cannot.
std::optional<QString> profileNameProblem(const QString &name);

// The profile's value as stored: the fields joined with ".".
QString joinFields(const ProfileFields &fields);

} // namespace modNetProfiles

// 1 while an existing profile is edited, 0 while a new profile or a clone is created. The
// main window sets it before it opens the editor.
inline int EditMode = 0;
