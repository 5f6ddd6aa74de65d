#include "ProfileListWidget.h"

#include <QCollator>
#include <QListWidget>

namespace {

const QCollator &turkishCollator() {
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Turkish, QLocale::Turkey));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(true);
        return c;
    }();
    return collator;
}

class ProfileItem : public QListWidgetItem {
public:
    using QListWidgetItem::QListWidgetItem;
    bool operator<(const QListWidgetItem &other) const override {
        const int order = turkishCollator().compare(text(), other.text());
        return order != 0 ? order < 0 : text() < other.text();
    }
};

} // namespace

void ProfileListWidget::clear() {
    m_list->clear();
}

bool ProfileListWidget::addItem(const QString &name) {
    m_list->addItem(new ProfileItem(name));
    return true;
}
