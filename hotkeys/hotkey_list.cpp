/*
** The hotkey list that the command's /L option prints.
*/
#include "frame/host_api.h"
#include "hotkey_names.h"

int ListHotkeys(void)
{
    const KeyTable *table = ActiveKeyTable();
    wchar_t line[HOTKEY_NAME_CAPACITY];
    int row;

    for (row = 0; row < table->rowCount; row++) {
        FormatHotkeyListLine(table, row, line, HOTKEY_NAME_CAPACITY);
        QPuts(line);
        QPuts(L"\r\n");
    }
    return 0;
}
