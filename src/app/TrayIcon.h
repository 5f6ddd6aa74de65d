#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

class QMenu;

// The notification-area icon, behind a seam: the program uses the desktop's notification
// area; widget tests, where the offscreen platform has none, use a stand-in.
class TrayIcon : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    virtual bool isAvailable() const = 0;
    virtual void show(const QIcon &icon, const QString &toolTip) = 0;
    virtual void hide() = 0;
    virtual bool isVisible() const = 0;
    virtual void setToolTip(const QString &toolTip) = 0;
    // The menu opened by a right click; the icon does not own it.
    virtual void setContextMenu(QMenu *menu) = 0;

Q_SIGNALS:
    void doubleClicked();
};

// The desktop's notification area.
class SystemTrayIcon : public TrayIcon {
    Q_OBJECT

public:
    explicit SystemTrayIcon(QObject *parent = nullptr);

    bool isAvailable() const override;
    void show(const QIcon &icon, const QString &toolTip) override;
    void hide() override;
    bool isVisible() const override;
    void setToolTip(const QString &toolTip) override;
    void setContextMenu(QMenu *menu) override;

private:
    class QSystemTrayIcon *m_icon;
};
