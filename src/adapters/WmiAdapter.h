#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <memory>
#include <optional>
#include <vector>

// An error of the platform: binding, connecting, querying. The number follows WMI's
// (HRESULT values such as 0x80041010 as signed 32-bit numbers); the description is Turkish.
struct WmiError {
    qint64 number = 0;
    QString description;

    bool isError() const { return number != 0; }
};

// Return values of the configuration methods, as WMI's Win32_NetworkAdapterConfiguration
// gives them.
namespace WmiResult {
constexpr qint32 Success = 0;
constexpr qint32 SuccessRestartRequired = 1;
constexpr qint32 UnknownFailure = 65;
constexpr qint32 InvalidSubnetMask = 66;
constexpr qint32 InvalidInputParameter = 68;
constexpr qint32 InvalidIpAddress = 70;
constexpr qint32 InvalidGatewayAddress = 71;
constexpr qint32 UnableToConfigureDhcp = 81;
constexpr qint32 IpNotEnabled = 84;
constexpr qint32 AccessDenied = 91;
// Not one of WMI's codes: another device of the network answered for the address (the
// probe before taking it).
constexpr qint32 AddressInUse = 2001;
// Not one of WMI's codes: a file of the administrator's configures the adapter before the
// program's, and the change would stay behind it.
constexpr qint32 HiddenByFile = 2002;

// Whether the method did what was asked.
inline bool succeeded(qint32 code) {
    return code == Success || code == SuccessRestartRequired;
}
} // namespace WmiResult

// One adapter's IPv4 configuration (a Win32_NetworkAdapterConfiguration object).
class WmiAdapter {
public:
    virtual ~WmiAdapter() = default;

    // "[" index "] " description.
    virtual QString Caption() const = 0;
    virtual qint32 EnableStatic(const QStringList &IPAddress, const QStringList &SubnetMask) = 0;
    virtual qint32 SetGateways(const QStringList &DefaultIPGateway,
                               const QList<quint16> &GatewayCostMetric) = 0;
    virtual qint32 SetDNSServerSearchOrder(const QStringList &DNSServerSearchOrder) = 0;
    // Without an argument: the DNS servers come from DHCP.
    virtual qint32 SetDNSServerSearchOrder() = 0;
    virtual qint32 SetWINSServer(const QString &WINSPrimaryServer,
                                 const QString &WINSSecondaryServer) = 0;
    virtual qint32 EnableDHCP() = 0;
    // What the system said when the last method failed, if it said anything.
    virtual QString lastErrorText() const { return {}; }
    // What the methods that succeeded leave to be said (the settings wait for a cable).
    virtual QString noticeText() const { return {}; }
    // The administrator's configuration that would hide any change the program makes to this
    // adapter (a file the system reads before the program's): its path; empty when none.
    virtual QString hiddenBy() { return {}; }

    // What the adapter holds now, as the class's properties DHCPEnabled, IPAddress, IPSubnet,
    // DefaultIPGateway and DNSServerSearchOrder tell it; nothing when it cannot be known.
    struct Held {
        bool dhcp = true;
        QStringList address;
        QStringList mask;
        QStringList gateway;
        QStringList dns;
    };
    virtual std::optional<Held> held() { return std::nullopt; }
};

using WmiAdapterList = std::vector<std::unique_ptr<WmiAdapter>>;
