#pragma once

#include "app/TrayIcon.h"

// No notification area for a rendering.
class FakeTray : public TrayIcon {
public:
    bool isAvailable() const override { return false; }
    void show(const QIcon &, const QString &) override {}
    void hide() override {}
    bool isVisible() const override { return false; }
    void setToolTip(const QString &) override {}
    void setContextMenu(QMenu *) override {}
};
