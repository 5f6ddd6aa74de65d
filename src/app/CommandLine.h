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

    static CommandLine parse(const QStringList &arguments); // without the program's name
    static QString usage();
};
