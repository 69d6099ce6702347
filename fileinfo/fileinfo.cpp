/*
** ShowFileInfo: from a name to the information window.  The name is
** resolved by the host, checked for wildcards and searched for; then every
** field is gathered into the window's record, and the window is shown
** modally on the host's thread, or, where no window can be seen, its text
** is written to standard output.
*/
#include <windows.h>
#include <shlwapi.h>

#include "name_scan.h"
#include "show_texts.h"
#include "dialog/info_dialog.h"
#include "frame/host_api.h"
#include "frame/platform.h"
#include "frame/plugin.h"
#include "frame/text.h"
#include "frame/version.h"
#include "hotkeys/word_at_cursor.h"
#include "settings/settings.h"

enum {
    ROOT_CAPACITY = 4096,
    WILDCARD_BEEP_GAP_MS = 120
};

/* A file of a cloud-files provider that is not on the disk (offline,
** recalled on open, or recalled on reading its data): reading its version
** would download the whole file, or wait for a network that is not there.
** A folder of such a provider that is not wholly on the disk carries the
** same marks: listing it would fetch its entries from the network. */
enum {
    NOT_ON_DISK_ATTRIBUTES = FILE_ATTRIBUTE_OFFLINE | 0x40000 | 0x400000
};

/*
** Writes path, made a full path by the system, into room (PATH_CAPACITY
** units, not path) and gives 1, when it needs that before the long-path
** form, which turns the system's own normalisation off (NeedsNormalising);
** else gives 0.  Making a full path knows no length limit.
*/
static int Normalise(const wchar_t *path, wchar_t *room)
{
    DWORD length;
    if (!NeedsNormalising(path)) return 0;
    length = GetFullPathNameW(path, PATH_CAPACITY, room, 0);
    return length > 0 && length < PATH_CAPACITY;
}

/* Converts the file address in url to a path in path; when that path
** exists, copies it over target and gives 1, else 0.  All three hold
** PATH_CAPACITY units; url is used up. */
static int ConvertUrl(wchar_t *url, wchar_t *path, wchar_t *target)
{
    DWORD capacity = PATH_CAPACITY;
    int exists;

    path[0] = 0;
    if (!SUCCEEDED(PathCreateFromUrlW(url, path, &capacity, 0)) || path[0] == 0) return 0;
    /* The host would not find a long path on Windows: it is asked of the
    ** file system in its long form, made where the address was. */
    if (TextLength(path) < LONG_PATH_UNITS) {
        exists = QueryIsFileOrDirectory(path) != 0;
    } else {
        if (!Normalise(path, url)) TextCopy(url, PATH_CAPACITY, path);
        exists = GetFileAttributesW(FileSystemPath(url, url, PATH_CAPACITY)) != INVALID_FILE_ATTRIBUTES;
    }
    if (!exists) return 0;
    TextCopy(target, PATH_CAPACITY, path);
    return 1;
}

/*
** UrlToPath with its two work texts (PATH_CAPACITY units each) given by the
** caller: ShowFileInfo lends texts it has not filled yet, so that a file
** address costs no stack beyond its own.
*/
static int UrlToPathIn(wchar_t *text, wchar_t *copy, wchar_t *path)
{
    if (text == 0 || text[0] == 0) return URL_NO_TEXT;
    TextCopy(copy, PATH_CAPACITY, text);
    NarrowPercents(copy);
    if (ConvertUrl(copy, path, text)) return URL_REPLACED;

    /* Percent signs the user doubled for the host: try them single. */
    TextCopy(copy, PATH_CAPACITY, text);
    NarrowPercents(copy);
    if (UndoublePercents(copy) == 0) return 0;
    return ConvertUrl(copy, path, text) ? URL_REPLACED : 0;
}

int UrlToPath(wchar_t *text)
{
    wchar_t copy[PATH_CAPACITY];
    wchar_t path[PATH_CAPACITY];
    return UrlToPathIn(text, copy, path);
}

