#pragma once

#include "adapters/TrialLedger.h"

#include <QString>

class AdapterBackend;
class clsIni;

// A remote change (--apply NAME --confirm-within SECONDS): made by a run detached from the
// session a second after the command returned, then on trial until somebody confirms it
// (--confirm, typically over SSH at the new address, or the notification-area menu), undoes it
// (--undo) or the time runs out and the system puts it back. Its state is in the trial record
// (TrialLedger), for --status and for every run to see.
namespace RemoteTrial {

using State = TrialLedger::Remote;
using Info = TrialLedger::RemoteInfo;

Info read(clsIni &ini);

// Waits for its confirmation: made, and its checkpoint still pending. Nothing else changes the
// adapters meanwhile, and no check of the connection judges it.
bool awaits(clsIni &ini, AdapterBackend &backend);
// Why nothing else changes the adapters meanwhile.
QString busyText(const Info &info, int secondsLeft);
QString busyText(clsIni &ini, AdapterBackend &backend);

// What --confirm, --undo and the menu entries did: a status of the command line (0, 1, 3), a
// code for scripts and what to tell the user.
struct Result {
    int status = 0;
    QString text;
    QString code;
};
// With a request (the apply's "request"), only that change: another one waiting is refused
// ("other-request") and left as it is.
Result confirm(clsIni &ini, AdapterBackend &backend, const QString &request = QString());
Result undo(clsIni &ini, AdapterBackend &backend, const QString &request = QString());

// One line for --status and the window: what became of it, and how to confirm.
QString describe(const Info &info, int secondsLeft);
QString stateName(State state); // "applied", … for JSON

} // namespace RemoteTrial
