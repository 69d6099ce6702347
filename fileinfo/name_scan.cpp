/*
** Scans of file names and command texts.  See name_scan.h.
*/
#include "name_scan.h"

#include "frame/text.h"

int FindExtension(const wchar_t *fullName, wchar_t *extension, int capacity)
{
    int i, mark = -1;
    if (extension == 0 || capacity < 1) return 0;
    extension[0] = 0;
    if (fullName == 0) return 0;
    for (i = 0; fullName[i] != 0; i++) {
        wchar_t unit = fullName[i];
        if (unit == L'.') {
            mark = i;
        } else if (unit == L'/' || unit == L'\\' || unit == L':') {
            mark = -1;
        }
    }
    if (mark < 0) return 0;
    if (TextCopy(extension, capacity, fullName + mark) != TEXT_OK) {
        extension[0] = 0;
        return 0;
    }
    return 1;
}

int HasWildcard(const wchar_t *fullName)
{
    int i;
    if (fullName == 0) return 0;
    for (i = 0; fullName[i] != 0; i++) {
        /* The file system reads "<", ">" and a double quote in a search
        ** name as wildcards too (DOS matching's "*", "?" and "."). */
        if (fullName[i] == L'*' || fullName[i] == L'<' || fullName[i] == L'>' || fullName[i] == L'"') {
            return 1;
        }
        if (fullName[i] == L'?') {
            /* The "?" of "\\?\" is part of the long-path form.  Index 2
            ** being reached means units 0 and 1 exist; unit 3 may be the
            ** terminator, which is not a backslash. */
            int prefix = i == 2 && fullName[0] == L'\\' && fullName[1] == L'\\' &&
                         fullName[3] == L'\\';
            if (!prefix) return 1;
        }
    }
    return 0;
}

/* 1 for the ASCII letters, the only drive letters. */
static int IsDriveLetter(wchar_t unit)
{
    return (unit >= L'A' && unit <= L'Z') || (unit >= L'a' && unit <= L'z');
}

const wchar_t *FileSystemPath(const wchar_t *path, wchar_t *room, int capacity)
{
    const wchar_t *prefix;
    int length, skip, prefixLength, i;

    if (path == 0 || room == 0) return path;
    length = TextLength(path);
    if (length < LONG_PATH_UNITS) return path;
    if (IsDriveLetter(path[0]) && path[1] == L':' && path[2] == L'\\') {
        prefix = L"\\\\?\\";
        skip = 0;
    } else if (path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?' && path[2] != L'.' &&
               path[2] != L'\\' && path[2] != 0) {
        prefix = L"\\\\?\\UNC\\";   /* in place of the share's leading "\\" */
        skip = 2;
    } else {
        return path;
    }
    prefixLength = TextLength(prefix);
    if (length - skip + prefixLength >= capacity) return path;
    /* From the end, terminator first: room may be path itself, and the text
    ** only ever moves towards the end. */
    for (i = length; i >= skip; i--) room[i - skip + prefixLength] = path[i];
    for (i = 0; i < prefixLength; i++) room[i] = prefix[i];
    return room;
}

int NeedsNormalising(const wchar_t *path)
{
    int i, start = 0, length;
    if (path == 0 || TextLength(path) < LONG_PATH_UNITS) return 0;
    if (path[0] == L'\\' && path[1] == L'\\' && (path[2] == L'?' || path[2] == L'.') && path[3] == L'\\') {
        return 0;
    }
    for (i = 0;; i++) {
        if (path[i] == L'/') return 1;
        if (path[i] != L'\\' && path[i] != 0) continue;
        /* The component from start to here: "." or ".."? */
        length = i - start;
        if (length >= 1 && length <= 2 && path[start] == L'.' && path[i - 1] == L'.') return 1;
        if (path[i] == 0) return 0;
        start = i + 1;
    }
}

int IsBareDrive(const wchar_t *fullName)
{
    return fullName != 0 && IsDriveLetter(fullName[0]) && fullName[1] == L':' && fullName[2] == 0;
}

void NamePart(const wchar_t *fullName, wchar_t *namePart, int capacity)
{
    int last = TextFindLastUnit(fullName, L'\\');
    TextCopy(namePart, capacity, fullName != 0 ? fullName + last + 1 : 0);
    if (namePart != 0 && capacity >= 1) TextUpperAscii(namePart);
}

int UndoublePercents(wchar_t *text)
{
    int from = 0, to = 0, pairs = 0;
    if (text == 0) return 0;
    while (text[from] != 0) {
        if (text[from] == L'%' && text[from + 1] == L'%') {
            text[to++] = L'%';
            from += 2;
            pairs++;
        } else {
            text[to++] = text[from++];
        }
    }
    text[to] = 0;
    return pairs;
}

void NarrowPercents(wchar_t *text)
{
    if (text == 0) return;
    for (; *text != 0; text++) {
        if (*text == 0xFF05) *text = L'%';
    }
}

int AppendDoublingPercents(wchar_t *buffer, int capacity, const wchar_t *text)
{
    int length, status;
    /* Appending nothing checks, within the capacity, that the buffer holds
    ** a terminated text, and terminates one that fills it. */
    status = TextAppend(buffer, capacity, L"");
    if (status != TEXT_OK) return status;
    length = TextLength(buffer);
    for (; text != 0 && *text != 0 && status == TEXT_OK; text++) {
        /* A doubled sign goes in whole or not at all. */
        if (*text == L'%' && length + 2 > capacity - 1) return TEXT_CUT;
        status = TextPutUnit(buffer, capacity, &length, *text);
        if (status == TEXT_OK && *text == L'%') status = TextPutUnit(buffer, capacity, &length, L'%');
    }
    return status;
}

int LookupExtension(const wchar_t *path, wchar_t *piece, int capacity)
{
    int length = 0, overflow = 0;
    if (piece == 0 || capacity < 1) return -1;
    piece[0] = 0;
    if (path == 0) return -1;
    for (; *path != 0; path++) {
        wchar_t unit = *path;
        if (unit == L'\\' || unit == L':') {
            length = 0;
            overflow = 0;
            piece[0] = 0;
        } else if (unit == L'.') {
            length = 0;
            overflow = 0;
            piece[0] = 0;
            TextPutUnit(piece, capacity, &length, L'.');
        } else if (TextPutUnit(piece, capacity, &length, UpperAscii(unit)) != TEXT_OK) {
            overflow = 1;
        }
    }
    if (overflow || piece[0] != L'.' || piece[1] == 0) {
        piece[0] = 0;
        return -1;
    }
    return 0;
}

int ProgramPart(const wchar_t *command, wchar_t *program, int capacity)
{
    int length = 0, quoted = 0, status = TEXT_OK;
    if (program == 0 || capacity < 1) return TEXT_NO_ROOM;
    program[0] = 0;
    if (command == 0) return TEXT_OK;
    for (; *command != 0; command++) {
        wchar_t unit = *command;
        if (unit == L'"') {
            quoted = !quoted;
        } else if (!quoted && IsWhiteSpace(unit)) {
            if (length > 0) break;
        } else if (TextPutUnit(program, capacity, &length, unit) != TEXT_OK) {
            status = TEXT_CUT;
        }
    }
    return status;
}

int IsPlaceholderCommand(const wchar_t *command)
{
    wchar_t program[3];
    /* A program part of more than two units does not fit, and is none:
    ** "%LOCALAPPDATA%\..." is a program, not the placeholder "%L". */
    if (ProgramPart(command, program, 3) != TEXT_OK) return 0;
    return program[0] == L'%' && (program[1] == L'1' || UpperAscii(program[1]) == L'L') &&
           program[2] == 0;
}
