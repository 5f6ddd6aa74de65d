#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Text encoding of settings files. Files are written in UTF-8; a file that is not valid
// UTF-8 was written on a Turkish Windows system and is read as Windows-1254.
namespace IniCodec {

bool isValidUtf8(QByteArrayView bytes);

// Converts Windows-1254 bytes to UTF-8. Bytes the code page leaves undefined keep their
// own code point, so nothing is lost.
QByteArray windows1254ToUtf8(QByteArrayView bytes);

// Case-insensitive form of a section or key name: Unicode case folding, with the Turkish
// capital dotted I folded to a plain i so that "İ" and "i" are one letter as well.
QString foldName(QStringView name);

} // namespace IniCodec
