#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// A profile as the configuration file of another network tool, for one interface: a
// systemd-networkd ".network" file, a netplan YAML or an nmstate YAML.
namespace ProfileExport {

enum class Format { Networkd, Netplan, Nmstate };

// The format named on the command line ("networkd", "netplan", "nmstate").
std::optional<Format> formatNamed(const QString &name);

// Why the name cannot be an interface's (Linux: 1 to 15 characters, no blank, "/" or ":"),
// if it cannot.
std::optional<QString> interfaceProblem(const QString &name);

// The file's text for a profile that passed the profile check (its twenty stored parts).
QString text(Format format, const QString &profileName, const QStringList &ProfileParts,
             const QString &interfaceName);

} // namespace ProfileExport
