#pragma once

#include <QString>

// Every code an answer of the program carries (its JSON "code", a refusal's code, a remote
// change's "remote.code"): stable English words for scripts, the same in every language. The
// README lists each; a code is added here, never written where it is given.
namespace AnswerCode {
inline const QString Absent = QStringLiteral("absent");
inline const QString AdapterDhcp = QStringLiteral("adapter-dhcp");
inline const QString AdapterRefused = QStringLiteral("adapter-refused");
inline const QString AdapterUnreadable = QStringLiteral("adapter-unreadable");
inline const QString AddressInUse = QStringLiteral("address-in-use");
inline const QString AlreadyHeld = QStringLiteral("already-held");
inline const QString Applied = QStringLiteral("applied");
inline const QString BackendUnreachable = QStringLiteral("backend-unreachable");
inline const QString Busy = QStringLiteral("busy");
inline const QString Confirmed = QStringLiteral("confirmed");
inline const QString Deleted = QStringLiteral("deleted");
inline const QString DetachFailed = QStringLiteral("detach-failed");
inline const QString Dhcp = QStringLiteral("dhcp");
inline const QString DhcpNotConfirmed = QStringLiteral("dhcp-not-confirmed");
inline const QString DiskFull = QStringLiteral("disk-full");
inline const QString Done = QStringLiteral("done");
inline const QString DoubtfulProfile = QStringLiteral("doubtful-profile");
inline const QString DuplicateName = QStringLiteral("duplicate-name");
inline const QString Failed = QStringLiteral("failed");
inline const QString HiddenByFile = QStringLiteral("hidden-by-file");
inline const QString ImportUnreadable = QStringLiteral("import-unreadable");
inline const QString InvalidAddress = QStringLiteral("invalid-address");
inline const QString InvalidName = QStringLiteral("invalid-name");
inline const QString InvalidProfile = QStringLiteral("invalid-profile");
inline const QString KeepFailed = QStringLiteral("keep-failed");
inline const QString MissingAddress = QStringLiteral("missing-address");
inline const QString NoAdapterChosen = QStringLiteral("no-adapter-chosen");
inline const QString NoRemoteChange = QStringLiteral("no-remote-change");
inline const QString NoSafetyNet = QStringLiteral("no-safety-net");
inline const QString NoSuchAdapter = QStringLiteral("no-such-adapter");
inline const QString NoSuchProfile = QStringLiteral("no-such-profile");
inline const QString NotApplied = QStringLiteral("not-applied");
inline const QString NotAuthorized = QStringLiteral("not-authorized");
inline const QString OtherRequest = QStringLiteral("other-request");
inline const QString PlatformError = QStringLiteral("platform-error");
inline const QString PutBack = QStringLiteral("put-back");
inline const QString RecordUnwritable = QStringLiteral("record-unwritable");
inline const QString RemoteStarting = QStringLiteral("remote-starting");
inline const QString RemoteWaits = QStringLiteral("remote-waits");
inline const QString RevertedToDhcp = QStringLiteral("reverted-to-dhcp");
inline const QString RunEnded = QStringLiteral("run-ended");
inline const QString Saved = QStringLiteral("saved");
inline const QString SettingsUnreadable = QStringLiteral("settings-unreadable");
inline const QString SettingsUnwritable = QStringLiteral("settings-unwritable");
inline const QString SeveralAdapters = QStringLiteral("several-adapters");
inline const QString StillStarting = QStringLiteral("still-starting");
inline const QString Superseded = QStringLiteral("superseded");
inline const QString Unchanged = QStringLiteral("unchanged");
inline const QString UndoFailed = QStringLiteral("undo-failed");
inline const QString Undone = QStringLiteral("undone");
inline const QString WouldChange = QStringLiteral("would-change");
} // namespace AnswerCode
