#include "settings/ShownText.h"

#include <QJsonDocument>

namespace ShownText {

bool isBidiControl(char32_t c) {
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E ||
           c == 0x200F || c == 0x061C;
}

QString escaped(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code != u'\n' && c.category() == QChar::Other_Control)
            out += QStringLiteral("\\x%1").arg(uint(code), 2, 16, QLatin1Char('0'));
        else if (isBidiControl(code) || code == 0x2028 || code == 0x2029)
            out += QStringLiteral("\\u%1").arg(uint(code), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QByteArray oneLineJson(const QJsonObject &object) {
    QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Compact);
    // In UTF-8 these sequences occur only inside strings: JSON's own syntax is ASCII.
    json.replace("\xc2\x85", "\\u0085");
    json.replace("\xe2\x80\xa8", "\\u2028");
    json.replace("\xe2\x80\xa9", "\\u2029");
    return json.append('\n');
}

} // namespace ShownText
