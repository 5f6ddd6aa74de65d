#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

// Text from a file or a peer shown to a person: what must not reach a screen or a terminal as
// it is.
namespace ShownText {

// Characters that change the order in which text is displayed (U+202E and its kin).
bool isBidiControl(char32_t c);

// The text with its control characters (but the line break) and its bidirectional controls
// written as visible escapes ("\x1b", "\u202e"), for a terminal: a name cannot recolour it,
// move its cursor or reorder what follows.
// Unicode's own line and paragraph separators (U+2028, U+2029) are escaped too ("\u2028"): a
// reader of another format (YAML, a script splitting lines) ends a line there.
QString escaped(const QString &text);

// Compact JSON on one line for every reader: NEL (U+0085) and U+2028/U+2029, which JSON leaves
// raw in strings, are written as escapes, so a reader that splits lines there cannot cut an
// answer in two. Ends with a line break.
QByteArray oneLineJson(const QJsonObject &object);

} // namespace ShownText
