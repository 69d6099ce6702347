/*
** The hotkey's own path: the information window for the word at the cursor.
**
** It lives apart from the keystroke handler on purpose.  The word's buffer
** is 64 KB of stack; in the handler's own file the compiler may inline this
** routine into `key`, and then every keystroke, the hotkey or not, would
** reserve and touch those 64 KB.  A routine of another file is never
** inlined there, and tests/check-dll.sh fails when `key` grows a large frame.
*/
#include "fileinfo/fileinfo.h"
#include "hotkeys/word_at_cursor.h"
#include "entry.h"

int FindWordAtCursor(const wchar_t *line, const wchar_t *cursor)
{
    wchar_t word[WORD_CAPACITY];

    if (line == 0 || cursor == 0) return -1;
    ExtractWordAtCursor(line, cursor - line, word, WORD_CAPACITY);
    return ShowFileInfoForHotkey(word);
}
