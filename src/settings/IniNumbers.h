#pragma once

#include <QStringView>
#include <QtGlobal>
#include <optional>

// Number conversions of settings values.
namespace IniNumbers {

// The leading decimal number of a text: blanks anywhere are skipped, "." is the decimal
// point, an exponent (E or D) is allowed; 0 when the text does not begin with a number.
double leadingNumber(QStringView text);

// Rounds to the nearest integer, halves to the even neighbour; nothing when the result
// lies outside -32768 ... 32767.
std::optional<qint16> toInt16(double value);

} // namespace IniNumbers
