#pragma once

#include "widgets/PlainLineEdit.h"

// One of the editor's twenty octet boxes. It takes digits only, at most three: typed
// characters go through NumericKeyFilter, pasted text is reduced to its digits. Backspace
// and the Left arrow at the start of the box move the focus backwards. Like every text box
// of the editor, it shows no focus frame and selects nothing when the focus arrives.
class AddressBox : public PlainLineEdit {
    Q_OBJECT

public:
    AddressBox(int index, QWidget *parent = nullptr);

    int index() const { return m_index; }
    // Inserts the digits of the clipboard's text at the caret, as many as fit.
    void pasteDigits();

Q_SIGNALS:
    // The box lost the focus to another control of the dialog.
    void focusLost(int index);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // Where the caret is as the box's rules see it: the start of the selection, if any.
    int caretPosition() const;
    // Moves the focus backwards after the current event, as Shift+Tab would.
    void moveFocusBackLater();
    // Inserts the digits of `text` at the caret, as many as fit.
    void insertDigits(const QString &text);

    int m_index;
};
