#pragma once

class QWidget;
class TrayIcon;

// The notification-area icon of the main window.

// True while the icon is in the notification area.
inline bool TrayIconShown = false;

// The icon that RemoveTrayIcon takes away; set by the main window.
void setTrayIcon(TrayIcon *icon);

// Takes the icon away, whether or not it is there.
void RemoveTrayIcon();

// Brings the window back in its normal state, in front of the other windows.
void RestoreFromTray(QWidget *window);
