#pragma once

#include <QString>
#include <QStringList>

// A list that shows profile names: the main window's list box, or a plain list.
class ProfileList {
public:
    virtual ~ProfileList() = default;
    virtual void clear() = 0;
    // False when the list refuses the entry.
    virtual bool addItem(const QString &name) = 0;
    // The names of a load in the order the list shows them, before they are added; called on
    // a thread of its own, so it must touch nothing but the names.
    virtual QStringList arranged(const QStringList &names) const { return names; }
    // After the last entry of a load.
    virtual void endOfLoad() {}
};

// A ProfileList kept in memory.
class StringProfileList : public ProfileList {
public:
    void clear() override { items.clear(); }
    bool addItem(const QString &name) override {
        items.append(name);
        return true;
    }

    QStringList items;
};
