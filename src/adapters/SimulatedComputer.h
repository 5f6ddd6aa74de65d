#pragma once

#include "adapters/AdapterBackend.h"
#include "settings/FolderLock.h"
#include "settings/Text.h"

#include <QFileInfo>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

// A computer whose network adapters exist only in a file, so that the program can be
// tried, and tested, anywhere without changing a real network. It checks arguments as a
// real system does and can be told to refuse a method or to fail.
//
// The file is JSON:
//   { "adapters": [ { "caption": "[00000002] Ethernet Adapter", "ipEnabled": true,
//                     "dhcp": false, "address": "10.0.0.5", "mask": "255.0.0.0",
//                     "gateway": "10.0.0.1", "dns": ["10.0.0.1"], "wins": ["", ""],
//                     "refuse": { "EnableStatic": 91 }, "inUse": ["10.0.0.7"],
//                     "silent": ["10.0.0.254"] } ],
//     "checkpoint": { "until": 1796695690000, "adapters": [ ... ], "pid": 4242, "boot": "…" },
//     "failConnect": { "number": -2147023174, "description": "..." },
//     "failQuery": { "number": -2147217385, "description": "..." } }
// It is read at every connection and written once at the end of every command (after every
// change made outside a command); a missing file is created with two adapters. A file that
// says something the computer cannot mean (a refusal code that is not a whole number, a
// method it does not have) is refused when it is read, with the reason. "inUse" lists the
// addresses that other devices on the adapter's network hold: taking one fails as the probe
// before it would; "silent" those that nothing on it answers for (every other gateway answers).
// A pending checkpoint keeps the adapters as they were and the moment
// (milliseconds since 1970) when they are put back, which happens at the first read after
// it, whoever reads: the program that made it may have ended. "pid" and "boot" name the run
// that made it: while that run goes on, the checkpoint is its own to judge. "history" tells
// what became of the last checkpoints (who made each, whether it was kept, and by whom).
class SimulatedComputer : public AdapterBackend {
public:
    struct Adapter {
        QString caption;
        bool ipEnabled = true;
        bool dhcp = true;
        QString address;
        QString mask;
        QString gateway;
        int gatewayMetric = 0;
        QStringList dns;
        QStringList wins{QString(), QString()};
        QHash<QString, qint32> refuse; // method name -> the code it answers with
        QStringList inUse;             // addresses that other devices answer for
        QStringList silent;            // addresses that nothing answers for (a wrong gateway)
    };
    struct Checkpoint {
        qint64 until = 0; // milliseconds since 1970
        QList<Adapter> adapters;
        QJsonObject
            run; // who made it: "pid", "start", "boot", "pidNamespace" (RunIdentity); "made": when
    };

    explicit SimulatedComputer(QString file);

    bool connect(WmiError &error) override;
    bool ipEnabledAdapters(WmiAdapterList &adapters, WmiError &error) override;
    QString name() const override { return Text::tr("benzetim bilgisayarı"); }
    QStringList storageFolders() const override { return {QFileInfo(m_file).absolutePath()}; }
    void beginChanges() override;
    bool commitChanges(WmiError &error) override;
    TrialStart startTrial(int seconds) override;
    bool extendTrial(int seconds, QString &problem) override;
    bool adoptTrial() override;
    Keep keepChanges(QString &problem) override;
    bool putBack(QString &problem) override;
    int trialSecondsLeft() override;
    std::optional<bool> gatewayAnswers(const QString &caption, const QString &gateway,
                                       int deadlineMs) override;
    Fate trialFate(const RunIdentity &run) override;

    const QString &file() const { return m_file; }
    // The state as last read or written. Tests change it and store it with save().
    QList<Adapter> adapters;
    std::optional<WmiError> failConnect;
    std::optional<WmiError> failQuery;
    std::optional<Checkpoint> checkpoint;
    // What became of the last checkpoints: who made each ("pid", "start", "boot", "pidNamespace")
    // and when
    // ("made"), "kept",
    // the process that kept it, put it back or saw its time end ("by"), the time it had
    // ("until") and when it ended ("ended").
    QList<QJsonObject> history;
    static constexpr int kHistoryLength = 50;
    // The clock, in milliseconds since 1970; tests set their own.
    std::function<qint64()> now;
    bool load(WmiError &error);
    bool save(WmiError &error) const;

    static QList<Adapter> defaultAdapters();
    // How many times the file has been written by this object.
    int fileWrites() const { return m_fileWrites; }

    // Runs one method on one adapter: refusals, argument checks, the change, storing it.
    qint32 call(int index, const QString &method, const std::function<qint32(Adapter &)> &change);

private:
    // The file's folder locked for one read-change-write, so that two runs on one file take
    // turns and lose nothing of each other's; nested turns of this object share the lock.
    class FileTurn {
    public:
        explicit FileTurn(SimulatedComputer &computer);
        ~FileTurn();
        FileTurn(const FileTurn &) = delete;
        FileTurn &operator=(const FileTurn &) = delete;

    private:
        SimulatedComputer &m_computer;
    };

    // Why the file's folder is not locked for this turn, when it is not.
    std::optional<QString> lockProblem() const;
    // Loads the file, then puts back a checkpoint whose time has come.
    bool loadAndRestore(WmiError &error);
    // The pending checkpoint ends: kept, or the adapters put back as it holds them.
    void endCheckpoint(bool kept);
    // Reads the file, changes its pending checkpoint and stores it; without one, `missing` is
    // the problem (none: nothing to do).
    bool withCheckpoint(QString &problem, const QString &missing,
                        const std::function<void()> &change);

    QString m_file;
    bool m_inCommand = false; // changes are kept at the end of the command
    bool m_changed = false;   // a change of the command is not in the file yet
    mutable int m_fileWrites = 0;
    bool m_mine = false; // this run made (or took over) the pending checkpoint
    int m_turns = 0;
    std::unique_ptr<FolderLock> m_lock;
    std::unique_ptr<FileTurn> m_commandTurn; // from the start of a command to its end
};
