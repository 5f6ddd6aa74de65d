// Long file work while a window waits: only painting goes on meanwhile; a timer that falls due,
// a file watcher's notice and a window manager's request to close come after the work.
#include "settings/BackgroundWork.h"

#include <QFile>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWindow>

namespace {

// Counts what a window is shown of its being closed and painted.
class Watched : public QWindow {
public:
    int closes = 0;
    int exposes = 0;

protected:
    bool event(QEvent *e) override {
        if (e->type() == QEvent::Close)
            ++closes;
        if (e->type() == QEvent::Expose || e->type() == QEvent::UpdateRequest)
            ++exposes;
        return QWindow::event(e);
    }
};

} // namespace

class tst_BackgroundWork : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void onlyPaintingMeanwhile();
};

void tst_BackgroundWork::onlyPaintingMeanwhile() {
    Watched window;
    window.resize(60, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTemporaryDir dir;
    QFileSystemWatcher watcher({dir.path()});
    int timeouts = 0;
    int notices = 0;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, [&] { ++timeouts; });
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, [&] { ++notices; });
    timer.start(20);
    const int exposesBefore = window.exposes;
    BackgroundWork::run([&] {
        QThread::msleep(60); // the timer falls due
        QFile file(dir.filePath(QStringLiteral("new")));
        QVERIFY(file.open(QIODevice::WriteOnly));                          // the watcher has news
        QMetaObject::invokeMethod(&window, "close", Qt::QueuedConnection); // as a window
                                                                           // manager asks
        QMetaObject::invokeMethod(&window, "requestUpdate", Qt::QueuedConnection);
        QThread::msleep(150);
    });
    QCOMPARE(timeouts, 0);
    QCOMPARE(notices, 0);
    QCOMPARE(window.closes, 0);
    QVERIFY(window.exposes > exposesBefore); // painted meanwhile
    QTRY_COMPARE(timeouts, 1);
    QTRY_VERIFY(notices >= 1);
    QTRY_COMPARE(window.closes, 1);
}

QTEST_MAIN(tst_BackgroundWork)
#include "tst_backgroundwork.moc"
