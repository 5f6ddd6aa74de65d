#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusObjectPath>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantMap>

// The D-Bus types and calls the NetworkManager backend needs.
namespace NmDbus {

// a{sa{sv}}: a connection's settings, by setting name.
using Settings = QMap<QString, QVariantMap>;

void registerTypes();

// A property of an object, or an invalid QVariant with `error` set.
QVariant property(QDBusConnection &bus, const QString &service, const QString &path,
                  const QString &interface, const QString &name, QDBusError *error = nullptr);

// The object of a stored connection (by its UUID) and of the device that carries an
// interface (by its name), found through the settings and the manager object: empty when
// NetworkManager has none.
QString connectionPath(QDBusConnection &bus, const QString &service, const QString &settings,
                       const QString &uuid);
QString devicePath(QDBusConnection &bus, const QString &service, const QString &manager,
                   const QString &iface);

// A list of object paths, as properties like AvailableConnections hold them.
QList<QDBusObjectPath> objectPaths(const QVariant &value);
// aa{sv}, as AddressData holds it.
QList<QVariantMap> mapList(const QVariant &value);
// au, as ipv4.dns holds it.
QList<uint> uintList(const QVariant &value);

// Values to send: aa{sv} and au.
QVariant toMapList(const QList<QVariantMap> &maps);
QVariant toUIntList(const QList<uint> &values);

// Notes the state changes that one device reports while the watch lives (delivered while
// the caller waits with the event loop running).
class DeviceStateWatch : public QObject {
    Q_OBJECT

public:
    DeviceStateWatch(QDBusConnection bus, QString service, QString device);
    ~DeviceStateWatch() override;

    // The device failed for this reason meanwhile.
    bool failedWith(uint reason) const { return m_failures.contains(reason); }

private Q_SLOTS:
    void stateChanged(uint newState, uint oldState, uint reason);

private:
    QDBusConnection m_bus;
    QString m_service;
    QString m_device;
    QList<uint> m_failures;
};

} // namespace NmDbus

Q_DECLARE_METATYPE(NmDbus::Settings)
