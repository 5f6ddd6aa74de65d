#include "networkd/NetworkdBackend.h"

#include "adapters/ApplyReport.h"
#include "networkd/LinkDescription.h"
#include "networkd/NetworkdLink.h"
#include "networkd/NetworkdTrial.h"
#include "settings/FolderLock.h"
#include "settings/Text.h"
#include "settings/WholeFile.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QThread>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <net/if.h>
#include <sys/stat.h>

namespace {

const QString kService = QStringLiteral("org.freedesktop.network1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/network1");
const QString kManager = QStringLiteral("org.freedesktop.network1.Manager");
const QString kLink = QStringLiteral("org.freedesktop.network1.Link");

} // namespace

NetworkdBackend::NetworkdBackend(QDBusConnection bus, QString folder, QString runFolder)
    : m_bus(std::move(bus)), m_folder(std::move(folder)), m_runFolder(std::move(runFolder)) {}

namespace {

// What a run says of a record in /run it cannot trust; nothing is changed on its word.
QString untrustedText(const QString &runFolder, const QString &why) {
    return Text::tr("%1 dosyasına güvenilemiyor: %2.\nAğ ayarlarına dokunulmadı; bağlantıların "
                    "ayarlarına bakıp dosyayı silin.")
        .arg(NetworkdTrial::path(runFolder), why);
}

} // namespace

bool NetworkdBackend::reload(QString &problem) {
    const QDBusMessage reply = m_bus.call(
        QDBusMessage::createMethodCall(kService, kManagerPath, kManager, QStringLiteral("Reload")));
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    problem = Text::tr("systemd-networkd yeni ayarları yüklemedi: %1").arg(reply.errorMessage());
    return false;
}

void NetworkdBackend::reconfigure(const QStringList &links) {
    for (const QString &link : links) {
        const int index = int(::if_nametoindex(link.toLocal8Bit().constData()));
        if (index == 0)
            continue;
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kManagerPath, kManager,
                                                           QStringLiteral("ReconfigureLink"));
        call << index;
        m_bus.call(call);
    }
}

bool NetworkdBackend::putBack(const Trial &trial, QString &problem, bool kept) {
    for (const QString &link : trial.links) {
        if (const std::optional<QString> failed = NetworkdFiles::remove(m_runFolder, link, true)) {
            problem = *failed;
            return false;
        }
    }
    // The record goes only once networkd has the earlier settings: while it is down the
    // trial stays recorded (over), and the keeper or the next run tries again.
    if (!reload(problem))
        return false;
    QFile::remove(NetworkdTrial::path(m_runFolder));
    NetworkdTrial::recordEnd(m_runFolder, trial.madeBy, kept);
    m_onTrial = false;
    return true;
}

AdapterBackend::TrialStart NetworkdBackend::startTrial(int seconds) {
    // systemd's generator makes the runtime folder at boot; networkd switched on later (or the
    // generator disabled) leaves a till without it, and every change would go straight to
    // /etc. Made as the generator makes it (root's, rwxr-xr-x); networkd reads it either way.
    if (!QFileInfo(m_runFolder).isDir()) {
        const QByteArray folder = QFile::encodeName(m_runFolder);
        if (::mkdir(folder.constData(), 0755) != 0 && errno != EEXIST)
            return {TrialStart::Kind::Failed,
                    Text::tr("%1 klasörü yok ve oluşturulamadı: %2")
                        .arg(m_runFolder, QString::fromLocal8Bit(std::strerror(errno)))};
        ::chmod(folder.constData(), 0755); // whatever the umask
    }
    const FolderLock lock(m_runFolder.toLocal8Bit()); // the keeper's and every run's turns
    const NetworkdTrial::Read earlier = NetworkdTrial::read(m_runFolder);
    if (!earlier.untrusted.isEmpty())
        return {TrialStart::Kind::Failed, untrustedText(m_runFolder, earlier.untrusted)};
    if (earlier.record && earlier.record->keeping) { // confirmed: finished, never put back
        QString problem;
        if (finishKeep(*earlier.record, problem) == Keep::Failed)
            return {TrialStart::Kind::Failed, problem};
    } else if (earlier.record) {
        if (earlier.record->until > NetworkdTrial::now())
            return {TrialStart::Kind::Busy,
                    Text::tr("Başka bir değişiklik deneniyor (systemd-networkd).")};
        QString problem;
        if (!putBack(*earlier.record, problem)) // its keeper is gone: put back now
            return {TrialStart::Kind::Failed, problem};
    }
    if (!startKeeper)
        return {};
    QString problem;
    const QString id = QString::number(QRandomGenerator::system()->generate64(), 16);
    const qint64 until = NetworkdTrial::now() + qint64(seconds) * 1000;
    const std::optional<QString> failed =
        NetworkdTrial::write(m_runFolder, {until, {}, id, RunIdentity::self(), false});
    if (failed)
        problem = *failed;
    if (failed || !startKeeper(QStringList{QStringLiteral("--networkd-keeper"), m_runFolder, id,
                                           QString::number(until)},
                               problem)) {
        QFile::remove(NetworkdTrial::path(m_runFolder));
        return {TrialStart::Kind::Failed, problem};
    }
    m_onTrial = true;
    return {TrialStart::Kind::Made, {}};
}

