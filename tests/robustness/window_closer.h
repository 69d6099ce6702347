// Closes every dialog window opened on this thread as soon as it is
// activated, with the OK button's command, and counts them.  Unlike the
// window watch of host/window_dump.h it keeps nothing per window (but the
// texts of the few it is asked to keep), so that a soak of thousands of
// windows measures the plug-in and not the test.  Plain windows
// (tests/support/plain_window.h) are left alone.
#ifndef TIRVALO_TESTS_WINDOW_CLOSER_H
#define TIRVALO_TESTS_WINDOW_CLOSER_H

#include <windows.h>

#include <vector>

#include "tests/support/plain_window.h"

class WindowCloser {
public:
    WindowCloser();
    ~WindowCloser();
    WindowCloser(const WindowCloser &) = delete;
    WindowCloser &operator=(const WindowCloser &) = delete;

    // Dialog windows closed so far.
    int Closed() const { return closed_; }

    // Keeps the texts of the next count windows closed, in place of those
    // kept before.
    void Keep(int count);
    const std::vector<PlainTexts> &Kept() const { return kept_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    HHOOK hook_;
    static thread_local WindowCloser *current_;
    int closed_ = 0;
    HWND last_ = nullptr;
    int keep_ = 0;
    std::vector<PlainTexts> kept_;
};

// What the platform itself keeps of count windows like those kept: plain
// windows with their texts in turn, after one of each to warm up.  Where
// it keeps heap blocks (Wine 10 keeps about one a window; Wine 8 none), the
// process may grow by a step of the heap (64 KiB) more than it grew: which
// run crosses a step depends on where the heap stood.
struct PlatformShare {
    long long heapBlocks;
    long long privateBytes;   // the growth allowed
};
PlatformShare PlainWindowsKeep(const std::vector<PlainTexts> &kinds, int count);

#endif
