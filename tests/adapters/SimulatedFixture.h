#pragma once

#include "SimulatedComputer.h"

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
    void refuse(int adapter, const QString &method, qint32 code) {
        computer->adapters[adapter].refuse.insert(method, code);
        store();
    }

    QTemporaryDir dir;
    std::unique_ptr<SimulatedComputer> computer;
};
