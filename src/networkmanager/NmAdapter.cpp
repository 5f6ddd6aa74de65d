#include "networkmanager/NmAdapter.h"

#include "adapters/AddressText.h"
#include "networkmanager/NmDbus.h"
#include "networkmanager/NmEarlier.h"
#include "settings/Text.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QNetworkInterface>
#include <QThread>
#include <QUuid>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <functional>

namespace {

const QString kDevice = QStringLiteral("org.freedesktop.NetworkManager.Device");
const QString kActive = QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");
const QString kConnection = QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection");
const QString kIp4Config = QStringLiteral("org.freedesktop.NetworkManager.IP4Config");

constexpr uint kDeviceEthernet = 1;
constexpr uint kDeviceWifi = 2;
constexpr uint kDeviceVeth = 20;
constexpr uint kStateUnmanaged = 10;
constexpr uint kStateUnavailable = 20;
constexpr uint kStateActivated = 100;
constexpr uint kStateIpConfig = 70;
constexpr uint kReasonIpUnavailable = 5;
// How long after the probe an address may take to show on the device.
constexpr int kProbeGraceMs = 1500;
// The longest step between two looks at a device that counts as time for the probe (the looks
// come every 30 ms or so; a longer step is NetworkManager, or this program, stalled).
constexpr qint64 kLookStepMs = 100;
constexpr uint kConnectionExternal = 0x8;
constexpr uint kToDisk = 0x1;
constexpr uint kInMemory = 0x2;
constexpr uint kBlockAutoconnect = 0x20;

// Waits for a condition without taking user input: the window keeps painting.
bool waitUntil(int timeoutMs, const std::function<bool()> &condition) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(30);
    }
    return true;
}

uint toNetworkOrder(quint32 address) {
    // NetworkManager keeps IPv4 addresses as 32-bit numbers in network byte order.
    const quint32 be = qToBigEndian(address);
    uint value;
    std::memcpy(&value, &be, sizeof value);
    return value;
}

// One network device as a Win32_NetworkAdapterConfiguration.
class NmAdapter : public WmiAdapter {
public:
    NmAdapter(NetworkManagerBackend &nm, QString device, QString iface, QString caption)
        : m_nm(nm), m_device(std::move(device)), m_iface(std::move(iface)),
          m_caption(std::move(caption)) {}

    QString Caption() const override { return m_caption; }
    QString lastErrorText() const override { return m_error; }
    QString noticeText() const override { return m_notice; }

    // From the profile the device is up with, and only while the device holds its address and
    // the profile is stored: one kept only in memory (its storing failed) is lost at a restart.
    std::optional<Held> held() override {
        const QString active = objectPath(deviceProperty(QStringLiteral("ActiveConnection")));
        if (active.isEmpty() || active == QLatin1String("/"))
            return std::nullopt;
        const QString connection = objectPath(NmDbus::property(
            m_nm.bus(), m_nm.paths().service, active, kActive, QStringLiteral("Connection")));
        if (NmDbus::property(m_nm.bus(), m_nm.paths().service, connection, kConnection,
                             QStringLiteral("Unsaved"))
                .toBool())
            return std::nullopt;
        const QDBusMessage reply = call(connection, kConnection, QStringLiteral("GetSettings"), {});
        if (reply.type() != QDBusMessage::ReplyMessage)
            return std::nullopt;
        NmDbus::Settings settings;
        reply.arguments().value(0).value<QDBusArgument>() >> settings;
        const QVariantMap ipv4 = settings.value(QStringLiteral("ipv4"));
        Held now;
        now.dhcp = ipv4.value(QStringLiteral("method")).toString() != QLatin1String("manual");
        for (const QVariantMap &entry :
             NmDbus::mapList(ipv4.value(QStringLiteral("address-data")))) {
            const QString address = entry.value(QStringLiteral("address")).toString();
            const uint prefix = entry.value(QStringLiteral("prefix")).toUInt();
            if (!deviceHasAddress(address))
                return std::nullopt; // not on the device (yet): not held
            now.address.append(address);
            now.mask.append(AddressText::format(prefix == 0 ? 0 : ~quint32(0) << (32 - prefix)));
        }
        if (const QString gateway = ipv4.value(QStringLiteral("gateway")).toString();
            !gateway.isEmpty())
            now.gateway.append(gateway);
        for (const uint server : NmDbus::uintList(ipv4.value(QStringLiteral("dns"))))
            now.dns.append(AddressText::format(qFromBigEndian(server)));
        return now;
    }

