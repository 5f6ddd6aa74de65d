#include "app/TrayIcon.h"

#include <QSystemTrayIcon>

SystemTrayIcon::SystemTrayIcon(QObject *parent)
    : TrayIcon(parent), m_icon(new QSystemTrayIcon(this)) {
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick)
                    Q_EMIT doubleClicked();
            });
}

bool SystemTrayIcon::isAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTrayIcon::show(const QIcon &icon, const QString &toolTip) {
    m_icon->setIcon(icon);
    m_icon->setToolTip(toolTip);
    m_icon->show();
}

void SystemTrayIcon::hide() {
    m_icon->hide();
}

bool SystemTrayIcon::isVisible() const {
    return m_icon->isVisible();
}

void SystemTrayIcon::setToolTip(const QString &toolTip) {
    m_icon->setToolTip(toolTip);
}

void SystemTrayIcon::setContextMenu(QMenu *menu) {
    m_icon->setContextMenu(menu);
}
