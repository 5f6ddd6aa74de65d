#include "adapters/ProfileCheck.h"

#include "adapters/AddressText.h"
#include "settings/Text.h"

#include <array>
#include <span>

namespace ProfileCheck {

namespace {

constexpr int FieldCount = 5;
constexpr int Address = 0;
constexpr int Mask = 1;
constexpr int Gateway = 2;
constexpr int FirstDns = 3;
constexpr int SecondDns = 4;

// The field as the editor labels it, with what it is, in the language of the moment.
QString fieldName(int field) {
    constexpr std::array<const char *, FieldCount> names = {
        QT_TRANSLATE_NOOP("Text", "ZELVİ IP (bilgisayarın IP adresi)"),
        QT_TRANSLATE_NOOP("Text", "MASKE (alt ağ maskesi)"),
        QT_TRANSLATE_NOOP("Text", "MODEM IP (ağ geçidi)"),
        QT_TRANSLATE_NOOP("Text", "DNS 1"),
        QT_TRANSLATE_NOOP("Text", "DNS 2"),
    };
    return Text::tr(names[std::size_t(field)]);
}

// The field's four parts, as the stored value splits them at its dots.
QString fieldText(std::span<const QString> parts, int field) {
    return QStringList(parts.begin() + field * 4, parts.begin() + field * 4 + 4)
        .join(QLatin1Char('.'));
}

bool isBlank(std::span<const QString> parts, int field) {
    for (int i = field * 4; i < field * 4 + 4; ++i) {
        if (!parts[std::size_t(i)].trimmed().isEmpty())
            return false;
    }
    return true;
}

// The field's address, read from its four parts as AddressText::parse reads their join.
std::optional<quint32> fieldValue(std::span<const QString> parts, int field) {
    quint32 address = 0;
    for (int i = field * 4; i < field * 4 + 4; ++i) {
        const std::optional<quint32> octet = AddressText::octet(parts[std::size_t(i)]);
        if (!octet)
            return std::nullopt;
        address = (address << 8) | *octet;
    }
    return address;
}

QString refusal(int field, const QString &why) {
    return fieldName(field) + QStringLiteral(": ") + why;
}

// Why the address cannot be given to a computer, if it cannot.
std::optional<QString> unusableAddress(quint32 a) {
    const QString text = AddressText::format(a);
    if (a == 0)
        return Text::tr("0.0.0.0 bir bilgisayara verilemez.");
    if (a == 0xFFFFFFFFu)
        return Text::tr("255.255.255.255 genel yayın adresidir; bir bilgisayara verilemez.");
    if ((a >> 24) == 127)
        return Text::tr("%1 geri döngü (loopback) adresidir; bir ağ bağdaştırıcısına "
                        "verilemez.")
            .arg(text);
    if ((a >> 28) == 0xE)
        return Text::tr("%1 çok noktaya yayın (multicast) adresidir; bir bilgisayara "
                        "verilemez.")
            .arg(text);
    return std::nullopt;
}

} // namespace

Result check(const QStringList &ProfileParts) {
    if (ProfileParts.size() < FieldCount * 4) {
        Result r;
        r.refusal = Text::tr("Profilin kayıtlı adresleri eksik: 20 bölüm olmalı, %1 var.")
                        .arg(ProfileParts.size());
        return r;
    }
    return check(std::span<const QString, 20>(ProfileParts.constData(), FieldCount * 4));
}

Result check(std::span<const QString, 20> ProfileParts) {
    Result r;
    std::array<quint32, FieldCount> value{};
    for (int field = 0; field < FieldCount; ++field) {
        if (isBlank(ProfileParts, field)) {
            if (field == SecondDns)
                continue;
            r.refusal = refusal(field, Text::tr("boş bırakılmış."));
            return r;
        }
        const std::optional<quint32> parsed = fieldValue(ProfileParts, field);
        if (!parsed) {
            const QString text = fieldText(ProfileParts, field);
            r.refusal = refusal(field, Text::tr("\"%1\" geçerli bir adres değil; dört "
                                                "bölümün her biri 0 ile 255 arasında bir "
                                                "sayı olmalı.")
                                           .arg(text));
            return r;
        }
        value[field] = *parsed;
    }

    if (value[Mask] == 0 || !AddressText::isMask(value[Mask])) {
        r.refusal = refusal(Mask, Text::tr("%1 bir alt ağ maskesi olamaz; soldan "
                                           "kesintisiz 1 bitleri olmalı (örneğin "
                                           "255.255.255.0).")
                                      .arg(AddressText::format(value[Mask])));
        return r;
    }
    if (const std::optional<QString> why = unusableAddress(value[Address])) {
        r.refusal = refusal(Address, *why);
        return r;
    }
    // 0.0.0.0 is nobody: a gateway or server of 0.0.0.0 is a field left empty in effect.
    for (const int field : {Gateway, FirstDns}) {
        if (value[field] == 0) {
            r.refusal = refusal(field, Text::tr("0.0.0.0 bir adres değil; boş bırakılmış "
                                                "gibidir."));
            return r;
        }
    }

    const quint32 mask = value[Mask];
    const quint32 network = value[Address] & mask;
    const quint32 broadcast = network | ~mask;
    const QString subnet = QStringLiteral("%1/%2")
                               .arg(AddressText::format(network))
                               .arg(AddressText::prefixLength(mask));
    const QString address = AddressText::format(value[Address]);
    const QString gateway = AddressText::format(value[Gateway]);
    // Networks of two or one addresses have no network or broadcast address of their own.
    if (AddressText::prefixLength(mask) <= 30) {
        if (value[Address] == network)
            r.doubts.append(Text::tr("IP adresi %1, %2 alt ağının ağ adresidir; ağdaki "
                                     "cihazlar bu adrese ulaşamayabilir.")
                                .arg(address, subnet));
        else if (value[Address] == broadcast)
            r.doubts.append(Text::tr("IP adresi %1, %2 alt ağının yayın (broadcast) "
                                     "adresidir; ağdaki cihazlar bu adrese "
                                     "ulaşamayabilir.")
                                .arg(address, subnet));
    }
    if (value[Gateway] == value[Address])
        r.doubts.append(Text::tr("Modem IP (%1) bilgisayarın kendi IP adresiyle aynı; internete "
                                 "çıkılamaz.")
                            .arg(gateway));
    else if ((value[Gateway] & mask) != network)
        r.doubts.append(Text::tr("Modem IP %1, %2 alt ağının dışında; bilgisayar modeme "
                                 "ulaşamayabilir.")
                            .arg(gateway, subnet));
    return r;
}

QString doubtText(const QString &name, const QStringList &doubts) {
    QString text = Text::tr("\"%1\" profilinde büyük olasılıkla bir yazım hatası var:").arg(name);
    for (const QString &d : doubts)
        text += QStringLiteral("\n• ") + d;
    return text;
}

QString doubtQuestion(const QString &name, const QStringList &doubts) {
    return doubtText(name, doubts) + Text::tr("\n\nYine de uygulansın mı?");
}

} // namespace ProfileCheck
