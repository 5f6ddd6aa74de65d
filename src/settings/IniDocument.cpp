#include "settings/IniDocument.h"

#include "settings/FoldedNameSet.h"
#include "settings/IniCodec.h"
#include "settings/IniLines.h"
#include "settings/Text.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>
#include <utility>
#include <vector>

using IniLines::Line;

namespace {

const QByteArray kBom = QByteArrayLiteral("\xEF\xBB\xBF");
constexpr char kEofMark = '\x1A';
constexpr char16_t kEofMarkChar = u'\x1A';

// Calls f(content, content with its line end) for every line, as the reader splits them.
template <typename F> void forEachRawLine(QByteArrayView text, F &&f) {
    IniLines::Reader reader(text);
    Line line;
    while (reader.next(line))
        f(text.sliced(line.start, line.contentEnd - line.start),
          text.sliced(line.start, line.next - line.start));
}

// The first line end of the text, or CR LF (as Windows writes) when it has none.
QByteArray firstLineEnd(QByteArrayView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\n')
            return QByteArrayLiteral("\n");
        if (text[i] == '\r')
            return i + 1 < text.size() && text[i + 1] == '\n' ? QByteArrayLiteral("\r\n")
                                                              : QByteArrayLiteral("\r");
    }
    return QByteArrayLiteral("\r\n");
}

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
    const QByteArray name = IniLines::trimBlanks(key).toUtf8();
    // A value that would lose its quotes when read goes inside one more pair (as read: the
    // blanks around it are no part of it).
    const QStringView trimmed = IniLines::trimBlanks(value);
    if (IniLines::readsQuoted(trimmed))
        return name + "=\"" + trimmed.toUtf8() + '"';
    return name + '=' + value.toUtf8();
}

} // namespace

IniDocument IniDocument::fromFileBytes(QByteArray bytes) {
    using IniCodec::Encoding;
    IniDocument doc;
    const bool le = bytes.startsWith("\xFF\xFE");
    if (le || bytes.startsWith("\xFE\xFF")) {
        doc.m_encoding = le ? Encoding::Utf16LE : Encoding::Utf16BE;
        QByteArrayView rest = QByteArrayView(bytes).sliced(2); // without the mark
        const QByteArrayView eofMark =
            le ? QByteArrayView("\x1A\0", 2) : QByteArrayView("\0\x1A", 2);
        if (rest.size() % 2 == 0 && rest.endsWith(eofMark)) {
            doc.m_eofMark = true;
            rest.chop(2);
        }
        // Line by line: a line that does not come back as it was (a lone surrogate) keeps its
        // bytes.
        const auto newline = [le](QByteArrayView unit) {
            return le ? unit[0] == '\n' && unit[1] == 0 : unit[0] == 0 && unit[1] == '\n';
        };
        qsizetype start = 0;
        for (qsizetype i = 0; i < rest.size(); i += 2) {
            const bool last = i + 2 >= rest.size();
            if (!last && !newline(rest.sliced(i, 2)))
                continue;
            const QByteArrayView raw = rest.sliced(start, (last ? rest.size() : i + 2) - start);
            // A second mark at the start of the file is text, not a mark.
            QStringDecoder decoder(le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                                   QStringDecoder::Flag::ConvertInitialBom);
            const QByteArray text = QString(decoder.decode(raw)).toUtf8();
            doc.m_text += text;
            QStringEncoder encoder(le ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE);
            // An odd byte at the end is not kept: a line after it would lose its alignment.
            if (raw.size() % 2 == 0 && QByteArray(encoder.encode(QString::fromUtf8(text))) != raw)
                doc.m_foreign.push_back({text, raw.toByteArray()});
            start = i + 2;
        }
    } else {
        if (bytes.startsWith(kBom)) {
            doc.m_bom = true;
            bytes.remove(0, kBom.size());
        }
        if (bytes.endsWith(kEofMark)) {
            doc.m_eofMark = true;
            bytes.chop(1);
        }
        if (IniCodec::isValidUtf8(bytes)) {
            doc.m_text = std::move(bytes);
        } else {
            // Line by line: a valid UTF-8 line is UTF-8, any other is Windows-1254.
            struct Decoded {
                qsizetype textStart;
                qsizetype textEnd;
                QByteArrayView raw;
                bool utf8;
            };
            std::vector<Decoded> nonAscii;
            qsizetype utf8Lines = 0;
            forEachRawLine(bytes, [&](QByteArrayView content, QByteArrayView withEnd) {
                const qsizetype start = doc.m_text.size();
                if (IniLines::isAscii(content)) {
                    doc.m_text += withEnd;
                    return;
                }
                const bool utf8 = IniCodec::isValidUtf8(content);
                utf8Lines += utf8 ? 1 : 0;
                doc.m_text += utf8 ? QByteArray(withEnd.data(), withEnd.size())
                                   : IniCodec::windows1254ToUtf8(withEnd);
                nonAscii.push_back({start, doc.m_text.size(), withEnd, utf8});
            });
            const bool cp1254 = !doc.m_bom && qsizetype(nonAscii.size()) - utf8Lines > utf8Lines;
            doc.m_encoding = cp1254 ? Encoding::Windows1254 : Encoding::Utf8;
            for (std::size_t i = 0; i < nonAscii.size(); ++i) {
                const Decoded &d = nonAscii[i];
                if (d.utf8 != cp1254)
                    continue; // the file's own encoding
                doc.m_foreign.push_back({doc.m_text.mid(d.textStart, d.textEnd - d.textStart),
                                         QByteArray(d.raw.data(), d.raw.size())});
            }
        }
    }
    doc.m_eol = firstLineEnd(doc.m_text);
    return doc;
}

