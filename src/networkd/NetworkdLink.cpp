#include "networkd/NetworkdLink.h"

#include "adapters/AddressText.h"
#include "networkd/LinkDescription.h"
#include "networkd/NetworkdBackend.h"
#include "networkd/NetworkdFiles.h"

#include <QFileInfo>
#include <QJsonObject>

namespace {

// One link that networkd manages.
class NetworkdLink : public WmiAdapter {
public:
    NetworkdLink(NetworkdBackend &backend, int index, QString name, QString path)
        : m_backend(backend), m_name(std::move(name)), m_path(std::move(path)),
          m_caption(QStringLiteral("[%1] %2").arg(index, 8, 10, QLatin1Char('0')).arg(m_name)) {}

    QString Caption() const override { return m_caption; }
    QString lastErrorText() const override { return m_error; }

    std::optional<Held> held() override {
        const std::optional<QJsonObject> d = m_backend.describe(m_path);
        // A change whose lasting file could not be written is lost at a restart: not held.
        if (!d || (d->value(QStringLiteral("NetworkFile"))
                       .toString()
                       .endsWith(QLatin1Char('/') + NetworkdFiles::fileName(m_name, true)) &&
                   m_backend.trialSecondsLeft() < 0))
            return std::nullopt;
        return LinkDescription::held(*d);
    }

    QString hiddenBy() override {
        const std::optional<QJsonObject> d = m_backend.describe(m_path);
        const QString file = d ? d->value(QStringLiteral("NetworkFile")).toString() : QString();
        // networkd takes the first matching file by name: one before the program's wins.
        if (file.isEmpty() || QFileInfo(file).fileName() >= NetworkdFiles::fileName(m_name, true) ||
            NetworkdFiles::isOurs(file))
            return {};
        return file;
    }

    qint32 EnableStatic(const QStringList &IPAddress, const QStringList &SubnetMask) override {
        QList<AddressText::Prefixed> given;
        if (const qint32 refused = AddressText::staticAddresses(IPAddress, SubnetMask, given);
            refused != WmiResult::Success)
            return refused;
        QStringList addresses;
        for (const AddressText::Prefixed &a : given)
            addresses.append(QStringLiteral("%1/%2").arg(a.address).arg(a.prefix));
        NetworkdFiles::LinkConfig &c = m_backend.pending(m_name);
        c.dhcp = false;
        c.addresses = addresses;
        return done();
    }
    qint32 SetGateways(const QStringList &DefaultIPGateway, const QList<quint16> &) override {
        const std::optional<QStringList> gateways = AddressText::canonical(DefaultIPGateway);
        if (!gateways)
            return WmiResult::InvalidGatewayAddress;
        m_backend.pending(m_name).gateways = *gateways;
        return done();
    }
    qint32 SetDNSServerSearchOrder(const QStringList &servers) override {
        const std::optional<QStringList> dns = AddressText::canonical(servers);
        if (!dns)
            return WmiResult::InvalidInputParameter;
        m_backend.pending(m_name).dns = *dns;
        return done();
    }
    qint32 SetDNSServerSearchOrder() override {
        m_backend.pending(m_name).dns.clear();
        return done();
    }
    qint32 SetWINSServer(const QString &, const QString &) override { return WmiResult::Success; }
    qint32 EnableDHCP() override {
        m_backend.pending(m_name) = NetworkdFiles::LinkConfig{};
        return done();
    }

private:
    // Outside a command the change is made at once.
    qint32 done() {
        return m_backend.applyNow(m_name, m_error) ? WmiResult::Success : WmiResult::UnknownFailure;
    }

    NetworkdBackend &m_backend;
    QString m_name;
    QString m_path;
    QString m_caption;
    QString m_error;
};

} // namespace

std::unique_ptr<WmiAdapter> makeNetworkdLink(NetworkdBackend &backend, int index,
                                             const QString &name, const QString &path) {
    return std::make_unique<NetworkdLink>(backend, index, name, path);
}
