#pragma once

#include <QString>

// Text from a file or a peer shown to a person: what must not reach a screen or a terminal as
// it is.
namespace ShownText {

// Characters that change the order in which text is displayed (U+202E and its kin).
bool isBidiControl(char32_t c);

// The text with its control characters (but the line break) and its bidirectional controls
// written as visible escapes ("\x1b", "\u202e"), for a terminal: a name cannot recolour it,
// move its cursor or reorder what follows.
QString escaped(const QString &text);

} // namespace ShownText
