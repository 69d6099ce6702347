// Keys pressed for real in the information window, as a user would, by a
// timer of the window's thread: once the window has been up for a moment, Tab
// is pressed tabs times, then the chord (keys pressed in order, released in
// reverse, with SendInput); once the clipboard has changed or the host has
// beeped, or after half a second, the window and the clipboard are read and
// Enter is pressed.
#ifndef TIRVALO_TESTS_PRESS_KEYS_H
#define TIRVALO_TESTS_PRESS_KEYS_H

#include <windows.h>

#include <string>
#include <vector>

#include "dialog/info_dialog.h"
#include "frame/platform.h"
#include "frame/plugin.h"
#include "host/host_control.h"
#include "host/window_dump.h"
#include "tests/support/clipboard.h"

struct KeysPressed {
    INT_PTR result = 0;             // the window's
    WindowTexts before, after;      // the window before the chord and after it
    int focusBefore = 0, focusAfter = 0;   // the id of the control with the focus
    bool openAfter = false;
    std::wstring clipboard;         // after the chord
};

inline void Tap(const std::vector<WORD> &keys)
{
    std::vector<INPUT> inputs(2 * keys.size());
    for (size_t i = 0; i < inputs.size(); i++) {
        bool up = i >= keys.size();
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[up ? inputs.size() - 1 - i : i];
        inputs[i].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    }
    SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT));
}

// The presser's steps, taken by a timer of the window's thread.
struct Pressing {
    const wchar_t *caption;
    std::vector<WORD> chord;
    int tabs;
    KeysPressed k;
    int step = 0, focused = 0;
    DWORD since = 0, sequence = 0;
    int beeps = 0;
};
inline Pressing *CurrentPressing = nullptr;

inline void CALLBACK PressStep(HWND, UINT, UINT_PTR, DWORD now)
{
    Pressing &p = *CurrentPressing;
    HWND window = FindWindowW(L"#32770", p.caption);
    DWORD waited = now - p.since;
    if (window == nullptr) return;
    if (p.step == 0) {
        p.step = 1, p.since = now;
    } else if (p.step == 1 && waited >= 300) {   // a window's first moments may undo injected keys
        p.focused = GetDlgCtrlID(GetFocus());
        for (int i = 0; i < p.tabs; i++) Tap({VK_TAB});
        p.step = 2, p.since = now;
    } else if (p.step == 2 && (p.tabs == 0 || GetDlgCtrlID(GetFocus()) != p.focused || waited >= 2000)) {
        p.k.before = ReadWindowTexts(window);
        p.k.focusBefore = GetDlgCtrlID(GetFocus());
        p.sequence = GetClipboardSequenceNumber();
        p.beeps = KorrashBeepCount();
        Tap(p.chord);
        p.step = 3, p.since = now;
    } else if (p.step == 3 && (GetClipboardSequenceNumber() != p.sequence ||
                               KorrashBeepCount() != p.beeps || waited >= 500)) {
        p.k.after = ReadWindowTexts(window);
        p.k.focusAfter = GetDlgCtrlID(GetFocus());
        p.k.openAfter = IsWindowVisible(window);
        p.k.clipboard = ClipboardText();
        Tap({VK_RETURN});
        p.step = 4, p.since = now;
    } else if (p.step == 4 && waited >= 3000) {
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    }
}

// Shows the window for record on this thread and presses the keys in it.
inline KeysPressed ShowAndPress(FileInfoRecord *record, const std::vector<WORD> &chord, int tabs = 0)
{
    Pressing p = {record->title, chord, tabs, {}};
    CurrentPressing = &p;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, PressStep);
    p.k.result = DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_FILE_INFO), nullptr,
                                 InfoDialogProc, (LPARAM)record);
    KillTimer(nullptr, timer);
    CurrentPressing = nullptr;
    return p.k;
}

#endif
