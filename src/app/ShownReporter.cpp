#include "app/ShownReporter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>

ShownReporter::ShownReporter(QWidget *window, const QElapsedTimer &sinceStart)
    : QObject(window), m_sinceStart(sinceStart) {
    window->installEventFilter(this);
}

void ShownReporter::reportNow() {
    if (m_done)
        return;
    m_done = true;
    std::printf("shown after %lld ms\n", m_sinceStart.elapsed());
    std::fflush(stdout);
    // Also when the event loop has not started yet (a window that starts hidden).
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

bool ShownReporter::eventFilter(QObject *, QEvent *event) {
    // Once the first paint of the window has been done.
    if (event->type() == QEvent::Paint && !m_done)
        QMetaObject::invokeMethod(this, &ShownReporter::reportNow, Qt::QueuedConnection);
    return false;
}