bool IniDocument::foreignLine(QByteArrayView line, std::size_t &next, QByteArray &out) const {
    // An untouched foreign line keeps its bytes; lines are never reordered, so the search goes
    // on from the last one found.
    for (std::size_t i = next; i < m_foreign.size(); ++i) {
        if (m_foreign[i].text == line) {
            out += m_foreign[i].raw;
            next = i + 1;
            return true;
        }
    }
    return false;
}

QByteArray IniDocument::toFileBytes() const {
    using IniCodec::Encoding;
    const bool utf16 = m_encoding == Encoding::Utf16LE || m_encoding == Encoding::Utf16BE;
    if (utf16) {
        const bool le = m_encoding == Encoding::Utf16LE;
        QByteArray out = le ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
        std::size_t nextForeign = 0;
        forEachRawLine(m_text, [&](QByteArrayView, QByteArrayView line) {
            if (foreignLine(line, nextForeign, out))
                return;
            QStringEncoder encoder(le ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE);
            out += encoder.encode(IniLines::decode(line));
        });
        if (m_eofMark)
            out += le ? QByteArray("\x1A\0", 2) : QByteArray("\0\x1A", 2);
        return out;
    }
    QByteArray out = m_bom ? kBom : QByteArray();
    if (m_encoding == Encoding::Utf8 && m_foreign.empty()) {
        out += m_text;
    } else {
        out.reserve(out.size() + m_text.size());
        std::size_t nextForeign = 0;
        forEachRawLine(m_text, [&](QByteArrayView, QByteArrayView line) {
            if (foreignLine(line, nextForeign, out))
                return;
            if (m_encoding == Encoding::Windows1254)
                out += IniCodec::utf8ToWindows1254(line).value_or(
                    QByteArray(line.data(), line.size()));
            else
                out += line;
        });
    }
    if (m_eofMark)
        out += kEofMark;
    return out;
}

void IniDocument::keepEncodable(QByteArrayView text) {
    if (m_encoding != IniCodec::Encoding::Windows1254)
        return;
    // Every line must have Windows-1254 bytes that are not UTF-8 as well, or it would read
    // back as UTF-8.
    bool fits = true;
    forEachRawLine(text, [&](QByteArrayView content, QByteArrayView) {
        const std::optional<QByteArray> bytes = IniCodec::utf8ToWindows1254(content);
        fits = fits && bytes && (IniLines::isAscii(*bytes) || !IniCodec::isValidUtf8(*bytes));
    });
    if (fits)
        return;
    m_encoding = IniCodec::Encoding::Utf8;
    m_encodingChanged = true;
    m_foreign.clear(); // every line is written in UTF-8 now
}

std::optional<QString> IniDocument::value(QStringView section, QStringView key) const {
    const IniLines::NameMatcher keyName(key);
    std::optional<QString> found;
    forEachLine(m_text, section, [&](const Line &line, bool inSection) {
        if (inSection && line.kind == Line::Kind::Key && keyName.matches(line.name)) {
            found = IniLines::decode(IniLines::unquoted(line.value));
            return false;
        }
        return true;
    });
    return found;
}

