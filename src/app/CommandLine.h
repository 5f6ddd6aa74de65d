#pragma once

#include <QString>
#include <QStringList>

// The program's command line, after Qt has taken its own options.
struct CommandLine {
    QString settingsFile;     // --settings FILE: another settings file, made absolute, used exactly
    bool help = false;        // --help
    QString backend;          // --backend NAME: "networkmanager", "simulated" or "simulated=FILE"
    bool reportShown = false; // --report-shown: print when the window is first shown, then end
    QString error;            // why the command line could not be used (an unknown option ...)
    QString rest;             // what remains, joined with single blanks
    bool hideOnStartup = false; // the rest, upper-cased, is "/HIDEONSTARTUP" or "HIDEONSTARTUP"

    // A command for scripts: the program then runs without any window or display.
    enum class Command { None, List, Show, Adapters, Apply, Dhcp, Status };
    Command command = Command::None;
    QString profile;            // --show NAME, --apply NAME
    QString adapterIndex;       // --adapter INDEX (the number in the caption's brackets)
    bool check = false;         // --check: after --apply, the external check and its fallback
    int checkAfterSeconds = 10; // --check-after SECONDS
    bool yes = false;           // --yes: apply a profile that is doubtful but possible
    bool json = false;          // --json: one JSON object instead of text

    static CommandLine parse(const QStringList &arguments); // without the program's name
    // Whether the arguments ask for a command or for help rather than the window (decided
    // before any Qt application exists: a command needs no display).
    static bool asksForCommand(const QStringList &arguments);
    // The command's option without its dashes ("list" for --list).
    static QString commandName(Command command);
    static QString usage();
};
