#pragma once

#include <QString>

class AdapterBackend;
class clsIni;

// The current profile while a change of the adapters is on trial. The settings file names the
// new profile at once; the one before it is kept beside it until the change is kept, so that
// when the system has put the adapters back by itself (the program ended first), the next
// start names the profile the adapters are really on.
namespace TrialRecord {

// Before the change: the profile current until now.
void remember(clsIni &ini);
// The change is kept, or the program itself undid it.
void forget(clsIni &ini);
// A change was on trial when the settings file was last written.
bool remembered(clsIni &ini);
// At start: a change that was neither kept nor is still on trial was put back; its earlier
// profile is current again. Asks the backend only when there is something to settle.
void settle(clsIni &ini, AdapterBackend &backend);

} // namespace TrialRecord
