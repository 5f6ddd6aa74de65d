#include "dialogs/AddressBox.h"

#include "core/AddressRules.h"
#include "settings/Text.h"
#include "widgets/modMain.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QValidator>
#include <optional>

namespace {

// Last line of defence for text that arrives by other ways than typing or our own paste
// (middle-click selection, input methods): only ASCII digits stay.
class DigitsValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override {
        QString digits;
        int newPos = 0;
        for (int i = 0; i < input.size(); ++i) {
            const QChar c = input.at(i);
            if (c >= u'0' && c <= u'9') {
                digits.append(c);
                if (i < pos)
                    ++newPos;
            }
        }
        digits.truncate(AddressRules::MaxOctetLength);
        input = digits;
        pos = std::min(newPos, int(digits.size()));
        return Acceptable;
    }
};

// The character code that a key press types, if it types one: printable characters, and
// the control characters of Backspace, Tab, Enter, Esc and Ctrl with a letter.
std::optional<qint16> typedCharacter(const QKeyEvent &event) {
    switch (event.key()) {
    case Qt::Key_Backspace:
        return AddressRules::Backspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return AddressRules::Enter;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    default:
        break;
    }
    const Qt::KeyboardModifiers mods = event.modifiers();
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier)) {
        if (event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
            return qint16(event.key() - Qt::Key_A + 1);
        return std::nullopt;
    }
    const QString text = event.text();
    if (text.isEmpty() || text.at(0).unicode() < 32 || text.at(0).unicode() == 127)
        return std::nullopt;
    return qint16(std::min<int>(text.at(0).unicode(), 0x7FFF));
}

} // namespace

AddressBox::AddressBox(int index, QWidget *parent) : PlainLineEdit(parent), m_index(index) {
    setMaxLength(AddressRules::MaxOctetLength);
    setValidator(new DigitsValidator(this));
    setAcceptDrops(false);
    setObjectName(QStringLiteral("txtIP_%1").arg(index));
}

int AddressBox::caretPosition() const {
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void AddressBox::moveFocusBackLater() {
    QCoreApplication::postEvent(
        this, new QKeyEvent(QEvent::KeyPress, Qt::Key_Backtab, Qt::ShiftModifier));
}

void AddressBox::pasteDigits() {
    insertDigits(QApplication::clipboard()->text());
}

void AddressBox::insertDigits(const QString &text) {
    const int room = maxLength() - int(this->text().size()) + int(selectedText().size());
    insert(AddressRules::pastedDigits(text, room));
}

void AddressBox::keyPressEvent(QKeyEvent *event) {
    if (event->matches(QKeySequence::Paste)) {
        pasteDigits();
        event->accept();
        return;
    }

    // Before the box acts on the key.
    using AddressRules::Key;
    const Key key = event->key() == Qt::Key_Backspace ? Key::Backspace
                    : event->key() == Qt::Key_Left    ? Key::Left
                                                      : Key::Other;
    const int selectionLength = int(selectedText().size());
    switch (AddressRules::keyDown(key, m_index, caretPosition(), selectionLength)) {
    case AddressRules::KeyDownAction::CaretToEnd:
        deselect();
        setCursorPosition(int(text().size()));
        break;
    case AddressRules::KeyDownAction::DropSelection:
        deselect();
        setCursorPosition(0);
        break;
    case AddressRules::KeyDownAction::MoveFocusBack:
        moveFocusBackLater();
        break;
    case AddressRules::KeyDownAction::None:
        break;
    }

    // The character the key types, filtered.
    if (const std::optional<qint16> typed = typedCharacter(*event)) {
        if (event->text().size() > 1) { // composed text: its digits only
            insertDigits(event->text());
            event->accept();
            return;
        }
        const qint16 code = AddressRules::addressCharacter(NumericKeyFilter(*typed));
        if (code == 0) {
            event->accept();
            return;
        }
        if (code == AddressRules::Backspace && caretPosition() == 0)
            moveFocusBackLater();
    }
    QLineEdit::keyPressEvent(event);
}

void AddressBox::focusOutEvent(QFocusEvent *event) {
    PlainLineEdit::focusOutEvent(event);
    // Switching to another window or opening a menu does not leave the box.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        Q_EMIT focusLost(m_index);
}

void AddressBox::contextMenuEvent(QContextMenuEvent *event) {
    // Our own menu, so that its paste takes digits only.
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto add = [&](const char *name, const QString &text, bool enabled, auto slot) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, slot);
    };
    const bool selected = hasSelectedText();
    add("edit-undo", Text::tr("Geri al"), isUndoAvailable(), &QLineEdit::undo);
    menu->addSeparator();
    add("edit-cut", QStringLiteral("Kes"), selected, &QLineEdit::cut);
    add("edit-copy", QStringLiteral("Kopyala"), selected, &QLineEdit::copy);
    add("edit-paste", Text::tr("Yapıştır"), !QApplication::clipboard()->text().isEmpty(),
        &AddressBox::pasteDigits);
    add("edit-delete", QStringLiteral("Sil"), selected, &AddressBox::del);
    menu->addSeparator();
    add("select-all", Text::tr("Tümünü seç"), !text().isEmpty(), &QLineEdit::selectAll);
    menu->popup(event->globalPos());
}
