#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QtGlobal>
#include <functional>

// Long file work (a settings file of a million profiles takes a second to read or write) without
// freezing the window.
namespace BackgroundWork {

// Runs `work` on a thread of its own while the calling thread paints its windows and nothing
// else: the user's input, timers, file and network notices and a window manager's request to
// close wait until the work is done, so that nothing starts meanwhile. Returns when it is. Without
// an application's event loop to keep, or off the application's thread, the work simply runs.
void run(const std::function<void()> &work);

// The same for work on a file of `bytes`: one that is read or written in a few milliseconds
// (under a megabyte) is simply done, without a thread of its own.
void runForFile(qint64 bytes, const std::function<void()> &work);

// For as long as it lives, on the application's thread: `paint()` lets the windows paint and
// nothing else (see run); what was held comes after, a window manager's close request included.
// For long work that must stay on the window's thread (filling a list), done in pieces.
class OnlyPainting : public QObject {
public:
    OnlyPainting();
    ~OnlyPainting() override;
    void paint();

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override;

private:
    bool m_active = false;
    QList<QPointer<QObject>> m_heldCloses;
};

} // namespace BackgroundWork
