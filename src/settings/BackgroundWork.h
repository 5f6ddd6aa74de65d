#pragma once

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

} // namespace BackgroundWork
