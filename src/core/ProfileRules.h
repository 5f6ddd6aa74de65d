#pragma once

#include "settings/modNetProfiles.h"

#include <QString>
#include <QStringList>
#include <optional>

// What a profile must be to be saved, whoever saves it: the editor's save button and the
// commands that write profiles (--set-profile, --import-profiles) ask the same rules.
namespace ProfileRules {

struct Problem {
    enum class Kind {
        BlankName,     // nothing but blanks
        BlankBox,      // a required box is blank (box)
        OctetTooLarge, // a box holds a number above 255 (box)
        UnstorableName // the name cannot be written and read back (reason)
    };
    Kind kind;
    int box = -1;
    QString reason; // Turkish, for the user; names the box or the name's fault
    QString code;   // for scripts: "invalid-name", "missing-address", "invalid-address"
};

// The first reason the editor would not save this profile, in the order the editor asks.
std::optional<Problem> saveProblem(const QString &name,
                                   const modNetProfiles::ProfileFields &fields);

// The profile's five addresses as a script gives them ("10.0.0.5"; a blank one for a second
// DNS server that is not wanted) made into the editor's twenty boxes; the reason, naming the
// address, when one is not four numbers joined by dots.
std::optional<QString> fieldsFromAddresses(const QStringList &addresses,
                                           modNetProfiles::ProfileFields &fields);

} // namespace ProfileRules
