#include "widgets/ReturnPressesButtons.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

namespace ReturnPressesButtons {

namespace {

class Filter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        auto *button = qobject_cast<QPushButton *>(watched);
        if (!button || !button->isEnabled() ||
            (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        button->click();
        return true;
    }
};

} // namespace

void install(QWidget *window) {
    auto *filter = new Filter(window);
    for (QPushButton *button : window->findChildren<QPushButton *>())
        button->installEventFilter(filter);
}

} // namespace ReturnPressesButtons
