#include "networkmanager/NmCheckpoint.h"

#include "adapters/ApplyReport.h"
#include "networkmanager/NmDbus.h"
#include "networkmanager/NmEarlier.h"
#include "settings/Text.h"

#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QStringList>
#include <QThread>
#include <time.h>

namespace {

const QString kManager = QStringLiteral("org.freedesktop.NetworkManager");
const QString kCheckpoint = QStringLiteral("org.freedesktop.NetworkManager.Checkpoint");
// Connections made after the checkpoint (a profile made for a bare device) go on rollback.
constexpr uint kDeleteNewConnections = 0x2;
constexpr uint kToDisk = 0x1;
const QString kConnection = QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection");
const QString kDevice = QStringLiteral("org.freedesktop.NetworkManager.Device");
const QString kConnections = QStringLiteral("connections");
constexpr uint kStateDisconnected = 30;
constexpr uint kStateActivated = 100;

// NetworkManager times checkpoints by the boot clock, in milliseconds.
qint64 bootClockMs() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

int secondsUntil(qint64 atMs) {
    const qint64 left = atMs - bootClockMs();
    return left <= 0 ? 0 : int((left + 999) / 1000);
}

// True when no interface is left out; otherwise the problem names them.
bool allRestored(const QStringList &failed, QString &problem) {
    if (failed.isEmpty())
        return true;
    problem = Text::tr("NetworkManager şu ağ bağdaştırıcılarını geri alamadı: %1")
                  .arg(failed.join(QStringLiteral(", ")));
    return false;
}

} // namespace

NmCheckpoint::NmCheckpoint(QDBusConnection bus, QString service, QString manager, QString settings,
                           QString recordFile)
    : m_bus(std::move(bus)), m_service(std::move(service)), m_manager(std::move(manager)),
      m_settings(std::move(settings)), m_record(std::move(recordFile)) {}

bool NmCheckpoint::call(const QString &method, const QVariantList &args, QString &problem,
                        QVariantList *answer) {
    QDBusMessage message = QDBusMessage::createMethodCall(m_service, m_manager, kManager, method);
    message.setArguments(args);
    message.setInteractiveAuthorizationAllowed(true);
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, 30000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        const QDBusError error(reply);
        problem = error.message().isEmpty() ? error.name() : error.message();
        return false;
    }
    if (answer)
        *answer = reply.arguments();
    return true;
}

QList<NmCheckpoint::Live> NmCheckpoint::live() {
    QList<Live> list;
    const QVariant paths =
        NmDbus::property(m_bus, m_service, m_manager, kManager, QStringLiteral("Checkpoints"));
    for (const QDBusObjectPath &path : NmDbus::objectPaths(paths)) {
        const auto get = [&](const char *name) {
            return NmDbus::property(m_bus, m_service, path.path(), kCheckpoint,
                                    QString::fromLatin1(name));
        };
        Live c;
        c.path = path.path();
        c.created = get("Created").toLongLong();
        const uint timeout = get("RollbackTimeout").toUInt();
        c.rollbackAt = timeout == 0 ? 0 : c.created + qint64(timeout) * 1000;
        c.devices = NmDbus::objectPaths(get("Devices"));
        list.append(c);
    }
    return list;
}

std::optional<NmCheckpoint::Live> NmCheckpoint::find(const QString &path, qint64 created) {
    for (const Live &c : live()) {
        if (c.path == path && c.created == created)
            return c;
    }
    return std::nullopt; // restored or kept meanwhile, or NetworkManager has restarted
}

std::optional<NmCheckpoint::Live> NmCheckpoint::recorded(const QJsonObject &record) {
    const QString path = record.value(QStringLiteral("checkpoint")).toString();
    if (path.isEmpty())
        return std::nullopt;
    return find(path, qint64(record.value(QStringLiteral("created")).toDouble()));
}