int GetFileSystemName(const wchar_t *path, wchar_t *result)
{
    wchar_t root[ROOT_CAPACITY];
    wchar_t label[TEXT_CAPACITY];
    int end, backslashes, rootBackslashes;

    if (path == 0 || result == 0) return FILE_SYSTEM_UNKNOWN;
    if (IsLetter(path[0]) && path[1] == L':' && path[2] == L'\\') {
        end = 3;                                  /* "C:\" */
    } else if (path[0] == L'\\' && path[1] == L'\\') {
        /* "\\server\share\" or "\\?\C:\": up to the fourth backslash;
        ** a share in the long-path form, "\\?\UNC\server\share\", to the
        ** sixth, or the volume query would be asked about "\\?\UNC\". */
        rootBackslashes = TextEqualNoCaseN(path, L"\\\\?\\UNC\\", 8) ? 6 : 4;
        backslashes = 0;
        for (end = 0; path[end] != 0 && backslashes < rootBackslashes; end++) {
            if (path[end] == L'\\') backslashes++;
        }
    } else {
        return FILE_SYSTEM_UNKNOWN;
    }
    if (TextCopyUnits(root, ROOT_CAPACITY, path, end) != TEXT_OK) return FILE_SYSTEM_UNKNOWN;

    result[0] = 0;
    if (!GetVolumeInformationW(root, label, TEXT_CAPACITY, 0, 0, 0, result, TEXT_CAPACITY)) {
        return FILE_SYSTEM_UNKNOWN;
    }
    return result[0] != 0 ? 0 : FILE_SYSTEM_UNKNOWN;
}

/* The host's full path of name, without a trailing backslash, and its
** upper-cased name part.  0 when the host gives no full path.  A full
** path that the file system is to get in its long form is normalised
** first, so that the window shows what is looked at. */
static int Resolve(const wchar_t *name, wchar_t *fullName, wchar_t *namePart)
{
    int length;

    fullName[0] = 0;
    QueryTrueName(name, fullName);
    if (fullName[0] == 0) return 0;
    length = TextLength(fullName);
    if (fullName[length - 1] == L'\\') fullName[length - 1] = 0;
    if (Normalise(fullName, namePart)) TextCopy(fullName, PATH_CAPACITY, namePart);
    NamePart(fullName, namePart, PATH_CAPACITY);
    return 1;
}

/*
** The search record of the first match of fullName; 0 when none.  A bare
** drive ("C:") is none: the system would answer with the entry of that
** drive's current directory.
**
** While another program writes a file, the directory entry the search
** reads is brought up to date only now and then: its size and times may be
** old.  They are read again by the file's name, which reads none of its
** data and recalls nothing; where that fails, the entry's stand.
*/
static int FindEntry(const wchar_t *fullName, WIN32_FIND_DATAW *entry)
{
    wchar_t room[PATH_CAPACITY];
    WIN32_FILE_ATTRIBUTE_DATA now;
    const wchar_t *path;
    HANDLE search;

    if (IsBareDrive(fullName)) return 0;
    path = FileSystemPath(fullName, room, PATH_CAPACITY);
    search = FindFirstFileW(path, entry);
    if (search == INVALID_HANDLE_VALUE) return 0;
    FindClose(search);
    if (GetFileAttributesExW(path, GetFileExInfoStandard, &now)) {
        entry->dwFileAttributes = now.dwFileAttributes;
        entry->ftCreationTime = now.ftCreationTime;
        entry->ftLastAccessTime = now.ftLastAccessTime;
        entry->ftLastWriteTime = now.ftLastWriteTime;
        entry->nFileSizeHigh = now.nFileSizeHigh;
        entry->nFileSizeLow = now.nFileSizeLow;
    }
    return 1;
}

