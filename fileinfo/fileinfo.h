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
** has closed.  0 shown; -1 null name; -2 empty name; -3 the host gave no
** full path; -4 the full name holds a wildcard; -5 the window could not be
** opened; -16 nothing of that name was found.  Every failure sounds the
** host's beep, a wildcard twice.
*/
int ShowFileInfo(const wchar_t *name);

enum {
    PATH_CAPACITY = 32768,    /* units, the terminator included */
    TITLE_CAPACITY = 1024
};

/* The window title, "NAME — Tirvalo 1.4.0", into title (TITLE_CAPACITY
** units); the name part is cut as far as needed for the whole to fit. */
void BuildTitle(wchar_t *title, const wchar_t *namePart);

/*
** Turns a "file://" address in text (PATH_CAPACITY units) into the local
** path of an existing file or directory, in place.  1 replaced; 0 left as it
** was; -1 null or empty text.
*/
int UrlToPath(wchar_t *text);

/*
** The file-system name ("NTFS", "FAT32", ...) of the volume that holds path,
** into result (1024 units).  0 when a non-empty name was written; -1 when
** there is no volume root in path or the volume cannot tell.
*/
int GetFileSystemName(const wchar_t *path, wchar_t *result);

#endif /* TIRVALO_FILEINFO_H */
