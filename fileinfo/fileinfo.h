/*
** Showing the information window for a name: the plug-in's central routine
** and the two helpers it resolves names with.
*/
#ifndef TIRVALO_FILEINFO_H
#define TIRVALO_FILEINFO_H

/*
** Resolves name (a path, a name relative to the host's current directory,
** or a "file://" address) to an existing file or directory, gathers every
** field and shows the modal information window.  Returns after the window
** has closed: 0 when it was shown, else one of the results below.  Every
** failure sounds the host's beep, a wildcard twice.  Where no window can
** be seen (frame/platform.h), the window's text is written to standard
** output instead, and the result is 0.
*/
int ShowFileInfo(const wchar_t *name);

/* ShowFileInfo for the hotkey: the name is the word at cursorIndex of line
** (ExtractWordAtCursor), and where no window can be seen, the text it writes
** starts on a line of its own, below the command line being edited. */
int ShowFileInfoAtCursor(const wchar_t *line, long long cursorIndex);

enum {
    SHOW_NULL_NAME = -1,
    SHOW_EMPTY_NAME = -2,
    SHOW_NO_FULL_NAME = -3,    /* the host gave no full path for the name */
    SHOW_WILDCARD = -4,        /* the full name holds a wildcard */
    SHOW_NO_WINDOW = -5,       /* the window could not be opened, or there is
                               ** no room for its texts (show_file_info.cpp) */
    SHOW_NOT_FOUND = -16       /* no file or directory of that name */
};

enum {
    PATH_CAPACITY = 32768,    /* units, the terminator included */
    TITLE_CAPACITY = 1024
};

/* The window title, "NAME — Tirvalo 1.4.0", into title (TITLE_CAPACITY
** units); the name part is cut as far as needed for the whole to fit. */
void BuildTitle(wchar_t *title, const wchar_t *namePart);

/*
** Turns a "file://" address in text (PATH_CAPACITY units) into the local
** path of an existing file or directory, in place: URL_REPLACED, 0 when the
** text was left as it was, or URL_NO_TEXT for a null or empty text.
*/
int UrlToPath(wchar_t *text);

enum {
    URL_REPLACED = 1,
    URL_NO_TEXT = -1
};

/*
** The file-system name ("NTFS", "FAT32", ...) of the volume that holds path,
** into result (1024 units).  0 when a non-empty name was written;
** FILE_SYSTEM_UNKNOWN for a null argument, when there is no volume root in
** path, or when the volume cannot tell.
*/
int GetFileSystemName(const wchar_t *path, wchar_t *result);

enum { FILE_SYSTEM_UNKNOWN = -1 };

/* The file version of the program or library path into the four version
** numbers of record, which stay 0 when none can be read. */
struct FileInfoRecord;
void ReadFileVersion(const wchar_t *path, FileInfoRecord *record);

#endif /* TIRVALO_FILEINFO_H */
