#pragma once

#include "settings/IniCodec.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The text of one INI file and the edits made to it, kept so that every line an edit does
// not touch (comments, unknown sections, blank lines, odd spacing) is written back exactly
// as it was, byte for byte, and the file keeps its encoding and its line ends.
//
// Encodings, as a Turkish Windows system and Notepad write them:
// - UTF-16 (little or big endian) with its byte-order mark: read and written as UTF-16;
// - otherwise each line is read as UTF-8 when it is valid UTF-8 and as Windows-1254 when it
//   is not; the file is a Windows-1254 file when more of its non-ASCII lines are Windows-1254
//   than UTF-8, else a UTF-8 file (with its byte-order mark, if it had one). New and changed
//   lines are written in the file's encoding; a Windows-1254 file that has to hold a
//   character the code page lacks becomes a UTF-8 file (encodingChanged()). An empty or new
//   file is UTF-8.
// - Line ends: LF, CR LF or a CR alone end a line; new lines get the file's first line end,
//   CR LF in a file that has none. A DOS end-of-file mark (0x1A) at the very end is no part of
//   the text and stays where it is.
//
// Format rules:
// - a line whose first non-blank character is "[" starts a section; its name runs to the
//   first "]" (or the end of the line);
// - a line whose first non-blank character is ";" is a comment;
// - any other line with a "=" is a key: the name before the first "=", the value after it;
// - names and values are read without the blanks (spaces, tabs) around them, and a value
//   without one pair of matching quotes around it ("…" or '…'); a value that would lose a
//   pair of quotes is written inside one more;
// - names are compared without regard to letter case (IniCodec::foldName);
// - a section may appear more than once: its parts are read as one section, and the first
//   key of a name wins.
class IniDocument {
public:
    IniDocument() = default;

    // Decodes a file's bytes (see above).
    static IniDocument fromFileBytes(QByteArray bytes);
    // The bytes to store: untouched lines as they were, new ones in the file's encoding.
    QByteArray toFileBytes() const;

    IniCodec::Encoding encoding() const { return m_encoding; }
    // The file was a Windows-1254 file and had to become a UTF-8 file for an edit.
    bool encodingChanged() const { return m_encodingChanged; }
    QByteArrayView lineEnd() const { return m_eol; }

    // The value of the first key of that name in that section, if there is one.
    std::optional<QString> value(QStringView section, QStringView key) const;
    // Whether a header of the section is there (its keys may be none).
    bool hasSection(QStringView section) const;
    // Every key name of the section, in file order, each name once.
    QStringList keyNames(QStringView section) const;
    // Every key of the section with its value, in file order, each name once (its first key);
    // with `everyLine`, a name as often as it stands (an import judges them all).
    std::vector<std::pair<QString, QString>> keys(QStringView section,
                                                  bool everyLine = false) const;

    // Whether a name or value can be written so that it reads back unchanged. Returns the
    // reason (Turkish, for the user) when it cannot.
    static std::optional<QString> sectionNameProblem(QStringView section);
    static std::optional<QString> keyNameProblem(QStringView key);
    static std::optional<QString> valueProblem(QStringView value);

    // Edits. The names must have passed the checks above. Each returns whether the text
    // changed.
    bool setValue(QStringView section, QStringView key, QStringView value);
    // Many keys of one section in one pass over the text (an import of thousands): the same
    // text as setValue for each in turn. Returns, for each, whether it changed the text.
    std::vector<bool> setValues(QStringView section,
                                const std::vector<std::pair<QString, QString>> &entries);
    bool removeKey(QStringView section, QStringView key);
    bool removeSection(QStringView section);

private:
    // A line whose bytes in the file are not what the file's encoding makes of its text (a
    // Windows-1254 line in a UTF-8 file, or the other way round; a UTF-16 line with a lone
    // surrogate): written back as it was.
    struct ForeignLine {
        QByteArray text; // UTF-8, with its line end
        QByteArray raw;  // as the file holds it
    };
    // Adds the line's own bytes to `out` when it is an untouched foreign line (searched from
    // `next` on, which moves past it).
    bool foreignLine(QByteArrayView line, std::size_t &next, QByteArray &out) const;
    // After an edit that wrote `text`: a Windows-1254 file that cannot hold it becomes UTF-8.
    void keepEncodable(QByteArrayView text);

    QByteArray m_text; // UTF-8, without byte-order mark or end-of-file mark
    QByteArray m_eol = QByteArrayLiteral("\r\n");
    IniCodec::Encoding m_encoding = IniCodec::Encoding::Utf8;
    bool m_bom = false;     // a UTF-8 file with a byte-order mark (UTF-16 ones always have it)
    bool m_eofMark = false; // a DOS end-of-file mark closed the file
    bool m_encodingChanged = false;
    std::vector<ForeignLine> m_foreign; // in file order
};
