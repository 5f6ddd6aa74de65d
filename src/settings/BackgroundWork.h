#pragma once

#include <QtGlobal>
#include <functional>

// Long file work (a settings file of a million profiles takes a second to read or write) without
// freezing the window.
namespace BackgroundWork {

// Runs `work` on a thread of its own while the calling thread goes on with its events, all but
// the user's input (so a window keeps painting, and nothing the user does starts meanwhile),
// and returns when the work is done. Without an application's event loop to keep, or off the
// application's thread, the work simply runs.
void run(const std::function<void()> &work);

// The same for work on a file of `bytes`: one that is read or written in a few milliseconds
// (under a megabyte) is simply done, without a thread of its own.
void runForFile(qint64 bytes, const std::function<void()> &work);

} // namespace BackgroundWork
