#include "adapters/AdapterCommands.h"

#include "adapters/AddressText.h"
#include "adapters/ProfileCheck.h"
#include "adapters/Wmi.h"
#include "settings/Text.h"

#include <QMap>
#include <algorithm>

namespace AdapterCommands {

namespace {

const QString kQuery =
    QStringLiteral("Select * FROM Win32_NetworkAdapterConfiguration where IPEnabled=TRUE");

void check(QList<Refusal> &refusals, const WmiAdapter &adapter, const char *method, qint32 code) {
    if (!WmiResult::succeeded(code))
        refusals.append({descriptionOf(adapter.Caption()), QString::fromLatin1(method), code,
                         adapter.lastErrorText()});
}

// Whether the four parts from idx on are all blank (an optional address left empty).
bool isBlankAddress(const QStringList &parts, int idx) {
    for (int i = idx; i < idx + 4; ++i) {
        if (!parts.value(i).trimmed().isEmpty())
            return false;
    }
    return true;
}

// DNS 2 left out: blank, or 0.0.0.0, which is no server (a resolver would ask this computer).
bool noSecondDns(const QStringList &parts) {
    return isBlankAddress(parts, 16) || AddressText::parse(RetAddr(parts, 16)) == quint32(0);
}

QString methodMeaning(const QString &method) {
    if (method == QLatin1String("EnableStatic"))
        return Text::tr("IP adresi ve alt ağ maskesi");
    if (method == QLatin1String("SetGateways"))
        return Text::tr("ağ geçidi (modem IP)");
    if (method == QLatin1String("SetDNSServerSearchOrder"))
        return Text::tr("DNS sunucuları");
    if (method == QLatin1String("SetWINSServer"))
        return Text::tr("WINS sunucuları");
    if (method == QLatin1String("EnableDHCP"))
        return Text::tr("otomatik IP (DHCP)");
    return method;
}

} // namespace

QString describe(const QList<Refusal> &refusals) {
    QStringList lines;
    for (const Refusal &r : refusals) {
        QString line = Text::tr("• %1: %2 ayarlanamadı (kod %3: %4)")
                           .arg(r.adapter, methodMeaning(r.method))
                           .arg(r.code)
                           .arg(Wmi::resultText(r.code));
        if (!r.detail.isEmpty())
            line += Text::tr(" — sistemin yanıtı: ") + r.detail;
        lines.append(line);
    }
    return lines.join(QLatin1Char('\n'));
}

QString RetAddr(const QStringList &ar, qint16 idx) {
    QString s;
    for (int i = idx; i <= idx + 3; ++i)
        s += QLatin1Char('.') + ar.value(i);
    return s.mid(1);
}

QString descriptionOf(const QString &caption) {
    const qsizetype at = caption.indexOf(QStringLiteral("] "));
    return at < 0 ? caption : caption.mid(at + 2);
}

QString interfaceOf(const QString &caption) {
    return descriptionOf(caption).section(QLatin1Char(' '), 0, 0);
}

bool adapterMatches(const QString &caption, const QString &NetworkCards) {
    return NetworkCards == QLatin1String("*ALL") || caption == NetworkCards ||
           descriptionOf(caption) == NetworkCards;
}

GatewayJudgement judgeByGateway(AdapterBackend &backend, const QString &selection,
                                const QStringList &ProfileParts, int deadlineMs) {
    GatewayJudgement judged;
    judged.gateway = RetAddr(ProfileParts, 8);
    if (judged.gateway.isEmpty() || judged.gateway == QLatin1String("0.0.0.0"))
        return judged;
    QStringList asked;
    for (const QString &caption : adapterCaptions(backend)) {
        if (adapterMatches(caption, selection))
            asked.append(caption);
    }
    // The whole judgement within the deadline, however many cards took the profile.
    const int each = asked.isEmpty() ? deadlineMs : std::max(1000, deadlineMs / int(asked.size()));
    bool silent = false;
    for (const QString &caption : asked) {
        judged.adapters.append(descriptionOf(caption));
        const std::optional<bool> answered = backend.gatewayAnswers(caption, judged.gateway, each);
        if (answered.value_or(false)) {
            judged.verdict = GatewayJudgement::Verdict::Answered;
            return judged;
        }
        silent = silent || (answered && !*answered);
        if (!answered)
            return judged; // one that cannot be told: not judged by the others
    }
    if (silent)
        judged.verdict = GatewayJudgement::Verdict::Silent;
    return judged;
}

QStringList adapterDescriptions(AdapterBackend &backend) {
    QStringList list = adapterCaptions(backend);
    for (QString &caption : list)
        caption = descriptionOf(caption);
    return list;
}

QStringList adapterCaptions(AdapterBackend &backend) {
    QStringList list;
    WmiError error;
    const auto service =
        Wmi::GetObject(backend, QStringLiteral("winmgmts:\\\\.\\root\\CIMV2"), error);
    WmiAdapterList adapters;
    if (!service ||
        !service->ExecQuery(
            QStringLiteral("SELECT * FROM Win32_NetworkAdapterConfiguration where IPEnabled=TRUE"),
            adapters, error, Wmi::ReturnImmediately | Wmi::ForwardOnly))
        return list;
    for (const auto &adapter : adapters)
        list.append(adapter->Caption());
    return list;
}

namespace {

// Makes the checkpoint before a change; false when the change must not start.
bool startTrial(AdapterBackend &backend, int seconds, Trial &trial, bool required = false) {
    if (seconds <= 0)
        return true;
    using Kind = AdapterBackend::TrialStart::Kind;
    const AdapterBackend::TrialStart start = backend.startTrial(seconds);
    switch (start.kind) {
    case Kind::Made:
        trial.pending = true;
        break;
    case Kind::NotAvailable:
        if (required) {
            trial.problem = Text::tr("bu ağ ayarlarında deneme yapılamıyor.");
            return false;
        }
        break;
    case Kind::Busy:
        trial.busy = start.problem;
        return false;
    case Kind::Failed:
        trial.problem = start.problem;
        return !required;
    }
    return true;
}

// The trial's time counts from the end of the change; a change that no check follows is
// kept at once.
void settleTrial(AdapterBackend &backend, int seconds, bool checked, Trial &trial) {
    if (!trial.pending)
        return;
    QString extendProblem;
    if (checked && backend.extendTrial(seconds, extendProblem))
        return;
    trial.pending = false;
    QString keepProblem;
    const AdapterBackend::Keep kept = backend.keepChanges(keepProblem);
    trial.keptAs(kept, keepProblem);
    if (kept == AdapterBackend::Keep::Kept && checked)
        trial.problem = extendProblem;
}

// What each adapter holds, by caption (nothing for an adapter that cannot tell).
QMap<QString, std::optional<WmiAdapter::Held>> heldBy(const WmiAdapterList &adapters) {
    QMap<QString, std::optional<WmiAdapter::Held>> held;
    for (const auto &adapter : adapters)
        held.insert(adapter->Caption(), adapter->held());
    return held;
}

bool sameHeld(const std::optional<WmiAdapter::Held> &a, const std::optional<WmiAdapter::Held> &b) {
    return a && b && a->dhcp == b->dhcp && a->address == b->address && a->mask == b->mask &&
           a->gateway == b->gateway && a->dns == b->dns;
}

// After a commit that failed: whether the adapters differ from what they held before it (a
// backend that keeps its state whole or not at all changed nothing; one whose methods act at
// once may have). Read once more, as the system has them now.
bool differsFrom(AdapterBackend &backend,
                 const QMap<QString, std::optional<WmiAdapter::Held>> &before) {
    WmiAdapterList now;
    WmiError error;
    if (!backend.ipEnabledAdapters(now, error))
        return true; // not known: not said to be unchanged
    const auto after = heldBy(now);
    if (after.keys() != before.keys())
        return true;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!sameHeld(it.value(), after.value(it.key())))
            return true;
    }
    return false;
}

} // namespace

