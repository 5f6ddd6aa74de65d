#include "settings/BackgroundWork.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QList>
#include <QPointer>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

namespace BackgroundWork {

namespace {

// While the work goes on, only what paints passes. A window manager's request to close a
// window is held and asked again once the work is done (queued: after whatever waited for the
// work). A timer's tick and a socket's notice (a file watcher's, the network's) are let pass
// to come again: a timer stays due until its tick is delivered, and a socket stays ready until
// it is read. A window's own timer (its next frame) still ticks: it is painting.
class OnlyPainting : public QObject {
public:
    bool eventFilter(QObject *receiver, QEvent *event) override {
        switch (event->type()) {
        case QEvent::SockAct:
        case QEvent::SockClose:
            return true;
        case QEvent::Timer:
            return !receiver->isWindowType();
        case QEvent::Close:
            if (!event->spontaneous() || !receiver->isWindowType())
                return false;
            if (!held.contains(receiver))
                held.append(receiver);
            return true;
        default:
            return false;
        }
    }
    QList<QPointer<QObject>> held;
};

} // namespace

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
    // Only painting meanwhile, every few milliseconds. The user's input, timers, file and
    // network notices and a request to close a window wait until the work is done, so that
    // nothing the window does (a trial's tick, the switch to DHCP, closing) comes between.
    OnlyPainting filter;
    QCoreApplication::instance()->installEventFilter(&filter);
    while (!done.tryAcquire(1, 15))
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::ExcludeSocketNotifiers);
    QCoreApplication::instance()->removeEventFilter(&filter);
    for (const QPointer<QObject> &window : std::as_const(filter.held)) {
        if (window)
            QMetaObject::invokeMethod(window, "close", Qt::QueuedConnection);
    }
}

void runForFile(qint64 bytes, const std::function<void()> &work) {
    if (bytes < 1024 * 1024)
        work();
    else
        run(work);
}

} // namespace BackgroundWork
