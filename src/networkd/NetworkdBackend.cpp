#include "networkd/NetworkdBackend.h"

#include "adapters/AddressText.h"
#include "adapters/ApplyReport.h"
#include "networkd/LinkDescription.h"
#include "settings/FolderLock.h"
#include "settings/Text.h"
#include "settings/WholeFile.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

const QString kService = QStringLiteral("org.freedesktop.network1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/network1");
const QString kManager = QStringLiteral("org.freedesktop.network1.Manager");
const QString kLink = QStringLiteral("org.freedesktop.network1.Link");

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
                   m_backend.checkpointSecondsLeft() < 0))
            return std::nullopt;
        return LinkDescription::held(*d);
    }

    qint32 EnableStatic(const QStringList &IPAddress, const QStringList &SubnetMask) override {
        if (IPAddress.isEmpty() || IPAddress.size() != SubnetMask.size())
            return WmiResult::InvalidInputParameter;
        QStringList addresses;
        for (qsizetype i = 0; i < IPAddress.size(); ++i) {
            const std::optional<quint32> address = AddressText::parse(IPAddress[i]);
            if (!address)
                return WmiResult::InvalidIpAddress;
            if (!AddressText::isMask(SubnetMask[i]))
                return WmiResult::InvalidSubnetMask;
            addresses.append(
                QStringLiteral("%1/%2")
                    .arg(AddressText::format(*address))
                    .arg(AddressText::prefixLength(*AddressText::parse(SubnetMask[i]))));
        }
        NetworkdFiles::LinkConfig &c = m_backend.pending(m_name);
        c.dhcp = false;
        c.addresses = addresses;
        return done();
    }
    qint32 SetGateways(const QStringList &DefaultIPGateway, const QList<quint16> &) override {
        QStringList gateways;
        for (const QString &g : DefaultIPGateway) {
            const std::optional<quint32> address = AddressText::parse(g);
            if (!address)
                return WmiResult::InvalidGatewayAddress;
            gateways.append(AddressText::format(*address));
        }
        m_backend.pending(m_name).gateways = gateways;
        return done();
    }
    qint32 SetDNSServerSearchOrder(const QStringList &servers) override {
        QStringList dns;
        for (const QString &s : servers) {
            const std::optional<quint32> address = AddressText::parse(s);
            if (!address)
                return WmiResult::InvalidInputParameter;
            dns.append(AddressText::format(*address));
        }
        m_backend.pending(m_name).dns = dns;
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

NetworkdBackend::NetworkdBackend(QDBusConnection bus, QString folder, QString runFolder)
    : m_bus(std::move(bus)), m_folder(std::move(folder)), m_runFolder(std::move(runFolder)) {}

namespace {

QString trialRecord(const QString &runFolder) {
    return runFolder + QStringLiteral("/nuvar-zelvi-trial.json");
}

} // namespace

std::optional<NetworkdBackend::Trial> NetworkdBackend::readTrial() const {
    QFile file(trialRecord(m_runFolder));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject o = QJsonDocument::fromJson(file.read(64 * 1024)).object();
    Trial t;
    t.until = qint64(o.value(QStringLiteral("until")).toDouble());
    for (const QJsonValue &v : o.value(QStringLiteral("links")).toArray())
        t.links.append(v.toString());
    return t;
}

bool NetworkdBackend::writeTrial(const Trial &trial, QString &problem) const {
    const QJsonObject o{{QStringLiteral("until"), double(trial.until)},
                        {QStringLiteral("links"), QJsonArray::fromStringList(trial.links)}};
    const std::optional<QString> failed =
        WholeFile::replace(trialRecord(m_runFolder), QJsonDocument(o).toJson(), 0644);
    if (failed)
        problem = *failed;
    return !failed;
}

bool NetworkdBackend::reload(QString &problem) {
    const QDBusMessage reply = m_bus.call(
        QDBusMessage::createMethodCall(kService, kManagerPath, kManager, QStringLiteral("Reload")));
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    problem = Text::tr("systemd-networkd yeni ayarları yüklemedi: %1").arg(reply.errorMessage());
    return false;
}

bool NetworkdBackend::putBack(const Trial &trial, QString &problem) {
    for (const QString &link : trial.links) {
        if (const std::optional<QString> failed = NetworkdFiles::remove(m_runFolder, link, true)) {
            problem = *failed;
            return false;
        }
    }
    QFile::remove(trialRecord(m_runFolder));
    m_onTrial = false;
    return reload(problem);
}

AdapterBackend::CheckpointStart NetworkdBackend::createCheckpoint(int seconds) {
    // systemd's generator makes the runtime folder at boot; networkd switched on later (or the
    // generator disabled) leaves a till without it, and every change would go straight to
    // /etc. Made as the generator makes it (root's, rwxr-xr-x); networkd reads it either way.
    if (!QFileInfo(m_runFolder).isDir()) {
        const QByteArray folder = QFile::encodeName(m_runFolder);
        if (::mkdir(folder.constData(), 0755) != 0 && errno != EEXIST)
            return {CheckpointStart::Kind::Failed,
                    Text::tr("%1 klasörü yok ve oluşturulamadı: %2")
                        .arg(m_runFolder, QString::fromLocal8Bit(std::strerror(errno)))};
        ::chmod(folder.constData(), 0755); // whatever the umask
    }
    const FolderLock lock(m_runFolder.toLocal8Bit()); // the keeper's and every run's turns
    if (const std::optional<Trial> earlier = readTrial()) {
        if (earlier->until > QDateTime::currentMSecsSinceEpoch())
            return {CheckpointStart::Kind::Busy,
                    Text::tr("Başka bir değişiklik deneniyor (systemd-networkd).")};
        QString problem;
        if (!putBack(*earlier, problem)) // its keeper is gone: put back now
            return {CheckpointStart::Kind::Failed, problem};
    }
    if (!startKeeper)
        return {};
    QString problem;
    if (!writeTrial({QDateTime::currentMSecsSinceEpoch() + qint64(seconds) * 1000, {}}, problem) ||
        !startKeeper(QStringList{QStringLiteral("--networkd-keeper"), m_runFolder}, problem)) {
        QFile::remove(trialRecord(m_runFolder));
        return {CheckpointStart::Kind::Failed, problem};
    }
    m_onTrial = true;
    return {CheckpointStart::Kind::Made, {}};
}

bool NetworkdBackend::extendCheckpoint(int seconds, QString &problem) {
    const FolderLock lock(m_runFolder.toLocal8Bit()); // the keeper's and every run's turns
    std::optional<Trial> trial = readTrial();
    if (!trial) {
        problem = Text::tr("Denenen değişiklik artık yok.");
        return false;
    }
    trial->until = QDateTime::currentMSecsSinceEpoch() + qint64(seconds) * 1000;
    return writeTrial(*trial, problem);
}

QString NetworkdBackend::recoverAbandonedTrial(bool &restored) {
    restored = false;
    const FolderLock lock(m_runFolder.toLocal8Bit());
    const std::optional<Trial> trial = readTrial();
    // A second of grace: the keeper puts it back at its time.
    if (!trial || trial->until + 1000 > QDateTime::currentMSecsSinceEpoch())
        return {};
    QString problem;
    if (!putBack(*trial, problem))
        return Text::tr("Süresi dolan bir değişiklik geri alınamadı (systemd-networkd): %1")
            .arg(problem);
    restored = true;
    return Text::tr("Süresi dolan bir değişiklik doğrulanmamıştı; önceki ayarlar geri "
                    "yüklendi (systemd-networkd).");
}

bool NetworkdBackend::adoptCheckpoint() {
    m_onTrial = readTrial().has_value();
    return m_onTrial;
}

AdapterBackend::Keep NetworkdBackend::keepChanges(QString &problem) {
    const FolderLock lock(m_runFolder.toLocal8Bit()); // the keeper's and every run's turns
    const std::optional<Trial> trial = readTrial();
    m_onTrial = false;
    if (!trial)
        return Keep::PutBack; // the keeper put it back at its time
    // A link whose lasting file cannot be written (a read-only /etc, a full disk) keeps its
    // runtime file: the change stays until a restart, and the keeper no longer puts it back.
    Trial stored = *trial;
    stored.links.clear();
    QStringList unsaved;
    for (const QString &link : trial->links) {
        QFile runtime(m_runFolder + QLatin1Char('/') + NetworkdFiles::fileName(link, true));
        std::optional<QString> failed;
        if (!runtime.open(QIODevice::ReadOnly))
            failed = Text::tr("%1 okunamadı: %2").arg(runtime.fileName(), runtime.errorString());
        else
            failed = NetworkdFiles::writeText(m_folder, NetworkdFiles::fileName(link),
                                              runtime.readAll());
        if (failed)
            unsaved.append(QStringLiteral("%1 (%2)").arg(link, *failed));
        else
            stored.links.append(link);
    }
    if (!putBack(stored, problem))
        return Keep::Failed;
    if (unsaved.isEmpty())
        return Keep::Kept;
    problem = ApplyReport::unsavedText(unsaved);
    return Keep::Unsaved;
}

bool NetworkdBackend::rollBack(QString &problem) {
    const FolderLock lock(m_runFolder.toLocal8Bit()); // the keeper's and every run's turns
    const std::optional<Trial> trial = readTrial();
    return !trial || putBack(*trial, problem);
}

int NetworkdBackend::checkpointSecondsLeft() {
    const std::optional<Trial> trial = readTrial();
    if (!trial)
        return -1;
    return int(
        std::max<qint64>(0, (trial->until - QDateTime::currentMSecsSinceEpoch() + 999) / 1000));
}

int NetworkdBackend::keep(QDBusConnection bus, const QString &runFolder) {
    NetworkdBackend backend(std::move(bus), QString(), runFolder);
    for (;;) {
        qint64 left = 0;
        {
            const FolderLock lock(runFolder.toLocal8Bit());
            const std::optional<Trial> trial = backend.readTrial();
            if (!trial)
                return 0; // kept or put back by the program
            left = trial->until - QDateTime::currentMSecsSinceEpoch();
            if (left <= 0) {
                QString problem;
                return backend.putBack(*trial, problem) ? 0 : 1;
            }
        }
        QThread::msleep(ulong(std::min<qint64>(left, 200)));
    }
}

bool NetworkdBackend::connect(WmiError &error) {
    if (!m_bus.isConnected()) {
        error = {qint64(0x80041003), Text::tr("Sistem veri yoluna (D-Bus) bağlanılamadı: %1")
                                         .arg(m_bus.lastError().message())};
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    call << kService;
    const QDBusMessage reply = m_bus.call(call);
    if (reply.type() != QDBusMessage::ReplyMessage || !reply.arguments().value(0).toBool()) {
        error = {qint64(0x80041003), Text::tr("systemd-networkd çalışmıyor.")};
        return false;
    }
    return true;
}

bool NetworkdBackend::ipEnabledAdapters(WmiAdapterList &adapters, WmiError &error) {
    adapters.clear();
    const QDBusMessage reply = m_bus.call(QDBusMessage::createMethodCall(
        kService, kManagerPath, kManager, QStringLiteral("ListLinks")));
    if (reply.type() != QDBusMessage::ReplyMessage) {
        error = {
            qint64(0x80041001),
            Text::tr("systemd-networkd bağlantıları listelemedi: %1").arg(reply.errorMessage())};
        return false;
    }
    const QDBusArgument list = reply.arguments().value(0).value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        int index = 0;
        QString name;
        QDBusObjectPath path;
        list.beginStructure();
        list >> index >> name >> path;
        list.endStructure();
        const std::optional<QJsonObject> d = describe(path.path());
        if (!d || !LinkDescription::isAdapter(*d))
            continue;
        m_paths.insert(name, path.path());
        adapters.push_back(std::make_unique<NetworkdLink>(*this, index, name, path.path()));
    }
    list.endArray();
    return true;
}

std::optional<QJsonObject> NetworkdBackend::describe(const QString &path) {
    const QDBusMessage reply = m_bus.call(
        QDBusMessage::createMethodCall(kService, path, kLink, QStringLiteral("Describe")));
    if (reply.type() != QDBusMessage::ReplyMessage)
        return std::nullopt;
    const QJsonDocument doc =
        QJsonDocument::fromJson(reply.arguments().value(0).toString().toUtf8());
    if (!doc.isObject())
        return std::nullopt;
    return doc.object();
}

NetworkdFiles::LinkConfig &NetworkdBackend::pending(const QString &link) {
    return m_pending[link];
}

void NetworkdBackend::beginChanges() {
    m_batch = true;
    if (!m_holding)
        m_pending.clear();
}

bool NetworkdBackend::applyNow(const QString &link, QString &problem) {
    Q_UNUSED(link);
    return m_batch || m_holding || writeAndReload(problem);
}

bool NetworkdBackend::commitChanges(WmiError &error) {
    m_batch = false;
    QString problem;
    if (m_holding)
        return true; // a later batch changes the same files: one reload for both
    if (!writeAndReload(problem)) {
        error = {qint64(WmiResult::UnknownFailure), problem};
        return false;
    }
    return true;
}

void NetworkdBackend::holdCommits() {
    m_holding = true;
    m_pending.clear();
}

bool NetworkdBackend::releaseCommits(WmiError &error) {
    m_holding = false;
    return commitChanges(error);
}

bool NetworkdBackend::writeAndReload(QString &problem) {
    if (m_pending.isEmpty())
        return true;
    const FolderLock lock(m_runFolder.toLocal8Bit());
    std::optional<Trial> trial = m_onTrial ? readTrial() : std::nullopt;
    if (m_onTrial && !trial) {
        problem = Text::tr("Denenen değişiklik artık yok: süresi dolmuş.");
        return false;
    }
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it) {
        if (trial && !trial->links.contains(it.key())) {
            trial->links.append(it.key()); // recorded before the file exists: never left behind
            if (!writeTrial(*trial, problem))
                return false;
        }
        if (const std::optional<QString> failed = NetworkdFiles::write(
                trial ? m_runFolder : m_folder, it.key(), it.value(), trial.has_value())) {
            problem = *failed;
            return false;
        }
    }
    if (!reload(problem))
        return false;
    // A static address is there when networkd says the link holds it.
    const QDeadlineTimer deadline(applyTimeoutMs);
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it) {
        if (it.value().dhcp)
            continue;
        const QString wanted = it.value().addresses.value(0).section(QLatin1Char('/'), 0, 0);
        bool there = false;
        while (!there && !deadline.hasExpired()) {
            if (const std::optional<QJsonObject> d = describe(m_paths.value(it.key())))
                there = LinkDescription::holdsStatic(*d, wanted);
            if (!there)
                QThread::msleep(20);
        }
        if (!there) {
            problem = Text::tr("%1 bağlantısı %2 adresini %3 ms içinde almadı.")
                          .arg(it.key(), wanted)
                          .arg(applyTimeoutMs);
            return false;
        }
    }
    m_pending.clear();
    return true;
}
