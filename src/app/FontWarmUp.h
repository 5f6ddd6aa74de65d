#pragma once

#include <thread>

// Reads the computer's font configuration (fontconfig's files and caches) on a thread of its
// own while the program loads its settings and asks for its addresses, so that the first
// paint of the window does not wait for it: Qt's font database finds it loaded.
class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp(); // waits
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

    // Before the first text is drawn; a second call does nothing.
    void wait();

private:
    std::thread m_thread;
};
