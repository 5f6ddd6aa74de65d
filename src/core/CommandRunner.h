#pragma once

#include "core/CommandLine.h"
#include "settings/clsIni.h"

#include <QString>
#include <QTextStream>
#include <functional>

class AdapterBackend;

// The command line's commands (--list, --show, --adapters, --apply, --dhcp, --status), with
// the same rules as the window: the whole-profile check, DHCP first, the exact adapter, the
// current profile in the settings file, the external check and its fallback. No widgets.
namespace CommandRunner {

// Exit statuses.
constexpr int Done = 0;
constexpr int Refused = 1; // by the program's rules or by an adapter
constexpr int WrongUsage = 2;
constexpr int RevertedToDhcp = 3; // --check found no internet and switched back
constexpr int PutBack = 3; // the change did not stay: the system put it back before it was kept

struct Context {
    QString settingsPath;
    clsIni::PathRule pathRule = clsIni::PathRule::Exact;
    // The computer's network configuration, made when a command needs it; null with the
    // reason when it cannot be reached.
    std::function<AdapterBackend *(QString &reason)> backend;
    std::function<QString()> localAddress;
    int httpTimeoutMs = 10000;
    std::function<void(int seconds)> wait; // --check's wait before the external check
    // Starts this program again with these arguments, detached from the session (no terminal,
    // output to nowhere): the run that makes a remote change; its process number in `pid`.
    // False with the reason.
    std::function<bool(const QStringList &arguments, qint64 *pid, QString &problem)> detach;
    QString programName = QStringLiteral("nuvar-pos-zelvi-ip"); // its absolute path
};

// Runs the command; text (or one JSON object) on `out`, reasons on `err`.
int run(const CommandLine &commandLine, const Context &context, QTextStream &out, QTextStream &err);

} // namespace CommandRunner
