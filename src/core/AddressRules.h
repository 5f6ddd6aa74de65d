#pragma once

#include "settings/modNetProfiles.h"

#include <QString>
#include <QtGlobal>
#include <array>
#include <optional>

// Decisions of the twenty address boxes and the editor's input check, apart from any widget.
namespace AddressRules {

constexpr int MaxOctetLength = 3;
constexpr int FirstMaskBox = 4;
constexpr int LastIpBox = 3;
constexpr int RequiredBoxes = 16; // the second DNS server may stay blank

// Character codes the boxes and the name box treat specially.
constexpr qint16 Backspace = 8;
constexpr qint16 Enter = 13;
constexpr qint16 Period = 46;

// The character an address box takes, given the code NumericKeyFilter let through: Enter
// and "." are dropped too (0), so only digits and control characters reach the box.
qint16 addressCharacter(qint16 filtered);

// What a key press does before the box acts on it.
enum class KeyDownAction {
    None,
    CaretToEnd,    // Backspace on a selection: deselect, caret after the last character
    DropSelection, // Left arrow on a selection at position 0: deselect, caret stays
    MoveFocusBack, // Left arrow at position 0 of a box after the first
};
enum class Key { Backspace, Left, Other };
KeyDownAction keyDown(Key key, int index, int selectionStart, int selectionLength);

// Text pasted into a box: its ASCII digits, at most `room` of them.
QString pastedDigits(const QString &text, int room);

// The mask rule, applied when the fourth octet of the address loses the focus with text in
// it: a class A, B or C first octet proposes its mask; 127 and above 223 send the user
// back to the first octet. An empty or non-numeric first octet changes nothing.
struct MaskDecision {
    enum class Action { None, SetMask, FocusFirstOctet };
    Action action = Action::None;
    std::array<QString, 4> mask;
};
MaskDecision maskRule(const QString &firstOctet);

// -1 when the input may be saved; -2 when the name is blank; otherwise the index of the
// first blank required box. Blank means empty once spaces are trimmed.
int VerificaCampi(const QString &name, const modNetProfiles::ProfileFields &fields);

// The first box whose number is above 255, or -1. Such a part cannot be an address part.
int firstOctetAbove255(const modNetProfiles::ProfileFields &fields);

// The name of a row of boxes (0 the address … 4 the second DNS server), as the editor shows it.
QString rowName(int row);

// What is wrong with box `index`, naming its row and place, for the user.
QString octetTooLargeText(int index, const QString &text);

} // namespace AddressRules
