#include "window_probe.h"

namespace {
thread_local WindowProbe *ActiveProbe = nullptr;

std::wstring WindowText(HWND window)
{
    wchar_t text[4096];
    int length = GetWindowTextW(window, text, 4096);
    return std::wstring(text, length > 0 ? length : 0);
}

std::wstring ClassName(HWND window)
{
    wchar_t name[256];
    int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? length : 0);
}

BOOL CALLBACK AddControl(HWND control, LPARAM lParam)
{
    auto *window = reinterpret_cast<ProbedWindow *>(lParam);
    window->controls.push_back({GetDlgCtrlID(control), ClassName(control), WindowText(control)});
    return TRUE;
}
}  // namespace

std::wstring ProbedWindow::Text(int id) const
{
    for (const ProbedControl &control : controls) {
        if (control.id == id) return control.text;
    }
    return L"<missing>";
}

WindowProbe::WindowProbe(int closeCommand) : closeCommand_(closeCommand)
{
    ActiveProbe = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

WindowProbe::~WindowProbe()
{
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    ActiveProbe = nullptr;
}

LRESULT CALLBACK WindowProbe::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    WindowProbe *probe = ActiveProbe;
    if (code == HCBT_ACTIVATE && probe != nullptr) {
        HWND window = reinterpret_cast<HWND>(wParam);
        bool seen = false;
        for (HWND known : probe->seen_) seen = seen || known == window;
        if (!seen && ClassName(window) == L"#32770") {
            probe->seen_.push_back(window);
            ProbedWindow probed;
            probed.caption = WindowText(window);
            EnumChildWindows(window, AddControl, reinterpret_cast<LPARAM>(&probed));
            probe->windows_.push_back(probed);
            PostMessageW(window, WM_COMMAND, probe->closeCommand_, 0);
        }
    }
    return CallNextHookEx(probe != nullptr ? probe->hook_ : nullptr, code, wParam, lParam);
}
