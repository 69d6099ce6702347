/*
** Fuzz target: the scans of a full name: its extension (for the version
** test and for the file-type lookup), its name part and the wildcard test.
** Input: a capacity byte, then the name.  Each result is the piece of the
** name its rule describes, cut or refused when it does not fit, never
** written past its buffer.
*/
#include "fileinfo/name_scan.h"
#include "frame/text.h"
#include "fuzz_input.h"

static int IsComponentEnd(wchar_t unit, int forwardSlashToo)
{
    return unit == L'\\' || unit == L':' || (forwardSlashToo && unit == L'/');
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input = {data, size, 0};
    int capacity = 1 + TakeByte(&input) % 32;
    int length;
    wchar_t *name = TakeText(&input, &length);
    wchar_t *piece = NewUnits(capacity);

    /* The extension: from the last dot that no slash, backslash or colon
    ** follows. */
    int dot = -1;
    for (int i = 0; i < length; i++) {
        if (name[i] == L'.') dot = i;
        else if (IsComponentEnd(name[i], 1)) dot = -1;
    }
    int fits = dot >= 0 && length - dot < capacity;
    REQUIRE(FindExtension(name, piece, capacity) == fits);
    if (fits) REQUIRE(UnitCount(piece) == length - dot && SameUnits(piece, name + dot, length - dot));
    else REQUIRE(piece[0] == 0);

    /* The lookup's extension: the same but a forward slash stays in it, and
    ** it must hold more than the dot; upper-cased. */
    dot = -1;
    for (int i = 0; i < length; i++) {
        if (name[i] == L'.') dot = i;
        else if (IsComponentEnd(name[i], 0)) dot = -1;
    }
    fits = dot >= 0 && length - dot >= 2 && length - dot < capacity;
    REQUIRE(LookupExtension(name, piece, capacity) == (fits ? 0 : -1));
    if (fits) {
        REQUIRE(UnitCount(piece) == length - dot);
        for (int i = 0; i < length - dot; i++) REQUIRE(piece[i] == FoldAscii(name[dot + i]));
    } else {
        REQUIRE(piece[0] == 0);
    }

    /* The name part: after the last backslash, upper-cased, cut to fit. */
    int start = 0;
    for (int i = 0; i < length; i++) {
        if (name[i] == L'\\') start = i + 1;
    }
    NamePart(name, piece, capacity);
    int kept = length - start < capacity - 1 ? length - start : capacity - 1;
    REQUIRE(UnitCount(piece) == kept);
    for (int i = 0; i < kept; i++) REQUIRE(piece[i] == FoldAscii(name[start + i]));

    /* Wildcards: any "*", "<", ">" or double quote, any "?" but that of a
    ** leading "\\?\". */
    int wildcard = 0;
    for (int i = 0; i < length; i++) {
        if (name[i] == L'*' || name[i] == L'<' || name[i] == L'>' || name[i] == L'"') wildcard = 1;
        if (name[i] == L'?' && !(i == 2 && name[0] == L'\\' && name[1] == L'\\' && name[3] == L'\\')) {
            wildcard = 1;
        }
    }
    REQUIRE(HasWildcard(name) == wildcard);

    FreeUnits(piece);
    FreeUnits(name);
    return 0;
}
