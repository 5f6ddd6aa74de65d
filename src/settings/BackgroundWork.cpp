#include "settings/BackgroundWork.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

namespace BackgroundWork {

// Only what paints passes. A window manager's request to close a window is held and asked again
// once the scope ends (queued: after whatever waited). A timer's tick and a socket's notice (a
// file watcher's, the network's) are let pass to come again: a timer stays due until its tick
// is delivered, and a socket stays ready until it is read. A window's own timer (its next
// frame) still ticks: it is painting.
bool OnlyPainting::eventFilter(QObject *receiver, QEvent *event) {
    switch (event->type()) {
    case QEvent::SockAct:
    case QEvent::SockClose:
        return true;
    case QEvent::Timer:
        return !receiver->isWindowType();
    case QEvent::Close:
        if (!event->spontaneous() || !receiver->isWindowType())
            return false;
        if (!m_heldCloses.contains(receiver))
            m_heldCloses.append(receiver);
        return true;
    default:
        return false;
    }
}

OnlyPainting::OnlyPainting() {
    if (QCoreApplication *app = QCoreApplication::instance();
        app && QThread::currentThread() == app->thread()) {
        app->installEventFilter(this);
        m_active = true;
    }
}

OnlyPainting::~OnlyPainting() {
    if (!m_active)
        return;
    QCoreApplication::instance()->removeEventFilter(this);
    for (const QPointer<QObject> &window : std::as_const(m_heldCloses)) {
        if (window)
            QMetaObject::invokeMethod(window, "close", Qt::QueuedConnection);
    }
}

void OnlyPainting::paint() {
    // The user's input waits in the window system's queue.
    if (m_active)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::ExcludeSocketNotifiers);
}

void run(const std::function<void()> &work) {
    const QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        work();
        return;
    }
    // One thread for all such work, kept for the life of the program.
    static QThreadPool *const pool = [] {
        auto *p = new QThreadPool;
        p->setMaxThreadCount(1);
        p->setExpiryTimeout(-1);
        return p;
    }();
    QSemaphore done;
    pool->start([&] {
        work();
        done.release();
    });
    // Only painting meanwhile, every few milliseconds, so that nothing the window does (a
    // trial's tick, the switch to DHCP, closing) comes between.
    OnlyPainting painting;
    while (!done.tryAcquire(1, 15))
        painting.paint();
}

void runForFile(qint64 bytes, const std::function<void()> &work) {
    if (bytes < 1024 * 1024)
        work();
    else
        run(work);
}

} // namespace BackgroundWork
