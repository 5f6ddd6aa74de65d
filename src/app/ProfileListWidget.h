#pragma once

#include "ProfileList.h"

class QListWidget;

// The main window's list box as the target of ProfilesLoad. The list keeps its entries in
// alphabetical order, as a Turkish reader expects it (Ç after C, İ after I, Ş after S),
// without regard to letter case.
class ProfileListWidget : public ProfileList {
public:
    explicit ProfileListWidget(QListWidget *list) : m_list(list) {}

    void clear() override;
    bool addItem(const QString &name) override;

private:
    QListWidget *m_list;
};
