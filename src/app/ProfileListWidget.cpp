#include "app/ProfileListWidget.h"

#include "core/MainWindowRules.h"
#include "settings/BackgroundWork.h"
#include "settings/ShownText.h"

#include <QListWidget>
#include <QVariant>
#include <optional>
#include <utility>

QString ProfileListWidget::nameOf(const QListWidgetItem *item) {
    const QVariant name = item->data(Qt::UserRole);
    return name.isValid() ? name.toString() : item->text();
}

void ProfileListWidget::clear() {
    ++m_clears;
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
    // A million names take most of a second to add: in pieces, the window painting between
    // them and doing nothing else (BackgroundWork::OnlyPainting).
    constexpr qsizetype Piece = 20000;
    std::optional<BackgroundWork::OnlyPainting> painting;
    if (names.size() > Piece)
        painting.emplace();
    const quint64 load = m_clears;
    for (qsizetype first = 0; first < names.size() && m_clears == load; first += Piece) {
        const qsizetype end = qMin(names.size(), first + Piece);
        QStringList shown;
        shown.reserve(end - first);
        for (qsizetype i = first; i < end; ++i)
            shown.append(ShownText::escaped(names[i]));
        const int row = m_list->count();
        m_list->addItems(shown);
        // The entry shows its name with what would reorder it made visible; the name is its
        // data.
        for (qsizetype i = first; i < end; ++i) {
            if (shown[i - first] != names[i])
                m_list->item(row + int(i - first))->setData(Qt::UserRole, names[i]);
        }
        if (painting)
            painting->paint();
    }
}
