#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Line-by-line reading of INI text held as UTF-8 bytes. A line ends at LF, CR LF or a CR
// alone, as on Windows.
namespace IniLines {

struct Line {
    enum class Kind { Other, Section, Key };
    qsizetype start = 0;      // first byte of the line
    qsizetype contentEnd = 0; // end of the line's text, before its line end
    qsizetype next = 0;       // first byte of the following line
    Kind kind = Kind::Other;
    QByteArrayView name;  // section or key name, without surrounding blanks
    QByteArrayView value; // key value, without surrounding blanks (quotes are kept)
};

class Reader {
public:
    explicit Reader(QByteArrayView text) : m_text(text) {}
    // Reads the next line into `line`; false at the end of the text.
    bool next(Line &line);

private:
    QByteArrayView m_text;
    qsizetype m_pos = 0;
};

// Compares names from the text with one name, without regard to letter case.
class NameMatcher {
public:
    explicit NameMatcher(QStringView name);
    bool matches(QByteArrayView utf8Name) const;

private:
    QByteArray m_folded;
    bool m_ascii = true;
};

// The case-folded form of a name from the text, as UTF-8; equal for names that match.
QByteArray foldedKey(QByteArrayView utf8Name);

bool isAscii(QByteArrayView bytes);

// A value as Windows reads it: one pair of matching quotes ('…' or "…") around it removed.
QByteArrayView unquoted(QByteArrayView value);
// Whether a value would lose a pair of quotes when it is read back.
bool readsQuoted(QStringView value);

// A name without the blanks around it: spaces, tabs and CRs, as the reader takes them off.
QStringView trimBlanks(QStringView name);

// Decodes a name or value: UTF-8, keeping a leading U+FEFF (which QString::fromUtf8 drops).
QString decode(QByteArrayView utf8);

} // namespace IniLines
