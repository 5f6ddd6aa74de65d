#pragma once

#include "settings/ProfileList.h"

class QListWidget;
class QListWidgetItem;

// The main window's list box as the target of ProfilesLoad. The list keeps its entries in
// alphabetical order, as a Turkish reader expects it (Ç after C, İ after I, Ş after S),
// without regard to letter case. An entry shows its name with control characters and the
// characters that reorder text made visible (a hand-edited "\u202e" cannot reorder the list);
// the name itself is the entry's data.
class ProfileListWidget : public ProfileList {
public:
    explicit ProfileListWidget(QListWidget *list) : m_list(list) {}

    // The profile's name of an entry.
    static QString nameOf(const QListWidgetItem *item);

    void clear() override;
    bool addItem(const QString &name) override;
    QStringList arranged(const QStringList &names) const override;
    void endOfLoad() override;

private:
    QListWidget *m_list;
    QStringList m_loaded; // the names of the load under way, shown at its end
    quint64 m_clears = 0; // a load filling the list in pieces stops when another one clears it
};
