#include "adapters/SimulatedComputer.h"

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

bool allAddresses(const QStringList &list) {
    for (const QString &a : list) {
        if (!AddressText::parse(a))
            return false;
    }
    return true;
}

// One adapter of the simulated computer, as the WMI-shaped interface sees it.
class SimulatedAdapter : public WmiAdapter {
public:
    SimulatedAdapter(SimulatedComputer &computer, int index)
        : m_computer(computer), m_index(index) {}

    QString Caption() const override { return m_computer.adapters.at(m_index).caption; }

    std::optional<Held> held() override {
        const SimulatedComputer::Adapter &a = m_computer.adapters.at(m_index);
        const auto list = [](const QString &one) {
            return one.isEmpty() ? QStringList() : QStringList{one};
        };
        return Held{a.dhcp, list(a.address), list(a.mask), list(a.gateway), a.dns};
    }

    qint32 EnableStatic(const QStringList &IPAddress, const QStringList &SubnetMask) override {
        return m_computer.call(m_index, QStringLiteral("EnableStatic"), [&](auto &a) {
            if (IPAddress.isEmpty() || IPAddress.size() != SubnetMask.size())
                return WmiResult::InvalidInputParameter;
            if (!allAddresses(IPAddress))
                return WmiResult::InvalidIpAddress;
            for (const QString &m : SubnetMask) {
                if (!AddressText::isMask(m))
                    return WmiResult::InvalidSubnetMask;
            }
            if (a.inUse.contains(IPAddress.first()))
                return WmiResult::AddressInUse; // another device answered the probe
            a.dhcp = false;
            a.address = IPAddress.first();
            a.mask = SubnetMask.first();
            return WmiResult::Success;
        });
    }

    qint32 SetGateways(const QStringList &DefaultIPGateway,
                       const QList<quint16> &GatewayCostMetric) override {
        return m_computer.call(m_index, QStringLiteral("SetGateways"), [&](auto &a) {
            if (DefaultIPGateway.size() > 5)
                return qint32(69);
            if (!allAddresses(DefaultIPGateway))
                return WmiResult::InvalidGatewayAddress;
            if (GatewayCostMetric.size() != DefaultIPGateway.size())
                return WmiResult::InvalidInputParameter;
            for (const quint16 metric : GatewayCostMetric) {
                if (metric < 1 || metric > 9999)
                    return WmiResult::InvalidInputParameter;
            }
            a.gateway = DefaultIPGateway.value(0);
            a.gatewayMetric = GatewayCostMetric.value(0);
            return WmiResult::Success;
        });
    }

    qint32 SetDNSServerSearchOrder(const QStringList &servers) override {
        return m_computer.call(m_index, QStringLiteral("SetDNSServerSearchOrder"), [&](auto &a) {
            if (!allAddresses(servers))
                return WmiResult::InvalidIpAddress;
            a.dns = servers;
            return WmiResult::Success;
        });
    }

    qint32 SetDNSServerSearchOrder() override {
        return m_computer.call(m_index, QStringLiteral("SetDNSServerSearchOrder"), [](auto &a) {
            a.dns.clear();
            return WmiResult::Success;
        });
    }

    qint32 SetWINSServer(const QString &primary, const QString &secondary) override {
        return m_computer.call(m_index, QStringLiteral("SetWINSServer"), [&](auto &a) {
            for (const QString &s : {primary, secondary}) {
                if (!s.isEmpty() && !AddressText::parse(s))
                    return WmiResult::InvalidIpAddress;
            }
            a.wins = {primary, secondary};
            return WmiResult::Success;
        });
    }

    qint32 EnableDHCP() override {
        return m_computer.call(m_index, QStringLiteral("EnableDHCP"), [](auto &a) {
            a.dhcp = true;
            a.address.clear();
            a.mask.clear();
            a.gateway.clear();
            a.gatewayMetric = 0;
            return WmiResult::Success;
        });
    }

private:
    SimulatedComputer &m_computer;
    int m_index;
};

} // namespace

SimulatedComputer::SimulatedComputer(QString file)
    : now([] { return QDateTime::currentMSecsSinceEpoch(); }), m_file(std::move(file)) {}