bool NetworkdBackend::extendTrial(int seconds, QString &problem) {
    const FolderLock lock(m_runFolder.toLocal8Bit()); // the keeper's and every run's turns
    NetworkdTrial::Read trial = NetworkdTrial::read(m_runFolder);
    if (!trial.untrusted.isEmpty()) {
        problem = untrustedText(m_runFolder, trial.untrusted);
        return false;
    }
    if (!trial.record || trial.record->keeping) {
        problem = Text::tr("Denenen değişiklik artık yok.");
        return false;
    }
    trial.record->until = NetworkdTrial::now() + qint64(seconds) * 1000;
    if (const std::optional<QString> failed = NetworkdTrial::write(m_runFolder, *trial.record)) {
        problem = *failed;
        return false;
    }
    return true;
}

QString NetworkdBackend::recoverAbandonedTrial(bool &restored, bool mayChange) {
    restored = false;
    const FolderLock lock(m_runFolder.toLocal8Bit());
    const NetworkdTrial::Read trial = NetworkdTrial::read(m_runFolder);
    if (!trial.untrusted.isEmpty())
        return untrustedText(m_runFolder, trial.untrusted);
    if (trial.record && trial.record->keeping) { // confirmed; the keeper finishes it too
        QString problem;
        if (mayChange && finishKeep(*trial.record, problem) == Keep::Failed)
            return problem;
        return {};
    }
    // A second of grace: the keeper puts it back at its time.
    if (!trial.record || trial.record->until + 1000 > NetworkdTrial::now())
        return {};
    if (!mayChange)
        return Text::tr(
            "Süresi dolan bir değişiklik doğrulanmamıştı ve bekçisi yok;\n"
            "ağ ayarlarını değiştiren bir sonraki komut onu geri alır (systemd-networkd).");
    QString problem;
    if (!putBack(*trial.record, problem))
        return Text::tr("Süresi dolan bir değişiklik geri alınamadı (systemd-networkd): %1")
            .arg(problem);
    restored = true;
    return Text::tr("Süresi dolan bir değişiklik doğrulanmamıştı; önceki ayarlar geri "
                    "yüklendi (systemd-networkd).");
}

bool NetworkdBackend::adoptTrial() {
    const NetworkdTrial::Read trial = NetworkdTrial::read(m_runFolder);
    m_onTrial = trial.record && !trial.record->keeping; // a confirmed one is decided already
    return m_onTrial;
}

AdapterBackend::Keep NetworkdBackend::keepChanges(QString &problem) {
    const FolderLock lock(m_runFolder.toLocal8Bit()); // the keeper's and every run's turns
    const NetworkdTrial::Read read = NetworkdTrial::read(m_runFolder);
    m_onTrial = false;
    if (!read.untrusted.isEmpty()) {
        problem = untrustedText(m_runFolder, read.untrusted);
        return Keep::Failed;
    }
    if (!read.record)
        return Keep::PutBack; // the keeper put it back at its time
    // Marked first: a run killed half-way leaves a keep that the keeper or the next run
    // finishes, never one that it puts back over a lasting file already written.
    Trial trial = *read.record;
    trial.keeping = true;
    if (const std::optional<QString> failed = NetworkdTrial::write(m_runFolder, trial)) {
        problem = *failed;
        return Keep::Failed;
    }
    return finishKeep(trial, problem);
}

