#pragma once

#include <QString>

class AdapterBackend;
class clsIni;

// The current profile while a change of the adapters is on trial. The settings file names the
// new profile at once; the one before it is kept in the trial record beside the settings file
// (which every run that uses those settings sees) until the change is kept, so that when the
// system has put the adapters back by itself, the profile they are really on is named again.
namespace TrialRecord {

// Before the change: the profile current until now.
void remember(clsIni &ini);
// The change is kept, or the program itself undid it.
void forget(clsIni &ini);
// A change was on trial when the settings file was last written.
bool remembered(clsIni &ini);
// The record beside the settings file holds anything at all (a checkpoint, the profile before).
bool pending(clsIni &ini);
// At start: a change that was neither kept nor is still on trial was put back (by the
// system, or now by the backend from the record, when the system lost its checkpoint); its
// earlier profile is current again.
void settle(clsIni &ini, AdapterBackend &backend);
// The system put the change back: the profile before it is current again, and named.
QString putBack(clsIni &ini);

} // namespace TrialRecord
