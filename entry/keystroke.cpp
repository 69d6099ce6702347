/*
** The keystroke handler.  The host calls `key` for every keystroke on the
** command line; when the keystroke, with the modifiers held at that moment,
** is the hotkey, the information window opens for the word at the cursor and
** the keystroke is consumed.  Every other keystroke costs a key-name parse
** on newer hosts and one comparison; only a keystroke of the hotkey's own key
** also costs the three modifier queries.
*/
#include <windows.h>

#include "fileinfo/fileinfo.h"
#include "frame/plugin.h"
#include "hotkeys/hotkey_names.h"
#include "settings/settings.h"
#include "entry.h"

enum { MARKER_BITS = HOTKEY_CTRL_SHIFT_BIT | HOTKEY_CTRL_ALT_BIT };

/* The word is taken where ShowFileInfo keeps its texts, in a file of its
** own: none of them is ever in the frame of `key`, which every keystroke
** pays for (tests/check-dll.sh holds it small). */
int FindWordAtCursor(const wchar_t *line, const wchar_t *cursor)
{
    if (line == 0 || cursor == 0) return -1;
    return ShowFileInfoAtCursor(line, cursor - line);
}

int key(KeystrokeRecord *record)
{
    int code = record->keyCode;
    int held = 0;

    if (code == 0) {
        if (!UseExtendedKeys || record->keyName == 0) return 0;
        code = ParseHotkeyName(record->keyName);
        if (code == 0) return 0;
    }

    /* The held modifiers only ever add marker bits: a code whose other bits
    ** are not the hotkey's cannot match whatever is held, and ends here
    ** without asking the system for the modifiers. */
    if ((code & ~MARKER_BITS) != (Settings.Hotkey & ~MARKER_BITS)) return 0;

    if (GetAsyncKeyState(VK_SHIFT) & 0x8000) held |= MODIFIER_SHIFT;
    if (GetAsyncKeyState(VK_CONTROL) & 0x8000) held |= MODIFIER_CTRL;
    if (GetAsyncKeyState(VK_MENU) & 0x8000) held |= MODIFIER_ALT;
    if (held == (MODIFIER_SHIFT | MODIFIER_CTRL)) {
        code |= HOTKEY_CTRL_SHIFT_BIT;
    } else if (held == (MODIFIER_CTRL | MODIFIER_ALT)) {
        code |= HOTKEY_CTRL_ALT_BIT;
    } else if (held == (MODIFIER_SHIFT | MODIFIER_CTRL | MODIFIER_ALT) && UseExtendedKeys) {
        code |= HOTKEY_CTRL_SHIFT_BIT | HOTKEY_CTRL_ALT_BIT;
    }
    if (code != Settings.Hotkey) return 0;

    FindWordAtCursor(record->line, record->cursor);
    record->keyCode = 0;
    if (UseExtendedKeys && record->keyName != 0) record->keyName[0] = 0;
    return 0;
}