    qint32 EnableStatic(const QStringList &IPAddress, const QStringList &SubnetMask) override {
        QList<AddressText::Prefixed> given;
        if (const qint32 refused = AddressText::staticAddresses(IPAddress, SubnetMask, given);
            refused != WmiResult::Success)
            return refused;
        QList<QVariantMap> addresses;
        for (const AddressText::Prefixed &a : given)
            addresses.append({{QStringLiteral("address"), a.address},
                              {QStringLiteral("prefix"), uint(a.prefix)}});
        const QString first = addresses.first().value(QStringLiteral("address")).toString();
        // NetworkManager probes the address first and takes it only when nobody answers.
        // When somebody does, the device either fails for want of an IP configuration or,
        // when it has other addresses to live on, stays up without this one.
        NmDbus::DeviceStateWatch watch(m_nm.bus(), m_nm.paths().service, m_device);
        // This computer's own address on another adapter (the same profile on two adapters of
        // one network) would answer the probe: it is no other device's.
        const int probeMs = ownedElsewhere(first) ? 0 : m_nm.addressProbeMs;
        // NetworkManager has taken up the change once the addresses the device had are gone;
        // until then a stalled NetworkManager (or one waiting for a password) is no conflict.
        QStringList before = deviceAddresses();
        before.removeAll(first);
        // The probe's time is counted in the small steps between two looks at the device: a
        // step in which NetworkManager stalled (stopped, swapped out, busy) and answered late
        // counts as one small step, since it probed nothing meanwhile.
        QElapsedTimer sinceLastLook;
        qint64 probedMs = 0;
        const auto refusedByProbe = [&] {
            if (probeMs <= 0 || deviceHasAddress(first))
                return false;
            if (watch.failedWith(kReasonIpUnavailable))
                return true;
            if (sinceLastLook.isValid())
                probedMs += std::min<qint64>(sinceLastLook.restart(), kLookStepMs);
            else
                sinceLastLook.start();
            const QStringList now = deviceAddresses();
            const bool takenUp = std::none_of(before.cbegin(), before.cend(),
                                              [&](const QString &a) { return now.contains(a); });
            const uint state = deviceProperty(QStringLiteral("State")).toUInt();
            return takenUp && (state == kStateActivated || state == kStateIpConfig) &&
                   probedMs > probeMs + kProbeGraceMs;
        };
        const qint32 code = change(
            WmiResult::InvalidIpAddress,
            [&](QVariantMap &ipv4) {
                ipv4.insert(QStringLiteral("method"), QStringLiteral("manual"));
                ipv4.insert(QStringLiteral("address-data"), NmDbus::toMapList(addresses));
                ipv4.insert(QStringLiteral("dad-timeout"), qint32(probeMs));
            },
            [&] { return deviceHasAddress(first) || refusedByProbe(); });
        if (code == WmiResult::Success && refusedByProbe()) {
            m_error = Text::tr("%1 adresini ağda başka bir cihaz kullanıyor: adres "
                               "denendiğinde yanıt verdi, %2 bu adresi almadı.")
                          .arg(first, m_iface);
            return WmiResult::AddressInUse;
        }
        return code;
    }

    qint32 SetGateways(const QStringList &DefaultIPGateway,
                       const QList<quint16> &GatewayCostMetric) override {
        if (DefaultIPGateway.size() > 1)
            return 69; // NetworkManager keeps one default gateway
        std::optional<quint32> gateway;
        if (!DefaultIPGateway.isEmpty()) {
            gateway = AddressText::parse(DefaultIPGateway.first());
            if (!gateway)
                return WmiResult::InvalidGatewayAddress;
        }
        if (GatewayCostMetric.size() != DefaultIPGateway.size())
            return WmiResult::InvalidInputParameter;
        const QString text = gateway ? AddressText::format(*gateway) : QString();
        return change(
            WmiResult::InvalidGatewayAddress,
            [&](QVariantMap &ipv4) {
                if (text.isEmpty()) {
                    ipv4.remove(QStringLiteral("gateway"));
                    return;
                }
                ipv4.insert(QStringLiteral("gateway"), text);
                ipv4.insert(QStringLiteral("route-metric"), qint64(GatewayCostMetric.first()));
            },
            [this, text] { return text.isEmpty() || deviceGateway() == text; });
    }

    qint32 SetDNSServerSearchOrder(const QStringList &servers) override {
        QList<uint> dns;
        for (const QString &s : servers) {
            const std::optional<quint32> address = AddressText::parse(s);
            if (!address)
                return WmiResult::InvalidIpAddress;
            dns.append(toNetworkOrder(*address));
        }
        return change(WmiResult::InvalidIpAddress, [&](QVariantMap &ipv4) {
            ipv4.insert(QStringLiteral("dns"), NmDbus::toUIntList(dns));
            ipv4.insert(QStringLiteral("ignore-auto-dns"), true);
        });
    }

