#include "settings/IniLines.h"

#include "settings/IniCodec.h"

#include <QStringDecoder>
#include <cstring>

namespace IniLines {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

QByteArrayView trimmed(QByteArrayView v) {
    qsizetype b = 0;
    qsizetype e = v.size();
    while (b < e && isBlank(v[b]))
        ++b;
    while (e > b && isBlank(v[e - 1]))
        --e;
    return v.sliced(b, e - b);
}

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}

} // namespace

bool isAscii(QByteArrayView bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

QStringView trimBlanks(QStringView name) {
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\r'; };
    qsizetype b = 0;
    qsizetype e = name.size();
    while (b < e && blank(name[b]))
        ++b;
    while (e > b && blank(name[e - 1]))
        --e;
    return name.sliced(b, e - b);
}

QString decode(QByteArrayView utf8) {
    if (utf8.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return decoder.decode(utf8);
    }
    return QString::fromUtf8(utf8);
}

bool Reader::next(Line &line) {
    const qsizetype size = m_text.size();
    if (m_pos >= size)
        return false;
    line = Line{};
    line.start = m_pos;
    // A line ends at LF, CR LF or a CR alone.
    qsizetype end = m_pos;
    while (end < size && m_text[end] != '\n' && m_text[end] != '\r')
        ++end;
    line.contentEnd = end;
    if (end >= size)
        line.next = size;
    else if (m_text[end] == '\r' && end + 1 < size && m_text[end + 1] == '\n')
        line.next = end + 2;
    else
        line.next = end + 1;
    m_pos = line.next;

    const QByteArrayView content = trimmed(m_text.sliced(line.start, end - line.start));
    if (content.isEmpty() || content.front() == ';')
        return true;
    if (content.front() == '[') {
        const QByteArrayView rest = content.sliced(1);
        const qsizetype close = rest.indexOf(']');
        if (close >= 0) { // without its closing bracket it is no section header
            line.kind = Line::Kind::Section;
            line.name = trimmed(rest.first(close));
            return true;
        }
    }
    const qsizetype eq = content.indexOf('=');
    if (eq <= 0)
        return true;
    line.name = trimmed(content.first(eq));
    if (line.name.isEmpty())
        return true;
    line.kind = Line::Kind::Key;
    line.value = trimmed(content.sliced(eq + 1));
    return true;
}

QByteArrayView unquoted(QByteArrayView value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

bool readsQuoted(QStringView value) {
    return value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
           value.back() == value.front();
}

NameMatcher::NameMatcher(QStringView name)
    : m_folded(IniCodec::foldName(trimBlanks(name)).toUtf8()), m_ascii(isAscii(m_folded)) {}

bool NameMatcher::matches(QByteArrayView utf8Name) const {
    if (isAscii(utf8Name)) {
        if (!m_ascii || utf8Name.size() != m_folded.size())
            return false;
        for (qsizetype i = 0; i < utf8Name.size(); ++i) {
            if (asciiLower(utf8Name[i]) != m_folded[i])
                return false;
        }
        return true;
    }
    return foldedKey(utf8Name) == m_folded;
}

QByteArray foldedKey(QByteArrayView utf8Name) {
    if (isAscii(utf8Name)) {
        QByteArray out(utf8Name.data(), utf8Name.size());
        for (char &c : out)
            c = asciiLower(c);
        return out;
    }
    return IniCodec::foldName(decode(utf8Name)).toUtf8();
}

} // namespace IniLines
