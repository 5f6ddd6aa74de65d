#pragma once

#include "adapters/AdapterBackend.h"
#include "adapters/RunIdentity.h"

#include <QJsonObject>
#include <QString>
#include <functional>
#include <optional>

class clsIni;

// The one owner of the record of a change on trial, kept beside the settings file
// ("<settings>.trial") so that every run that uses those settings sees it: windows, commands,
// the run that makes a remote change, and the backends. Nothing else reads or writes it.
//
// What it holds:
// - the trial of the adapters: the run that made it (RunIdentity), the profile current before it
//   (`profileBefore`), and while that run keeps it, `phase: "keeping"`;
// - a remote change (--confirm-within), `remote`: its state, profile, time, the run that acts on
//   it now, why it was refused, and the request it belongs to;
// - what a backend needs to find its checkpoint again (NetworkManager: its object and the
//   profiles' earlier settings), written through transact().
//
// Every change is one read-check-write with the folder locked (a bounded wait); no call to the
// network configuration is made while it is locked. Only a regular file of this user's, opened
// without following a link and of a bounded size, is read; any other is refused, never taken for
// "no trial". A run that still goes on is the only one that may settle its own trial.
class TrialLedger {
public:
    explicit TrialLedger(QString recordPath);
    // The record beside these settings.
    explicit TrialLedger(clsIni &ini);
    static QString besideSettings(const QString &settingsPath);
    const QString &path() const { return m_path; }

    // The record as it is ({} when there is none); nothing, with the reason, when it is refused.
    std::optional<QJsonObject> read(QString *problem = nullptr) const;
    // Reads, changes and stores the record with the folder locked; an empty object removes it.
    // False, with the reason, when it could not be read or stored: then nothing was changed.
    bool transact(const std::function<void(QJsonObject &)> &change, QString *problem = nullptr);

    // ---- the states of a remote change ---------------------------------------------------------
    enum class Remote {
        None,
        Starting,   // asked for; the run that makes it starts in a second
        Applying,   // that run is changing the adapters
        Applied,    // on trial, waits for --confirm or --undo
        Confirming, // a --confirm is keeping it
        Undoing,    // an --undo is putting it back
        Confirmed,
        Undone,
        PutBack, // not confirmed in time: the system put it back
        Refused, // never made (the reason and code say why)
    };
    static QString remoteName(Remote state);
    struct RemoteInfo {
        Remote state = Remote::None;
        QString profile;
        QString reason;
        QString code;
        int seconds = 0;
        QString request;
        RunIdentity run; // who acts on it now
    };
    static RemoteInfo remoteOf(const QJsonObject &record);
    RemoteInfo remote() const;

    // ---- decisions
    // --------------------------------------------------------------------------------
    enum class Claim {
        Claimed,
        Busy,      // another run's change is on trial or under way: nothing may change
        Unsettled, // an ended run left a trial that must be settled first (settle(), then again)
        Failed,    // the record cannot be read or written: nothing may change
    };
    struct ClaimResult {
        Claim kind = Claim::Failed;
        QString problem;   // for Failed
        RemoteInfo remote; // for Busy: the remote change that waits, if that is why
        RunIdentity other; // for Busy: the run whose trial it is
    };
    // Before this run changes the adapters: the trial becomes this run's, the current profile
    // recorded as the one before it (an earlier trial of this run's keeps its own).
    ClaimResult claim(clsIni &ini);
    // The run whose change of the adapters is on trial; nothing when none is.
    std::optional<RunIdentity> trialRun() const;
    // This run takes over the trial that an ended run left, to judge it as that run would have.
    bool adopt();
    // Nothing of this run's came to be on trial: its claim goes.
    void release();
    // This run keeps its change now (killed meanwhile, a later run knows it was being kept).
    void markKeeping();
    // This run's change was kept: the record of it goes (a remote one becomes confirmed).
    bool kept(QString *problem = nullptr);
    // This run could not keep its change: the record stays (no longer "keeping") for the run
    // that settles it once the system has put the change back at its time.
    void keepFailed();
    // This run's change was put back: the profile before it is current again, in the same step.
    // Returns that profile. A remote change becomes `asState` (PutBack or Undone).
    QString putBack(clsIni &ini, Remote asState = Remote::PutBack);

    // A trial whose run has ended: put back or kept by the system meanwhile (or now, when
    // `changing` and its checkpoint is still pending), and recorded so. Left alone while its
    // run goes on, or while a remote change waits for its confirmation. Returns what it did,
    // for the user (empty: nothing).
    QString settle(clsIni &ini, AdapterBackend &backend, bool changing = false,
                   bool mayRestore = true);

    // ---- a remote change -----------------------------------------------------------------------
    // Asked for: refused as claim() is; the request names it from now on.
    ClaimResult beginRemote(const QString &profile, int seconds, const QString &request);
    // The run that makes it has started (its process), or could not be started.
    void handOver(const QString &request, qint64 pid);
    void withdraw(const QString &request);
    // That run: still the newest request? Then it is applying it, and the trial is its own.
    // Nothing (with the reason) when another request replaced it or it was settled meanwhile.
    std::optional<QString> startApplying(clsIni &ini, const QString &request);
    // Its outcome: on trial (applied) or refused with the reason and code (also before it
    // began applying).
    void finishApplying(const QString &request, bool applied, const QString &reason,
                        const QString &code);
    // --confirm or --undo takes the change waiting for confirmation; nothing when there is none
    // (the state tells what became of it), or, with `busyWith`, another run is deciding it.
    enum class Decision { Confirm, Undo };
    // `problem` (when given) says why the record could not be read or written.
    bool claimDecision(Decision decision, RemoteInfo &now, QString *problem = nullptr);
    // The decision could not be carried out: the change waits again.
    void dropDecision();

    // What claim() would answer now, taking nothing: Claimed where a claim would succeed (an
    // abandoned trial in the way would be settled first), Busy, or Failed (unreadable record).
    ClaimResult wouldClaim() const;

private:
    // One read-check-write: busy as claim() says, or `take` makes the record this run's.
    ClaimResult claimWith(const std::function<void(QJsonObject &)> &take);
    std::optional<QString> busyReason(const QJsonObject &record, ClaimResult &result) const;

    QString m_path;
};