DhcpReset ResetAdaptersToDHCP(AdapterBackend &backend, int trialSeconds) {
    DhcpReset r;
    Wmi::SWbemLocator locator(backend);
    const auto service =
        locator.ConnectServer(QStringLiteral("localhost"), QStringLiteral("root\\cimv2"), r.error);
    WmiAdapterList adapters;
    if (!service) {
        r.failed = true;
        return r;
    }
    service->setImpersonationLevel(3);
    if (!service->ExecQuery(kQuery, adapters, r.error)) {
        r.failed = true;
        return r;
    }
    if (!startTrial(backend, trialSeconds, r.trial)) {
        r.failed = true;
        return r;
    }
    r.heldBefore = heldBy(adapters);
    backend.beginChanges();
    for (const auto &adapter : adapters) {
        r.changed = true;
        adapter->SetDNSServerSearchOrder();
        const qint32 code = adapter->EnableDHCP();
        r.outcome = code == WmiResult::Success;
        if (code != WmiResult::Success)
            r.refusals.append({descriptionOf(adapter->Caption()), QStringLiteral("EnableDHCP"),
                               code, adapter->lastErrorText()});
        else if (const QString notice = adapter->noticeText(); !notice.isEmpty())
            r.notices.append(notice);
        ++r.adapters;
    }
    if (!backend.commitChanges(r.error)) {
        r.failed = true;
        // Not taken by the system: put back, never kept half-made.
        QString problem;
        if (r.trial.pending && backend.putBack(problem))
            r.trial.pending = false;
        r.changed = r.trial.pending || differsFrom(backend, r.heldBefore);
    }
    settleTrial(backend, trialSeconds, !r.failed, r.trial);
    return r;
}

