#pragma once

#include "adapters/AdapterBackend.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// Applying a profile to the chosen adapters and switching every adapter to DHCP, through
// the WMI-shaped interface. No widgets: the main window shows what these report.
namespace AdapterCommands {

// An adapter that refused a setting.
struct Refusal {
    QString adapter; // its description
    QString method;
    qint32 code = 0;
    QString detail; // what the system itself said, if anything
};
// One Turkish line per refusal: which adapter refused what, and why.
QString describe(const QList<Refusal> &refusals);

// The four stored parts from idx on, joined with "." ("192", "168", "1", "10" give
// 192.168.1.10; four empty parts give "...").
QString RetAddr(const QStringList &ar, qint16 idx);

// The description part of a caption: what follows the first "] ", or the whole caption.
QString descriptionOf(const QString &caption);

// The interface's name a caption starts its description with ("enp1s0 - model"), as both real
// backends describe a card.
QString interfaceOf(const QString &caption);

// An adapter is chosen when the chosen text is "*ALL", its whole caption (with the index,
// which tells apart adapters of the same description), or its description.
bool adapterMatches(const QString &caption, const QString &NetworkCards);

// The captions ("[index] description") of the IP-enabled adapters, in the service's order;
// empty when the service cannot be reached.
QStringList adapterCaptions(AdapterBackend &backend);
// Their descriptions, as the adapter dialog lists them.
QStringList adapterDescriptions(AdapterBackend &backend);

// A change on trial: a checkpoint is made before it, which the system restores by itself
// unless the change is kept in time (AdapterBackend::keepChanges, after a check of the
// connection).
struct Trial {
    bool pending = false;     // the checkpoint waits to be kept
    QString problem;          // why the change runs without one, when it does
    QString keepProblem;      // the change could not be kept: the system will restore the adapters
    bool keepUnsaved = false; // or it stays, but a restart loses it (keepProblem says where)
    QString busy;             // another program is trying a change: nothing was touched

    // Notes what a keep that did not simply keep the change leaves to say.
    void keptAs(AdapterBackend::Keep kept, const QString &why) {
        if (kept == AdapterBackend::Keep::Kept)
            return;
        keepProblem = why;
        keepUnsaved = kept == AdapterBackend::Keep::Unsaved;
    }
};

struct DhcpReset {
    bool outcome = false; // the last adapter's EnableDHCP succeeded
    bool failed = false;  // the service could not be reached or queried, or (trial.busy)
                          // the switch did not start
    WmiError error;
    int adapters = 0;
    QList<Refusal> refusals; // adapters that refused EnableDHCP
    bool changed = false;    // some adapter was asked to change
    QStringList notices;     // what the adapters that took it leave to be said
    Trial trial;
    QMap<QString, std::optional<WmiAdapter::Held>> heldBefore; // by caption
};
// Every IP-enabled adapter: DNS servers from DHCP, then EnableDHCP. With trialSeconds, on
// trial for that long from the end of the switch.
DhcpReset ResetAdaptersToDHCP(AdapterBackend &backend, int trialSeconds = 0);

struct StaticApply {
    bool failed = false;
    WmiError error;
    int matched = 0;
    QStringList notices;
    QList<Refusal> refusals;
};
// The profile's address, mask, gateway, DNS servers and empty WINS servers on every
// chosen adapter. A blank second DNS server is left out of the DNS list.
StaticApply SetTCP_Profile(AdapterBackend &backend, const QString &NetworkCards,
                           const QStringList &ProfileParts);

struct ApplyOutcome {
    enum class Kind {
        Applied,
        NoAdapterChosen,  // the dialog was closed without a choice
        DhcpNotConfirmed, // the last adapter did not take DHCP: no static setting applied
        PlatformError,    // the service could not be reached or queried
        NothingMatched,   // the chosen adapter is gone
        Refused,          // some adapter refused a setting
        InvalidProfile,   // the profile cannot work: nothing was touched
        TrialBusy,        // another program is trying a change: nothing was touched
        AddressInUse,     // another device holds the address: the adapters were put back
        NoSafetyNet,      // a checkpoint was required and none could be made: nothing touched
    };
    Kind kind = Kind::Applied;
    WmiError error;
    QList<Refusal> refusals;
    QString reason;               // why the profile cannot work
    bool adaptersChanged = false; // the adapters were switched to DHCP before it stopped
    QString address;              // the profile's address (the one in use, for AddressInUse)
    QStringList notices;          // what the adapters that took it leave to be said
    Trial trial;
};
// What an adapter holds once the profile is applied, as WmiAdapter::held() tells it.
WmiAdapter::Held heldBy(const QStringList &ProfileParts);
// Whether every chosen adapter (at least one) holds exactly this profile already: static, with
// its address, mask, gateway and DNS servers. Then an apply has nothing to change.
bool alreadyHeld(AdapterBackend &backend, const QString &selection,
                 const QStringList &ProfileParts);

// Whether every adapter (at least one) is known to be on DHCP already: a switch to DHCP has
// nothing to change.
bool allOnDhcp(AdapterBackend &backend);

// The adapters that an apply to `selection` puts on DHCP although they hold a static address
// now (every adapter goes to DHCP first): their captions, to be named before and after.
QStringList othersLeavingStatic(AdapterBackend &backend, const QString &selection);

// A change that no address service can judge, judged by the profile's gateway: it answers on
// one of the adapters that took the profile (Answered), on none (Silent), or it cannot be told
// (Unknown: the change is kept, as it was before there was a judge), all within `deadlineMs`.
struct GatewayJudgement {
    enum class Verdict { Answered, Silent, Unknown };
    Verdict verdict = Verdict::Unknown;
    QString gateway;
    QStringList adapters; // the descriptions of the adapters asked
};
GatewayJudgement judgeByGateway(AdapterBackend &backend, const QString &selection,
                                const QStringList &ProfileParts, int deadlineMs);

// Whether the adapters changed so that the connection is checked after it, as after an apply:
// applied, refused in part, or put on DHCP only because the chosen adapter was gone.
bool connectionCheckFollows(ApplyOutcome::Kind kind);

// What follows the adapter dialog: the profile is checked whole, then every adapter goes
// to DHCP, then, if that was confirmed, the static settings go on the chosen ones. With
// trialSeconds, on trial: an address that another device holds puts the adapters back as
// they were; an apply that stopped before the static settings is kept at once; otherwise the
// trial is pending for that long from the end of the apply (applied, or refused in part, the
// check of the connection settles it).
// With `checkpointRequired` (a change made from afar) nothing is changed without one.
ApplyOutcome applyProfile(AdapterBackend &backend, const QString &selection,
                          const QStringList &ProfileParts, int trialSeconds = 0,
                          bool checkpointRequired = false);

} // namespace AdapterCommands
