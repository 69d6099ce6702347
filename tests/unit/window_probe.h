// Reads and closes the modal windows that the code under test opens on this
// thread: a thread-local CBT hook sees each dialog-class window as it is
// activated, records its caption and its controls' texts, and posts the
// command that closes it.
#ifndef TIRVALO_TESTS_WINDOW_PROBE_H
#define TIRVALO_TESTS_WINDOW_PROBE_H

#include <windows.h>

#include <string>
#include <vector>

struct ProbedControl {
    int id;
    std::wstring className;
    std::wstring text;
};

struct ProbedWindow {
    std::wstring caption;
    std::vector<ProbedControl> controls;

    // The text of the control with this id, or "<missing>".
    std::wstring Text(int id) const;
};

class WindowProbe {
public:
    explicit WindowProbe(int closeCommand = IDOK);
    ~WindowProbe();
    WindowProbe(const WindowProbe &) = delete;
    WindowProbe &operator=(const WindowProbe &) = delete;

    const std::vector<ProbedWindow> &Windows() const { return windows_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook_;
    int closeCommand_;
    std::vector<HWND> seen_;
    std::vector<ProbedWindow> windows_;
};

#endif