void NmCheckpoint::forget(const Live &checkpoint) {
    m_record.transact([&](QJsonObject &record) {
        if (record.value(QStringLiteral("checkpoint")).toString() == checkpoint.path) {
            record.remove(QStringLiteral("checkpoint"));
            record.remove(QStringLiteral("created"));
            record.remove(QStringLiteral("rollbackAt"));
            record.remove(kConnections);
        }
    });
    m_noted.clear();
}

void NmCheckpoint::noteEarlier(const QString &uuid, const QString &iface, QJsonObject earlier) {
    if (!m_mine || m_noted.contains(uuid))
        return;
    m_noted.append(uuid);
    earlier.insert(QStringLiteral("iface"), iface);
    m_record.transact([&](QJsonObject &record) {
        QJsonObject connections = record.value(kConnections).toObject();
        if (!connections.contains(uuid))
            connections.insert(uuid, earlier);
        record.insert(kConnections, connections);
    });
}

bool NmCheckpoint::persist(const QString &uuid, QString &problem) {
    const QString connection = NmDbus::connectionPath(m_bus, m_service, m_settings, uuid);
    if (connection.isEmpty()) {
        problem = Text::tr("NetworkManager'da %1 profili yok").arg(uuid);
        return false;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(m_service, connection, kConnection,
                                                          QStringLiteral("Update2"));
    message.setArguments({QVariant::fromValue(NmDbus::Settings()), kToDisk, QVariantMap()});
    message.setInteractiveAuthorizationAllowed(true);
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, 30000);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    problem = QDBusError(reply).message();
    return false;
}

bool NmCheckpoint::restoreEarlier(const QJsonObject &connections, QString &problem) {
    QStringList failed;
    const auto dbus = [&](const QString &path, const QString &interface, const char *method,
                          const QVariantList &args) {
        QDBusMessage message =
            QDBusMessage::createMethodCall(m_service, path, interface, QString::fromLatin1(method));
        message.setArguments(args);
        message.setInteractiveAuthorizationAllowed(true);
        return m_bus.call(message, QDBus::Block, 30000);
    };
    // Object paths change when NetworkManager restarts: profiles are known by their UUID,
    // devices by their interface.
    for (auto it = connections.constBegin(); it != connections.constEnd(); ++it) {
        const QJsonObject earlier = it.value().toObject();
        const QString iface = earlier.value(QStringLiteral("iface")).toString();
        const QString connection = NmDbus::connectionPath(m_bus, m_service, m_settings, it.key());
        if (connection.isEmpty())
            continue; // a profile made for the change, gone with the rollback
        if (earlier.value(QStringLiteral("new")).toBool()) {
            dbus(connection, kConnection, "Delete", {});
            continue;
        }
        QDBusMessage reply = dbus(connection, kConnection, "GetSettings", {});
        if (reply.type() != QDBusMessage::ReplyMessage) {
            failed.append(iface);
            continue;
        }
        NmDbus::Settings settings;
        reply.arguments().value(0).value<QDBusArgument>() >> settings;
        QVariantMap ipv4 = settings.value(QStringLiteral("ipv4"));
        NmEarlier::intoIpv4(earlier.value(QStringLiteral("ipv4")).toObject(), ipv4);
        settings.insert(QStringLiteral("ipv4"), ipv4);
        reply = dbus(connection, kConnection, "Update2",
                     {QVariant::fromValue(settings), kToDisk, QVariantMap()});
        if (reply.type() != QDBusMessage::ReplyMessage) {
            failed.append(iface);
            continue;
        }
        // On the device too, where it is up with this profile (without a cable it comes up
        // with it later).
        if (const QString device = NmDbus::devicePath(m_bus, m_service, m_manager, iface);
            !device.isEmpty()) {
            // A device still coming up (NetworkManager just started) is left to finish
            // first: a reapply in the middle of it stalls it.
            const auto state = [&] {
                return NmDbus::property(m_bus, m_service, device, kDevice, QStringLiteral("State"))
                    .toUInt();
            };
            QDeadlineTimer settled(10000);
            while (state() > kStateDisconnected && state() < kStateActivated &&
                   !settled.hasExpired())
                QThread::msleep(100);
            if (state() == kStateActivated)
                dbus(device, kDevice, "Reapply",
                     {QVariant::fromValue(NmDbus::Settings()), quint64(0), uint(0)});
        }
    }
    return allRestored(failed, problem);
}

