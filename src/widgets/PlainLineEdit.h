#pragma once

#include <QLineEdit>

// A text box of the editor that looks the same whether it has the focus or not, and whose
// text is never selected just because the focus arrived (by Tab, Shift+Tab or on opening):
// typing then adds to the text instead of replacing it. The caret stands after the text.
class PlainLineEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit PlainLineEdit(QWidget *parent = nullptr);

protected:
    void focusInEvent(QFocusEvent *event) override;
};