StaticApply SetTCP_Profile(AdapterBackend &backend, const QString &NetworkCards,
                           const QStringList &ProfileParts) {
    StaticApply r;
    const auto service =
        Wmi::GetObject(backend, QStringLiteral("winmgmts:\\\\.\\root\\cimv2"), r.error);
    WmiAdapterList adapters;
    if (!service || !service->ExecQuery(kQuery, adapters, r.error)) {
        r.failed = true;
        return r;
    }
    const QStringList address{RetAddr(ProfileParts, 0)};
    const QStringList mask{RetAddr(ProfileParts, 4)};
    const QStringList gateway{RetAddr(ProfileParts, 8)};
    const QList<quint16> metric{1};
    QStringList dns{RetAddr(ProfileParts, 12)};
    if (!noSecondDns(ProfileParts))
        dns.append(RetAddr(ProfileParts, 16));
    const QString wins = QStringLiteral("0.0.0.0");

    backend.beginChanges();
    for (const auto &adapter : adapters) {
        if (!adapterMatches(adapter->Caption(), NetworkCards))
            continue;
        ++r.matched;
        const qint32 taken = adapter->EnableStatic(address, mask);
        check(r.refusals, *adapter, "EnableStatic", taken);
        if (taken == WmiResult::AddressInUse)
            continue; // nothing else can work on it
        check(r.refusals, *adapter, "SetGateways", adapter->SetGateways(gateway, metric));
        check(r.refusals, *adapter, "SetDNSServerSearchOrder",
              adapter->SetDNSServerSearchOrder(dns));
        check(r.refusals, *adapter, "SetWINSServer", adapter->SetWINSServer(wins, wins));
        if (const QString notice = adapter->noticeText(); !notice.isEmpty())
            r.notices.append(notice);
    }
    if (!backend.commitChanges(r.error))
        r.failed = true;
    return r;
}

WmiAdapter::Held heldBy(const QStringList &ProfileParts) {
    // The profile's addresses as the system writes them (no leading zeros), blanks left out.
    const auto field = [&](int idx) {
        if (isBlankAddress(ProfileParts, idx))
            return QStringList();
        const QString text = RetAddr(ProfileParts, qint16(idx));
        const std::optional<quint32> address = AddressText::parse(text);
        return QStringList{address ? AddressText::format(*address) : text};
    };
    return {false, field(0), field(4), field(8),
            field(12) + (noSecondDns(ProfileParts) ? QStringList() : field(16))};
}

bool alreadyHeld(AdapterBackend &backend, const QString &selection,
                 const QStringList &ProfileParts) {
    const WmiAdapter::Held wanted = heldBy(ProfileParts);
    WmiError error;
    WmiAdapterList adapters;
    if (!backend.connect(error) || !backend.ipEnabledAdapters(adapters, error))
        return false;
    int matched = 0;
    for (const auto &adapter : adapters) {
        if (!adapterMatches(adapter->Caption(), selection))
            continue;
        ++matched;
        const std::optional<WmiAdapter::Held> held = adapter->held();
        if (!held || held->dhcp || held->address != wanted.address || held->mask != wanted.mask ||
            held->gateway != wanted.gateway || held->dns != wanted.dns)
            return false;
    }
    return matched > 0;
}

