#pragma once

#include "WmiAdapter.h"

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
    explicit NetworkManagerBackend(QDBusConnection bus, NmPaths paths = NmPaths());

    bool connect(WmiError &error) override;
    bool ipEnabledAdapters(WmiAdapterList &adapters, WmiError &error) override;
    QString name() const override { return QStringLiteral("NetworkManager"); }

    // How long a static change may take to show on the device.
    int applyTimeoutMs = 5000;

    QDBusConnection &bus() { return m_bus; }
    const Paths &paths() const { return m_paths; }

private:
    QDBusConnection m_bus;
    Paths m_paths;
};
