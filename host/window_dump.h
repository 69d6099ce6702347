// Reading, dumping and photographing the dialog windows a program opens on
// its own thread, and closing them: the stand-in shell's --dump-windows and
// --screenshot switches, and the tests' way of reading modal windows.
//
// A WindowWatch installs a thread-local CBT hook.  Each new dialog-class
// window it sees activated gets a zero-delay timer; the timer fires once the
// window has been painted, and then the watch reads the caption and every
// control's text, writes the dump through the host's standard output, saves
// the screenshot, and posts the message that closes the window.  Nothing
// in the program that opened the window is changed.
#ifndef KORRASH_WINDOW_DUMP_H
#define KORRASH_WINDOW_DUMP_H

#include <windows.h>

#include <string>
#include <vector>

struct WindowControl {
    int id;
    std::wstring className;
    std::wstring text;
};

struct WindowTexts {
    std::wstring caption;
    POINT clientOrigin = {};               // where its client area starts on the screen
    HWND owner = nullptr;                  // the window it was opened on
    UINT dpi = 0;                          // the DPI the system gives it
    SIZE clientSize = {};                  // in pixels of that DPI
    RECT screenRect = {};                  // the whole window on the screen, frame included
    std::vector<HWND> disabled;            // the top-level windows disabled while it is open
    std::vector<WindowControl> controls;   // in the window's child order (template order)

    // The text of the control with this id, or "<missing>".
    std::wstring Text(int id) const;

    // The dump: the caption on a line of its own, then one line for each
    // static control: its text, and after one blank the text of the edit
    // control of the same rank when there is one.  Lines end in "\r\n".
    std::wstring Dump() const;
};

// The caption and the controls of a window as they are now.
WindowTexts ReadWindowTexts(HWND window);

// Saves a PNG of the window as it is on the screen; false on failure.
bool SaveWindowPng(HWND window, const std::wstring &path);

// path for the first window, then path with "-2", "-3", ... before its
// extension: shot.png, shot-2.png.
std::wstring NumberedPath(const std::wstring &path, int number);

struct WindowWatchOptions {
    // The message posted to each window to close it (default: the OK
    // button's command).
    UINT closeMessage = WM_COMMAND;
    WPARAM closeWParam = IDOK;
    LPARAM closeLParam = 0;
    bool dump = false;          // write each window's dump to standard output
    bool metrics = false;       // ... followed by its DPI and client size
    std::wstring screenshot;    // when not empty, save each window there
};

class WindowWatch {
public:
    explicit WindowWatch(const WindowWatchOptions &options = WindowWatchOptions());
    ~WindowWatch();
    WindowWatch(const WindowWatch &) = delete;
    WindowWatch &operator=(const WindowWatch &) = delete;

    // Every window seen so far, as read just before it was closed.
    const std::vector<WindowTexts> &Windows() const { return windows_; }

    // The screenshot files written so far.
    const std::vector<std::wstring> &Screenshots() const { return screenshots_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK Ready(HWND window, UINT message, UINT_PTR id, DWORD time);
    void Handle(HWND window);

    WindowWatchOptions options_;
    HHOOK hook_;
    WindowWatch *outer_;
    std::vector<HWND> seen_;
    std::vector<WindowTexts> windows_;
    std::vector<std::wstring> screenshots_;
};

#endif
