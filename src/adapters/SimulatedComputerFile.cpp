#include "adapters/SimulatedComputer.h"

// The simulated computer's file: read whole into the adapters and the pending trial, and
// written back whole.

#include "adapters/AddressText.h"
#include "adapters/RunIdentity.h"
#include "adapters/Wmi.h"
#include "settings/IniFileStore.h"
#include "settings/Text.h"
#include "settings/WholeFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <functional>

namespace {

QJsonArray toJson(const QStringList &list) {
    return QJsonArray::fromStringList(list);
}

QStringList fromJson(const QJsonValue &value) {
    QStringList list;
    for (const QJsonValue &v : value.toArray())
        list.append(v.toString());
    return list;
}

QJsonObject errorToJson(const WmiError &e) {
    return {{QStringLiteral("number"), double(e.number)},
            {QStringLiteral("description"), e.description}};
}

std::optional<WmiError> errorFromJson(const QJsonValue &value) {
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject o = value.toObject();
    return WmiError{qint64(o.value(QStringLiteral("number")).toDouble()),
                    o.value(QStringLiteral("description")).toString()};
}

const QStringList &methodNames() {
    static const QStringList names = {QStringLiteral("EnableStatic"), QStringLiteral("SetGateways"),
                                      QStringLiteral("SetDNSServerSearchOrder"),
                                      QStringLiteral("SetWINSServer"),
                                      QStringLiteral("EnableDHCP")};
    return names;
}

// The refusals of one adapter ("method": code), or why they cannot be read.
std::optional<QString> readRefusals(const QJsonValue &value, QHash<QString, qint32> &refuse) {
    if (value.isUndefined() || value.isNull())
        return std::nullopt;
    if (!value.isObject())
        return Text::tr("\"refuse\" bir nesne olmalı, örneğin {\"EnableStatic\": 91}.");
    const QJsonObject o = value.toObject();
    for (auto it = o.begin(); it != o.end(); ++it) {
        if (!methodNames().contains(it.key()))
            return Text::tr("\"refuse\" içinde bilinmeyen yöntem \"%1\" (bilinenler: %2).")
                .arg(it.key(), methodNames().join(QStringLiteral(", ")));
        const double code = it.value().toDouble(0.5);
        if (!it.value().isDouble() || code != double(qint32(code)) || code < 0)
            return Text::tr("\"refuse\" içinde %1 için sonuç kodu tam sayı olmalı (tırnak "
                            "içinde değil), örneğin 91.")
                .arg(it.key());
        refuse.insert(it.key(), qint32(code));
    }
    return std::nullopt;
}

QJsonArray adaptersToJson(const QList<SimulatedComputer::Adapter> &adapters) {
    QJsonArray list;
    for (const SimulatedComputer::Adapter &a : adapters) {
        QJsonObject refuse;
        for (auto it = a.refuse.begin(); it != a.refuse.end(); ++it)
            refuse.insert(it.key(), it.value());
        QJsonObject o{{QStringLiteral("caption"), a.caption},
                      {QStringLiteral("ipEnabled"), a.ipEnabled},
                      {QStringLiteral("dhcp"), a.dhcp},
                      {QStringLiteral("address"), a.address},
                      {QStringLiteral("mask"), a.mask},
                      {QStringLiteral("gateway"), a.gateway},
                      {QStringLiteral("gatewayMetric"), a.gatewayMetric},
                      {QStringLiteral("dns"), toJson(a.dns)},
                      {QStringLiteral("wins"), toJson(a.wins)}};
        if (!refuse.isEmpty())
            o.insert(QStringLiteral("refuse"), refuse);
        if (!a.inUse.isEmpty())
            o.insert(QStringLiteral("inUse"), toJson(a.inUse));
        if (!a.silent.isEmpty())
            o.insert(QStringLiteral("silent"), toJson(a.silent));
        list.append(o);
    }
    return list;
}

// The adapters of a list, or why one of them cannot be read.
std::optional<QString> adaptersFromJson(const QJsonValue &value,
                                        QList<SimulatedComputer::Adapter> &adapters) {
    adapters.clear();
    for (const QJsonValue &v : value.toArray()) {
        const QJsonObject o = v.toObject();
        SimulatedComputer::Adapter a;
        a.caption = o.value(QStringLiteral("caption")).toString();
        a.ipEnabled = o.value(QStringLiteral("ipEnabled")).toBool(true);
        a.dhcp = o.value(QStringLiteral("dhcp")).toBool(true);
        a.address = o.value(QStringLiteral("address")).toString();
        a.mask = o.value(QStringLiteral("mask")).toString();
        a.gateway = o.value(QStringLiteral("gateway")).toString();
        a.gatewayMetric = o.value(QStringLiteral("gatewayMetric")).toInt();
        a.dns = fromJson(o.value(QStringLiteral("dns")));
        a.wins = fromJson(o.value(QStringLiteral("wins")));
        a.inUse = fromJson(o.value(QStringLiteral("inUse")));
        a.silent = fromJson(o.value(QStringLiteral("silent")));
        while (a.wins.size() < 2)
            a.wins.append(QString());
        if (const std::optional<QString> problem =
                readRefusals(o.value(QStringLiteral("refuse")), a.refuse)) {
            const qsizetype number = adapters.size() + 1;
            adapters.clear();
            return Text::tr("%1. bağdaştırıcı (%2): %3").arg(number).arg(a.caption, *problem);
        }
        adapters.append(a);
    }
    return std::nullopt;
}

} // namespace

