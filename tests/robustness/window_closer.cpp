// Closes the dialog windows of this thread.  See window_closer.h.
#include "window_closer.h"

thread_local WindowCloser *WindowCloser::current_ = nullptr;

WindowCloser::WindowCloser()
{
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

WindowCloser::~WindowCloser()
{
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
}

LRESULT CALLBACK WindowCloser::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    WindowCloser *self = current_;
    if (code == HCBT_ACTIVATE && self != nullptr) {
        HWND window = (HWND)wParam;
        wchar_t className[16];
        // A window is activated more than once while it comes forward;
        // it is closed, and counted, once.
        if (window != self->last_ && GetClassNameW(window, className, 16) > 0 &&
            lstrcmpW(className, L"#32770") == 0) {
            self->last_ = window;
            self->closed_++;
            PostMessageW(window, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(self != nullptr ? self->hook_ : nullptr, code, wParam, lParam);
}