QString NmCheckpoint::recover(bool &restored, bool mayChange) {
    restored = false;
    // Looked at and restored with the record unlocked (NetworkManager's answers may take
    // seconds); recorded only if the record still names the same abandoned checkpoint.
    const QJsonObject record = m_record.read().value_or(QJsonObject());
    if (!record.contains(QStringLiteral("checkpoint")) ||
        RunIdentity::fromJson(record).state() != RunIdentity::State::Ended || recorded(record))
        return {}; // nothing left, a run's that goes on, or still NetworkManager's to roll back
    // Past its time NetworkManager had put it back itself (restoring again would change
    // nothing): no restart to speak of.
    const qint64 rollbackAt = qint64(record.value(QStringLiteral("rollbackAt")).toDouble());
    const bool rolledBack = RunIdentity::fromJson(record).boot == RunIdentity::self().boot &&
                            rollbackAt > 0 && bootClockMs() >= rollbackAt;
    if (!mayChange && !rolledBack)
        return Text::tr("Sona ermiş bir çalışmanın denediği değişikliğin denemesi "
                        "NetworkManager'da artık yok\n"
                        "(NetworkManager ya da bilgisayar yeniden başlamış);\n"
                        "önceki ayarları, ağ ayarlarını değiştiren bir sonraki komut geri yükler.");
    // Put back by NetworkManager at its time, the profiles may be left in memory only: they are
    // stored again as they were (the same settings), whichever run looks.
    QString problem;
    if (!restoreEarlier(record.value(kConnections).toObject(), problem)) {
        // The record stays: the earlier settings are not lost, and the next run tries again.
        return Text::tr("Sona ermiş bir çalışmanın denediği değişikliğin denemesi "
                        "NetworkManager'da artık yok\n"
                        "(NetworkManager ya da bilgisayar yeniden başlamış); önceki ayarlar geri "
                        "yüklenemedi: %1")
            .arg(problem);
    }
    m_record.transact([&](QJsonObject &now) {
        if (now.value(QStringLiteral("checkpoint")) != record.value(QStringLiteral("checkpoint")))
            return;
        now.remove(QStringLiteral("checkpoint"));
        now.remove(QStringLiteral("created"));
        now.remove(QStringLiteral("rollbackAt"));
        now.remove(kConnections);
    });
    restored = true;
    if (rolledBack)
        return {};
    return Text::tr("Sona ermiş bir çalışmanın denediği değişikliğin denemesi "
                    "NetworkManager'da artık yoktu\n"
                    "(NetworkManager ya da bilgisayar yeniden başlamış); önceki ayarlar kayıttan "
                    "geri yüklendi.");
}

