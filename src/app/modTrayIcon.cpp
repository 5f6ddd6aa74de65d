#include "app/modTrayIcon.h"

#include "app/TrayIcon.h"

#include <QPointer>
#include <QWidget>

namespace {
QPointer<TrayIcon> g_icon;
}

void setTrayIcon(TrayIcon *icon) {
    g_icon = icon;
}

void RemoveTrayIcon() {
    if (g_icon)
        g_icon->hide();
    TrayIconShown = false;
}

void RestoreFromTray(QWidget *window) {
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}
