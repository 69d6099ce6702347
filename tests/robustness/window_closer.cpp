// Closes the dialog windows of this thread.  See window_closer.h.
#include "window_closer.h"

#include <algorithm>

#include "tests/support/process_counters.h"

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

void WindowCloser::Keep(int count)
{
    kept_.clear();
    keep_ = count;
}

LRESULT CALLBACK WindowCloser::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    WindowCloser *self = current_;
    if (code == HCBT_ACTIVATE && self != nullptr && !OpeningPlainWindows()) {
        HWND window = (HWND)wParam;
        wchar_t className[16];
        // A window is activated more than once while it comes forward;
        // it is closed, and counted, once.
        if (window != self->last_ && GetClassNameW(window, className, 16) > 0 &&
            lstrcmpW(className, L"#32770") == 0) {
            self->last_ = window;
            self->closed_++;
            if (self->keep_ > 0) {
                self->keep_--;
                self->kept_.push_back(TextsOf(window));
            }
            PostMessageW(window, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(self != nullptr ? self->hook_ : nullptr, code, wParam, lParam);
}

PlatformShare PlainWindowsKeep(const std::vector<PlainTexts> &kinds, int count)
{
    const long long heapStep = 64 * 1024;
    HMODULE module = GetModuleHandleW(nullptr);   // the template is linked into the test program
    OpenPlainWindows(module, kinds, (int)(kinds.empty() ? 1 : kinds.size()));
    ProcessCounters before = ReadProcessCounters();
    long long blocks = BusyHeapBlocks();
    OpenPlainWindows(module, kinds, count);
    PlatformShare share;
    share.heapBlocks = BusyHeapBlocks() - blocks;
    share.privateBytes = (long long)ReadProcessCounters().privateBytes - (long long)before.privateBytes;
    if (share.heapBlocks > 0) share.privateBytes = std::max(share.privateBytes, 0LL) + heapStep;
    return share;
}
