#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The ".network" files the program writes for systemd-networkd: one per link, named so that
// it sorts before every other file that could match the link (an administrator's own, or
// netplan's "10-netplan-IF.network"), and marked as the program's: no other file is ever
// changed or removed.
namespace NetworkdFiles {

// What a link is to hold.
struct LinkConfig {
    bool dhcp = true;
    QStringList addresses; // "10.0.0.5/24"
    QStringList gateways;
    QStringList dns; // empty on DHCP: the servers come with the lease
};

// "05-nuvar-zelvi-IF.network", kept in /etc/systemd/network; a change on trial is
// "04-nuvar-zelvi-IF.network" in /run/systemd/network, which sorts before it and is gone after
// a reboot.
QString fileName(const QString &link, bool onTrial = false);
// The file's text.
QString text(const QString &link, const LinkConfig &config);
// Whether the file at `path` is one the program wrote (its first line says so).
bool isOurs(const QString &path);

// Writes the file atomically in `folder` (a temporary file, flushed to disk, renamed over the
// old one); the reason when it could not. A file of that name that is not the program's is
// never replaced.
std::optional<QString> write(const QString &folder, const QString &link, const LinkConfig &config,
                             bool onTrial = false);
// Writes `text` (a file of the program's) atomically as the link's file in `folder`.
std::optional<QString> writeText(const QString &folder, const QString &name,
                                 const QByteArray &text);
// The links that have a file of the program's in `folder` (on trial: its runtime files).
QStringList linksWithFiles(const QString &folder, bool onTrial = true);
// Removes the program's file for the link, if there is one.
std::optional<QString> remove(const QString &folder, const QString &link, bool onTrial = false);

} // namespace NetworkdFiles
