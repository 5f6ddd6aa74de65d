#include "ProfileListWidget.h"

#include "MainWindowRules.h"

#include <QListWidget>

namespace {

class ProfileItem : public QListWidgetItem {
public:
    using QListWidgetItem::QListWidgetItem;
    bool operator<(const QListWidgetItem &other) const override {
        return MainWindowRules::profileBefore(text(), other.text());
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
