#pragma once

#include <QString>

// Earlier versions kept a settings file per user; an installed copy now keeps one for the
// whole till. A user's earlier profiles (and the [Links] the till's file lacks) are taken into
// the till's file once, in one write: a name the till's file already holds (as the window
// compares names) keeps the till's value, and the earlier file is left as it was. A mark beside
// it says it was taken; nothing is marked when the write failed, so the next start tries again.
namespace UserFileUpgrade {

struct Taken {
    QString line;        // what to tell the user, in one line; empty when nothing was there
    bool failed = false; // the till's file could not take them
};
Taken take(const QString &tillFile, const QString &userFile);

// The mark beside the earlier file.
QString markOf(const QString &userFile);

} // namespace UserFileUpgrade
