/*
** The command's help text.  Its blanks are part of it: one ends the first
** line and the syntax line, two end the /S line and the examples line, and
** the /T and /C lines align their values.
*/
#include "help.h"
#include "text.h"

const wchar_t HelpText[] =
    L"Display or change options for the Tirvalo plugin. \n"
    L"\n"
    L"TIRVALO [/S /R /L /T:x /C:x] [hotkey] \r\n"
    L"\n"
    L"\t/S \tsave options to the registry as new default  \n"
    L"\t/R \trestore saved options from the registry\n"
    L"\t/L \tlist all supported hotkeys\n"
    L"\t/T \tsmart timestamps:     0: off, 1: on, 2: UTC\n"
    L"\t/C \tsubdirectory counts:  0: off, 1: on\n"
    L"\n"
    L"Examples of hotkeys are Control-Q, Alt-I, F2, or Shift-F10.  \n"
    L"Control-Q is the default.  If no hotkey is specified, the\n"
    L"current setting will be shown.\n";

int CopyUsageText(wchar_t *buffer, int capacity)
{
    int start = TextFindUnit(HelpText, L'\n') + 1;
    while (HelpText[start] == L'\n') start++;
    return TextCopy(buffer, capacity, HelpText + start);
}
