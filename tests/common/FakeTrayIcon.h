#pragma once

#include "app/TrayIcon.h"

// A notification-area icon that only records what the program does with it.
class FakeTrayIcon : public TrayIcon {
public:
    bool isAvailable() const override { return available; }
    void show(const QIcon &, const QString &tip) override {
        visible = true;
        toolTip = tip;
        ++shows;
    }
    void hide() override { visible = false; }
    bool isVisible() const override { return visible; }
    void setToolTip(const QString &tip) override { toolTip = tip; }
    void setContextMenu(QMenu *m) override { menu = m; }

    void doubleClick() { Q_EMIT doubleClicked(); }

    bool available = true;
    bool visible = false;
    int shows = 0;
    QString toolTip;
    QMenu *menu = nullptr;
};
