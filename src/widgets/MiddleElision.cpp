#include "widgets/MiddleElision.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QListWidget>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace {

class MiddleElidingDelegate : public QStyledItemDelegate {
public:
    explicit MiddleElidingDelegate(QListWidget *list) : QStyledItemDelegate(list), m_list(list) {}

    // An entry is never wider than the list shows: the style then cuts its text (in the middle,
    // as the list's elide mode says) instead of the list scrolling sideways.
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(qMin(size.width(), m_list->viewport()->width()));
        return size;
    }

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override {
        if (event->type() == QEvent::ToolTip && index.isValid()) {
            QStyleOptionViewItem shown = option;
            initStyleOption(&shown, index);
            const QWidget *widget = shown.widget;
            const QStyle *style = widget ? widget->style() : view->style();
            const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &shown, widget);
            const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget);
            if (shown.fontMetrics.horizontalAdvance(shown.text) > text.width() - 2 * (margin + 1)) {
                QToolTip::showText(event->globalPos(), shown.text, view, option.rect);
                return true;
            }
        }
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }

private:
    QListWidget *m_list;
};

} // namespace

namespace MiddleElision {

void install(QListWidget *list) {
    list->setItemDelegate(new MiddleElidingDelegate(list));
    list->setTextElideMode(Qt::ElideMiddle);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

} // namespace MiddleElision
