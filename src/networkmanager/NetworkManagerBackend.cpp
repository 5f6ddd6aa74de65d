#include "networkmanager/NetworkManagerBackend.h"

#include "adapters/Wmi.h"
#include "networkmanager/NmAdapter.h"
#include "networkmanager/NmDbus.h"
#include "settings/FileLocation.h"
#include "settings/Text.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QFile>
#include <net/if.h>

namespace {

const QString kDevice = QStringLiteral("org.freedesktop.NetworkManager.Device");

constexpr uint kDeviceEthernet = 1;
constexpr uint kDeviceWifi = 2;
constexpr uint kDeviceVeth = 20;
constexpr uint kStateUnmanaged = 10;

// "E:ID_MODEL_FROM_DATABASE=..." lines of the udev database entry of an interface.
QString hardwareModel(uint index) {
    QFile f(QStringLiteral("/run/udev/data/n%1").arg(index));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QString vendor;
    QString model;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith("E:ID_MODEL_FROM_DATABASE="))
            model = QString::fromUtf8(line.mid(25)).trimmed();
        else if (line.startsWith("E:ID_VENDOR_FROM_DATABASE="))
            vendor = QString::fromUtf8(line.mid(26)).trimmed();
    }
    if (model.isEmpty())
        return {};
    return vendor.isEmpty() ? model : vendor + QLatin1Char(' ') + model;
}

} // namespace

namespace {

QString defaultCheckpointRecord() {
    return TrialLedger::besideSettings(
        FileLocation::locate(QStringLiteral("Nuvar_Pos_Zelvi_ip.exe.config")));
}

} // namespace

NetworkManagerBackend::NetworkManagerBackend(QDBusConnection bus, Paths paths,
                                             QString checkpointRecord)
    : m_bus(std::move(bus)), m_paths(std::move(paths)),
      m_checkpoint(m_bus, m_paths.service, m_paths.manager, m_paths.settings,
                   checkpointRecord.isEmpty() ? defaultCheckpointRecord() : checkpointRecord) {
    NmDbus::registerTypes();
}

bool NetworkManagerBackend::connect(WmiError &error) {
    if (!m_bus.isConnected()) {
        error = {Wmi::ServerUnavailable,
                 Text::tr("Sistem D-Bus'ına bağlanılamadı: %1").arg(m_bus.lastError().message())};
        return false;
    }
    const QDBusReply<bool> owned = m_bus.interface()->isServiceRegistered(m_paths.service);
    if (!owned.isValid() || !owned.value()) {
        error = {
            Wmi::ServerUnavailable,
            Text::tr("NetworkManager çalışmıyor (sistem D-Bus'ında %1 yok).").arg(m_paths.service)};
        return false;
    }
    return true;
}

bool NetworkManagerBackend::devices(QList<Device> &list, WmiError &error) {
    list.clear();
    QDBusMessage call = QDBusMessage::createMethodCall(
        m_paths.service, m_paths.manager, QStringLiteral("org.freedesktop.NetworkManager"),
        QStringLiteral("GetDevices"));
    const QDBusMessage reply = m_bus.call(call);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        error = {Wmi::InvalidQuery, Text::tr("NetworkManager aygıtları listelenemedi: %1")
                                        .arg(QDBusError(reply).message())};
        return false;
    }
    for (const QDBusObjectPath &device : NmDbus::objectPaths(reply.arguments().value(0))) {
        const auto get = [&](const char *name) {
            return NmDbus::property(m_bus, m_paths.service, device.path(), kDevice,
                                    QString::fromLatin1(name));
        };
        const uint type = get("DeviceType").toUInt();
        if (!get("Real").toBool() || get("State").toUInt() == kStateUnmanaged ||
            !(type == kDeviceEthernet || type == kDeviceWifi || type == kDeviceVeth))
            continue;
        const QString iface = get("Interface").toString();
        const uint index = if_nametoindex(iface.toLocal8Bit().constData());
        QString description = iface;
        if (const QString model = hardwareModel(index); !model.isEmpty())
            description += QStringLiteral(" - ") + model;
        list.append(
            {device.path(), iface,
             QStringLiteral("[%1] %2").arg(index, 8, 10, QLatin1Char('0')).arg(description)});
    }
    return true;
}

bool NetworkManagerBackend::ipEnabledAdapters(WmiAdapterList &adapters, WmiError &error) {
    adapters.clear();
    QList<Device> list;
    if (!devices(list, error))
        return false;
    for (const Device &d : list)
        adapters.push_back(makeNmAdapter(*this, d.path, d.iface, d.caption));
    return true;
}

AdapterBackend::TrialStart NetworkManagerBackend::startTrial(int seconds) {
    QList<Device> list;
    WmiError error;
    if (!devices(list, error))
        return {TrialStart::Kind::Failed, error.description};
    QList<QDBusObjectPath> paths;
    for (const Device &d : list)
        paths.append(QDBusObjectPath(d.path));
    return m_checkpoint.create(paths, seconds);
}

bool NetworkManagerBackend::extendTrial(int seconds, QString &problem) {
    return m_checkpoint.extend(seconds, problem);
}

QString NetworkManagerBackend::recoverAbandonedTrial(bool &restored, bool mayChange) {
    return m_checkpoint.recover(restored, mayChange);
}

bool NetworkManagerBackend::adoptTrial() {
    return m_checkpoint.adopt();
}

AdapterBackend::Keep NetworkManagerBackend::keepChanges(QString &problem) {
    return m_checkpoint.destroy(problem);
}

bool NetworkManagerBackend::putBack(QString &problem) {
    return m_checkpoint.putBack(problem);
}

int NetworkManagerBackend::trialSecondsLeft() {
    return m_checkpoint.secondsLeft();
}

std::optional<QString> NetworkManagerBackend::notAllowed(bool canAsk) {
    const QDBusMessage reply = m_bus.call(QDBusMessage::createMethodCall(
        m_paths.service, m_paths.manager, QStringLiteral("org.freedesktop.NetworkManager"),
        QStringLiteral("GetPermissions")));
    if (reply.type() != QDBusMessage::ReplyMessage)
        return std::nullopt; // the changes themselves will say what is wrong
    const QDBusArgument map = reply.arguments().value(0).value<QDBusArgument>();
    QMap<QString, QString> given;
    map >> given;
    // Changing a device, writing a profile, and the checkpoint every change is made under.
    QStringList refused;
    for (const char *name : {"network-control", "settings.modify.system", "checkpoint-rollback"}) {
        const QString answer =
            given.value(QStringLiteral("org.freedesktop.NetworkManager.") + QLatin1String(name));
        if (answer == QLatin1String("no") || (answer == QLatin1String("auth") && !canAsk))
            refused.append(QStringLiteral("%1: %2").arg(QLatin1String(name), answer));
    }
    if (refused.isEmpty())
        return std::nullopt;
    return Text::tr("Bu kullanıcı ağ ayarlarını değiştiremez: polkit izin vermiyor (%1).\n"
                    "İzin için kullanıcıyı netdev grubuna ekleyin (sudo adduser KULLANICI netdev, "
                    "sonra oturum açın)\n"
                    "ve kasanın kendi oturumundan çalıştırın; SSH oturumuna ancak bir polkit "
                    "kuralı izin verir.\nAğ ayarlarına dokunulmadı.")
        .arg(refused.join(QStringLiteral(", ")));
}
