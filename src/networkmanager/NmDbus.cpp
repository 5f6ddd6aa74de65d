#include "networkmanager/NmDbus.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>

namespace NmDbus {

void registerTypes() {
    static const bool done = [] {
        qDBusRegisterMetaType<Settings>();
        qDBusRegisterMetaType<QList<QVariantMap>>();
        qDBusRegisterMetaType<QList<uint>>();
        qDBusRegisterMetaType<QList<QDBusObjectPath>>();
        return true;
    }();
    (void)done;
}

QVariant property(QDBusConnection &bus, const QString &service, const QString &path,
                  const QString &interface, const QString &name, QDBusError *error) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << interface << name;
    const QDBusMessage reply = bus.call(call);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        if (error)
            *error = QDBusError(reply);
        return {};
    }
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

namespace {

QString pathReply(QDBusConnection &bus, QDBusMessage message, const QString &argument) {
    message.setArguments({argument});
    const QDBusMessage reply = bus.call(message);
    return reply.type() == QDBusMessage::ReplyMessage
               ? reply.arguments().value(0).value<QDBusObjectPath>().path()
               : QString();
}

} // namespace

QString connectionPath(QDBusConnection &bus, const QString &service, const QString &settings,
                       const QString &uuid) {
    return pathReply(
        bus,
        QDBusMessage::createMethodCall(service, settings,
                                       QStringLiteral("org.freedesktop.NetworkManager.Settings"),
                                       QStringLiteral("GetConnectionByUuid")),
        uuid);
}

QString devicePath(QDBusConnection &bus, const QString &service, const QString &manager,
                   const QString &iface) {
    return pathReply(bus,
                     QDBusMessage::createMethodCall(
                         service, manager, QStringLiteral("org.freedesktop.NetworkManager"),
                         QStringLiteral("GetDeviceByIpIface")),
                     iface);
}

QList<QDBusObjectPath> objectPaths(const QVariant &value) {
    if (value.canConvert<QList<QDBusObjectPath>>() && !value.canConvert<QDBusArgument>())
        return value.value<QList<QDBusObjectPath>>();
    QList<QDBusObjectPath> paths;
    if (value.canConvert<QDBusArgument>())
        value.value<QDBusArgument>() >> paths;
    return paths;
}

QList<QVariantMap> mapList(const QVariant &value) {
    QList<QVariantMap> maps;
    if (value.canConvert<QDBusArgument>())
        value.value<QDBusArgument>() >> maps;
    else
        maps = value.value<QList<QVariantMap>>();
    return maps;
}

QList<uint> uintList(const QVariant &value) {
    QList<uint> list;
    if (value.canConvert<QDBusArgument>())
        value.value<QDBusArgument>() >> list;
    else
        list = value.value<QList<uint>>();
    return list;
}

QVariant toMapList(const QList<QVariantMap> &maps) {
    return QVariant::fromValue(maps);
}

QVariant toUIntList(const QList<uint> &values) {
    return QVariant::fromValue(values);
}

namespace {
const QString kDevice = QStringLiteral("org.freedesktop.NetworkManager.Device");
constexpr uint kStateFailed = 120;
} // namespace

DeviceStateWatch::DeviceStateWatch(QDBusConnection bus, QString service, QString device)
    : m_bus(std::move(bus)), m_service(std::move(service)), m_device(std::move(device)) {
    m_bus.connect(m_service, m_device, kDevice, QStringLiteral("StateChanged"), this,
                  SLOT(stateChanged(uint, uint, uint)));
}

DeviceStateWatch::~DeviceStateWatch() {
    m_bus.disconnect(m_service, m_device, kDevice, QStringLiteral("StateChanged"), this,
                     SLOT(stateChanged(uint, uint, uint)));
}

void DeviceStateWatch::stateChanged(uint newState, uint oldState, uint reason) {
    Q_UNUSED(oldState);
    if (newState == kStateFailed)
        m_failures.append(reason);
}

} // namespace NmDbus