AdapterBackend::Keep NetworkdBackend::finishKeep(const Trial &trial, QString &problem) {
    // A link whose lasting file cannot be written (a read-only /etc, a full disk) keeps its
    // runtime file: the change stays until a restart, and the keeper no longer puts it back.
    Trial stored = trial;
    stored.links.clear();
    QStringList unsaved;
    for (const QString &link : trial.links) {
        QFile runtime(m_runFolder + QLatin1Char('/') + NetworkdFiles::fileName(link, true));
        std::optional<QString> failed; // no runtime file: made lasting by a keep that stopped
        if (runtime.exists() && !runtime.open(QIODevice::ReadOnly))
            failed = Text::tr("%1 okunamadı: %2").arg(runtime.fileName(), runtime.errorString());
        else if (runtime.isOpen())
            failed = NetworkdFiles::writeText(m_folder, NetworkdFiles::fileName(link),
                                              runtime.readAll());
        if (failed)
            unsaved.append(QStringLiteral("%1 (%2)").arg(link, *failed));
        else
            stored.links.append(link);
    }
    if (!putBack(stored, problem, true))
        return Keep::Failed;
    if (unsaved.isEmpty())
        return Keep::Kept;
    problem = ApplyReport::unsavedText(unsaved);
    return Keep::Unsaved;
}

bool NetworkdBackend::putBack(QString &problem) {
    const FolderLock lock(m_runFolder.toLocal8Bit()); // the keeper's and every run's turns
    const NetworkdTrial::Read trial = NetworkdTrial::read(m_runFolder);
    if (!trial.untrusted.isEmpty()) {
        problem = untrustedText(m_runFolder, trial.untrusted);
        return false;
    }
    if (trial.record && trial.record->keeping) {
        if (finishKeep(*trial.record, problem) != Keep::Failed)
            problem = Text::tr("Değişiklik doğrulanmıştı; kalıcı yapıldı, geri alınmadı.");
        return false;
    }
    return !trial.record || putBack(*trial.record, problem);
}

AdapterBackend::Fate NetworkdBackend::trialFate(const RunIdentity &run) {
    const NetworkdTrial::Read trial = NetworkdTrial::read(m_runFolder);
    if (!trial.untrusted.isEmpty())
        return Fate::Unknown;
    if (trial.record && trial.record->madeBy == run)
        return trial.record->keeping ? Fate::Kept : Fate::Unknown; // confirmed, or pending
    const std::optional<bool> kept = NetworkdTrial::keptBy(m_runFolder, run);
    if (!kept)
        return Fate::Unknown;
    return *kept ? Fate::Kept : Fate::PutBack;
}

int NetworkdBackend::trialSecondsLeft() {
    const NetworkdTrial::Read trial = NetworkdTrial::read(m_runFolder);
    if (!trial.untrusted.isEmpty())
        return 0; // something is there, its time unknown
    if (!trial.record || trial.record->keeping)
        return -1; // none, or confirmed and no longer on trial
    return int(std::max<qint64>(0, (trial.record->until - NetworkdTrial::now() + 999) / 1000));
}

