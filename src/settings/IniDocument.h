#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

// The text of one INI file and the edits made to it, kept as the file's own bytes (in
// UTF-8) so that every line an edit does not touch (comments, unknown sections, blank
// lines, odd spacing) is written back exactly as it was.
//
// Format rules:
// - a line whose first non-blank character is "[" starts a section; its name runs to the
//   first "]" (or the end of the line);
// - a line whose first non-blank character is ";" is a comment;
// - any other line with a "=" is a key: the name before the first "=", the value after it;
// - names and values are read without the blanks (spaces, tabs) around them;
// - names are compared without regard to letter case (IniCodec::foldName);
// - a section may appear more than once: its parts are read as one section, and the first
//   key of a name wins.
class IniDocument {
public:
    IniDocument() = default;

    // Decodes a file's bytes: a UTF-8 byte-order mark is dropped (and written back); bytes
    // that are not valid UTF-8 are read as Windows-1254.
    static IniDocument fromFileBytes(QByteArray bytes);
    // The bytes to store: UTF-8, with the file's line ends for new lines.
    QByteArray toFileBytes() const;

    bool wasConverted() const { return m_converted; }
    QByteArrayView lineEnd() const { return m_eol; }

    // The value of the first key of that name in that section, if there is one.
    std::optional<QString> value(QStringView section, QStringView key) const;
    // Every key name of the section, in file order, each name once.
    QStringList keyNames(QStringView section) const;

    // Whether a name or value can be written so that it reads back unchanged. Returns the
    // reason (Turkish, for the user) when it cannot.
    static std::optional<QString> sectionNameProblem(QStringView section);
    static std::optional<QString> keyNameProblem(QStringView key);
    static std::optional<QString> valueProblem(QStringView value);

    // Edits. The names must have passed the checks above. Each returns whether the text
    // changed.
    bool setValue(QStringView section, QStringView key, QStringView value);
    bool removeKey(QStringView section, QStringView key);
    bool removeSection(QStringView section);

private:
    QByteArray m_text; // UTF-8, without byte-order mark
    QByteArray m_eol = QByteArrayLiteral("\n");
    bool m_bom = false;
    bool m_converted = false;
};
