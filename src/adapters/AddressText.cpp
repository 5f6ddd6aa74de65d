#include "adapters/AddressText.h"

#include "adapters/WmiAdapter.h"

#include <QStringList>
#include <bit>

namespace AddressText {

std::optional<quint32> octet(QStringView part) {
    if (part.isEmpty() || part.size() > 3)
        return std::nullopt;
    quint32 value = 0;
    for (const QChar c : part) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value > 255)
        return std::nullopt;
    return value;
}

std::optional<quint32> parse(QStringView text) {
    quint32 address = 0;
    int count = 0;
    for (const QStringView part : text.tokenize(u'.')) {
        const std::optional<quint32> value = octet(part);
        if (++count > 4 || !value)
            return std::nullopt;
        address = (address << 8) | *value;
    }
    if (count != 4)
        return std::nullopt;
    return address;
}

bool isMask(const QString &text) {
    const std::optional<quint32> mask = parse(text);
    return mask && isMask(*mask);
}

bool isMask(quint32 mask) {
    const quint32 inverted = ~mask;
    return (inverted & (inverted + 1)) == 0; // ones at the top, zeros below
}

int prefixLength(quint32 mask) {
    return std::popcount(mask);
}

QString format(quint32 address) {
    // Written digit by digit: an import formats hundreds of thousands of addresses.
    char16_t text[15];
    int length = 0;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const unsigned octet = (address >> shift) & 0xFF;
        if (octet >= 100)
            text[length++] = char16_t(u'0' + octet / 100);
        if (octet >= 10)
            text[length++] = char16_t(u'0' + octet / 10 % 10);
        text[length++] = char16_t(u'0' + octet % 10);
        if (shift > 0)
            text[length++] = u'.';
    }
    return QString(reinterpret_cast<const QChar *>(text), length);
}

qint32 staticAddresses(const QStringList &IPAddress, const QStringList &SubnetMask,
                       QList<Prefixed> &out) {
    if (IPAddress.isEmpty() || IPAddress.size() != SubnetMask.size())
        return WmiResult::InvalidInputParameter;
    out.clear();
    for (qsizetype i = 0; i < IPAddress.size(); ++i) {
        const std::optional<quint32> address = parse(IPAddress[i]);
        if (!address)
            return WmiResult::InvalidIpAddress;
        if (!isMask(SubnetMask[i]))
            return WmiResult::InvalidSubnetMask;
        out.append({format(*address), prefixLength(*parse(SubnetMask[i]))});
    }
    return WmiResult::Success;
}

std::optional<QStringList> canonical(const QStringList &texts) {
    QStringList out;
    for (const QString &text : texts) {
        const std::optional<quint32> address = parse(text);
        if (!address)
            return std::nullopt;
        out.append(format(*address));
    }
    return out;
}

} // namespace AddressText
