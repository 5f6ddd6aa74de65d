#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// Text encodings of settings files: UTF-8, Windows-1254 (the code page of a Turkish Windows
// system), and UTF-16 with a byte-order mark (Notepad's "Unicode").
namespace IniCodec {

enum class Encoding { Utf8, Windows1254, Utf16LE, Utf16BE };

bool isValidUtf8(QByteArrayView bytes);

// Converts Windows-1254 bytes to UTF-8. Bytes the code page leaves undefined keep their
// own code point, so nothing is lost.
QByteArray windows1254ToUtf8(QByteArrayView bytes);
// The reverse: nothing when a character has no Windows-1254 byte. For every byte string b,
// utf8ToWindows1254(windows1254ToUtf8(b)) is b again.
std::optional<QByteArray> utf8ToWindows1254(QByteArrayView utf8);

// Case-insensitive form of a section or key name: Unicode case folding, with the Turkish
// capital dotted I folded to a plain i so that "İ" and "i" are one letter as well.
QString foldName(QStringView name);

} // namespace IniCodec
