// Delivers the default hotkey (Ctrl-Q, with no modifier held) to the
// keystroke handler as the host would, with the cursor at an index of the
// line (its end by default).  True when the keystroke was consumed.
#ifndef TIRVALO_TESTS_PRESS_HOTKEY_H
#define TIRVALO_TESTS_PRESS_HOTKEY_H

#include <string>

#include "entry/entry.h"
#include "settings/settings.h"

inline bool PressHotkey(const std::wstring &line, size_t cursor = std::wstring::npos)
{
    KeystrokeRecord record = {};
    record.keyCode = DefaultHotkey;
    record.line = line.c_str();
    record.cursor = line.c_str() + (cursor < line.size() ? cursor : line.size());
    key(&record);
    return record.keyCode == 0;
}

#endif
