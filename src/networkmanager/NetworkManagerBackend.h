#pragma once

#include "adapters/AdapterBackend.h"
#include "networkmanager/NmCheckpoint.h"

#include <QDBusConnection>
#include <QString>
#include <QVariantMap>

// Where NetworkManager is found on the bus.
struct NmPaths {
    QString service = QStringLiteral("org.freedesktop.NetworkManager");
    QString manager = QStringLiteral("/org/freedesktop/NetworkManager");
    QString settings = QStringLiteral("/org/freedesktop/NetworkManager/Settings");
};

// The computer's network configuration through NetworkManager on the system bus. Each WMI
// method changes the adapter's NetworkManager profile, stores it (so that it survives a
// restart) and applies it to the device; a static change is waited for until the device
// shows it.
class NetworkManagerBackend : public AdapterBackend {
public:
    using Paths = NmPaths;
    // The record of the program's checkpoint is kept in `checkpointRecord`, the trial record
    // beside the settings file (by default beside the default settings file).
    explicit NetworkManagerBackend(QDBusConnection bus, NmPaths paths = NmPaths(),
                                   QString checkpointRecord = QString());

    bool connect(WmiError &error) override;
    bool ipEnabledAdapters(WmiAdapterList &adapters, WmiError &error) override;
    QString name() const override { return QStringLiteral("NetworkManager"); }

    TrialStart startTrial(int seconds) override;
    bool extendTrial(int seconds, QString &problem) override;
    QString recoverAbandonedTrial(bool &restored, bool mayChange) override;
    bool adoptTrial() override;
    Keep keepChanges(QString &problem) override;
    bool putBack(QString &problem) override;
    int trialSecondsLeft() override;
    std::optional<QString> notAllowed(bool canAsk) override;

    // How long a static change may take to show on the device.
    int applyTimeoutMs = 5000;
    // How long NetworkManager probes a static address before taking it: another device
    // that answers for it in this time holds it already.
    int addressProbeMs = 300;

    QDBusConnection &bus() { return m_bus; }
    // Changes on trial are made in memory and stored when kept; the record keeps what each
    // profile had before.
    bool changesOnTrial() const { return m_checkpoint.onTrial(); }
    void noteEarlier(const QString &uuid, const QString &iface, const QJsonObject &earlier) {
        m_checkpoint.noteEarlier(uuid, iface, earlier);
    }
    const Paths &paths() const { return m_paths; }

private:
    struct Device {
        QString path;
        QString iface;
        QString caption;
    };
    // The devices the program configures, in NetworkManager's order.
    bool devices(QList<Device> &list, WmiError &error);

    QDBusConnection m_bus;
    Paths m_paths;
    NmCheckpoint m_checkpoint;
};
