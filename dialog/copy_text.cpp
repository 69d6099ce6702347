/*
** Copying the information window's texts.  While the window is open, Ctrl+C
** and Ctrl+Insert put its caption and each label with its field on the
** clipboard as Unicode text, one line each, every line ending in "\r\n":
**
**     caption
**     label <tab> field          (twelve lines, in the template's order)
**
** The text is the one EmitInfoText makes from the window's record, relabelled
** labels included: the same text the plug-in writes where no window can be
** seen.
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
** program holds it open for longer than about 150 ms) or emptied, the host
** beeps once and the clipboard keeps what it had.  When the text cannot be
** placed once the clipboard is emptied, it beeps once and the clipboard
** stays empty: what it had is gone with the emptying.  Nothing is left
** allocated on any path.
*/
#include <windows.h>

#include "frame/host_api.h"
#include "frame/text.h"
#include "info_dialog.h"

/* The window whose keystrokes are filtered, the record it shows, and the
** filter.  The host runs one modal window at a time on its thread; a second
** window opened while one has the filter gets none. */
static HWND CopyWindow;
static const FileInfoRecord *CopyRecord;
static HHOOK CopyHook;

/* A text being put together in a buffer of capacity units; with no buffer,
** only its length is counted. */
struct TextBlock {
    wchar_t *text;
    int capacity;
    int length;
};

static void PutPiece(void *context, const wchar_t *piece)
{
    TextBlock *block = (TextBlock *)context;
    int i;

    for (i = 0; piece[i] != 0; i++) {
        if (block->text == 0) {
            block->length++;
        } else {
            TextPutUnit(block->text, block->capacity, &block->length, piece[i]);
        }
    }
}

/* A moveable block with the text of the window's record; null when it
** cannot be made. */
static HGLOBAL MakeCopyText(const FileInfoRecord *record)
{
    InfoTexts texts;
    TextBlock measure = {0, 0, 0};
    TextBlock copy;
    HGLOBAL block;

    MakeInfoTexts(record, &texts);
    EmitInfoText(&texts, PutPiece, &measure);
    block = GlobalAlloc(GMEM_MOVEABLE, (SIZE_T)(measure.length + 1) * sizeof(wchar_t));
    if (block == 0) return 0;
    copy.text = (wchar_t *)GlobalLock(block);
    if (copy.text == 0) {
        GlobalFree(block);
        return 0;
    }
    copy.capacity = measure.length + 1;
    copy.length = 0;
    copy.text[0] = 0;
    EmitInfoText(&texts, PutPiece, &copy);
    GlobalUnlock(block);
    return block;
}

int CopyWindowTexts(HWND window)
{
    enum { CLIPBOARD_RETRIES = 10, CLIPBOARD_RETRY_MS = 15 };
    HGLOBAL block;
    int status = 0, tries;

    if (window == 0 || window != CopyWindow || CopyRecord == 0) return COPY_NO_TEXT;
    block = MakeCopyText(CopyRecord);
    if (block == 0) return COPY_NO_TEXT;
    /* The clipboard is emptied only once the text is ready to replace it.
    ** Another program may hold it open for a moment (a clipboard manager,
    ** the clipboard history, a remote desktop): asked again a few times. */
    for (tries = 0; !OpenClipboard(window); tries++) {
        if (tries == CLIPBOARD_RETRIES) {
            GlobalFree(block);
            return COPY_CLIPBOARD_BUSY;
        }
        Sleep(CLIPBOARD_RETRY_MS);
    }
    if (!EmptyClipboard()) {
        status = COPY_NOT_EMPTIED;
    } else if (SetClipboardData(CF_UNICODETEXT, block) == 0) {
        status = COPY_NOT_PLACED;
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

/* The window and its record are noted even when the filter cannot be
** installed: CopyWindowTexts still copies them when asked directly. */
int StartCopyKeys(HWND window, const FileInfoRecord *record)
{
    if (window == 0) return COPY_KEYS_NO_WINDOW;
    if (CopyWindow != 0) return COPY_KEYS_ELSEWHERE;
    CopyWindow = window;
    CopyRecord = record;
    CopyHook = SetWindowsHookExW(WH_MSGFILTER, CopyKeyFilter, 0, GetCurrentThreadId());
    return CopyHook != 0 ? 0 : COPY_KEYS_NO_FILTER;
}

int StopCopyKeys(HWND window)
{
    if (window == 0 || window != CopyWindow) return COPY_KEYS_ELSEWHERE;
    if (CopyHook != 0) UnhookWindowsHookEx(CopyHook);
    CopyHook = 0;
    CopyWindow = 0;
    CopyRecord = 0;
    return 0;
}