int NetworkdBackend::putBackWhenDue(QDBusConnection bus, const QString &runFolder,
                                    const QString &id, qint64 until) {
    NetworkdBackend backend(std::move(bus), QString(), runFolder);
    // The record as last read whole; until the first read, what the run that started the
    // keeper said (the record may have gone bad before this process got to read it).
    Trial known{until, {}, id, {}, false};
    int failures = 0;
    for (;;) {
        qint64 wait = 200;
        {
            const FolderLock lock(runFolder.toLocal8Bit());
            const NetworkdTrial::Read read = NetworkdTrial::read(runFolder);
            if (read.untrusted.isEmpty() && (!read.record || read.record->id != id))
                return 0; // kept or put back by the program (another trial may be on now)
            if (read.record && read.record->keeping) {
                QString problem; // a confirm that stopped half-way: made lasting now
                return backend.finishKeep(*read.record, problem) == Keep::Failed ? 1 : 0;
            }
            if (read.record)
                known = *read.record;
            else // what the record said last may be older than a runtime file
                known.links = NetworkdFiles::linksWithFiles(runFolder);
            // Over: put back (a record replaced by something untrusted, at the time it last
            // said). networkd down: tried again every second, for an hour at most.
            const qint64 left = known.until - NetworkdTrial::now();
            if (left <= 0) {
                QString problem;
                if (backend.putBack(known, problem)) {
                    // networkd started again keeps the addresses it finds on a link beside
                    // those of its files: the trial's address would stay for a while.
                    if (failures > 0)
                        backend.reconfigure(known.links);
                    return 0;
                }
                std::fprintf(stderr, "%s\n", problem.toLocal8Bit().constData());
                if (++failures >= 3600)
                    return 1;
                wait = 1000;
            } else {
                wait = std::min<qint64>(left, 200);
            }
        }
        QThread::msleep(ulong(wait));
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
        adapters.push_back(makeNetworkdLink(*this, index, name, path.path()));
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
        error = {qint64(m_hidden ? WmiResult::HiddenByFile : WmiResult::UnknownFailure), problem};
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

namespace {

// The file networkd configures the link with, as its description names it.
QString fileInForce(const QJsonObject &description) {
    return description.value(QStringLiteral("NetworkFile")).toString();
}

} // namespace

bool NetworkdBackend::writeAndReload(QString &problem) {
    m_hidden = false;
    if (m_pending.isEmpty())
        return true;
    const FolderLock lock(m_runFolder.toLocal8Bit());
    std::optional<Trial> trial = m_onTrial ? NetworkdTrial::read(m_runFolder).record : std::nullopt;
    if (m_onTrial && (!trial || trial->keeping)) {
        problem = Text::tr("Denenen değişiklik artık yok: süresi dolmuş.");
        return false;
    }
    const QString folder = trial ? m_runFolder : m_folder;
    // Lasting files written without a trial: what they said before, to be written back when
    // the change does not take (nothing: there was none).
    QMap<QString, std::optional<QByteArray>> earlier;
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it) {
        if (trial && !trial->links.contains(it.key())) {
            trial->links.append(it.key()); // recorded before the file exists: never left behind
            if (const std::optional<QString> failed = NetworkdTrial::write(m_runFolder, *trial)) {
                problem = *failed;
                return false;
            }
        }
        if (!trial) {
            QFile old(m_folder + QLatin1Char('/') + NetworkdFiles::fileName(it.key()));
            earlier.insert(it.key(), old.open(QIODevice::ReadOnly)
                                         ? std::optional<QByteArray>(old.readAll())
                                         : std::nullopt);
        }
        if (const std::optional<QString> failed =
                NetworkdFiles::write(folder, it.key(), it.value(), trial.has_value())) {
            problem = *failed;
            restoreLasting(earlier);
            return false;
        }
    }
    if (!reload(problem) || !arrived(trial.has_value(), problem)) {
        if (restoreLasting(earlier)) {
            QString ignored;
            reload(ignored);
        }
        return false;
    }
    m_pending.clear();
    return true;
}

bool NetworkdBackend::arrived(bool onTrial, QString &problem) {
    // networkd configures the link with the program's file (an administrator's file that
    // sorts before it would hide the change: a --dhcp that leaves the link static must not say
    // done), and a static address is there when networkd says the link holds it.
    const QDeadlineTimer deadline(applyTimeoutMs);
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it) {
        const QString ours = QLatin1Char('/') + NetworkdFiles::fileName(it.key(), onTrial);
        const QString wanted = it.value().dhcp
                                   ? QString()
                                   : it.value().addresses.value(0).section(QLatin1Char('/'), 0, 0);
        QString inForce;
        bool there = false;
        while (!there && !deadline.hasExpired()) {
            if (const std::optional<QJsonObject> d = describe(m_paths.value(it.key()))) {
                inForce = fileInForce(*d);
                // A networkd too old to name the file is taken at its word.
                there = (!d->contains(QStringLiteral("NetworkFile")) || inForce.endsWith(ours)) &&
                        (wanted.isEmpty() || LinkDescription::holdsStatic(*d, wanted));
            }
            if (!there)
                QThread::msleep(20);
        }
        if (there)
            continue;
        m_hidden = !inForce.isEmpty() && !inForce.endsWith(ours) && !NetworkdFiles::isOurs(inForce);
        if (m_hidden)
            problem = ApplyReport::hiddenText(it.key(), inForce);
        else if (!wanted.isEmpty())
            problem = Text::tr("%1 bağlantısı %2 adresini %3 ms içinde almadı.")
                          .arg(it.key(), wanted)
                          .arg(applyTimeoutMs);
        else
            problem = Text::tr("systemd-networkd %1 bağlantısını %2 ms içinde programın "
                               "dosyasıyla ayarlamadı.")
                          .arg(it.key())
                          .arg(applyTimeoutMs);
        return false;
    }
    return true;
}

bool NetworkdBackend::restoreLasting(const QMap<QString, std::optional<QByteArray>> &earlier) {
    for (auto it = earlier.cbegin(); it != earlier.cend(); ++it) {
        if (it.value())
            NetworkdFiles::writeText(m_folder, NetworkdFiles::fileName(it.key()), *it.value());
        else
            NetworkdFiles::remove(m_folder, it.key());
    }
    return !earlier.isEmpty();
}