    qint32 SetDNSServerSearchOrder() override {
        return change(WmiResult::InvalidInputParameter, [](QVariantMap &ipv4) {
            ipv4.insert(QStringLiteral("dns"), NmDbus::toUIntList({}));
            ipv4.insert(QStringLiteral("ignore-auto-dns"), false);
        });
    }

    qint32 SetWINSServer(const QString &primary, const QString &secondary) override {
        // NetworkManager has no WINS setting: clearing them is all there is to do.
        const QString none = QStringLiteral("0.0.0.0");
        return primary == none && secondary == none ? WmiResult::Success : qint32(64);
    }

    qint32 EnableDHCP() override {
        return change(WmiResult::UnableToConfigureDhcp, [](QVariantMap &ipv4) {
            ipv4.insert(QStringLiteral("method"), QStringLiteral("auto"));
            ipv4.remove(QStringLiteral("address-data"));
            ipv4.remove(QStringLiteral("gateway"));
            ipv4.remove(QStringLiteral("dad-timeout"));
        });
    }

private:
    QVariant deviceProperty(const QString &name) {
        return NmDbus::property(m_nm.bus(), m_nm.paths().service, m_device, kDevice, name);
    }

    QString objectPath(const QVariant &value) { return value.value<QDBusObjectPath>().path(); }

    QStringList deviceAddresses() {
        const QString config = objectPath(deviceProperty(QStringLiteral("Ip4Config")));
        if (config.isEmpty() || config == QLatin1String("/"))
            return {};
        const QVariant data = NmDbus::property(m_nm.bus(), m_nm.paths().service, config, kIp4Config,
                                               QStringLiteral("AddressData"));
        QStringList addresses;
        for (const QVariantMap &entry : NmDbus::mapList(data))
            addresses.append(entry.value(QStringLiteral("address")).toString());
        return addresses;
    }

    bool deviceHasAddress(const QString &address) { return deviceAddresses().contains(address); }

    // Whether another interface of this computer holds the address.
    bool ownedElsewhere(const QString &address) const {
        for (const QNetworkInterface &other : QNetworkInterface::allInterfaces()) {
            if (other.name() == m_iface)
                continue;
            for (const QNetworkAddressEntry &entry : other.addressEntries()) {
                if (entry.ip().toString() == address)
                    return true;
            }
        }
        return false;
    }

    QString deviceGateway() {
        const QString config = objectPath(deviceProperty(QStringLiteral("Ip4Config")));
        if (config.isEmpty() || config == QLatin1String("/"))
            return {};
        return NmDbus::property(m_nm.bus(), m_nm.paths().service, config, kIp4Config,
                                QStringLiteral("Gateway"))
            .toString();
    }

    uint connectionFlags(const QString &connection) {
        return NmDbus::property(m_nm.bus(), m_nm.paths().service, connection, kConnection,
                                QStringLiteral("Flags"))
            .toUInt();
    }

    // Maps a D-Bus error to WMI's numbers and keeps NetworkManager's message.
    qint32 failed(const QDBusError &error, qint32 invalidCode) {
        m_error = error.message().isEmpty() ? error.name() : error.message();
        const QString name = error.name();
        if (name.endsWith(QLatin1String("PermissionDenied")) ||
            name == QLatin1String("org.freedesktop.DBus.Error.AccessDenied"))
            return WmiResult::AccessDenied;
        if (name.endsWith(QLatin1String("InvalidProperty")) ||
            name.endsWith(QLatin1String("InvalidSetting")) ||
            name.endsWith(QLatin1String("InvalidConnection")))
            return invalidCode;
        return WmiResult::UnknownFailure;
    }

    qint32 failed(const QString &message) {
        m_error = message;
        return WmiResult::UnknownFailure;
    }

    QDBusMessage call(const QString &path, const QString &interface, const QString &method,
                      const QVariantList &args) {
        QDBusMessage message =
            QDBusMessage::createMethodCall(m_nm.paths().service, path, interface, method);
        message.setArguments(args);
        message.setInteractiveAuthorizationAllowed(true);
        return m_nm.bus().call(message, QDBus::Block, 30000);
    }

