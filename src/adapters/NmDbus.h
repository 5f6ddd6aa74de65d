#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusObjectPath>
#include <QList>
#include <QMap>
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

// A list of object paths, as properties like AvailableConnections hold them.
QList<QDBusObjectPath> objectPaths(const QVariant &value);
// aa{sv}, as AddressData holds it.
QList<QVariantMap> mapList(const QVariant &value);

// Values to send: aa{sv} and au.
QVariant toMapList(const QList<QVariantMap> &maps);
QVariant toUIntList(const QList<uint> &values);

} // namespace NmDbus

Q_DECLARE_METATYPE(NmDbus::Settings)
