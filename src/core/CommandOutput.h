#pragma once

#include "adapters/AdapterCommands.h"
#include "core/CommandLine.h"
#include "settings/IniError.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QTextStream>

class clsIni;

namespace CommandRunner {

// One run of a command: where its output goes and how it ends. Each line is written when it is
// decided (over SSH a wait is not silent), with a name's control characters shown as escapes;
// with --json one object at the end instead.
class Run {
public:
    Run(const CommandLine &cl, QTextStream &out, QTextStream &err);

    void line(const QString &text);
    // A notice on stderr that is no failure.
    void say(const QString &text);
    // A failure (the reason, and its number where it has one, on stderr and in the JSON): the
    // run then ends with a status other than 0.
    // `code` is a stable English word for scripts ("busy", "no-such-profile", …); the first
    // one given is the run's.
    void fail(const QString &reason, qint64 number = 0, const QString &code = QString());
    void setCode(const QString &code);
    QJsonObject &json() { return m_json; }

    // The status, 1 instead of 0 after a failure or when the output could not be written.
    int finish(int status);
    int refuse(const QString &reason, qint64 number = 0, const QString &code = QString());

private:
    static void write(QTextStream &stream, const QString &text);

    const CommandLine &m_cl;
    QTextStream &m_out;
    QTextStream &m_err;
    QJsonObject m_json;
    bool m_failed = false;
};

QJsonArray refusalsJson(const QList<AdapterCommands::Refusal> &refusals);

// The code of a settings file that could not be written: "disk-full" when the disk or the
// quota is full, otherwise "settings-unwritable".
QString unwritableCode(const IniError &error);

// Records `name` as the current profile (empty: none) after the adapters changed; a failure
// fails the run, saying that the adapters did change.
bool recordCurrent(Run &run, clsIni &ini, const QString &name);

} // namespace CommandRunner
