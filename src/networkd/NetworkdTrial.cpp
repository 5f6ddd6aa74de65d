#include "networkd/NetworkdTrial.h"

#include "settings/Text.h"
#include "settings/WholeFile.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace NetworkdTrial {

namespace {

constexpr qint64 kMaxBytes = 64 * 1024;

QString bootId() {
    QFile file(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().trimmed())
                                          : QString();
}

QString systemText(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

// The file's bytes, read without waiting for anything; the reason when it is no file to read.
std::optional<QByteArray> bytesOf(const QString &file, QString &untrusted) {
    const QByteArray name = QFile::encodeName(file);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT)
            untrusted = Text::tr("okunamıyor (%1)").arg(systemText(errno));
        return std::nullopt;
    }
    struct stat st {};
    QByteArray bytes;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        untrusted = Text::tr("sıradan bir dosya değil");
    else if (st.st_size > kMaxBytes)
        untrusted = Text::tr("bir deneme kaydı için fazla büyük");
    else
        bytes = WholeFile::readUpTo(fd, qsizetype(st.st_size));
    ::close(fd);
    if (!untrusted.isEmpty())
        return std::nullopt;
    return bytes;
}

} // namespace

qint64 now() {
    timespec ts{};
    ::clock_gettime(CLOCK_BOOTTIME, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

QString path(const QString &runFolder) {
    return runFolder + QStringLiteral("/nuvar-zelvi-trial.json");
}

Read read(const QString &runFolder) {
    Read r;
    const std::optional<QByteArray> bytes = bytesOf(path(runFolder), r.untrusted);
    if (!bytes)
        return r;
    const QJsonDocument doc = QJsonDocument::fromJson(*bytes);
    const QJsonObject o = doc.object();
    static const QRegularExpression linkName(QStringLiteral("^[^/\\s:]{1,15}$"));
    Record t;
    bool valid = doc.isObject() && o.value(QStringLiteral("links")).isArray();
    for (const QJsonValue &v : o.value(QStringLiteral("links")).toArray()) {
        valid = valid && v.isString() && linkName.match(v.toString()).hasMatch();
        t.links.append(v.toString());
    }
    if (o.value(QStringLiteral("untilBoot")).isDouble())
        t.until = qint64(o.value(QStringLiteral("untilBoot")).toDouble());
    else if (o.value(QStringLiteral("until")).isDouble()) // an earlier version's wall clock
        t.until = now() + qint64(o.value(QStringLiteral("until")).toDouble()) -
                  QDateTime::currentMSecsSinceEpoch();
    else
        valid = false;
    t.id = o.value(QStringLiteral("id")).toString();
    t.madeBy = RunIdentity::fromJson(o.value(QStringLiteral("madeBy")).toObject());
    t.keeping = o.value(QStringLiteral("keeping")).toBool();
    if (!valid) {
        r.untrusted = Text::tr("bu programın bir deneme kaydı değil");
        return r;
    }
    // Made before a restart that kept /run: its time is over.
    if (const QJsonValue boot = o.value(QStringLiteral("boot"));
        boot.isString() && boot.toString() != bootId())
        t.until = 0;
    if (t.until - now() > kLongestMs) {
        r.untrusted = Text::tr("bitişi hiçbir denemenin sürmediği kadar ileride");
        return r;
    }
    r.record = t;
    return r;
}

std::optional<QString> write(const QString &runFolder, const Record &record) {
    const qint64 left = record.until - now();
    const QJsonObject o{
        {QStringLiteral("boot"), bootId()},
        {QStringLiteral("untilBoot"), double(record.until)},
        // For a person reading it; the program counts on the boot clock.
        {QStringLiteral("until"), double(QDateTime::currentMSecsSinceEpoch() + left)},
        {QStringLiteral("links"), QJsonArray::fromStringList(record.links)},
        {QStringLiteral("id"), record.id}};
    QJsonObject madeBy;
    record.madeBy.intoJson(madeBy);
    QJsonObject out = o;
    out.insert(QStringLiteral("madeBy"), madeBy);
    if (record.keeping)
        out.insert(QStringLiteral("keeping"), true);
    return WholeFile::replace(path(runFolder), QJsonDocument(out).toJson(), 0644);
}

namespace {

constexpr int kEndsKept = 8;

QString endsPath(const QString &runFolder) {
    return runFolder + QStringLiteral("/nuvar-zelvi-trial-ends.json");
}

QJsonArray ends(const QString &runFolder) {
    QString untrusted;
    const std::optional<QByteArray> bytes = bytesOf(endsPath(runFolder), untrusted);
    return bytes ? QJsonDocument::fromJson(*bytes).array() : QJsonArray();
}

} // namespace

void recordEnd(const QString &runFolder, const RunIdentity &madeBy, bool kept) {
    if (madeBy.pid == 0)
        return;
    QJsonArray list = ends(runFolder);
    QJsonObject end{{QStringLiteral("kept"), kept}};
    madeBy.intoJson(end);
    list.append(end);
    while (list.size() > kEndsKept)
        list.removeFirst();
    WholeFile::replace(endsPath(runFolder), QJsonDocument(list).toJson(), 0644);
}

std::optional<bool> keptBy(const QString &runFolder, const RunIdentity &madeBy) {
    const QJsonArray list = ends(runFolder);
    for (qsizetype i = list.size() - 1; i >= 0; --i) {
        const QJsonObject end = list.at(i).toObject();
        if (RunIdentity::fromJson(end) == madeBy)
            return end.value(QStringLiteral("kept")).toBool();
    }
    return std::nullopt;
}

} // namespace NetworkdTrial