bool allOnDhcp(AdapterBackend &backend) {
    WmiError error;
    WmiAdapterList adapters;
    if (!backend.connect(error) || !backend.ipEnabledAdapters(adapters, error) || adapters.empty())
        return false;
    return std::all_of(adapters.cbegin(), adapters.cend(), [](const auto &adapter) {
        const std::optional<WmiAdapter::Held> held = adapter->held();
        return held && held->dhcp;
    });
}

QStringList othersLeavingStatic(AdapterBackend &backend, const QString &selection) {
    QStringList out;
    WmiError error;
    WmiAdapterList adapters;
    if (!backend.connect(error) || !backend.ipEnabledAdapters(adapters, error))
        return out;
    for (const auto &adapter : adapters) {
        if (adapterMatches(adapter->Caption(), selection))
            continue;
        if (const std::optional<WmiAdapter::Held> held = adapter->held(); held && !held->dhcp)
            out.append(adapter->Caption());
    }
    return out;
}

bool connectionCheckFollows(ApplyOutcome::Kind kind) {
    using Kind = ApplyOutcome::Kind;
    return kind == Kind::Applied || kind == Kind::Refused || kind == Kind::NothingMatched;
}

ApplyOutcome applyProfile(AdapterBackend &backend, const QString &selection,
                          const QStringList &ProfileParts, int trialSeconds,
                          bool checkpointRequired) {
    using Kind = ApplyOutcome::Kind;
    ApplyOutcome r;
    r.address = RetAddr(ProfileParts, 0);
    if (const ProfileCheck::Result check = ProfileCheck::check(ProfileParts); !check.canApply()) {
        r.kind = Kind::InvalidProfile;
        r.reason = *check.refusal;
        return r;
    }
    if (selection.trimmed().isEmpty()) {
        r.kind = Kind::NoAdapterChosen;
        return r;
    }
    if (!startTrial(backend, trialSeconds, r.trial, checkpointRequired)) {
        r.kind = r.trial.busy.isEmpty() ? Kind::NoSafetyNet : Kind::TrialBusy;
        r.reason = r.trial.busy.isEmpty() ? r.trial.problem : r.trial.busy;
        r.trial.problem.clear();
        return r;
    }
    backend.holdCommits();
    const DhcpReset reset = ResetAdaptersToDHCP(backend);
    r.adaptersChanged = reset.changed;
    if (reset.failed) {
        r.kind = Kind::PlatformError;
        r.error = reset.error;
    } else if (!reset.outcome) {
        r.kind = Kind::DhcpNotConfirmed;
        r.refusals = reset.refusals;
    } else if (const StaticApply apply = SetTCP_Profile(backend, selection, ProfileParts);
               apply.failed) {
        r.kind = Kind::PlatformError;
        r.error = apply.error;
    } else if (apply.matched == 0) {
        r.kind = Kind::NothingMatched;
    } else {
        r.notices = apply.notices;
        if (!apply.refusals.isEmpty()) {
            r.kind = Kind::Refused;
            r.refusals = apply.refusals;
            for (const Refusal &refusal : apply.refusals) {
                if (refusal.code == WmiResult::AddressInUse)
                    r.kind = Kind::AddressInUse;
            }
        }
    }
    if (WmiError error; !backend.releaseCommits(error) && r.kind != Kind::PlatformError) {
        r.kind = Kind::PlatformError;
        r.error = error;
    }
    if ((r.kind == Kind::AddressInUse || r.kind == Kind::PlatformError) && r.trial.pending) {
        // Back to what the adapters had, not to DHCP: the user chose a static address. A
        // change the system did not take (networkd never put it on the link) is not kept
        // half-made either: it would come back as the lasting settings at the next restart.
        r.trial.pending = false;
        QString problem;
        if (backend.putBack(problem))
            r.adaptersChanged = false;
        else
            r.trial.problem = problem;
    } else if (r.kind == Kind::PlatformError && !r.trial.pending && r.adaptersChanged) {
        r.adaptersChanged = differsFrom(backend, reset.heldBefore); // a commit not taken
    }
    const bool checked =
        r.kind == Kind::Applied || r.kind == Kind::Refused || r.kind == Kind::NothingMatched;
    settleTrial(backend, trialSeconds, checked, r.trial);
    return r;
}

} // namespace AdapterCommands
