// Closes every dialog window opened on this thread as soon as it is
// activated, with the OK button's command, and counts them.  Unlike the
// window watch of host/window_dump.h it keeps nothing per window, so that a
// soak of thousands of windows measures the plug-in and not the test.
#ifndef TIRVALO_TESTS_WINDOW_CLOSER_H
#define TIRVALO_TESTS_WINDOW_CLOSER_H

#include <windows.h>

class WindowCloser {
public:
    WindowCloser();
    ~WindowCloser();
    WindowCloser(const WindowCloser &) = delete;
    WindowCloser &operator=(const WindowCloser &) = delete;

    // Dialog windows closed so far.
    int Closed() const { return closed_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    HHOOK hook_;
    static thread_local WindowCloser *current_;
    int closed_ = 0;
    HWND last_ = nullptr;
};

#endif
