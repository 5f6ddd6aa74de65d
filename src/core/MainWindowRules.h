#pragma once

#include <QString>
#include <QStringList>

// Decisions of the main window that need no widgets.
namespace MainWindowRules {

// The window caption: the product name, and " (" profile ")" when a profile is current.
QString caption(const QString &currentProfile);

// A change on trial, `seconds` before the system undoes it by itself.
QString trialText(int seconds);

// What the caption adds on the simulated computer: short, so that the window manager shows it.
QString simulationNote();

// A stored profile value split at every "."; an empty value has no parts.
QStringList profileParts(const QString &value);

// The name a clone of the profile is proposed under.
QString cloneName(const QString &name);

// The question asked before a profile is deleted.
QString deleteQuestion(const QString &name);

// A name as it is compared with others (blanks at its ends, letter case, Turkish İ).
QString foldedProfileName(const QString &name);
// Whether two profile names are the same name (letter case aside, as in the settings file).
bool sameProfileName(const QString &a, const QString &b);

// The names in the profile list's order: alphabetical as a Turkish reader expects it (Ç after
// C, İ after I, Ş after S), without regard to letter case, numbers by their value. Each name's
// collation key is made once; safe on any thread.
QStringList sortedProfileNames(const QStringList &names);

// How to configure the address service, for the user who sees "SERVİS YOK".
QString noServiceHelp();

} // namespace MainWindowRules
