#pragma once

#include <QString>
#include <QStringList>

// The program's command line, after Qt has taken its own options.
struct CommandLine {
    QString settingsFile;     // --settings FILE: another settings file, made absolute, used exactly
    bool help = false;        // --help
    QString backend;          // --backend NAME: "networkmanager", "simulated" or "simulated=FILE"
    bool reportShown = false; // --report-shown: print when the window is first shown, then end
    QString language;         // --language tr|en: the language of every text
    QString error;            // why the command line could not be used (an unknown option ...)
    QString warning; // a text the window's start does not take as the switch ("-HIDEONSTARTUP")
    QString rest;    // what remains, joined with single blanks
    bool hideOnStartup = false; // the rest, upper-cased, is "/HIDEONSTARTUP" or "HIDEONSTARTUP"

    // A command for scripts: the program then runs without any window or display.
    enum class Command {
        None,
        List,
        Show,
        Adapters,
        Apply,
        Dhcp,
        Status,
        Confirm,
        Undo,
        SetProfile,
        DeleteProfile,
        ImportProfiles,
        ExportProfile,
        SetLink
    };
    Command command = Command::None;
    QString profile;          // --show NAME, --apply NAME, --set-profile NAME, --delete-profile
    QStringList addresses;    // --set-profile NAME ADDRESS MASK GATEWAY DNS1 [DNS2]
    bool fromAdapter = false; // --set-profile NAME --from-adapter INDEX (in adapterIndex)
    QString importFile;       // --import-profiles FILE ("-": standard input)
    QString linkKey;          // --set-link KEY VALUE: a [Links] value ("": the built-in one)
    QString linkValue;
    QString exportFormat;       // --export-profile NAME --format networkd|netplan|nmstate
    QString interfaceName;      //   --interface IF
    bool dryRun = false;        // --dry-run: after --apply, what would change; nothing changes
    QString withProfiles;       // --with-profiles FILE: such a preview of an import's profile
    QString adapterIndex;       // --adapter INDEX|NAME (the number in the caption's brackets,
                                // or the interface's name)
    bool allAdapters = false;   // --all, --adapter all: every adapter, asked for
    bool check = false;         // --check: after --apply, the external check and its fallback
    int checkAfterSeconds = 10; // --check-after SECONDS
    int confirmWithin = 0;      // --confirm-within SECONDS: made from afar, kept by --confirm
    bool detachedRun = false;   // --detached-run REQUEST: the run that makes such a change
    QString request;            // (internal), and the request it was started for;
                                // --confirm/--undo REQUEST: only that change
    bool yes = false;           // --yes: apply a profile that is doubtful but possible
    bool json = false;          // --json: one JSON object instead of text

    // Without the program's name. Parsed whole before any Qt application exists: a command,
    // help and wrong usage need no display.
    static CommandLine parse(const QStringList &arguments);
    // The command's option without its dashes ("list" for --list).
    static QString commandName(Command command);
    // The options, headed by the name the program was started by.
    static QString usage(const QString &programName);
};