AdapterBackend::TrialStart NmCheckpoint::create(const QList<QDBusObjectPath> &devices,
                                                int seconds) {
    using Kind = AdapterBackend::TrialStart::Kind;
    const auto covered = [&](const Live &c) {
        for (const QDBusObjectPath &device : c.devices) {
            if (devices.contains(device))
                return true;
        }
        return false;
    };
    const auto busy = [&](const Live &other) {
        return AdapterBackend::TrialStart{
            Kind::Busy, other.rollbackAt == 0
                            ? Text::tr("Başka bir program bu ağ bağdaştırıcısında bir "
                                       "değişikliği deniyor.")
                            : Text::tr("Başka bir program bu ağ bağdaştırıcısında bir "
                                       "değişikliği deniyor (%1 saniye daha).")
                                  .arg(secondsUntil(other.rollbackAt))};
    };
    // The trial is this run's already (TrialLedger::claim): no other run of the program makes
    // one meanwhile, so NetworkManager is asked with the record unlocked, and the record is
    // written in one step at the end.
    QString problem;
    const std::optional<QJsonObject> read = m_record.read(&problem);
    if (!read)
        return {Kind::Failed, problem};
    const QJsonObject record = *read;
    if (record.contains(QStringLiteral("checkpoint"))) {
        const std::optional<Live> earlier = recorded(record);
        if (RunIdentity::fromJson(record).state() == RunIdentity::State::Other)
            return {Kind::Busy, Text::tr("Bu program başka bir pencerede ya da komutta bir "
                                         "değişikliği deniyor (%1 saniye daha).")
                                    .arg(earlier ? secondsUntil(earlier->rollbackAt) : 0)};
        // Left by a run that ended before judging it: back to what it had first, by
        // NetworkManager or, when NetworkManager has forgotten it, from the record.
        const QJsonObject connections = record.value(kConnections).toObject();
        if (earlier ? !putBackLive(*earlier, connections, problem)
                    : !restoreEarlier(connections, problem))
            return {Kind::Failed,
                    Text::tr("Önceki çalışmadan kalan deneme geri alınamadı: %1").arg(problem)};
    }
    for (const Live &other : live()) {
        if (covered(other))
            return busy(other);
    }
    QVariantList answer;
    if (!call(QStringLiteral("CheckpointCreate"),
              {QVariant::fromValue(devices), uint(seconds), kDeleteNewConnections}, problem,
              &answer)) {
        // One made meanwhile by another program: busy, never a change without one.
        for (const Live &other : live()) {
            if (covered(other))
                return busy(other);
        }
        return {Kind::Failed, problem};
    }
    const QString path = answer.value(0).value<QDBusObjectPath>().path();
    std::optional<Live> made;
    for (const Live &c : live()) {
        if (c.path == path)
            made = c;
    }
    if (!made)
        return {Kind::Failed, Text::tr("NetworkManager denemeyi başlattı ama "
                                       "listelemiyor.")};
    QString recordProblem;
    if (!m_record.transact(
            [&](QJsonObject &now) {
                now.remove(kConnections);
                now.insert(QStringLiteral("checkpoint"), made->path);
                now.insert(QStringLiteral("created"), double(made->created));
                now.insert(QStringLiteral("rollbackAt"), double(made->rollbackAt));
                RunIdentity::self().intoJson(now);
            },
            &recordProblem)) {
        // Unrecorded, it could not be told from another program's, and nothing could keep it.
        QString ignored;
        call(QStringLiteral("CheckpointDestroy"),
             {QVariant::fromValue(QDBusObjectPath(made->path))}, ignored);
        return {Kind::Failed, Text::tr("Denemenin kaydı yazılamadı: %1").arg(recordProblem)};
    }
    m_mine = made;
    m_noted.clear();
    return {Kind::Made, {}};
}

bool NmCheckpoint::adopt() {
    const QJsonObject record = m_record.read().value_or(QJsonObject());
    if (RunIdentity::fromJson(record).state() != RunIdentity::State::Ended)
        return false;
    m_mine = recorded(record);
    return m_mine.has_value();
}

bool NmCheckpoint::extend(int seconds, QString &problem) {
    if (!m_mine || !find(m_mine->path, m_mine->created)) {
        problem = Text::tr("Deneme artık yok.");
        return false;
    }
    if (!call(QStringLiteral("CheckpointAdjustRollbackTimeout"),
              {QVariant::fromValue(QDBusObjectPath(m_mine->path)), uint(seconds)}, problem))
        return false;
    const QString path = m_mine->path;
    m_record.transact([&](QJsonObject &record) {
        if (record.value(QStringLiteral("checkpoint")).toString() == path)
            record.insert(QStringLiteral("rollbackAt"), double(bootClockMs() + seconds * 1000LL));
    });
    return true;
}

