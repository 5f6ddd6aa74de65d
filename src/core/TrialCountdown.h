#pragma once

#include "adapters/AdapterBackend.h"
#include "adapters/TrialLedger.h"

#include <QString>
#include <optional>

class clsIni;

// A change of the adapters on trial, as one run sees it, for the window and the command line:
// whether it is this run's to keep or another run's to show, the seconds left as the backend's
// clock counts them (the only clock: suspend and a changed wall clock are counted as the
// system counts them), and keeping it. The record itself is TrialLedger's.
class TrialCountdown {
public:
    TrialCountdown(clsIni &ini, AdapterBackend &backend) : m_ini(ini), m_backend(backend) {}

    // How long a change stays on trial when a check of the connection judges it: the wait
    // before the check, the check's own deadline, and ten seconds to keep it.
    static int lengthFor(int checkAfterSeconds, int httpTimeoutMs) {
        return checkAfterSeconds + httpTimeoutMs / 1000 + 10;
    }

    // Whether this run may change the adapters now; the trial is then its own. Otherwise the
    // reason, and a code for scripts ("busy", "remote-waits", "record-unwritable",
    // "disk-full").
    struct Claimed {
        bool ok = false;
        QString refusal;
        QString code;
    };
    static Claimed claim(clsIni &ini, AdapterBackend &backend);
    // What claim() would answer, for a dry run: nothing is taken or settled.
    static Claimed wouldClaim(clsIni &ini, AdapterBackend &backend);
    // A change is not begun on a full disk: the trial's record or the backend's files would
    // not be written ("disk-full"); ok when there is room.
    static Claimed roomFor(clsIni &ini, AdapterBackend &backend);
    // What the ledger's answer to a claim or a remote request means for the user.
    static Claimed refusalOf(const TrialLedger::ClaimResult &claimed, AdapterBackend &backend);
    // Nothing of this run's came to be on trial (refused, or no safety net was needed).
    static void release(clsIni &ini);

    // What keeping a change came to. `now` names the profile current again when the system had
    // put the change back (empty: automatic IP, or the settings from before the change).
    struct Kept {
        AdapterBackend::Keep outcome = AdapterBackend::Keep::Kept;
        QString problem;
        QString now;
    };
    // Keeps this run's change on trial; when it was put back meanwhile, the profile before it is
    // named again, in one step with the end of its record.
    static Kept keep(clsIni &ini, AdapterBackend &backend);

    // Puts this run's change back now (its check found it wrong; `why` says how), the profile
    // before it current again in the same step. Failed when the system would not: the change
    // then stays on trial and goes back at its time.
    static Kept putBack(clsIni &ini, AdapterBackend &backend, const QString &why);

    // At start: a change an earlier run left is settled; one still on trial is counted down,
    // and is this run's to judge unless it waits for a remote confirmation.
    void adoptLeftover();
    // This run's change, just made and on trial for `seconds`.
    void begin(int seconds);
    // Another run's change, begun meanwhile: counted down, never judged here. True if one is.
    bool followOthers();
    // This run's trial counts from now again (a message the user read took none of it); when
    // its time had run out meanwhile, it was put back: takeLost() then says so.
    void restart(int seconds);
    // Keeps the change as this run's, and counts no more; a change that could not be kept is
    // counted down to its end, and its put-back told as takeLost().
    Kept keepOwn();
    // The same for putting it back now.
    Kept putBackOwn(const QString &why);
    // The seconds left from the backend's clock; a trial that ended meanwhile (put back by the
    // system, or judged by its own run) is settled and -1 returned.
    int tick();

    // This run's change, put back by the system before it was judged (its time ran out while
    // the user read a message, or the computer slept), once: to be told to the user.
    std::optional<Kept> takeLost();

    bool ours() const { return m_ours; }
    bool counting() const { return m_left >= 0; }
    int secondsLeft() const { return m_left; }

private:
    clsIni &m_ini;
    AdapterBackend &m_backend;
    bool m_ours = false; // this run's change, which its check judges
    int m_left = -1;     // seconds left of a trial counted down (this run's or another's)
    std::optional<Kept> m_lost;
    bool m_unkept = false; // this run's change, which could not be kept: the system's to end

    void ownEnded();
};
