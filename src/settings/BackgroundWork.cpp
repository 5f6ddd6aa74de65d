#include "settings/BackgroundWork.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

namespace BackgroundWork {

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
    // Paints and timers meanwhile, every few milliseconds; the user's input waits.
    while (!done.tryAcquire(1, 15))
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void runForFile(qint64 bytes, const std::function<void()> &work) {
    if (bytes < 1024 * 1024)
        work();
    else
        run(work);
}

} // namespace BackgroundWork