AdapterBackend::Keep NmCheckpoint::destroy(QString &problem) {
    using Keep = AdapterBackend::Keep;
    if (!m_mine)
        return Keep::Kept; // nothing pending
    const Live mine = *m_mine;
    m_mine.reset();
    const QJsonObject connections =
        m_record.read().value_or(QJsonObject()).value(kConnections).toObject();
    const bool pending = find(mine.path, mine.created).has_value();
    if (!pending) {
        // Rolled back by NetworkManager; or NetworkManager restarted and kept the change in
        // memory without its checkpoint: then the program puts it back itself.
        QString restoreProblem;
        const bool restored = restoreEarlier(connections, restoreProblem);
        forget(mine);
        problem = restored ? Text::tr("Denemenin süresi dolmuş: ağ ayarları "
                                      "değişiklikten önceki haline döndürüldü.")
                           : restoreProblem;
        return restored ? Keep::PutBack : Keep::Failed;
    }
    if (!call(QStringLiteral("CheckpointDestroy"),
              {QVariant::fromValue(QDBusObjectPath(mine.path))}, problem)) {
        forget(mine);
        return Keep::Failed;
    }
    // Kept: stored, so that it also outlives a restart of the computer.
    QStringList unsaved;
    for (auto it = connections.constBegin(); it != connections.constEnd(); ++it) {
        QString why;
        if (!persist(it.key(), why))
            unsaved.append(QStringLiteral("%1 (%2)").arg(
                it.value().toObject().value(QStringLiteral("iface")).toString(), why));
    }
    forget(mine);
    if (unsaved.isEmpty())
        return Keep::Kept;
    problem = ApplyReport::unsavedText(unsaved);
    return Keep::Unsaved;
}

bool NmCheckpoint::putBack(QString &problem) {
    if (!m_mine) {
        problem = Text::tr("Geri alınacak bir deneme yok.");
        return false;
    }
    const Live mine = *m_mine;
    m_mine.reset();
    const QJsonObject connections =
        m_record.read().value_or(QJsonObject()).value(kConnections).toObject();
    forget(mine);
    if (!find(mine.path, mine.created)) {
        problem = Text::tr("Deneme artık yok.");
        return restoreEarlier(connections, problem);
    }
    return putBackLive(mine, connections, problem);
}

QString NmCheckpoint::deviceName(const QString &path) {
    const QString name = NmDbus::property(m_bus, m_service, path,
                                          QStringLiteral("org.freedesktop.NetworkManager.Device"),
                                          QStringLiteral("Interface"))
                             .toString();
    return name.isEmpty() ? path : name;
}

bool NmCheckpoint::putBackLive(const Live &checkpoint, const QJsonObject &connections,
                               QString &problem) {
    QVariantList answer;
    if (!call(QStringLiteral("CheckpointRollback"),
              {QVariant::fromValue(QDBusObjectPath(checkpoint.path))}, problem, &answer))
        return false;
    // Each device's result: 0 restored, 1 gone, 2 no longer managed, 3 failed.
    QMap<QString, uint> results;
    if (answer.value(0).canConvert<QDBusArgument>())
        answer.value(0).value<QDBusArgument>() >> results;
    QStringList failed;
    for (auto it = results.cbegin(); it != results.cend(); ++it) {
        if (it.value() != 0)
            failed.append(QStringLiteral("%1 (%2)").arg(deviceName(it.key())).arg(it.value()));
    }
    // The profiles hold their earlier settings again, in memory: stored as they are on disk.
    for (auto it = connections.constBegin(); it != connections.constEnd(); ++it) {
        QString ignored;
        persist(it.key(), ignored); // a profile made for the change is gone
    }
    return allRestored(failed, problem);
}

int NmCheckpoint::secondsLeft() {
    const std::optional<Live> c = recorded(m_record.read().value_or(QJsonObject()));
    if (!c || c->rollbackAt == 0)
        return -1;
    return secondsUntil(c->rollbackAt);
}
