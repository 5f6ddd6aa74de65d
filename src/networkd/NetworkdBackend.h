#pragma once

#include "adapters/AdapterBackend.h"
#include "networkd/NetworkdFiles.h"
#include "networkd/NetworkdTrial.h"

#include <QDBusConnection>
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <functional>
#include <optional>

// The computer's network configuration through systemd-networkd on the system bus. networkd
// has no call that sets an address: each change writes the program's own ".network" file for
// the link (NetworkdFiles) and asks networkd to reload its files; a static address is waited
// for until the link holds it. What a link holds is read from networkd's own description of
// it.
//
// A change on trial is written to /run/systemd/network instead, in a file that sorts before
// the lasting one, with a record of its deadline beside it (nuvar-zelvi-trial.json). Kept,
// it becomes the lasting file in /etc/systemd/network; put back, the runtime file goes. The
// time is kept by a small process of its own (the keeper: this program with
// --networkd-keeper FOLDER ID UNTIL), which puts the change back when it ends unconfirmed, also
// after the program that made it was killed; a reboot empties /run, so the computer starts with the
// earlier settings.
class NetworkdBackend : public AdapterBackend {
public:
    explicit NetworkdBackend(QDBusConnection bus,
                             QString folder = QStringLiteral("/etc/systemd/network"),
                             QString runFolder = QStringLiteral("/run/systemd/network"));

    // Starts the keeper for the run folder (set by the program; without it no trial is made).
    std::function<bool(const QStringList &arguments, QString &problem)> startKeeper;
    // The keeper's work for the trial `id`: waits for the trial's deadline (read again and again:
    // it may be extended) and puts the change back then, unless it was kept or put back meanwhile.
    static int putBackWhenDue(QDBusConnection bus, const QString &runFolder, const QString &id,
                              qint64 until);

    TrialStart startTrial(int seconds) override;
    bool extendTrial(int seconds, QString &problem) override;
    bool adoptTrial() override;
    // A trial whose time is over and that no keeper put back (the keeper was killed): put back
    // now, as the keeper would have.
    QString recoverAbandonedTrial(bool &restored, bool mayChange) override;
    Keep keepChanges(QString &problem) override;
    bool putBack(QString &problem) override;
    int trialSecondsLeft() override;
    // Told from the trial's record and the ends of the trials in /run: a --confirm killed
    // after it decided to keep is settled as kept.
    Fate trialFate(const RunIdentity &run) override;

    bool connect(WmiError &error) override;
    bool ipEnabledAdapters(WmiAdapterList &adapters, WmiError &error) override;
    QString name() const override { return QStringLiteral("systemd-networkd"); }
    // The trial's files in /run; a full /etc keeps a change until a restart and says so.
    QStringList storageFolders() const override { return {m_runFolder}; }
    void beginChanges() override;
    bool commitChanges(WmiError &error) override;
    void holdCommits() override;
    bool releaseCommits(WmiError &error) override;

    // How long a static change may take to show on the link.
    int applyTimeoutMs = 5000;

    // For the links' methods: what a link is to hold, written at the end of the command (or
    // at once outside one); the description networkd gives of a link.
    NetworkdFiles::LinkConfig &pending(const QString &link);
    bool applyNow(const QString &link, QString &problem);
    std::optional<QJsonObject> describe(const QString &path);

private:
    bool writeAndReload(QString &problem);
    // Whether every pending link is configured with the program's file and holds its static
    // address, within applyTimeoutMs; else why not (the file that hides it, when one does).
    bool arrived(bool onTrial, QString &problem);
    // Writes back the lasting files a change without a trial replaced (removes the ones it
    // made); whether there were any.
    bool restoreLasting(const QMap<QString, std::optional<QByteArray>> &earlier);
    bool reload(QString &problem);

    using Trial = NetworkdTrial::Record;
    // Removes the runtime files, reloads, and removes the record once networkd has reloaded.
    // `kept`: the trial ends kept (its lasting files written), as its maker is told later.
    bool putBack(const Trial &trial, QString &problem, bool kept = false);
    // Makes the runtime files of a confirmed trial lasting and ends the trial.
    Keep finishKeep(const Trial &trial, QString &problem);
    // Has networkd configure the links afresh from its files, dropping what it found on them.
    void reconfigure(const QStringList &links);

    QDBusConnection m_bus;
    QString m_folder;
    QMap<QString, NetworkdFiles::LinkConfig> m_pending; // by link name
    QMap<QString, QString> m_paths;                     // link name -> object path
    QString m_runFolder;
    bool m_batch = false;
    bool m_holding = false; // commits wait for releaseCommits
    bool m_hidden = false;  // the last change stayed behind an administrator's file
    bool m_onTrial = false; // this run's changes go to the runtime folder
};
