#pragma once

#include "WmiAdapter.h"

#include <QList>
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

// An adapter is chosen when its description equals the chosen text, or the text is "*ALL".
bool adapterMatches(const QString &caption, const QString &NetworkCards);

// Whether a stored profile has all its twenty parts.
bool profileIsComplete(const QStringList &ProfileParts);

// The descriptions of the IP-enabled adapters, in the service's order; empty when the
// service cannot be reached.
QStringList adapterDescriptions(AdapterBackend &backend);

struct DhcpReset {
    bool outcome = false; // the last adapter's EnableDHCP succeeded
    bool failed = false;  // the service could not be reached or queried
    WmiError error;
    int adapters = 0;
    QList<Refusal> refusals; // adapters that refused EnableDHCP
};
// Every IP-enabled adapter: DNS servers from DHCP, then EnableDHCP.
DhcpReset ResetAdaptersToDHCP(AdapterBackend &backend);

struct StaticApply {
    bool failed = false;
    WmiError error;
    int matched = 0;
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
    };
    Kind kind = Kind::Applied;
    WmiError error;
    QList<Refusal> refusals;
};
// What follows the adapter dialog: every adapter to DHCP, then, if that was confirmed, the
// static settings on the chosen ones.
ApplyOutcome applyProfile(AdapterBackend &backend, const QString &selection,
                          const QStringList &ProfileParts);

} // namespace AdapterCommands
