#pragma once

// The seam between the program and the computer's network configuration: every command and
// window goes through AdapterBackend and the WMI-shaped adapters it lists. The real backends
// (networkmanager/, networkd/) and the simulated computer (SimulatedComputer.h) stand behind it.

#include "adapters/RunIdentity.h"
#include "adapters/WmiAdapter.h"

#include <QString>
#include <QStringList>
#include <optional>

// What stands behind the WMI-shaped interface: the computer's network configuration.
class AdapterBackend {
public:
    virtual ~AdapterBackend() = default;

    // Reaching the configuration service (binding a moniker, connecting a locator).
    virtual bool connect(WmiError &error) = 0;
    // The IP-enabled adapters, in the service's order.
    virtual bool ipEnabledAdapters(WmiAdapterList &adapters, WmiError &error) = 0;
    // A short Turkish name for messages ("NetworkManager", "benzetim bilgisayarı").
    virtual QString name() const = 0;
    // The folders a change writes its files in (a trial's record among them): a change is not
    // begun while one of them has no room.
    virtual QStringList storageFolders() const { return {}; }

    // One command (a DHCP switch, a static apply) runs between these two: a backend that
    // stores its state may keep it once, at the end, instead of after every method. False
    // when what the methods reported could not be kept.
    virtual void beginChanges() {}
    virtual bool commitChanges(WmiError &error) {
        Q_UNUSED(error);
        return true;
    }
    // A command made of two such batches (every adapter to DHCP, then the profile's static
    // settings) runs between these two: a backend whose every commit reconfigures the links
    // keeps both for one commit at the end, so that no link starts DHCP in between. False when
    // that commit fails.
    virtual void holdCommits() {}
    virtual bool releaseCommits(WmiError &error) {
        Q_UNUSED(error);
        return true;
    }

    // A trial: the adapters' state before a change is held, and the system puts it back by
    // itself when the change is not kept in time, also after this program has ended (on
    // NetworkManager through its checkpoints, on networkd through the keeper unit). A backend
    // without trials keeps every change at once.
    struct TrialStart {
        enum class Kind {
            Made,
            NotAvailable, // this backend has none: the change runs without one
            Busy,         // another program is trying a change on these adapters
            Failed,       // the system refused one (problem tells why)
        };
        Kind kind = Kind::NotAvailable;
        QString problem; // Turkish
    };
    // Begun on every IP-enabled adapter, put back in `seconds` unless kept. One of this
    // program's left pending by an earlier run is put back first.
    virtual TrialStart startTrial(int seconds) {
        Q_UNUSED(seconds);
        return {};
    }
    // Restarts the pending trial's time: put back in `seconds` from now.
    virtual bool extendTrial(int seconds, QString &problem) {
        Q_UNUSED(seconds);
        Q_UNUSED(problem);
        return true;
    }
    // At a run's start: a change that an ended run left on trial and that the system can no
    // longer put back by itself (it lost the trial) is put back from the record. Says
    // what it did and why (empty: nothing to do); false in `restored` when it failed. A run
    // that changes nothing (`mayChange` false: --status, --list) only says what waits to be
    // put back by the next one that does.
    virtual QString recoverAbandonedTrial(bool &restored, bool mayChange) {
        Q_UNUSED(mayChange);
        restored = false;
        return {};
    }
    // Takes over the pending trial that an ended run of the program left, to judge it
    // as that run would have; false when there is none (or its run still goes on).
    virtual bool adoptTrial() { return false; }
    // Keeps the changes made since this run's trial began: the trial is over. PutBack when
    // the system had already put the adapters back (the run was paused past its time);
    // Unsaved when the change stays on the adapters and the trial is over, but it could not
    // be stored, so a restart loses it; Failed when the trial still stands.
    enum class Keep { Kept, Unsaved, PutBack, Failed };
    virtual Keep keepChanges(QString &problem) {
        Q_UNUSED(problem);
        return Keep::Kept;
    }
    // Puts the adapters back as they were when the trial began, now.
    virtual bool putBack(QString &problem) {
        Q_UNUSED(problem);
        return false;
    }
    // Whether `gateway` answers on the adapter of `caption` within `deadlineMs` (a neighbour's
    // answer, ARP): what judges a change that no address service can. Nothing when it cannot be
    // told. By default asked of this computer's kernel, through the card the caption names.
    virtual std::optional<bool> gatewayAnswers(const QString &caption, const QString &gateway,
                                               int deadlineMs);
    // Seconds until this program's pending trial (of any of its runs) is put back, or -1
    // without one.
    virtual int trialSecondsLeft() { return -1; }
    // What became of the trial that `run` began, once it is no longer pending: kept, put
    // back (by the system at its time, or by a run), or not known.
    enum class Fate { Unknown, Kept, PutBack };
    virtual Fate trialFate(const RunIdentity &run) {
        Q_UNUSED(run);
        return Fate::Unknown;
    }
    // Why this caller may not change the network (Turkish), asked before anything is made or
    // promised; nothing when it may, or when the system cannot say. `canAsk`: a password
    // prompt can reach the user (a desktop session), so "only after a password" is no refusal.
    virtual std::optional<QString> notAllowed(bool canAsk) {
        Q_UNUSED(canAsk);
        return std::nullopt;
    }
};
