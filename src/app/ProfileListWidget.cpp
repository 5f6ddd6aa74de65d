#include "ProfileListWidget.h"

#include "MainWindowRules.h"
#include "ShownText.h"

#include <QListWidget>

namespace {

class ProfileItem : public QListWidgetItem {
public:
    using QListWidgetItem::QListWidgetItem;
    bool operator<(const QListWidgetItem &other) const override {
        return MainWindowRules::profileBefore(ProfileListWidget::nameOf(this),
                                              ProfileListWidget::nameOf(&other));
    }
};

} // namespace

void ProfileListWidget::clear() {
    m_list->clear();
}

QString ProfileListWidget::nameOf(const QListWidgetItem *item) {
    return item->data(Qt::UserRole).toString();
}

bool ProfileListWidget::addItem(const QString &name) {
    auto *item = new ProfileItem(ShownText::escaped(name));
    item->setData(Qt::UserRole, name);
    m_list->addItem(item);
    return true;
}
