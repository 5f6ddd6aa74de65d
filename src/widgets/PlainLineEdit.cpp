#include "widgets/PlainLineEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace {

// The application's style without the highlighted frame of a focused text box.
class NoFocusFrameStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override {
        if ((element == PE_PanelLineEdit || element == PE_FrameLineEdit) && option &&
            (option->state & State_HasFocus)) {
            if (const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option)) {
                QStyleOptionFrame plain = *frame;
                plain.state &= ~State_HasFocus;
                QProxyStyle::drawPrimitive(element, &plain, painter, widget);
                return;
            }
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

QStyle *plainStyle() {
    static QPointer<QStyle> style;
    if (!style) {
        style = new NoFocusFrameStyle(QStyleFactory::create(QApplication::style()->name()));
        style->setParent(qApp);
    }
    return style;
}

} // namespace

PlainLineEdit::PlainLineEdit(QWidget *parent) : QLineEdit(parent) {
    setStyle(plainStyle());
}

void PlainLineEdit::focusInEvent(QFocusEvent *event) {
    const bool selectedBefore = hasSelectedText();
    QLineEdit::focusInEvent(event);
    if (!selectedBefore && hasSelectedText()) {
        // The toolkit selected the whole text on the way in: only the caret stays, at the end,
        // unless the text is wider than the box: then at the start, which the box then shows
        // (a long profile name is told by its start).
        deselect();
        const int room = contentsRect().width() - textMargins().left() - textMargins().right() - 4;
        setCursorPosition(fontMetrics().horizontalAdvance(text()) > room ? 0 : int(text().size()));
    }
}
