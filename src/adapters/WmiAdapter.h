#pragma once

#include "adapters/RunIdentity.h"

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

// What stands behind the WMI-shaped interface: the computer's network configuration.
class AdapterBackend {
public:
    virtual ~AdapterBackend() = default;

    // Reaching the configuration service (binding a moniker, connecting a locator).
    virtual bool connect(WmiError &error) = 0;
    // The IP-enabled adapters, in the service's order.
    virtual bool ipEnabledAdapters(WmiAdapterList &adapters, WmiError &error) = 0;
    // A short Turkish name for messages ("NetworkManager", "benzetim bilgisayarı").
    virtual QString name() const = 0;
    // The folders a change writes its files in (a trial's record among them): a change is not
    // begun while one of them has no room.
    virtual QStringList storageFolders() const { return {}; }

    // One command (a DHCP switch, a static apply) runs between these two: a backend that
    // stores its state may keep it once, at the end, instead of after every method. False
    // when what the methods reported could not be kept.
    virtual void beginChanges() {}
    virtual bool commitChanges(WmiError &error) {
        Q_UNUSED(error);
        return true;
    }
    // A command made of two such batches (every adapter to DHCP, then the profile's static
    // settings) runs between these two: a backend whose every commit reconfigures the links
    // keeps both for one commit at the end, so that no link starts DHCP in between. False when
    // that commit fails.
    virtual void holdCommits() {}
    virtual bool releaseCommits(WmiError &error) {
        Q_UNUSED(error);
        return true;
    }

    // A checkpoint: the adapters' state before a change, which the system restores by itself
    // when the change is not kept in time, also after this program has ended. A backend
    // without them keeps every change at once.
    struct CheckpointStart {
        enum class Kind {
            Made,
            NotAvailable, // this backend has none: the change runs without one
            Busy,         // another program is trying a change on these adapters
            Failed,       // the system refused one (problem tells why)
        };
        Kind kind = Kind::NotAvailable;
        QString problem; // Turkish
    };
    // Made on every IP-enabled adapter, restored in `seconds` unless kept. One of this
    // program's left pending by an earlier run is rolled back first.
    virtual CheckpointStart createCheckpoint(int seconds) {
        Q_UNUSED(seconds);
        return {};
    }
    // Restarts the pending checkpoint's time: restored in `seconds` from now.
    virtual bool extendCheckpoint(int seconds, QString &problem) {
        Q_UNUSED(seconds);
        Q_UNUSED(problem);
        return true;
    }
    // At a run's start: a change that an ended run left on trial and that the system can no
    // longer put back by itself (it lost the checkpoint) is put back from the record. Says
    // what it did and why (empty: nothing to do); false in `restored` when it failed. A run
    // that changes nothing (`mayChange` false: --status, --list) only says what waits to be
    // put back by the next one that does.
    virtual QString recoverAbandonedTrial(bool &restored, bool mayChange) {
        Q_UNUSED(mayChange);
        restored = false;
        return {};
    }
    // Takes over the pending checkpoint that an ended run of the program left, to judge it
    // as that run would have; false when there is none (or its run still goes on).
    virtual bool adoptCheckpoint() { return false; }
    // Keeps the changes made since this run's checkpoint: the checkpoint is gone. PutBack
    // when the system had already restored the adapters (the run was paused past its time);
    // Unsaved when the change stays on the adapters and the checkpoint is gone, but it could
    // not be stored, so a restart loses it; Failed when the checkpoint still stands.
    enum class Keep { Kept, Unsaved, PutBack, Failed };
    virtual Keep keepChanges(QString &problem) {
        Q_UNUSED(problem);
        return Keep::Kept;
    }
    // Puts the adapters back as they were at the checkpoint, now.
    virtual bool rollBack(QString &problem) {
        Q_UNUSED(problem);
        return false;
    }
    // Seconds until this program's pending checkpoint (of any of its runs) is restored, or -1
    // without one.
    virtual int checkpointSecondsLeft() { return -1; }
    // What became of the checkpoint that `run` made, once it is no longer pending: kept, put
    // back (by the system at its time, or by a run), or not known.
    enum class Fate { Unknown, Kept, PutBack };
    virtual Fate checkpointFate(const RunIdentity &run) {
        Q_UNUSED(run);
        return Fate::Unknown;
    }
    // Why this caller may not change the network (Turkish), asked before anything is made or
    // promised; nothing when it may, or when the system cannot say. `canAsk`: a password
    // prompt can reach the user (a desktop session), so "only after a password" is no refusal.
    virtual std::optional<QString> notAllowed(bool canAsk) {
        Q_UNUSED(canAsk);
        return std::nullopt;
    }
};
