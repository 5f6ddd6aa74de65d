#pragma once

#include "adapters/SimulatedComputer.h"
#include "adapters/TrialLedger.h"

#include <QDateTime>
#include <QFile>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

// A simulated computer in a file of its own, with the adapters a test asks for.
struct SimulatedFixture {
    explicit SimulatedFixture(const QStringList &captions = {
                                  QStringLiteral("[00000002] Ethernet Adapter"),
                                  QStringLiteral("[00000003] Wireless Network Adapter")}) {
        computer = std::make_unique<SimulatedComputer>(dir.filePath(QStringLiteral("pc.json")));
        for (const QString &caption : captions) {
            SimulatedComputer::Adapter a;
            a.caption = caption;
            computer->adapters.append(a);
        }
        store();
    }
    // Stops the computer's clock where it is: a trial's seconds left then depend on what the
    // test does, not on how long the disk takes to write.
    void stopClock() {
        const qint64 at = QDateTime::currentMSecsSinceEpoch();
        computer->now = [at] { return at; };
    }
    void store() {
        WmiError error;
        computer->save(error);
    }
    // The state as the file holds it now.
    QList<SimulatedComputer::Adapter> stored() const {
        SimulatedComputer reader(computer->file());
        WmiError error;
        reader.load(error);
        return reader.adapters;
    }
    // A checkpoint pending for `seconds`, made by another run of the program that still goes
    // on: `other`, started here (a sleeping process stands for it).
    bool pendingOfOtherRun(QProcess &other, int seconds) {
        other.start(QStringLiteral("sleep"), {QString::number(seconds + 30)});
        if (!other.waitForStarted())
            return false;
        QJsonObject run;
        RunIdentity::ofProcess(other.processId()).intoJson(run);
        computer->checkpoint = SimulatedComputer::Checkpoint{
            QDateTime::currentMSecsSinceEpoch() + qint64(seconds) * 1000, computer->adapters, run};
        store();
        return true;
    }
    // That run's record of its trial beside `settings`, the profile before it `before`.
    static void recordOfOtherRun(const QProcess &other, const QString &settings,
                                 const QString &before) {
        TrialLedger(TrialLedger::besideSettings(settings)).transact([&](QJsonObject &record) {
            record.insert(QStringLiteral("profileBefore"), before);
            RunIdentity::ofProcess(other.processId()).intoJson(record);
        });
    }
    void refuse(int adapter, const QString &method, qint32 code) {
        computer->adapters[adapter].refuse.insert(method, code);
        store();
    }

    QTemporaryDir dir;
    std::unique_ptr<SimulatedComputer> computer;
};
