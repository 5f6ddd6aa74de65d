#pragma once

#include <QString>
#include <QStringList>

// The keeper of a change on trial as a service that systemd itself runs: outside the session
// of whoever made the change (a logind that ends a closed session's processes does not take
// it), logged in the journal, and started again by systemd when it is killed. Where systemd is
// not the computer's init (a container without it, a test harness) the program starts the
// keeper as a process of its own instead.
namespace KeeperUnit {

// Whether systemd runs this computer and this run may ask it for a service (root).
bool available();
// Starts the running program's image with `arguments` as a transient service; the reason when
// systemd-run did not.
bool start(const QStringList &arguments, QString &problem);

} // namespace KeeperUnit