bool IniDocument::hasSection(QStringView section) const {
    bool found = false;
    forEachLine(m_text, section, [&](const Line &, bool inSection) {
        found = inSection;
        return !found;
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

std::vector<std::pair<QString, QString>> IniDocument::keys(QStringView section,
                                                           bool everyLine) const {
    std::vector<std::pair<QString, QString>> found;
    FoldedNameSet seen;
    forEachLine(m_text, section, [&](const Line &line, bool inSection) {
        if (inSection && line.kind == Line::Kind::Key && (everyLine || seen.insert(line.name)))
            found.emplace_back(IniLines::decode(line.name),
                               IniLines::decode(IniLines::unquoted(line.value)));
        return true;
    });
    return found;
}

std::optional<QString> IniDocument::sectionNameProblem(QStringView section) {
    if (IniLines::trimBlanks(section).isEmpty())
        return Text::tr("Bölüm adı boş olamaz.");
    if (section.contains(QLatin1Char(']')))
        return Text::tr("Bölüm adı \"]\" işareti içeremez.");
    if (hasLineBreak(section))
        return Text::tr("Bölüm adı satır sonu içeremez.");
    if (hasNul(section))
        return Text::tr("Bölüm adı NUL karakteri içeremez.");
    return std::nullopt;
}

std::optional<QString> IniDocument::keyNameProblem(QStringView key) {
    const QStringView name = IniLines::trimBlanks(key);
    if (name.isEmpty())
        return Text::tr("Ad boş olamaz.");
    if (name.contains(QLatin1Char('=')))
        return Text::tr("Ad \"=\" işareti içeremez.");
    if (hasLineBreak(name))
        return Text::tr("Ad satır sonu içeremez.");
    if (hasNul(name))
        return Text::tr("Ad NUL karakteri içeremez.");
    if (name.startsWith(QLatin1Char('[')))
        return Text::tr("Ad \"[\" işareti ile başlayamaz.");
    if (name.startsWith(QLatin1Char(';')))
        return Text::tr("Ad \";\" işareti ile başlayamaz.");
    return std::nullopt;
}

std::optional<QString> IniDocument::valueProblem(QStringView value) {
    if (hasLineBreak(value))
        return Text::tr("Değer satır sonu içeremez.");
    if (hasNul(value))
        return Text::tr("Değer NUL karakteri içeremez.");
    if (value.contains(QChar(kEofMarkChar)))
        return Text::tr("Değer dosya sonu işareti (Ctrl+Z, kod 26) içeremez.");
    return std::nullopt;
}

bool IniDocument::setValue(QStringView section, QStringView key, QStringView value) {
    return setValues(section, {{key.toString(), value.toString()}}).front();
}

std::vector<bool> IniDocument::setValues(QStringView section,
                                         const std::vector<std::pair<QString, QString>> &entries) {
    // One walk finds each name's first key line and where new keys go, as setValue would.
    struct Place {
        qsizetype start = -1; // of the line's content; -1: one of the new lines
        qsizetype end = 0;    // the content's end, or the new line's index
    };
    QHash<QByteArray, Place> places;
    places.reserve(qsizetype(entries.size())); // grown once, not rehashed as it fills
    qsizetype insertAt = -1;
    bool firstPartDone = false;
    forEachLine(m_text, section, [&](const Line &line, bool inSection) {
        if (line.kind == Line::Kind::Section && insertAt >= 0)
            firstPartDone = true;
        if (!inSection)
            return true;
        if (line.kind == Line::Kind::Section) {
            if (insertAt < 0)
                insertAt = line.next;
        } else if (line.kind == Line::Kind::Key) {
            const QByteArray folded = IniLines::foldedKey(line.name);
            if (!places.contains(folded)) // the first key of a name is the one read
                places.insert(folded, Place{line.start, line.contentEnd});
            if (!firstPartDone)
                insertAt = line.next;
        }
        return true;
    });
    std::vector<bool> changed(entries.size(), false);
    QMap<qsizetype, std::pair<qsizetype, QByteArray>> replaced; // start -> (end, new content)
    QList<QByteArray> added;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const QByteArray newLine = keyLine(entries[i].first, entries[i].second);
        const QByteArray folded =
            IniLines::foldedKey(IniLines::trimBlanks(entries[i].first).toUtf8());
        const auto it = places.constFind(folded);
        if (it == places.cend()) {
            places.insert(folded, Place{-1, added.size()});
            added.append(newLine);
            changed[i] = true;
        } else if (it->start < 0) {
            changed[i] = added[it->end] != newLine;
            added[it->end] = newLine;
        } else {
            const auto done = replaced.constFind(it->start);
            const QByteArray now = done != replaced.cend()
                                       ? done->second
                                       : m_text.sliced(it->start, it->end - it->start);
            changed[i] = now != newLine;
            if (changed[i])
                replaced.insert(it->start, {it->end, newLine});
        }
    }
    QByteArray insertion;
    qsizetype length = 0;
    for (const QByteArray &line : added)
        length += line.size() + m_eol.size();
    insertion.reserve(length);
    for (const QByteArray &line : added)
        insertion.append(line).append(m_eol);
    if (!added.isEmpty() && insertAt < 0) {
        insertAt = m_text.size();
        insertion.prepend('[' + IniLines::trimBlanks(section).toUtf8() + ']' + m_eol);
    }
    if (!added.isEmpty() && insertAt == m_text.size() && !m_text.isEmpty() &&
        !m_text.endsWith('\n') && !m_text.endsWith('\r'))
        insertion.prepend(m_eol);
    if (replaced.isEmpty() && insertion.isEmpty())
        return changed;
    // The new text in one pass; the new keys go before a line that starts where they go.
    QByteArray text;
    text.reserve(m_text.size() + insertion.size());
    QByteArray newBytes = insertion;
    qsizetype from = 0;
    const auto insertUpTo = [&](qsizetype position) {
        if (insertion.isEmpty() || insertAt > position)
            return;
        text += QByteArrayView(m_text).sliced(from, insertAt - from);
        text += insertion;
        from = insertAt;
        insertion.clear();
    };
    for (auto it = replaced.cbegin(); it != replaced.cend(); ++it) {
        insertUpTo(it.key());
        text += QByteArrayView(m_text).sliced(from, it.key() - from);
        text += it->second;
        newBytes += it->second + m_eol;
        from = it->first;
    }
    insertUpTo(m_text.size());
    text += QByteArrayView(m_text).sliced(from);
    m_text = std::move(text);
    keepEncodable(newBytes);
    return changed;
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
