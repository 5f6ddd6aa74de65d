#include "app/ProfileListWidget.h"

#include "core/MainWindowRules.h"
#include "settings/ShownText.h"

#include <QListWidget>
#include <QVariant>
#include <utility>

QString ProfileListWidget::nameOf(const QListWidgetItem *item) {
    const QVariant name = item->data(Qt::UserRole);
    return name.isValid() ? name.toString() : item->text();
}

void ProfileListWidget::clear() {
    m_list->clear();
    m_loaded.clear();
}

bool ProfileListWidget::addItem(const QString &name) {
    m_loaded.append(name);
    return true;
}

QStringList ProfileListWidget::arranged(const QStringList &names) const {
    // Sorted once, each name's collation key made once: a file of a million profiles shows in
    // seconds, where inserting each entry in order compared names twenty million times.
    return MainWindowRules::sortedProfileNames(names);
}

void ProfileListWidget::endOfLoad() {
    const QStringList names = std::exchange(m_loaded, {});
    QStringList shown;
    shown.reserve(names.size());
    for (const QString &name : names)
        shown.append(ShownText::escaped(name));
    m_list->addItems(shown);
    // The entry shows its name with what would reorder it made visible; the name is its data.
    for (int row = 0; row < names.size(); ++row) {
        if (shown[row] != names[row])
            m_list->item(row)->setData(Qt::UserRole, names[row]);
    }
}
