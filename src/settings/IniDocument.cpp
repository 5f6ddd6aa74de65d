#include "IniDocument.h"

#include "FoldedNameSet.h"
#include "IniCodec.h"
#include "IniLines.h"

#include <QSet>
#include <utility>
#include <vector>

using IniLines::Line;

namespace {

const QByteArray kBom = QByteArrayLiteral("\xEF\xBB\xBF");

bool hasLineBreak(QStringView s) {
    return s.contains(QLatin1Char('\r')) || s.contains(QLatin1Char('\n'));
}

bool hasNul(QStringView s) {
    return s.contains(QChar(0));
}

// Walks the lines of the text and reports, for each, whether it belongs to the section.
template <typename F> void forEachLine(QByteArrayView text, QStringView section, F &&f) {
    const IniLines::NameMatcher sectionName(section);
    IniLines::Reader reader(text);
    Line line;
    bool inSection = false;
    while (reader.next(line)) {
        if (line.kind == Line::Kind::Section)
            inSection = sectionName.matches(line.name);
        if (!f(line, inSection))
            return;
    }
}

QByteArray keyLine(QStringView key, QStringView value) {
    return IniLines::trimBlanks(key).toUtf8() + '=' + value.toUtf8();
}

} // namespace

IniDocument IniDocument::fromFileBytes(QByteArray bytes) {
    IniDocument doc;
    if (bytes.startsWith(kBom)) {
        doc.m_bom = true;
        bytes.remove(0, kBom.size());
    }
    if (!IniCodec::isValidUtf8(bytes)) {
        bytes = IniCodec::windows1254ToUtf8(bytes);
        doc.m_converted = true;
    }
    const qsizetype nl = bytes.indexOf('\n');
    if (nl > 0 && bytes[nl - 1] == '\r')
        doc.m_eol = QByteArrayLiteral("\r\n");
    doc.m_text = std::move(bytes);
    return doc;
}

QByteArray IniDocument::toFileBytes() const {
    return m_bom ? kBom + m_text : m_text;
}

std::optional<QString> IniDocument::value(QStringView section, QStringView key) const {
    const IniLines::NameMatcher keyName(key);
    std::optional<QString> found;
    forEachLine(m_text, section, [&](const Line &line, bool inSection) {
        if (inSection && line.kind == Line::Kind::Key && keyName.matches(line.name)) {
            found = IniLines::decode(line.value);
            return false;
        }
        return true;
    });
    return found;
}

QStringList IniDocument::keyNames(QStringView section) const {
    QStringList names;
    FoldedNameSet seen;
    forEachLine(m_text, section, [&](const Line &line, bool inSection) {
        if (inSection && line.kind == Line::Kind::Key && seen.insert(line.name))
            names.append(IniLines::decode(line.name));
        return true;
    });
    return names;
}

std::optional<QString> IniDocument::sectionNameProblem(QStringView section) {
    if (IniLines::trimBlanks(section).isEmpty())
        return QStringLiteral("Bölüm adı boş olamaz.");
    if (section.contains(QLatin1Char(']')))
        return QStringLiteral("Bölüm adı \"]\" işareti içeremez.");
    if (hasLineBreak(section))
        return QStringLiteral("Bölüm adı satır sonu içeremez.");
    if (hasNul(section))
        return QStringLiteral("Bölüm adı boş karakter (NUL, kod 0) içeremez.");
    return std::nullopt;
}

std::optional<QString> IniDocument::keyNameProblem(QStringView key) {
    const QStringView name = IniLines::trimBlanks(key);
    if (name.isEmpty())
        return QStringLiteral("Ad boş olamaz.");
    if (name.contains(QLatin1Char('=')))
        return QStringLiteral("Ad \"=\" işareti içeremez.");
    if (hasLineBreak(name))
        return QStringLiteral("Ad satır sonu içeremez.");
    if (hasNul(name))
        return QStringLiteral("Ad boş karakter (NUL, kod 0) içeremez.");
    if (name.startsWith(QLatin1Char('[')))
        return QStringLiteral("Ad \"[\" işareti ile başlayamaz.");
    if (name.startsWith(QLatin1Char(';')))
        return QStringLiteral("Ad \";\" işareti ile başlayamaz.");
    return std::nullopt;
}

std::optional<QString> IniDocument::valueProblem(QStringView value) {
    if (hasLineBreak(value))
        return QStringLiteral("Değer satır sonu içeremez.");
    if (hasNul(value))
        return QStringLiteral("Değer boş karakter (NUL, kod 0) içeremez.");
    return std::nullopt;
}

bool IniDocument::setValue(QStringView section, QStringView key, QStringView value) {
    const IniLines::NameMatcher keyName(key);
    const QByteArray newLine = keyLine(key, value);
    qsizetype insertAt = -1; // after the last key of the first part of the section
    bool firstPartDone = false;
    bool changed = false;
    bool done = false;
    forEachLine(m_text, section, [&](const Line &line, bool inSection) {
        if (line.kind == Line::Kind::Section && insertAt >= 0)
            firstPartDone = true;
        if (!inSection)
            return true;
        if (line.kind == Line::Kind::Section) {
            if (insertAt < 0)
                insertAt = line.next;
            return true;
        }
        if (line.kind != Line::Kind::Key)
            return true;
        if (keyName.matches(line.name)) {
            const qsizetype length = line.contentEnd - line.start;
            changed = QByteArrayView(m_text).sliced(line.start, length) != newLine;
            if (changed)
                m_text.replace(line.start, length, newLine);
            done = true;
            return false;
        }
        if (!firstPartDone)
            insertAt = line.next;
        return true;
    });
    if (done)
        return changed;

    QByteArray insertion;
    if (insertAt < 0) {
        insertAt = m_text.size();
        insertion = '[' + IniLines::trimBlanks(section).toUtf8() + ']' + m_eol;
    }
    insertion += newLine + m_eol;
    if (insertAt == m_text.size() && !m_text.isEmpty() && !m_text.endsWith('\n'))
        insertion.prepend(m_eol);
    m_text.insert(insertAt, insertion);
    return true;
}

bool IniDocument::removeKey(QStringView section, QStringView key) {
    const IniLines::NameMatcher keyName(key);
    std::vector<std::pair<qsizetype, qsizetype>> ranges;
    forEachLine(m_text, section, [&](const Line &line, bool inSection) {
        if (inSection && line.kind == Line::Kind::Key && keyName.matches(line.name))
            ranges.emplace_back(line.start, line.next);
        return true;
    });
    for (auto it = ranges.rbegin(); it != ranges.rend(); ++it)
        m_text.remove(it->first, it->second - it->first);
    return !ranges.empty();
}

bool IniDocument::removeSection(QStringView section) {
    std::vector<std::pair<qsizetype, qsizetype>> ranges;
    bool open = false;
    forEachLine(m_text, section, [&](const Line &line, bool inSection) {
        if (line.kind == Line::Kind::Section) {
            if (open)
                ranges.back().second = line.start;
            open = inSection;
            if (inSection)
                ranges.emplace_back(line.start, m_text.size());
        }
        return true;
    });
    for (auto it = ranges.rbegin(); it != ranges.rend(); ++it)
        m_text.remove(it->first, it->second - it->first);
    return !ranges.empty();
}
