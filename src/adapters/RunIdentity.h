#pragma once

#include <QJsonObject>
#include <QString>

// Who a run of the program is: its process number, the moment the process started (in clock
// ticks since the computer started), that start of the computer, and the process numbering it
// was numbered in (a run in a container has numbers of its own). A process number alone is
// reused; with its start and the boot it names one run only.
struct RunIdentity {
    qint64 pid = 0;
    qint64 start = 0; // 0: not known (a record of an earlier version)
    QString boot;
    QString pidNamespace; // empty: this process's (a record of an earlier version)

    static RunIdentity self();
    // A process that runs now; its start is 0 when it cannot be read.
    static RunIdentity ofProcess(qint64 pid);
    // "pid", "start" and "boot" of an object; a pid of 0 where it has none.
    static RunIdentity fromJson(const QJsonObject &object);
    void intoJson(QJsonObject &object) const;
    static void removeFrom(QJsonObject &object);

    // None: no run named; This: this process; Other: another process that still runs (also of
    // another user, or stopped); Ended: it has ended, or ran before the computer last started.
    enum class State { None, This, Other, Ended };
    State state() const;
    bool alive() const {
        const State s = state();
        return s == State::This || s == State::Other;
    }

    bool operator==(const RunIdentity &other) const = default;
};