QList<SimulatedComputer::Adapter> SimulatedComputer::defaultAdapters() {
    Adapter ethernet;
    ethernet.caption = QStringLiteral("[00000002] Ethernet Adapter");
    Adapter wireless;
    wireless.caption = QStringLiteral("[00000003] Wireless Network Adapter");
    return {ethernet, wireless};
}

std::optional<QString> SimulatedComputer::lockProblem() const {
    if (!m_lock || m_lock->locked())
        return std::nullopt;
    return m_lock->problem();
}

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
        for (const char *key : {"pid", "start", "boot", "made"}) {
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

SimulatedComputer::FileTurn::FileTurn(SimulatedComputer &computer) : m_computer(computer) {
    if (m_computer.m_turns++ == 0)
        m_computer.m_lock = std::make_unique<FolderLock>(
            QFile::encodeName(QFileInfo(m_computer.m_file).absolutePath()));
}

SimulatedComputer::FileTurn::~FileTurn() {
    if (--m_computer.m_turns == 0)
        m_computer.m_lock.reset();
}

bool SimulatedComputer::loadAndRestore(WmiError &error) {
    if (!load(error))
        return false;
    if (!checkpoint || now() < checkpoint->until)
        return true;
    endCheckpoint(false);
    return save(error);
}

bool SimulatedComputer::withCheckpoint(QString &problem, const QString &missing,
                                       const std::function<void()> &change) {
    FileTurn turn(*this);
    WmiError error;
    if (!loadAndRestore(error)) {
        problem = error.description;
        return false;
    }
    // Only this run's own: another run's pending one is not for this run to change.
    if (!m_mine || !checkpoint ||
        RunIdentity::fromJson(checkpoint->run).state() == RunIdentity::State::Other) {
        m_mine = false;
        problem = missing;
        return missing.isEmpty();
    }
    change();
    if (save(error))
        return true;
    problem = error.description;
    return false;
}

AdapterBackend::CheckpointStart SimulatedComputer::createCheckpoint(int seconds) {
    using Kind = CheckpointStart::Kind;
    FileTurn turn(*this);
    WmiError error;
    if (!loadAndRestore(error))
        return {Kind::Failed, error.description};
    if (checkpoint) {
        if (RunIdentity::fromJson(checkpoint->run).state() == RunIdentity::State::Other)
            return {Kind::Busy, Text::tr("Bu program başka bir pencerede ya da komutta bir "
                                         "değişikliği deniyor (%1 saniye daha).")
                                    .arg((checkpoint->until - now() + 999) / 1000)};
        // Left by a run that did not keep its change: back to what it had first.
        endCheckpoint(false);
    }
    if (adapters.isEmpty()) {
        checkpoint.reset();
        return save(error) ? CheckpointStart{} : CheckpointStart{Kind::Failed, error.description};
    }
    checkpoint = Checkpoint{now() + qint64(seconds) * 1000, adapters, {}};
    RunIdentity::self().intoJson(checkpoint->run);
    checkpoint->run.insert(QStringLiteral("made"), double(now()));
    if (!save(error))
        return {Kind::Failed, error.description};
    m_mine = true;
    return {Kind::Made, {}};
}

bool SimulatedComputer::adoptCheckpoint() {
    FileTurn turn(*this);
    WmiError error;
    m_mine = loadAndRestore(error) && checkpoint &&
             RunIdentity::fromJson(checkpoint->run).state() != RunIdentity::State::Other;
    return m_mine;
}

bool SimulatedComputer::extendCheckpoint(int seconds, QString &problem) {
    return withCheckpoint(problem, Text::tr("Geri dönüş noktası artık yok."),
                          [&] { checkpoint->until = now() + qint64(seconds) * 1000; });
}

AdapterBackend::Keep SimulatedComputer::keepChanges(QString &problem) {
    if (!m_mine)
        return Keep::Kept; // nothing of this run's pending
    if (withCheckpoint(
            problem,
            Text::tr("Geri dönüş noktasının süresi dolmuş:\n"
                     "benzetim bilgisayarı ağ ayarlarını değişiklikten önceki haline döndürdü."),
            [this] { endCheckpoint(true); })) {
        m_mine = false;
        return Keep::Kept;
    }
    const bool putBack = !m_mine;
    m_mine = false;
    return putBack ? Keep::PutBack : Keep::Failed;
}

bool SimulatedComputer::rollBack(QString &problem) {
    const bool done = withCheckpoint(problem, Text::tr("Geri dönüş noktası artık yok."),
                                     [this] { endCheckpoint(false); });
    m_mine = false;
    return done;
}

void SimulatedComputer::endCheckpoint(bool kept) {
    if (!kept)
        adapters = checkpoint->adapters;
    QJsonObject entry = checkpoint->run;
    entry.insert(QStringLiteral("kept"), kept);
    entry.insert(QStringLiteral("by"), double(RunIdentity::self().pid)); // who saw it end
    entry.insert(QStringLiteral("until"), double(checkpoint->until));
    entry.insert(QStringLiteral("ended"), double(now()));
    history.append(entry);
    while (history.size() > kHistoryLength)
        history.removeFirst();
    checkpoint.reset();
}

AdapterBackend::Fate SimulatedComputer::checkpointFate(const RunIdentity &run) {
    FileTurn turn(*this);
    WmiError error;
    if (!loadAndRestore(error))
        return Fate::Unknown;
    if (checkpoint && RunIdentity::fromJson(checkpoint->run) == run)
        return Fate::Unknown; // still pending
    for (auto it = history.crbegin(); it != history.crend(); ++it) {
        if (RunIdentity::fromJson(*it) == run)
            return it->value(QStringLiteral("kept")).toBool() ? Fate::Kept : Fate::PutBack;
    }
    return Fate::Unknown;
}

int SimulatedComputer::checkpointSecondsLeft() {
    FileTurn turn(*this);
    WmiError error;
    if (!loadAndRestore(error) || !checkpoint)
        return -1;
    return int((checkpoint->until - now() + 999) / 1000);
}

bool SimulatedComputer::connect(WmiError &error) {
    FileTurn turn(*this);
    if (!loadAndRestore(error))
        return false;
    if (failConnect) {
        error = *failConnect;
        return false;
    }
    return true;
}

bool SimulatedComputer::ipEnabledAdapters(WmiAdapterList &list, WmiError &error) {
    list.clear();
    if (failQuery) {
        error = *failQuery;
        return false;
    }
    for (int i = 0; i < adapters.size(); ++i) {
        if (adapters[i].ipEnabled)
            list.push_back(std::make_unique<SimulatedAdapter>(*this, i));
    }
    return true;
}

qint32 SimulatedComputer::call(int index, const QString &method,
                               const std::function<qint32(Adapter &)> &change) {
    FileTurn turn(*this);
    // Outside a command each method is a read-change-write of its own: what another run
    // stored meanwhile is read first.
    WmiError error;
    if (!m_inCommand && !load(error))
        return 72;
    if (index < 0 || index >= adapters.size())
        return 94;
    Adapter &adapter = adapters[index];
    if (const auto refused = adapter.refuse.constFind(method); refused != adapter.refuse.cend())
        return refused.value();
    if (!adapter.ipEnabled)
        return WmiResult::IpNotEnabled;
    const Adapter before = adapter;
    const qint32 result = change(adapter);
    if (!WmiResult::succeeded(result)) {
        adapter = before;
        return result;
    }
    if (m_inCommand) {
        m_changed = true;
        return result;
    }
    if (!save(error)) {
        adapter = before;
        return 72; // the change could not be kept
    }
    return result;
}

void SimulatedComputer::beginChanges() {
    // The command's changes go on what the file holds now, and nobody else's meanwhile.
    m_commandTurn = std::make_unique<FileTurn>(*this);
    WmiError ignored;
    load(ignored);
    m_inCommand = true;
    m_changed = false;
}

bool SimulatedComputer::commitChanges(WmiError &error) {
    const std::unique_ptr<FileTurn> turn = std::move(m_commandTurn); // released at the end
    const bool changed = m_changed;
    m_inCommand = false;
    m_changed = false;
    if (!changed || save(error))
        return true;
    // What the methods reported is not on the computer: read back what is.
    WmiError ignored;
    load(ignored);
    return false;
}
