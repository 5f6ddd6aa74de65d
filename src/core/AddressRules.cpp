#include "core/AddressRules.h"

#include "settings/Text.h"

#include <algorithm>

namespace AddressRules {

namespace {

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Blank as the input check sees it: nothing left once spaces are taken off both ends.
bool isBlank(const QString &text) {
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text.at(b) == u' ')
        ++b;
    while (e > b && text.at(e - 1) == u' ')
        --e;
    return b == e;
}

} // namespace

qint16 addressCharacter(qint16 filtered) {
    return (filtered == Enter || filtered == Period) ? qint16(0) : filtered;
}

KeyDownAction keyDown(Key key, int index, int selectionStart, int selectionLength) {
    if (key == Key::Backspace)
        return selectionLength > 0 ? KeyDownAction::CaretToEnd : KeyDownAction::None;
    if (key == Key::Left && selectionStart == 0 && index > 0)
        return selectionLength > 0 ? KeyDownAction::DropSelection : KeyDownAction::MoveFocusBack;
    return KeyDownAction::None;
}

QString pastedDigits(const QString &text, int room) {
    QString digits;
    for (const QChar c : text) {
        if (digits.size() >= room)
            break;
        if (isAsciiDigit(c))
            digits.append(c);
    }
    return digits;
}

MaskDecision maskRule(const QString &firstOctet) {
    MaskDecision d;
    const QString text = firstOctet.trimmed();
    if (text.isEmpty() || !std::all_of(text.begin(), text.end(), isAsciiDigit))
        return d; // nothing to go by: leave the mask as it is
    const int m = text.toInt();
    if (m == 127 || m > 223) {
        d.action = MaskDecision::Action::FocusFirstOctet;
    } else if (m >= 1 && m <= 126) {
        d.action = MaskDecision::Action::SetMask;
        d.mask = {QStringLiteral("255"), QStringLiteral("0"), QStringLiteral("0"),
                  QStringLiteral("0")};
    } else if (m >= 128 && m <= 191) {
        d.action = MaskDecision::Action::SetMask;
        d.mask = {QStringLiteral("255"), QStringLiteral("255"), QStringLiteral("0"),
                  QStringLiteral("0")};
    } else if (m >= 192 && m <= 223) {
        d.action = MaskDecision::Action::SetMask;
        d.mask = {QStringLiteral("255"), QStringLiteral("255"), QStringLiteral("255"),
                  QStringLiteral("0")};
    }
    return d;
}

int VerificaCampi(const QString &name, const modNetProfiles::ProfileFields &fields) {
    if (isBlank(name))
        return -2;
    for (int i = 0; i < RequiredBoxes; ++i) {
        if (isBlank(fields[i]))
            return i;
    }
    return -1;
}

int firstOctetAbove255(const modNetProfiles::ProfileFields &fields) {
    for (int i = 0; i < modNetProfiles::FieldCount; ++i) {
        const QString text = fields[i].trimmed();
        if (!text.isEmpty() && std::all_of(text.begin(), text.end(), isAsciiDigit) &&
            text.toInt() > 255)
            return i;
    }
    return -1;
}

QString rowName(int row) {
    static const std::array<const char *, 5> rows = {
        QT_TRANSLATE_NOOP("Text", "ZELVİ IP"), QT_TRANSLATE_NOOP("Text", "MASKE"),
        QT_TRANSLATE_NOOP("Text", "MODEM IP"), QT_TRANSLATE_NOOP("Text", "DNS 1"),
        QT_TRANSLATE_NOOP("Text", "DNS 2")};
    return Text::tr(rows[std::size_t(row)]);
}

QString octetTooLargeText(int index, const QString &text) {
    return Text::tr("%1 satırının %2. kutusunda %3 yazıyor; adresin her bölümü 0 ile 255 "
                    "arasında olmalı.")
        .arg(rowName(index / 4))
        .arg(index % 4 + 1)
        .arg(text);
}

} // namespace AddressRules