/*
** The name part is cut so that the whole title fits its TITLE_CAPACITY
** units (which is also as far as wsprintfW writes), never between the two
** halves of a surrogate pair.
*/
void BuildTitle(wchar_t *title, const wchar_t *namePart)
{
    wchar_t suffix[64];
    wchar_t name[TITLE_CAPACITY];
    int room, length;

    room = TITLE_CAPACITY - 1 -
           wsprintfW(suffix, L" \u2014 %s %u.%u.%u", PluginName, (unsigned)TIRVALO_VERSION_MAJOR,
                     (unsigned)TIRVALO_VERSION_MINOR, (unsigned)TIRVALO_VERSION_BUILD);
    TextCopyUnits(name, TITLE_CAPACITY, namePart, room);
    length = TextLength(name);
    if (length > 0 && length < TextLength(namePart) && name[length - 1] >= 0xD800 &&
        name[length - 1] <= 0xDBFF) {
        name[length - 1] = 0;
    }
    wsprintfW(title, L"%s \u2014 %s %u.%u.%u", name, PluginName, (unsigned)TIRVALO_VERSION_MAJOR,
              (unsigned)TIRVALO_VERSION_MINOR, (unsigned)TIRVALO_VERSION_BUILD);
}

/* A FILETIME as one 64-bit count. */
static unsigned long long FileTime64(FILETIME time)
{
    return ((unsigned long long)time.dwHighDateTime << 32) | time.dwLowDateTime;
}

/* What the search found and what the volume is: the facts the window is
** gathered from; and where the window goes. */
struct Target {
    WIN32_FIND_DATAW entry;
    wchar_t extension[TEXT_CAPACITY];
    int fat;
    int ntfs;
    int visible;             /* a window can be seen here: else its text is written */
    InfoWindowPlace place;   /* where the window goes */
};

/*
** Resolves the working copy of the name to an existing file or directory:
** its full name and name part, and the facts in target.  0, or the
** failure's result for ShowFileInfo after its beeps.
*/
static int FindTarget(ShowTexts *texts, Target *target)
{
    wchar_t *working = texts->phase.find.working;
    wchar_t *fileSystem = texts->phase.find.fileSystem;
    wchar_t *fullName = texts->fullName;
    wchar_t *namePart = texts->namePart;

    /* The full name and the name part are filled only below. */
    if (TextEqualNoCaseN(working, L"file://", 7)) UrlToPathIn(working, fullName, namePart);

    if (!Resolve(working, fullName, namePart)) {
        honk();
        return SHOW_NO_FULL_NAME;
    }
    FindExtension(fullName, target->extension, TEXT_CAPACITY);
    if (HasWildcard(fullName)) {
        honk();
        Sleep(WILDCARD_BEEP_GAP_MS);
        honk();
        return SHOW_WILDCARD;
    }
    target->fat = 0;
    target->ntfs = 0;
    if (GetFileSystemName(fullName, fileSystem) == 0) {
        target->fat = TextEqualNoCaseN(fileSystem, L"FAT", 3);
        target->ntfs = TextEqualNoCaseN(fileSystem, L"NTFS", 4);
    }

    /* Not found: the user may have typed a "%" of the name doubled, as the
    ** host wants it on a command line; try once more with them single.  The
    ** extension, the wildcard test and the file system stay those of the
    ** first try. */
    if (!FindEntry(fullName, &target->entry)) {
        if (UndoublePercents(working) == 0) {
            honk();
            return SHOW_NOT_FOUND;
        }
        if (!Resolve(working, fullName, namePart)) {
            honk();
            return SHOW_NO_FULL_NAME;
        }
        if (!FindEntry(fullName, &target->entry)) {
            honk();
            return SHOW_NOT_FOUND;
        }
    }
    return 0;
}

