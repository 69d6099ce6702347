// Reading, dumping and photographing dialog windows.  See window_dump.h.
#include "window_dump.h"

#include "../frame/host_api.h"
#include "png_writer.h"

namespace {

thread_local WindowWatch *ActiveWatch = nullptr;

const UINT_PTR ReadyTimer = 0x7D01;

std::wstring WindowText(HWND window)
{
    int length = GetWindowTextLengthW(window);
    std::wstring text(length + 1, L'\0');
    length = GetWindowTextW(window, &text[0], length + 1);
    text.resize(length > 0 ? length : 0);
    return text;
}

std::wstring ClassName(HWND window)
{
    wchar_t name[256];
    int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? length : 0);
}

bool IsClass(const WindowControl &control, const wchar_t *name)
{
    return CompareStringOrdinal(control.className.c_str(), -1, name, -1, TRUE) == CSTR_EQUAL;
}

struct Reading {
    HWND window;
    WindowTexts *texts;
};

BOOL CALLBACK AddControl(HWND control, LPARAM lParam)
{
    auto *reading = reinterpret_cast<Reading *>(lParam);
    if (GetAncestor(control, GA_PARENT) == reading->window) {   // the window's own controls only
        reading->texts->controls.push_back(
            {GetDlgCtrlID(control), ClassName(control), WindowText(control)});
    }
    return TRUE;
}

}  // namespace

std::wstring WindowTexts::Text(int id) const
{
    for (const WindowControl &control : controls) {
        if (control.id == id) return control.text;
    }
    return L"<missing>";
}

std::wstring WindowTexts::Dump() const
{
    std::vector<const WindowControl *> labels, fields;
    for (const WindowControl &control : controls) {
        if (IsClass(control, L"Static")) labels.push_back(&control);
        if (IsClass(control, L"Edit")) fields.push_back(&control);
    }
    std::wstring out = caption + L"\r\n";
    for (size_t i = 0; i < labels.size(); i++) {
        if (i < fields.size()) {
            out += labels[i]->text + L" " + fields[i]->text + L"\r\n";
        } else if (!labels[i]->text.empty()) {
            out += labels[i]->text + L"\r\n";
        }
    }
    return out;
}

WindowTexts ReadWindowTexts(HWND window)
{
    WindowTexts texts;
    texts.caption = WindowText(window);
    ClientToScreen(window, &texts.clientOrigin);
    texts.owner = GetWindow(window, GW_OWNER);
    texts.dpi = GetDpiForWindow(window);
    RECT client = {};
    GetClientRect(window, &client);
    texts.clientSize = {client.right, client.bottom};
    GetWindowRect(window, &texts.screenRect);
    EnumWindows(
        [](HWND other, LPARAM list) {
            if (!IsWindowEnabled(other)) reinterpret_cast<std::vector<HWND> *>(list)->push_back(other);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts.disabled));
    Reading reading = {window, &texts};
    EnumChildWindows(window, AddControl, reinterpret_cast<LPARAM>(&reading));
    return texts;
}

bool SaveWindowPng(HWND window, const std::wstring &path)
{
    RECT rect;
    if (!GetWindowRect(window, &rect)) return false;
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;

    // Copy the window, frame and caption included, from its window DC into
    // a bitmap, and read that back as top-down 24-bit rows.
    HDC windowDc = GetWindowDC(window);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, width, height);
    HGDIOBJ old = SelectObject(memoryDc, bitmap);
    BOOL copied = BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
    SelectObject(memoryDc, old);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    size_t stride = ((size_t)width * 3 + 3) & ~(size_t)3;
    std::vector<unsigned char> bgr(stride * height);
    int lines = copied ? GetDIBits(memoryDc, bitmap, 0, height, bgr.data(), &info, DIB_RGB_COLORS) : 0;

    DeleteObject(bitmap);
    DeleteDC(memoryDc);
    ReleaseDC(window, windowDc);
    if (lines != height) return false;

    std::vector<unsigned char> rgb((size_t)width * height * 3);
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            const unsigned char *from = &bgr[(size_t)y * stride + (size_t)x * 3];
            unsigned char *to = &rgb[((size_t)y * width + x) * 3];
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    return WritePng(path, width, height, rgb.data());
}

std::wstring NumberedPath(const std::wstring &path, int number)
{
    if (number <= 1) return path;
    size_t dot = path.find_last_of(L'.');
    size_t separator = path.find_last_of(L"\\/:");
    if (dot == std::wstring::npos || (separator != std::wstring::npos && dot < separator)) {
        dot = path.size();
    }
    return path.substr(0, dot) + L"-" + std::to_wstring(number) + path.substr(dot);
}

WindowWatch::WindowWatch(const WindowWatchOptions &options)
    : options_(options), outer_(ActiveWatch)
{
    ActiveWatch = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

WindowWatch::~WindowWatch()
{
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    ActiveWatch = outer_;
}

LRESULT CALLBACK WindowWatch::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    WindowWatch *watch = ActiveWatch;
    if (code == HCBT_ACTIVATE && watch != nullptr) {
        HWND window = reinterpret_cast<HWND>(wParam);
        bool seen = false;
        for (HWND known : watch->seen_) seen = seen || known == window;
        if (!seen && ClassName(window) == L"#32770") {
            watch->seen_.push_back(window);
            // WM_TIMER comes after the window's paint messages.
            SetTimer(window, ReadyTimer, 0, Ready);
        }
    }
    return CallNextHookEx(watch != nullptr ? watch->hook_ : nullptr, code, wParam, lParam);
}

void CALLBACK WindowWatch::Ready(HWND window, UINT, UINT_PTR id, DWORD)
{
    KillTimer(window, id);
    if (ActiveWatch != nullptr) ActiveWatch->Handle(window);
}

void WindowWatch::Handle(HWND window)
{
    UpdateWindow(window);
    WindowTexts texts = ReadWindowTexts(window);
    if (options_.dump) {
        /* On a console the window may open while a command line is being
        ** edited: the dump starts on a line of its own. */
        DWORD mode;
        if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode)) QPuts(L"\r\n");
        QPuts(texts.Dump().c_str());
        if (options_.metrics) {
            wchar_t line[80];
            wsprintfW(line, L"DPI %u, client area %ld x %ld\r\n", texts.dpi, texts.clientSize.cx,
                      texts.clientSize.cy);
            QPuts(line);
        }
    }
    if (!options_.screenshot.empty()) {
        std::wstring path = NumberedPath(options_.screenshot, (int)windows_.size() + 1);
        if (SaveWindowPng(window, path)) {
            screenshots_.push_back(path);
        } else {
            Qprintf(GetStdHandle(STD_ERROR_HANDLE), L"korrash: cannot save the screenshot %s\r\n",
                    path.c_str());
        }
    }
    windows_.push_back(texts);
    PostMessageW(window, options_.closeMessage, options_.closeWParam, options_.closeLParam);
}
