#pragma once

#include "core/CommandOutput.h"
#include "core/CommandRunner.h"

class AdapterBackend;
class clsIni;

// The command line's change from afar (--apply NAME --confirm-within SECONDS), after the
// profile and the adapter were checked as for any apply.
namespace CommandRunner {

// Says what will happen and how to confirm it, starts the run that makes the change detached
// from the session, and returns at once: an SSH session that loses the address keeps its answer.
// SELECTION ("*ALL" or a caption) names the other static adapters the apply moves to DHCP.
int applyFromAfar(Run &run, const CommandLine &cl, clsIni &ini, AdapterBackend &backend,
                  const Context &context, const QString &name, const QString &selection);
// That run, a second later (the runner waits before its checks): the change on trial for
// SECONDS (never without a checkpoint), its outcome in the record for --status and --confirm.
int applyDetached(Run &run, const CommandLine &cl, clsIni &ini, AdapterBackend &backend,
                  const Context &context, const QString &name, const QString &selection,
                  const QStringList &parts);

} // namespace CommandRunner
