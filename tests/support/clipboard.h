// The clipboard's Unicode text, read and put by the tests.
#ifndef TIRVALO_TESTS_CLIPBOARD_H
#define TIRVALO_TESTS_CLIPBOARD_H

#include <windows.h>

#include <string.h>

#include <string>

// The clipboard's Unicode text; "<held>" when it cannot be opened.
inline std::wstring ClipboardText()
{
    if (!OpenClipboard(nullptr)) return L"<held>";
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const wchar_t *units = data != nullptr ? (const wchar_t *)GlobalLock(data) : nullptr;
    std::wstring text = units != nullptr ? std::wstring(units, wcsnlen(units, GlobalSize(data) / 2)) : L"<none>";
    if (units != nullptr) GlobalUnlock(data);
    CloseClipboard();
    return text;
}

inline void PutClipboardText(const std::wstring &text)
{
    HWND owner = CreateWindowW(L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    size_t size = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(block), text.c_str(), size);
    GlobalUnlock(block);
    if (OpenClipboard(owner) && EmptyClipboard()) SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
    DestroyWindow(owner);
}

#endif
