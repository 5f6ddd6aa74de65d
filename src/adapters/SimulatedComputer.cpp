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
            QList<AddressText::Prefixed> given;
            if (const qint32 refused = AddressText::staticAddresses(IPAddress, SubnetMask, given);
                refused != WmiResult::Success)
                return refused;
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

std::optional<bool> SimulatedComputer::gatewayAnswers(const QString &caption,
                                                      const QString &gateway, int) {
    FileTurn turn(*this);
    WmiError error;
    if (!loadAndRestore(error))
        return std::nullopt;
    for (const Adapter &a : adapters) {
        if (a.caption == caption)
            return !a.silent.contains(gateway);
    }
    return std::nullopt;
}

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

AdapterBackend::TrialStart SimulatedComputer::startTrial(int seconds) {
    using Kind = TrialStart::Kind;
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
        return save(error) ? TrialStart{} : TrialStart{Kind::Failed, error.description};
    }
    checkpoint = Checkpoint{now() + qint64(seconds) * 1000, adapters, {}};
    RunIdentity::self().intoJson(checkpoint->run);
    checkpoint->run.insert(QStringLiteral("made"), double(now()));
    if (!save(error))
        return {Kind::Failed, error.description};
    m_mine = true;
    return {Kind::Made, {}};
}

bool SimulatedComputer::adoptTrial() {
    FileTurn turn(*this);
    WmiError error;
    m_mine = loadAndRestore(error) && checkpoint &&
             RunIdentity::fromJson(checkpoint->run).state() != RunIdentity::State::Other;
    return m_mine;
}

bool SimulatedComputer::extendTrial(int seconds, QString &problem) {
    return withCheckpoint(problem, Text::tr("Deneme artık yok."),
                          [&] { checkpoint->until = now() + qint64(seconds) * 1000; });
}

AdapterBackend::Keep SimulatedComputer::keepChanges(QString &problem) {
    if (!m_mine)
        return Keep::Kept; // nothing of this run's pending
    if (withCheckpoint(
            problem,
            Text::tr("Denemenin süresi dolmuş:\n"
                     "benzetim bilgisayarı ağ ayarlarını değişiklikten önceki haline döndürdü."),
            [this] { endCheckpoint(true); })) {
        m_mine = false;
        return Keep::Kept;
    }
    const bool putBack = !m_mine;
    m_mine = false;
    return putBack ? Keep::PutBack : Keep::Failed;
}

bool SimulatedComputer::putBack(QString &problem) {
    const bool done =
        withCheckpoint(problem, Text::tr("Deneme artık yok."), [this] { endCheckpoint(false); });
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

AdapterBackend::Fate SimulatedComputer::trialFate(const RunIdentity &run) {
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

int SimulatedComputer::trialSecondsLeft() {
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
