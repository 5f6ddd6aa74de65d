#pragma once

#include "adapters/AdapterCommands.h"

#include <QString>
#include <optional>

// What the user is told about an apply or a switch to DHCP, in Turkish: the same words in the
// window's message boxes and on the command line.
namespace ApplyReport {

// Why the apply of profile `name` did not go through as chosen; empty when it did.
// `selection` is what was chosen in the adapter dialog (a caption or "*ALL"); `checkInSeconds`
// when the connection check follows (none when negative).
QString outcomeText(const AdapterCommands::ApplyOutcome &outcome, const QString &name,
                    const QString &selection, const QString &backendName, int checkInSeconds = 10);
// Whether it is a plain notice (nothing chosen, DHCP not confirmed) rather than a failure.
bool isNotice(AdapterCommands::ApplyOutcome::Kind kind);
// A stable code for scripts ("applied", "address-in-use", …), the same in every language.
QString outcomeCode(const AdapterCommands::ApplyOutcome &outcome);
// The code of a platform error: "hidden-by-file" or "platform-error".
QString errorCode(const WmiError &error);

// A profile that the whole-profile check refuses, nothing touched.
QString refusedProfileText(const QString &name, const QString &reason);

// Why a profile whose name came from a hand-edited file cannot be applied (a name the editor
// refuses: too long to be read back as the current profile, a NUL …), or nothing. The name
// is shown short and with its control characters visible.
std::optional<QString> refusedNameText(const QString &name);

// The switch to DHCP could not reach the adapters at all.
QString dhcpFailedText(const AdapterCommands::DhcpReset &reset, const QString &backendName);
// Some adapters did not take DHCP.
QString dhcpRefusedText(const AdapterCommands::DhcpReset &reset);

// The fallback to DHCP after profile `name` left the computer without internet, refused by
// some adapters: which ones kept their settings.
QString fallbackRefusedText(const AdapterCommands::DhcpReset &reset, const QString &name);

// A change that ran without its checkpoint, or whose checkpoint could not be kept; empty
// when neither.
QString trialProblemText(const AdapterCommands::Trial &trial, int seconds);
// Why a kept change is lost at a restart: the adapters ("eth0 (why)") it could not be stored
// for.
QString unsavedText(const QStringList &adapters);
// Why a change of the adapter would not take: the configuration `file` comes before the
// program's and configures it instead.
QString hiddenText(const QString &adapter, const QString &file);

// Why a change that no address service could judge did not stay: the profile's gateway did
// not answer on the adapters that took it.
QString gatewaySilentText(const AdapterCommands::GatewayJudgement &judged);

} // namespace ApplyReport
