#pragma once

#include <QString>

class AdapterBackend;
class clsIni;

// A change made from afar (--apply NAME --confirm-within SECONDS): made by a run detached from
// the session a second after the command returned, then on trial until somebody confirms it
// (--confirm, typically over SSH at the new address, or the notification-area menu), undoes it
// (--undo) or the time runs out and the system puts it back. Its state lives in the trial
// record beside the settings file, for --status and for every run to see.
namespace RemoteTrial {

enum class State { None, Starting, Applied, Refused, Confirmed, Undone, PutBack };

struct Info {
    State state = State::None;
    QString profile;
    QString reason;  // why it was refused, or what an adapter refused of it
    int seconds = 0; // the time it is on trial for
};

Info read(clsIni &ini);
void write(clsIni &ini, const Info &info);
// The system put it back (the time ran out): said so at the next look.
void notePutBack(clsIni &ini);

// Waits for its confirmation: made, and its checkpoint still pending. Nothing else changes the
// adapters meanwhile, and no check of the connection judges it.
bool awaits(clsIni &ini, AdapterBackend &backend);
// Why nothing else changes the adapters meanwhile.
QString busyText(clsIni &ini, AdapterBackend &backend);

// What --confirm, --undo and the menu entries did: a status of the command line (0, 1, 3) and
// what to tell the user.
struct Result {
    int status = 0;
    QString text;
};
Result confirm(clsIni &ini, AdapterBackend &backend);
Result undo(clsIni &ini, AdapterBackend &backend);

// One line for --status and the window: what became of it, and how to confirm.
QString describe(const Info &info, int secondsLeft);
QString stateName(State state); // "applied", … for JSON

} // namespace RemoteTrial
