#include "NmCheckpoint.h"

#include "NmDbus.h"

#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <signal.h>
#include <time.h>
#include <unistd.h>

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
      m_recordFile(std::move(recordFile)) {}

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

std::optional<NmCheckpoint::Live> NmCheckpoint::ours() {
    QFile f(m_recordFile);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QList<QByteArray> lines = f.readAll().split('\n');
    const QString path = QString::fromUtf8(lines.value(0));
    const qint64 created = lines.value(1).toLongLong();
    for (Live c : live()) {
        if (c.path == path && c.created == created) {
            c.pid = lines.value(2).toLongLong();
            return c;
        }
    }
    return std::nullopt; // restored or kept meanwhile, or NetworkManager has restarted
}

bool NmCheckpoint::writeRecord(const Live &checkpoint) {
    QDir().mkpath(QFileInfo(m_recordFile).absolutePath());
    QSaveFile f(m_recordFile);
    return f.open(QIODevice::WriteOnly) &&
           f.write(checkpoint.path.toUtf8() + '\n' + QByteArray::number(checkpoint.created) + '\n' +
                   QByteArray::number(qint64(getpid())) + '\n') > 0 &&
           f.commit();
}

void NmCheckpoint::forgetRecord() {
    QFile::remove(m_recordFile);
}

AdapterBackend::CheckpointStart NmCheckpoint::create(const QList<QDBusObjectPath> &devices,
                                                     int seconds) {
    using Kind = AdapterBackend::CheckpointStart::Kind;
    QString problem;
    if (const std::optional<Live> earlier = ours()) {
        // Another run of the program that is still going judges its own change.
        if (earlier->pid > 0 && earlier->pid != getpid() && kill(pid_t(earlier->pid), 0) == 0)
            return {Kind::Busy, QStringLiteral("Bu program başka bir pencerede ya da komutta bir "
                                               "değişikliği deniyor (%1 saniye daha).")
                                    .arg(secondsUntil(earlier->rollbackAt))};
        if (!rollBack(problem))
            return {
                Kind::Failed,
                QStringLiteral("Önceki çalışmadan kalan deneme geri alınamadı: %1").arg(problem)};
    }
    forgetRecord();
    for (const Live &other : live()) {
        for (const QDBusObjectPath &device : other.devices) {
            if (devices.contains(device))
                return {Kind::Busy,
                        other.rollbackAt == 0
                            ? QStringLiteral("Başka bir program bu ağ bağdaştırıcısında bir "
                                             "değişikliği deniyor.")
                            : QStringLiteral("Başka bir program bu ağ bağdaştırıcısında bir "
                                             "değişikliği deniyor (%1 saniye daha).")
                                  .arg(secondsUntil(other.rollbackAt))};
        }
    }
    QVariantList answer;
    if (!call(QStringLiteral("CheckpointCreate"),
              {QVariant::fromValue(devices), uint(seconds), kDeleteNewConnections}, problem,
              &answer))
        return {Kind::Failed, problem};
    const QString path = answer.value(0).value<QDBusObjectPath>().path();
    for (const Live &c : live()) {
        if (c.path == path && writeRecord(c))
            return {Kind::Made, {}};
    }
    // Unrecorded, it could not be told from another program's, and nothing could keep it.
    call(QStringLiteral("CheckpointDestroy"), {QVariant::fromValue(QDBusObjectPath(path))},
         problem);
    return {Kind::Failed,
            QStringLiteral("Deneme noktasının kaydı yazılamadı: %1").arg(m_recordFile)};
}

bool NmCheckpoint::extend(int seconds, QString &problem) {
    const std::optional<Live> c = ours();
    if (!c) {
        problem = QStringLiteral("Deneme noktası artık yok.");
        return false;
    }
    return call(QStringLiteral("CheckpointAdjustRollbackTimeout"),
                {QVariant::fromValue(QDBusObjectPath(c->path)), uint(seconds)}, problem);
}

bool NmCheckpoint::destroy(QString &problem) {
    const std::optional<Live> c = ours();
    forgetRecord();
    if (!c)
        return true; // nothing pending
    return call(QStringLiteral("CheckpointDestroy"),
                {QVariant::fromValue(QDBusObjectPath(c->path))}, problem);
}

bool NmCheckpoint::rollBack(QString &problem) {
    const std::optional<Live> c = ours();
    forgetRecord();
    if (!c) {
        problem = QStringLiteral("Geri dönülecek deneme noktası yok.");
        return false;
    }
    QVariantList answer;
    if (!call(QStringLiteral("CheckpointRollback"), {QVariant::fromValue(QDBusObjectPath(c->path))},
              problem, &answer))
        return false;
    // Each device's result: 0 restored, 1 gone, 2 no longer managed, 3 failed.
    QMap<QString, uint> results;
    if (answer.value(0).canConvert<QDBusArgument>())
        answer.value(0).value<QDBusArgument>() >> results;
    QStringList failed;
    for (auto it = results.cbegin(); it != results.cend(); ++it) {
        if (it.value() != 0)
            failed.append(QStringLiteral("%1 (%2)").arg(it.key()).arg(it.value()));
    }
    if (failed.isEmpty())
        return true;
    problem = QStringLiteral("NetworkManager şu aygıtları geri alamadı: %1")
                  .arg(failed.join(QStringLiteral(", ")));
    return false;
}

int NmCheckpoint::secondsLeft() {
    const std::optional<Live> c = ours();
    if (!c || c->rollbackAt == 0)
        return -1;
    return secondsUntil(c->rollbackAt);
}
