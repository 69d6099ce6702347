/*
** The argument splitter.  See arguments.h.  It allocates nothing and
** touches only the first unit of each slot and the units it stores.
*/
#include "frame/text.h"
#include "arguments.h"

wchar_t ArgumentTable[ARGUMENT_SLOTS][ARGUMENT_UNITS + 1];
int ArgumentLengths[ARGUMENT_SLOTS];

int SplitArguments(const wchar_t *text)
{
    int slot = 0, length = 0, quoted = 0;
    int i;

    for (i = 0; i < ARGUMENT_SLOTS; i++) {
        ArgumentLengths[i] = 0;
        ArgumentTable[i][0] = 0;
    }
    if (text == 0) return 0;

    for (i = 0; text[i] != 0; i++) {
        wchar_t unit = text[i];
        if (unit == L'"') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && IsWhiteSpace(unit)) {
            if (length > 0) {
                slot++;
                length = 0;
            }
            continue;
        }
        /* Options may run together: "/s/r" is two.  A slash inside a word
        ** that is not an option, such as a key name, stays in it. */
        if (unit == L'/' && !quoted && length > 0 && ArgumentTable[slot][0] == L'/') {
            slot++;
            length = 0;
        }
        /* Past the 128th argument, and past an argument's 2048th unit,
        ** units are dropped. */
        if (slot < ARGUMENT_SLOTS) {
            TextPutUnit(ArgumentTable[slot], ARGUMENT_UNITS + 1, &length, UpperAscii(unit));
            ArgumentLengths[slot] = length;
        }
    }
    return 0;
}
