#pragma once

#include "adapters/RunIdentity.h"

#include <QString>
#include <QStringList>
#include <optional>

// The record of a change on trial through systemd-networkd, beside its runtime files in
// /run/systemd/network: when the trial ends and which links have a runtime file. Its time is
// kept on the boot clock, which no clock correction (timesyncd, an administrator) moves, and
// the record names the boot it was made in. /run is anybody-root's to write: a record that is
// not one the program could have written (not a file, not its JSON, a deadline later than
// any trial lasts) is said as such, never taken as "no trial".
namespace NetworkdTrial {

struct Record {
    qint64 until = 0; // ms on the boot clock; 0 or less: over
    QStringList links;
    QString id;           // this trial's, for its keeper: a keeper never takes up a later trial
    RunIdentity madeBy;   // the run that made it, to be told later what became of it
    bool keeping = false; // confirmed: being made lasting (whoever finds it so finishes that)
};

struct Read {
    std::optional<Record> record; // none and `untrusted` empty: nothing is on trial
    QString untrusted;            // why the file there cannot be trusted (Turkish)
};

// Longer than any trial: the longest --confirm-within and the check's time after it.
constexpr qint64 kLongestMs = qint64(3600 + 300) * 1000;

// Milliseconds on the boot clock (CLOCK_BOOTTIME: it runs on while the computer sleeps).
qint64 now();
QString path(const QString &runFolder);
// Never waits: a FIFO or a device there is untrusted, not read.
Read read(const QString &runFolder);
std::optional<QString> write(const QString &runFolder, const Record &record);

// What became of the trials that ended in this boot (the newest few): kept or put back, by
// the run that made each; nothing when that run made none of them.
void recordEnd(const QString &runFolder, const RunIdentity &madeBy, bool kept);
std::optional<bool> keptBy(const QString &runFolder, const RunIdentity &madeBy);

} // namespace NetworkdTrial
