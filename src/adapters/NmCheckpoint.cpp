#include "NmCheckpoint.h"

#include "NmDbus.h"

#include <QDBusMessage>
#include <QStringList>
#include <time.h>

namespace {

const QString kManager = QStringLiteral("org.freedesktop.NetworkManager");
const QString kCheckpoint = QStringLiteral("org.freedesktop.NetworkManager.Checkpoint");
// Connections made after the checkpoint (a profile made for a bare device) go on rollback.
constexpr uint kDeleteNewConnections = 0x2;

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

} // namespace

NmCheckpoint::NmCheckpoint(QDBusConnection bus, QString service, QString manager,
                           QString recordFile)
    : m_bus(std::move(bus)), m_service(std::move(service)), m_manager(std::move(manager)),
      m_record(std::move(recordFile)) {}

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
    m_record.update([&](QJsonObject &record) {
        if (record.value(QStringLiteral("checkpoint")).toString() == checkpoint.path) {
            record.remove(QStringLiteral("checkpoint"));
            record.remove(QStringLiteral("created"));
        }
    });
}

AdapterBackend::CheckpointStart NmCheckpoint::create(const QList<QDBusObjectPath> &devices,
                                                     int seconds) {
    using Kind = AdapterBackend::CheckpointStart::Kind;
    AdapterBackend::CheckpointStart start{Kind::Failed, {}};
    const auto covered = [&](const Live &c) {
        for (const QDBusObjectPath &device : c.devices) {
            if (devices.contains(device))
                return true;
        }
        return false;
    };
    const auto busy = [&](const Live &other) {
        return AdapterBackend::CheckpointStart{
            Kind::Busy, other.rollbackAt == 0
                            ? QStringLiteral("Başka bir program bu ağ bağdaştırıcısında bir "
                                             "değişikliği deniyor.")
                            : QStringLiteral("Başka bir program bu ağ bağdaştırıcısında bir "
                                             "değişikliği deniyor (%1 saniye daha).")
                                  .arg(secondsUntil(other.rollbackAt))};
    };
    std::optional<Live> made;
    QString recordProblem;
    // The record's folder stays locked from the look at what is pending to the record of the
    // new checkpoint: a second run waits, then finds this one's.
    const bool stored = m_record.update(
        [&](QJsonObject &record) {
            QString problem;
            if (const std::optional<Live> earlier = recorded(record)) {
                if (TrialFile::runOf(record) == TrialFile::Run::Other) {
                    start = {Kind::Busy,
                             QStringLiteral("Bu program başka bir pencerede ya da komutta bir "
                                            "değişikliği deniyor (%1 saniye daha).")
                                 .arg(secondsUntil(earlier->rollbackAt))};
                    return;
                }
                // Left by a run that ended before judging it: back to what it had first.
                if (!rollBackLive(*earlier, problem)) {
                    start = {Kind::Failed,
                             QStringLiteral("Önceki çalışmadan kalan deneme geri alınamadı: %1")
                                 .arg(problem)};
                    return;
                }
            }
            record.remove(QStringLiteral("checkpoint"));
            record.remove(QStringLiteral("created"));
            for (const Live &other : live()) {
                if (covered(other)) {
                    start = busy(other);
                    return;
                }
            }
            QVariantList answer;
            if (!call(QStringLiteral("CheckpointCreate"),
                      {QVariant::fromValue(devices), uint(seconds), kDeleteNewConnections}, problem,
                      &answer)) {
                // One made meanwhile by another program: busy, never a change without one.
                for (const Live &other : live()) {
                    if (covered(other)) {
                        start = busy(other);
                        return;
                    }
                }
                start = {Kind::Failed, problem};
                return;
            }
            const QString path = answer.value(0).value<QDBusObjectPath>().path();
            for (const Live &c : live()) {
                if (c.path == path)
                    made = c;
            }
            if (!made) {
                start = {Kind::Failed, QStringLiteral("NetworkManager geri dönüş noktasını "
                                                      "oluşturdu ama listelemiyor.")};
                return;
            }
            record.insert(QStringLiteral("checkpoint"), made->path);
            record.insert(QStringLiteral("created"), double(made->created));
            TrialFile::stampRun(record);
            start = {Kind::Made, {}};
        },
        &recordProblem);
    if (start.kind == Kind::Made && !stored) {
        // Unrecorded, it could not be told from another program's, and nothing could keep it.
        QString ignored;
        call(QStringLiteral("CheckpointDestroy"),
             {QVariant::fromValue(QDBusObjectPath(made->path))}, ignored);
        return {Kind::Failed,
                QStringLiteral("Geri dönüş noktasının kaydı yazılamadı: %1").arg(recordProblem)};
    }
    if (!stored && start.problem.isEmpty())
        start = {Kind::Failed, recordProblem};
    if (start.kind == Kind::Made)
        m_mine = made;
    return start;
}

bool NmCheckpoint::adopt() {
    const QJsonObject record = m_record.read();
    if (TrialFile::runOf(record) != TrialFile::Run::Ended)
        return false;
    m_mine = recorded(record);
    return m_mine.has_value();
}

bool NmCheckpoint::extend(int seconds, QString &problem) {
    if (!m_mine || !find(m_mine->path, m_mine->created)) {
        problem = QStringLiteral("Geri dönüş noktası artık yok.");
        return false;
    }
    return call(QStringLiteral("CheckpointAdjustRollbackTimeout"),
                {QVariant::fromValue(QDBusObjectPath(m_mine->path)), uint(seconds)}, problem);
}

AdapterBackend::Keep NmCheckpoint::destroy(QString &problem) {
    using Keep = AdapterBackend::Keep;
    if (!m_mine)
        return Keep::Kept; // nothing pending
    const Live mine = *m_mine;
    m_mine.reset();
    const bool pending = find(mine.path, mine.created).has_value();
    forget(mine);
    if (!pending) {
        problem = QStringLiteral("Geri dönüş noktasının süresi dolmuş: NetworkManager ağ "
                                 "ayarlarını değişiklikten önceki haline döndürdü.");
        return Keep::PutBack;
    }
    return call(QStringLiteral("CheckpointDestroy"),
                {QVariant::fromValue(QDBusObjectPath(mine.path))}, problem)
               ? Keep::Kept
               : Keep::Failed;
}

bool NmCheckpoint::rollBack(QString &problem) {
    if (!m_mine) {
        problem = QStringLiteral("Geri dönülecek geri dönüş noktası yok.");
        return false;
    }
    const Live mine = *m_mine;
    m_mine.reset();
    forget(mine);
    if (!find(mine.path, mine.created)) {
        problem = QStringLiteral("Geri dönüş noktası artık yok.");
        return false;
    }
    return rollBackLive(mine, problem);
}

QString NmCheckpoint::deviceName(const QString &path) {
    const QString name = NmDbus::property(m_bus, m_service, path,
                                          QStringLiteral("org.freedesktop.NetworkManager.Device"),
                                          QStringLiteral("Interface"))
                             .toString();
    return name.isEmpty() ? path : name;
}

bool NmCheckpoint::rollBackLive(const Live &checkpoint, QString &problem) {
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
    if (failed.isEmpty())
        return true;
    problem = QStringLiteral("NetworkManager şu ağ bağdaştırıcılarını geri alamadı: %1")
                  .arg(failed.join(QStringLiteral(", ")));
    return false;
}

int NmCheckpoint::secondsLeft() {
    const std::optional<Live> c = recorded(m_record.read());
    if (!c || c->rollbackAt == 0)
        return -1;
    return secondsUntil(c->rollbackAt);
}
