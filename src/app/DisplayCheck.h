#pragma once

#include <QString>
#include <QStringList>

// Whether the window can have a display, asked before Qt is (Qt ends the program with an
// abort when it cannot connect to one).
namespace DisplayCheck {

// Why no window can be shown, or nothing: no display is named (DISPLAY, WAYLAND_DISPLAY,
// QT_QPA_PLATFORM or Qt's -platform option), or the local X display named does not answer.
QString problem(const QStringList &arguments);

} // namespace DisplayCheck