/* Gathers every field of the window for the target found and shows the
** window, or writes its text after textLead; returns when the window has
** closed: 0, or SHOW_NO_WINDOW when the window could not be opened. */
static int ShowTarget(ShowTexts *texts, const Target *target, const wchar_t *textLead)
{
    FieldTexts *fields = &texts->phase.fields;
    const wchar_t *fullName = texts->fullName;
    const WIN32_FIND_DATAW *entry = &target->entry;
    FileTypeSource source = SourceNone;
    FileInfoRecord record;
    WindowDpi dpi = {0, 0};
    INT_PTR shown;

    BuildTitle(fields->title, texts->namePart);
    fields->description[0] = 0;
    GetDescription(fullName, fields->description, entry->dwFileAttributes);
    fields->sizeOrContents[0] = 0;
    if (entry->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (Settings.SubdirCounts != 0 && (entry->dwFileAttributes & NOT_ON_DISK_ATTRIBUTES) == 0) {
            FormatContents(fields->sizeOrContents, fullName);
        }
    } else {
        FormatSize(fields->sizeOrContents,
                   ((unsigned long long)entry->nFileSizeHigh << 32) | entry->nFileSizeLow);
    }
    fields->attributesText[0] = 0;
    FormatAttributes(fields->attributesText, entry->dwFileAttributes);
    FormatTimestamp(fields->created, FileTime64(entry->ftCreationTime), 0, target->ntfs);
    FormatTimestamp(fields->modified, FileTime64(entry->ftLastWriteTime), 0, target->ntfs);
    FormatTimestamp(fields->accessed, FileTime64(entry->ftLastAccessTime), target->fat, target->ntfs);
    fields->owner[0] = 0;
    GetOwnerName(fields->owner, fullName);
    GetFileTypeInfo(fullName, fields->fileType, fields->opensWith, &source, entry->dwFileAttributes);

    ZeroMemory(&record, sizeof record);
    record.title = fields->title;
    record.fullName = fullName;
    record.namePart = texts->namePart;
    record.shortName = entry->cAlternateFileName;
    record.description = fields->description;
    record.sizeOrContents = fields->sizeOrContents;
    record.attributesText = fields->attributesText;
    record.created = fields->created;
    record.modified = fields->modified;
    record.accessed = fields->accessed;
    record.owner = fields->owner;
    record.fileType = fields->fileType;
    record.opensWith = fields->opensWith;
    record.fileTypeSource = source;
    record.attributes = entry->dwFileAttributes;

    /* The extension first: it costs nothing, the host's question a call. */
    if ((TextEqualNoCase(target->extension, L".exe") || TextEqualNoCase(target->extension, L".dll")) &&
        (entry->dwFileAttributes & NOT_ON_DISK_ATTRIBUTES) == 0 &&
        PathIs(fullName, entry->dwFileAttributes, PATH_IS_FILE)) {
        ReadFileVersion(fullName, &record);
    }

    if (!target->visible) {
        WriteInfoText(&record, textLead);
        return 0;
    }
    /* The window, and it alone, is made in the display's own DPI, so that
    ** it is sharp and its place is in the same unit as the window it goes
    ** over.  Nothing else runs in that awareness: not the host's calls,
    ** nor any window the system makes meanwhile for the first time. */
    EnterWindowDpi(&dpi);
    shown = ShowInfoWindow(&record, &target->place);
    LeaveWindowDpi(&dpi);
    /* The window ends only with OK or Cancel; anything else is a window
    ** that never opened, which is no success. */
    if (shown <= 0) {
        honk();
        return SHOW_NO_WINDOW;
    }
    return 0;
}

int ShowWithTexts(const ShowRequest *request, ShowTexts *texts)
{
    wchar_t *working = texts->phase.find.working;
    Target target;
    int result;

    if (request->name != 0) {
        TextCopy(working, PATH_CAPACITY, request->name);
    } else {
        ExtractWordAtCursor(request->line, request->cursorIndex, working, PATH_CAPACITY);
    }
    if (working[0] == 0) {
        honk();
        return SHOW_EMPTY_NAME;
    }
    /* Where the window goes is decided while the window the user works in
    ** is still in front: gathering the facts may take a while. */
    target.visible = CanShowWindows();
    target.place.owner = 0;
    target.place.over = 0;
    if (target.visible) ChooseInfoWindowPlace(&target.place);
    result = FindTarget(texts, &target);
    if (result == 0) result = ShowTarget(texts, &target, request->textLead);
    return result;
}

int ShowWithTextsOnStack(const ShowRequest *request)
{
    ShowTexts texts;
    return ShowWithTexts(request, &texts);
}
