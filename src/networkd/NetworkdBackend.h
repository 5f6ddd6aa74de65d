#pragma once

#include "adapters/WmiAdapter.h"
#include "networkd/NetworkdFiles.h"

#include <QDBusConnection>
#include <QJsonObject>
#include <QMap>
#include <QString>

// The computer's network configuration through systemd-networkd on the system bus. networkd
// has no call that sets an address: each change writes the program's own ".network" file for
// the link (NetworkdFiles) and asks networkd to reload its files; a static address is waited
// for until the link holds it. What a link holds is read from networkd's own description of
// it. Changes are kept at once: this backend makes no checkpoint.
class NetworkdBackend : public AdapterBackend {
public:
    explicit NetworkdBackend(QDBusConnection bus,
                             QString folder = QStringLiteral("/etc/systemd/network"));

    bool connect(WmiError &error) override;
    bool ipEnabledAdapters(WmiAdapterList &adapters, WmiError &error) override;
    QString name() const override { return QStringLiteral("systemd-networkd"); }
    void beginChanges() override;
    bool commitChanges(WmiError &error) override;

    // How long a static change may take to show on the link.
    int applyTimeoutMs = 5000;

    // For the links' methods: what a link is to hold, written at the end of the command (or
    // at once outside one); the description networkd gives of a link.
    NetworkdFiles::LinkConfig &pending(const QString &link);
    bool applyNow(const QString &link, QString &problem);
    std::optional<QJsonObject> describe(const QString &path);

private:
    bool writeAndReload(QString &problem);

    QDBusConnection m_bus;
    QString m_folder;
    QMap<QString, NetworkdFiles::LinkConfig> m_pending; // by link name
    QMap<QString, QString> m_paths;                     // link name -> object path
    bool m_batch = false;
};