    // The profile of the device that is changed: the active one, else one the device can
    // use, never one that NetworkManager made for a device configured outside it.
    QString profilePath(qint32 &code) {
        const QString active = objectPath(deviceProperty(QStringLiteral("ActiveConnection")));
        if (!active.isEmpty() && active != QLatin1String("/")) {
            const QString connection = objectPath(NmDbus::property(
                m_nm.bus(), m_nm.paths().service, active, kActive, QStringLiteral("Connection")));
            if (!connection.isEmpty() && !(connectionFlags(connection) & kConnectionExternal))
                return connection;
        }
        for (const QDBusObjectPath &p :
             NmDbus::objectPaths(deviceProperty(QStringLiteral("AvailableConnections")))) {
            if (!(connectionFlags(p.path()) & kConnectionExternal))
                return p.path();
        }
        // Without a cable nothing is "available": the profile made for this interface before,
        // the last one used, so that every call changes the one that comes up with the cable.
        if (const QString stored = storedProfile(); !stored.isEmpty())
            return stored;
        // None yet: a new one for this interface.
        const bool wifi = deviceProperty(QStringLiteral("DeviceType")).toUInt() == kDeviceWifi;
        if (wifi) {
            code = failed(Text::tr("Kablosuz bağdaştırıcı %1 için NetworkManager'da "
                                   "kayıtlı bir bağlantı yok; önce bir ağa bağlanın.")
                              .arg(m_iface));
            return {};
        }
        NmDbus::Settings settings;
        settings.insert(
            QStringLiteral("connection"),
            {{QStringLiteral("id"), QStringLiteral("Zelvi %1").arg(m_iface)},
             {QStringLiteral("uuid"), QUuid::createUuid().toString(QUuid::WithoutBraces)},
             {QStringLiteral("type"), QStringLiteral("802-3-ethernet")},
             {QStringLiteral("interface-name"), m_iface}});
        settings.insert(QStringLiteral("ipv4"),
                        {{QStringLiteral("method"), QStringLiteral("auto")}});
        const bool onTrial = m_nm.changesOnTrial();
        // Without a link it must come up by itself when the cable is plugged in; with one the
        // program brings it up.
        const bool linked = deviceProperty(QStringLiteral("State")).toUInt() > kStateUnavailable;
        const QDBusMessage reply =
            call(m_nm.paths().settings, QStringLiteral("org.freedesktop.NetworkManager.Settings"),
                 QStringLiteral("AddConnection2"),
                 {QVariant::fromValue(settings),
                  uint((onTrial ? kInMemory : kToDisk) | (linked ? kBlockAutoconnect : 0)),
                  QVariantMap()});
        if (reply.type() != QDBusMessage::ReplyMessage) {
            code = failed(QDBusError(reply), WmiResult::InvalidInputParameter);
            return {};
        }
        const QString made = reply.arguments().value(0).value<QDBusObjectPath>().path();
        if (onTrial)
            m_nm.noteEarlier(settings.value(QStringLiteral("connection"))
                                 .value(QStringLiteral("uuid"))
                                 .toString(),
                             m_iface, {{QStringLiteral("new"), true}});
        return made;
    }

    // The profile stored for this interface (by name or by hardware address) that was used
    // last, or none.
    QString storedProfile() {
        const QDBusMessage reply =
            call(m_nm.paths().settings, QStringLiteral("org.freedesktop.NetworkManager.Settings"),
                 QStringLiteral("ListConnections"), {});
        if (reply.type() != QDBusMessage::ReplyMessage)
            return {};
        const QString hardware = deviceProperty(QStringLiteral("HwAddress")).toString().toUpper();
        QString best;
        quint64 bestUsed = 0;
        for (const QDBusObjectPath &p : NmDbus::objectPaths(reply.arguments().value(0))) {
            if (connectionFlags(p.path()) & kConnectionExternal)
                continue;
            const QDBusMessage got = call(p.path(), kConnection, QStringLiteral("GetSettings"), {});
            if (got.type() != QDBusMessage::ReplyMessage)
                continue;
            NmDbus::Settings settings;
            got.arguments().value(0).value<QDBusArgument>() >> settings;
            const QVariantMap connection = settings.value(QStringLiteral("connection"));
            const QByteArray mac = settings.value(QStringLiteral("802-3-ethernet"))
                                       .value(QStringLiteral("mac-address"))
                                       .toByteArray();
            const bool forThis =
                connection.value(QStringLiteral("type")).toString() ==
                    QLatin1String("802-3-ethernet") &&
                (connection.value(QStringLiteral("interface-name")).toString() == m_iface ||
                 (!mac.isEmpty() && mac.toHex(':').toUpper() == hardware.toLatin1()));
            const quint64 used = connection.value(QStringLiteral("timestamp")).toULongLong();
            if (forThis && (best.isEmpty() || used > bestUsed)) {
                best = p.path();
                bestUsed = used;
            }
        }
        return best;
    }

