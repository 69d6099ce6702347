/*
** Finding the word at the cursor.  One pass over the line keeps the current
** word; separators end it, double quotes group, and "%@name[" opens a host
** function whose argument becomes the word, the matching "]" closing it.
*/
#include "word_at_cursor.h"
#include "frame/text.h"

static int IsSeparator(wchar_t unit)
{
    switch (unit) {
    case L',': case L';': case L'<': case L'>': case L'|': case L'&':
        return 1;
    default:
        return IsWhiteSpace(unit);
    }
}

static int IsNameUnit(wchar_t unit)
{
    return (unit >= L'0' && unit <= L'9') || (unit >= L'A' && unit <= L'Z') ||
           (unit >= L'a' && unit <= L'z') || unit == L'_';
}

int ExtractWordAtCursor(const wchar_t *line, long long cursorIndex, wchar_t *word, int capacity)
{
    int length = 0;
    int inQuotes = 0;
    int functionName = 0;   /* the word so far ends in "%@" and a name */
    int depth = 0;          /* open "%@name[" brackets */
    long long index;

    if (word == 0 || capacity < 1) return 0;
    word[0] = 0;
    if (line == 0) return 0;

    for (index = 0; line[index] != 0; index++) {
        wchar_t unit = line[index];
        int separator;

        if (unit == L'"') {
            inQuotes = !inQuotes;
            functionName = 0;
            continue;
        }
        separator = 0;
        if (depth > 0 && !inQuotes && unit == L']') {
            depth--;
            separator = 1;
        } else if (!inQuotes) {
            separator = IsSeparator(unit);
        }
        if (separator) {
            if (index >= cursorIndex) break;
            length = 0;
            word[0] = 0;
            functionName = 0;
            continue;
        }

        if (unit == L'@') {
            if (length == 0) {
                functionName = 0;
            } else if (word[length - 1] == L'%') {
                functionName = 1;
            }
        } else if (unit == L'[' && functionName) {
            length = 0;
            word[0] = 0;
            functionName = 0;
            depth++;
            continue;
        } else if (!IsNameUnit(unit)) {
            functionName = 0;
        }
        TextPutUnit(word, capacity, &length, unit);
    }
    return length;
}