bool SimulatedComputer::load(WmiError &error) {
    // Another program keeps the file's folder locked: nothing is read that could change under
    // this run (the wait for it was bounded).
    if (const std::optional<QString> locked = lockProblem()) {
        error = {Wmi::ServerUnavailable, Text::tr("Benzetim dosyası okunamadı: %1").arg(*locked)};
        return false;
    }
    // As the settings file: a regular file of a bounded size, never a FIFO or a device.
    IniError readError;
    const std::optional<QByteArray> bytes =
        IniFileStore::read(m_file, readError, Text::tr("Benzetim dosyası"));
    if (!bytes) {
        error = {Wmi::ServerUnavailable,
                 Text::tr("Benzetim dosyası okunamadı: %1").arg(readError.description)};
        return false;
    }
    if (!QFileInfo::exists(m_file)) {
        adapters = defaultAdapters();
        checkpoint.reset();
        history.clear();
        failConnect.reset();
        failQuery.reset();
        return save(error);
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(*bytes, &parseError);
    if (!doc.isObject()) {
        const QString why = parseError.error != QJsonParseError::NoError
                                ? Text::tr("JSON hatası, %1. bayt: %2")
                                      .arg(parseError.offset)
                                      .arg(parseError.errorString())
                                : Text::tr("en dıştaki değer bir JSON nesnesi ({ … }) "
                                           "olmalı");
        error = {Wmi::ServerUnavailable,
                 Text::tr("Benzetim dosyası bozuk: %1 (%2)").arg(m_file, why)};
        return false;
    }
    const QJsonObject root = doc.object();
    adapters.clear();
    if (const std::optional<QString> problem =
            adaptersFromJson(root.value(QStringLiteral("adapters")), adapters)) {
        error = {Wmi::ServerUnavailable,
                 Text::tr("Benzetim dosyası bozuk: %1\n%2").arg(m_file, *problem)};
        return false;
    }
    checkpoint.reset();
    if (const QJsonValue c = root.value(QStringLiteral("checkpoint"));
        !c.isUndefined() && !c.isNull()) {
        const QJsonValue until = c.toObject().value(QStringLiteral("until"));
        const QJsonValue saved = c.toObject().value(QStringLiteral("adapters"));
        // A time no clock reaches, or nothing to put back, is no checkpoint the computer
        // can mean.
        if (!until.isDouble() || until.toDouble() < 0 || until.toDouble() > 8.64e15 ||
            !saved.isArray() || saved.toArray().isEmpty()) {
            adapters.clear();
            error = {Wmi::ServerUnavailable, Text::tr("Benzetim dosyası bozuk: %1\n"
                                                      "\"checkpoint\" bir nesne olmalı:\n"
                                                      "{\"until\": 1970'ten beri milisaniye, "
                                                      "\"adapters\": [en az bir bağdaştırıcı]}.")
                                                 .arg(m_file)};
            return false;
        }
        Checkpoint pending;
        pending.until = qint64(until.toDouble());
        if (const std::optional<QString> problem = adaptersFromJson(saved, pending.adapters)) {
            error = {Wmi::ServerUnavailable,
                     Text::tr("Benzetim dosyası bozuk: %1\ncheckpoint: %2").arg(m_file, *problem)};
            return false;
        }
        // The whole run identity (its process numbering too): a run is told what became of its
        // trial only when the record names it as the run names itself.
        for (const char *key : {"pid", "start", "boot", "pidNamespace", "made"}) {
            const QString name = QString::fromLatin1(key);
            if (c.toObject().contains(name))
                pending.run.insert(name, c.toObject().value(name));
        }
        checkpoint = pending;
    }
    history.clear();
    for (const QJsonValue &entry : root.value(QStringLiteral("history")).toArray())
        history.append(entry.toObject());
    failConnect = errorFromJson(root.value(QStringLiteral("failConnect")));
    failQuery = errorFromJson(root.value(QStringLiteral("failQuery")));
    return true;
}

bool SimulatedComputer::save(WmiError &error) const {
    if (const std::optional<QString> locked = lockProblem()) {
        error = {Wmi::ServerUnavailable, Text::tr("Benzetim dosyası yazılamadı: %1").arg(*locked)};
        return false;
    }
    QJsonObject root{{QStringLiteral("adapters"), adaptersToJson(adapters)}};
    if (checkpoint) {
        QJsonObject pending = checkpoint->run;
        pending.insert(QStringLiteral("until"), double(checkpoint->until));
        pending.insert(QStringLiteral("adapters"), adaptersToJson(checkpoint->adapters));
        root.insert(QStringLiteral("checkpoint"), pending);
    }
    if (!history.isEmpty()) {
        QJsonArray entries;
        for (const QJsonObject &entry : history)
            entries.append(entry);
        root.insert(QStringLiteral("history"), entries);
    }
    if (failConnect)
        root.insert(QStringLiteral("failConnect"), errorToJson(*failConnect));
    if (failQuery)
        root.insert(QStringLiteral("failQuery"), errorToJson(*failQuery));

    ++m_fileWrites;
    if (const std::optional<QString> failed =
            WholeFile::replace(m_file, QJsonDocument(root).toJson())) {
        error = {Wmi::ServerUnavailable, Text::tr("Benzetim dosyası yazılamadı: %1").arg(*failed)};
        return false;
    }
    return true;
}
