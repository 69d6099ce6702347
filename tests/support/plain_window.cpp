// Plain windows of the information window's template.  See plain_window.h.
#include "plain_window.h"

#include "dialog/resource_ids.h"

namespace {

thread_local bool Opening = false;
thread_local const std::wstring *Copy = nullptr;

void PutOnClipboard(HWND owner, const std::wstring &text)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (memory == nullptr || !OpenClipboard(owner)) return (void)GlobalFree(memory);
    lstrcpyW((wchar_t *)GlobalLock(memory), text.c_str());
    GlobalUnlock(memory);
    EmptyClipboard();
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    CloseClipboard();
}

BOOL CALLBACK AddText(HWND control, LPARAM texts)
{
    wchar_t text[4096];
    GetWindowTextW(control, text, 4096);
    ((PlainTexts *)texts)->push_back({GetDlgCtrlID(control), text});
    return TRUE;
}

INT_PTR CALLBACK PlainWindow(HWND window, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        for (const PlainText &text : *(const PlainTexts *)lParam) {
            SetWindowTextW(text.id == 0 ? window : GetDlgItem(window, text.id), text.text.c_str());
        }
        SetTimer(window, 1, 0, nullptr);   // fires once the window is painted
        return FALSE;                      // as the plug-in's: no control gets the keyboard focus
    case WM_TIMER:
        KillTimer(window, 1);
        if (Copy != nullptr) PutOnClipboard(window, *Copy);
        EndDialog(window, IDOK);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

PlainTexts TextsOf(HWND window)
{
    PlainTexts texts;
    AddText(window, (LPARAM)&texts);
    texts[0].id = 0;
    EnumChildWindows(window, AddText, (LPARAM)&texts);
    return texts;
}

void OpenPlainWindows(HMODULE module, const std::vector<PlainTexts> &kinds, int count,
                      const std::wstring *copy)
{
    const PlainTexts none;
    Opening = true;
    Copy = copy;
    for (int i = 0; i < count; i++) {
        const PlainTexts &texts = kinds.empty() ? none : kinds[i % kinds.size()];
        DialogBoxParamW(module, MAKEINTRESOURCEW(IDD_FILE_INFO), nullptr, PlainWindow, (LPARAM)&texts);
    }
    Opening = false;
    Copy = nullptr;
}

bool OpeningPlainWindows()
{
    return Opening;
}
