#pragma once

#include "core/CommandOutput.h"
#include "core/CommandRunner.h"
#include "settings/IniError.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class AdapterBackend;
class clsIni;

// Profiles written by commands (for configuration management): checked by the editor's rules
// and the profile check, found by the program's own name folding, written in one step that
// keeps every other line, the file's encoding and its line ends.
namespace ProfileWrites {

// A profile as a script gives it: a name and its five addresses (the second DNS may be blank).
struct Incoming {
    QString name;
    QStringList addresses;
};

// A profile judged: what would be stored, or why it cannot be (code and reason).
struct Verdict {
    QString name; // trimmed, as it will be stored
    QString value;
    QString code; // empty when it may be stored
    QString reason;
    QStringList doubts; // stored only with --yes
    bool changed = false;
    std::optional<QString> before; // the stored name and value it replaced ("NAME=VALUE")
};
Verdict judge(const Incoming &profile, bool yes);

// The profiles of an import: an INI text with a [Profiles] section (values as the settings
// file stores them) or a JSON object {NAME: {address, mask, gateway, dns1, dns2}}; nothing
// with the reason when it is neither.
std::optional<QList<Incoming>> parseImport(const QByteArray &bytes, QString &problem);

// Stores every verdict (all must be storable) under one lock; `changed` tells for each whether
// its line changed (or would, for a dry run, which writes nothing). A profile already exactly so
// is left alone, byte for byte.
bool store(const QString &path, QList<Verdict> &verdicts, bool dryRun, IniError &error,
           QString &notice);

// An import's file (or "-": standard input) read whole, up to its limit; nothing with the
// reason when it cannot be.
std::optional<QByteArray> readImport(const QString &file, QString &problem);

// The named profile (compared as the window compares names) of an import's file, judged as the
// import would judge it: what the settings would hold once the file is imported. Nothing when
// the file does not name it; the problem when the file cannot be read.
std::optional<Verdict> pushed(const QString &file, const QString &name, bool yes, QString &problem);

} // namespace ProfileWrites

namespace CommandRunner {

int setProfile(Run &run, const CommandLine &cl, clsIni &ini, const Context &context);
int importProfiles(Run &run, const CommandLine &cl, clsIni &ini);
int deleteProfile(Run &run, const CommandLine &cl, clsIni &ini);
// --apply NAME --dry-run: for each chosen adapter, what it holds and what it would hold.
int previewApply(Run &run, AdapterBackend &backend, const QString &selection,
                 const QStringList &ProfileParts);
// --dhcp --dry-run: every adapter that would leave its static address.
int previewDhcp(Run &run, AdapterBackend &backend);

} // namespace CommandRunner