    // Changes the ipv4 setting of the device's profile, stores it and applies it.
    qint32 change(qint32 invalidCode, const std::function<void(QVariantMap &)> &edit,
                  const std::function<bool()> &shown = {}) {
        m_error.clear();
        qint32 code = WmiResult::Success;
        const QString connection = profilePath(code);
        if (connection.isEmpty())
            return code;

        QDBusMessage reply = call(connection, kConnection, QStringLiteral("GetSettings"), {});
        if (reply.type() != QDBusMessage::ReplyMessage)
            return failed(QDBusError(reply), invalidCode);
        NmDbus::Settings settings;
        reply.arguments().value(0).value<QDBusArgument>() >> settings;
        QVariantMap ipv4 = settings.value(QStringLiteral("ipv4"));
        // On trial: in memory only, so that a restart of the computer brings back what is
        // stored; what the profile had is recorded for a restart of NetworkManager.
        const bool onTrial = m_nm.changesOnTrial();
        if (onTrial)
            m_nm.noteEarlier(settings.value(QStringLiteral("connection"))
                                 .value(QStringLiteral("uuid"))
                                 .toString(),
                             m_iface, {{QStringLiteral("ipv4"), NmEarlier::fromIpv4(ipv4)}});
        // With the old "addresses" present NetworkManager ignores address-data and gateway.
        ipv4.remove(QStringLiteral("addresses"));
        ipv4.remove(QStringLiteral("routes"));
        edit(ipv4);
        settings.insert(QStringLiteral("ipv4"), ipv4);

        reply = call(connection, kConnection, QStringLiteral("Update2"),
                     {QVariant::fromValue(settings), onTrial ? kInMemory : kToDisk, QVariantMap()});
        if (reply.type() != QDBusMessage::ReplyMessage)
            return failed(QDBusError(reply), invalidCode);

        const uint state = deviceProperty(QStringLiteral("State")).toUInt();
        m_notice.clear();
        if (state <= kStateUnavailable) {
            m_notice = Text::tr("%1 ağ bağdaştırıcısında bağlantı yok (kablo takılı değil):\n"
                                "ayarlar saklandı, kablo takılınca uygulanacak.")
                           .arg(m_iface);
            return WmiResult::Success;
        }

        if (!applyToDevice(connection, state, invalidCode, code))
            return code;
        if (shown && !waitUntil(m_nm.applyTimeoutMs, shown))
            return failed(Text::tr("NetworkManager değişikliği %1 saniye içinde %2 "
                                   "üzerinde uygulamadı.")
                              .arg(m_nm.applyTimeoutMs / 1000)
                              .arg(m_iface));
        return WmiResult::Success;
    }

    bool applyToDevice(const QString &connection, uint state, qint32 invalidCode, qint32 &code) {
        const QString active = objectPath(deviceProperty(QStringLiteral("ActiveConnection")));
        const bool activeWithIt =
            state == kStateActivated && !active.isEmpty() && active != QLatin1String("/") &&
            objectPath(NmDbus::property(m_nm.bus(), m_nm.paths().service, active, kActive,
                                        QStringLiteral("Connection"))) == connection;
        if (activeWithIt) {
            const QDBusMessage reply =
                call(m_device, kDevice, QStringLiteral("Reapply"),
                     {QVariant::fromValue(NmDbus::Settings()), quint64(0), uint(0)});
            if (reply.type() == QDBusMessage::ReplyMessage)
                return true;
        }
        const QDBusMessage reply =
            call(m_nm.paths().manager, QStringLiteral("org.freedesktop.NetworkManager"),
                 QStringLiteral("ActivateConnection"),
                 {QVariant::fromValue(QDBusObjectPath(connection)),
                  QVariant::fromValue(QDBusObjectPath(m_device)),
                  QVariant::fromValue(QDBusObjectPath(QStringLiteral("/")))});
        if (reply.type() != QDBusMessage::ReplyMessage) {
            code = failed(QDBusError(reply), invalidCode);
            return false;
        }
        return true;
    }

    NetworkManagerBackend &m_nm;
    QString m_device;
    QString m_iface;
    QString m_caption;
    QString m_error;
    QString m_notice;
};

} // namespace

std::unique_ptr<WmiAdapter> makeNmAdapter(NetworkManagerBackend &nm, QString device, QString iface,
                                          QString caption) {
    return std::make_unique<NmAdapter>(nm, std::move(device), std::move(iface), std::move(caption));
}
