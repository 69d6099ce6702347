/*
** Copying the information window's texts.  While the window is open, Ctrl+C
** and Ctrl+Insert put its caption and each label with its field on the
** clipboard as Unicode text, one line each, every line ending in "\r\n":
**
**     caption
**     label <tab> field          (twelve lines, in the template's order)
**
** The texts are read back from the window's own controls, so the copy is
** what the window shows, relabelled labels included.
**
** The keystroke is caught by a message-filter hook of the window's thread.
** The dialog's modal loop hands that hook every message before the focused
** control sees it, so the keystroke is taken wherever the focus is (on OK,
** or in a field that would otherwise copy its own selection) and no control
** ever sees it.  Unlike subclassing it needs one call to install and one to
** remove whatever the controls are, and unlike a global or a get-message
** hook it sees only the modal loops of this thread.  It is installed when
** the window opens and removed when the window is destroyed.
**
** When the text cannot be made or the clipboard cannot be opened (another
** program holds it open) or emptied, the host beeps once and the clipboard
** keeps what it had.  When the text cannot be placed once the clipboard is
** emptied, it beeps once and the clipboard stays empty: what it had is gone
** with the emptying.  Nothing is left allocated on any path.
*/
#include <windows.h>

#include "frame/host_api.h"
#include "frame/text.h"
#include "info_dialog.h"

enum {
    LABEL_COUNT = 12,                   /* labels 1001 to 1012, fields 1025 to 1036 */
    PIECE_COUNT = 1 + 2 * LABEL_COUNT,  /* the caption, then each label and its field */
    PIECE_LIMIT = 32767                 /* units read from one control at most */
};

/* The window whose keystrokes are filtered, and the filter.  The host runs
** one modal window at a time on its thread; a second window opened while
** one has the filter gets none. */
static HWND CopyWindow;
static HHOOK CopyHook;

/* Reads control's text, at most limit units, onto the end of text. */
static void AppendWindowText(wchar_t *text, int capacity, int *length, HWND control, int limit)
{
    int room = capacity - *length, read;

    if (room > limit + 1) room = limit + 1;
    if (room < 1) return;
    read = GetWindowTextW(control, text + *length, room);
    if (read < 0) read = 0;
    if (read > room - 1) read = room - 1;
    *length += read;
    text[*length] = 0;
}

/*
** A moveable block with the window's texts, sized from the lengths of the
** controls; null when it cannot be made.
*/
static HGLOBAL MakeCopyText(HWND window)
{
    HWND pieces[PIECE_COUNT];
    int lengths[PIECE_COUNT];
    int capacity = 1, length = 0, i;
    HGLOBAL block;
    wchar_t *text;

    pieces[0] = window;
    for (i = 0; i < LABEL_COUNT; i++) {
        pieces[1 + 2 * i] = GetDlgItem(window, IDC_LABEL_FULL_NAME + i);
        pieces[2 + 2 * i] = GetDlgItem(window, IDC_FIELD_FULL_NAME + i);
    }
    /* Each label is followed by a tab, the caption and each field by "\r\n". */
    for (i = 0; i < PIECE_COUNT; i++) {
        lengths[i] = GetWindowTextLengthW(pieces[i]);
        if (lengths[i] < 0) lengths[i] = 0;
        if (lengths[i] > PIECE_LIMIT) lengths[i] = PIECE_LIMIT;
        capacity += lengths[i] + (i % 2 == 1 ? 1 : 2);
    }

    block = GlobalAlloc(GMEM_MOVEABLE, (SIZE_T)capacity * sizeof(wchar_t));
    if (block == 0) return 0;
    text = (wchar_t *)GlobalLock(block);
    if (text == 0) {
        GlobalFree(block);
        return 0;
    }
    text[0] = 0;
    for (i = 0; i < PIECE_COUNT; i++) {
        AppendWindowText(text, capacity, &length, pieces[i], lengths[i]);
        if (i % 2 == 1) {
            TextPutUnit(text, capacity, &length, L'\t');
        } else {
            TextPutUnit(text, capacity, &length, L'\r');
            TextPutUnit(text, capacity, &length, L'\n');
        }
    }
    GlobalUnlock(block);
    return block;
}

int CopyWindowTexts(HWND window)
{
    HGLOBAL block = MakeCopyText(window);
    int status = 0;

    if (block == 0) return -1;
    /* The clipboard is emptied only once the text is ready to replace it. */
    if (!OpenClipboard(window)) {
        GlobalFree(block);
        return -2;
    }
    if (!EmptyClipboard()) {
        status = -3;
    } else if (SetClipboardData(CF_UNICODETEXT, block) == 0) {
        status = -4;
    }
    CloseClipboard();
    /* Once placed, the block belongs to the clipboard; when it could not
    ** be placed it is still ours (cppcheck takes every SetClipboardData
    ** for a release). */
    /* cppcheck-suppress doubleFree */
    if (status != 0) GlobalFree(block);
    return status;
}

/* 1 for a key-down of C or Insert with Ctrl held and neither Shift nor Alt. */
static int IsCopyKey(const MSG *message)
{
    if (message->message != WM_KEYDOWN) return 0;
    if (message->wParam != 'C' && message->wParam != VK_INSERT) return 0;
    return GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_MENU) >= 0;
}

/* The message filter: copies on a copy key in the window and keeps the
** keystroke from its controls; passes everything else on. */
static LRESULT CALLBACK CopyKeyFilter(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG *message = (const MSG *)lParam;

    if (code == MSGF_DIALOGBOX && CopyWindow != 0 && IsCopyKey(message) &&
        GetAncestor(message->hwnd, GA_ROOT) == CopyWindow) {
        if (CopyWindowTexts(CopyWindow) != 0) honk();
        return 1;
    }
    return CallNextHookEx(CopyHook, code, wParam, lParam);
}

int StartCopyKeys(HWND window)
{
    if (window == 0) return -1;
    if (CopyHook != 0) return 1;
    CopyHook = SetWindowsHookExW(WH_MSGFILTER, CopyKeyFilter, 0, GetCurrentThreadId());
    if (CopyHook == 0) return -2;
    CopyWindow = window;
    return 0;
}

int StopCopyKeys(HWND window)
{
    if (window == 0 || window != CopyWindow) return 1;
    UnhookWindowsHookEx(CopyHook);
    CopyHook = 0;
    CopyWindow = 0;
    return 0;
}
