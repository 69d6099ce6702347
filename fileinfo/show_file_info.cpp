/*
** ShowFileInfo and the hotkey's ShowFileInfoAtCursor: where the texts of
** one showing live.  They take 286 KiB, and a shell may run a command
** on a thread of its own with less stack than the usual 1 MiB: before they
** are taken, the thread's stack is asked how much room it has left.  With
** room for the texts and the rest of the showing, they go on the stack and
** nothing is allocated.  With room for the rest only, they go into one heap
** block, freed before the call returns.  With less, or without a block,
** the name is refused with one beep: the showing would overflow the stack
** and take the shell down with it.
*/
#include <windows.h>

#include "show_texts.h"
#include "frame/host_api.h"
#include "frame/platform.h"

/*
** The most stack a showing takes beside its texts: the routines it calls
** with texts of their own (the owner's, the search's, the file-type
** lookup's: 70 KiB at most), and the system's window and what runs in it
** (a screen reader's hooks, an input method).  Measured under Wine: see
** docs/robustness.md.
*/
enum { STACK_BESIDE_TEXTS = 128 * 1024 };

static int ShowInformation(const ShowRequest *request)
{
    size_t room = StackRoom();
    HANDLE heap;
    ShowTexts *texts;
    int result;

    if (room >= sizeof(ShowTexts) + STACK_BESIDE_TEXTS) return ShowWithTextsOnStack(request);
    heap = room >= STACK_BESIDE_TEXTS ? GetProcessHeap() : 0;
    texts = heap != 0 ? (ShowTexts *)HeapAlloc(heap, 0, sizeof *texts) : 0;
    if (texts == 0) {
        honk();
        return SHOW_NO_WINDOW;
    }
    result = ShowWithTexts(request, texts);
    HeapFree(heap, 0, texts);
    return result;
}

int ShowFileInfo(const wchar_t *name)
{
    ShowRequest request = {name, 0, 0, 0};

    if (name == 0) {
        honk();
        return SHOW_NULL_NAME;
    }
    if (name[0] == 0) {
        honk();
        return SHOW_EMPTY_NAME;
    }
    return ShowInformation(&request);
}

int ShowFileInfoAtCursor(const wchar_t *line, long long cursorIndex)
{
    ShowRequest request = {0, line, cursorIndex, L"\r\n"};
    return ShowInformation(&request);
}
