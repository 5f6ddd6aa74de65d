#include "settings/IniNumbers.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace IniNumbers {

double leadingNumber(QStringView text) {
    std::string ascii;
    for (const QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r')
            continue;
        ascii.push_back(c.unicode() < 0x80 ? char(c.unicode()) : '?');
    }
    std::size_t i = 0;
    std::string number;
    if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-'))
        number.push_back(ascii[i++]);
    bool digits = false;
    while (i < ascii.size() && std::isdigit(static_cast<unsigned char>(ascii[i]))) {
        number.push_back(ascii[i++]);
        digits = true;
    }
    if (i < ascii.size() && ascii[i] == '.') {
        number.push_back(ascii[i++]);
        while (i < ascii.size() && std::isdigit(static_cast<unsigned char>(ascii[i]))) {
            number.push_back(ascii[i++]);
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    if (i < ascii.size() &&
        (ascii[i] == 'e' || ascii[i] == 'E' || ascii[i] == 'd' || ascii[i] == 'D')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < ascii.size() && (ascii[j] == '+' || ascii[j] == '-'))
            exponent.push_back(ascii[j++]);
        const std::size_t firstDigit = j;
        while (j < ascii.size() && std::isdigit(static_cast<unsigned char>(ascii[j])))
            exponent.push_back(ascii[j++]);
        if (j > firstDigit)
            number += exponent;
    }
    return std::strtod(number.c_str(), nullptr);
}

std::optional<qint16> toInt16(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // the default mode rounds halves to even
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

} // namespace IniNumbers
