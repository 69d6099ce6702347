/*
** The information window: the record it shows, its dialog procedure, the
** routine that brings it in front of the console, and the copy of its texts.
*/
#ifndef TIRVALO_INFO_DIALOG_H
#define TIRVALO_INFO_DIALOG_H

#include <windows.h>

#include "resource_ids.h"

/*
** What the window shows.  The texts belong to the caller and must outlive
** the window; a null text leaves its field empty.
*/
struct FileInfoRecord {
    const wchar_t *title;           /* the caption */
    const wchar_t *fullName;
    const wchar_t *namePart;        /* upper-cased last component; not shown */
    const wchar_t *shortName;
    const wchar_t *description;
    const wchar_t *sizeOrContents;
    const wchar_t *attributesText;
    const wchar_t *created;
    const wchar_t *modified;
    const wchar_t *accessed;
    const wchar_t *owner;
    const wchar_t *fileType;
    const wchar_t *opensWith;
    unsigned int fileTypeSource;    /* a FileTypeSource; SourceUserClasses relabels */
    unsigned int attributes;        /* bit 0x10, a directory, relabels "Size:" */
    unsigned int versionMajor;      /* the file version; all 0 when none */
    unsigned int versionMinor;
    unsigned int versionBuild;
    unsigned int versionRevision;
};

/* The dialog procedure of template IDD_FILE_INFO; the initialisation
** parameter is the address of a FileInfoRecord.  Always 0. */
INT_PTR CALLBACK InfoDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

/* Brings window in front, even when another thread owns the foreground
** window, and leaves the system's settings as they were.  -1 for a null
** window, else 0. */
int ForceForeground(HWND window);

/* Puts the caption and every label with its field of the information
** window on the clipboard as Unicode text.  0 on success; -1 when the text
** cannot be made, -2 when the clipboard cannot be opened, -3 or -4 when it
** cannot be emptied or the text cannot be placed. */
int CopyWindowTexts(HWND window);

/* Makes Ctrl+C and Ctrl+Insert copy the window's texts while it is open,
** with a message filter of this thread: 0 when installed, 1 when another
** window has it, -1 for a null window, -2 when it cannot be installed.
** StopCopyKeys removes it when window has it (0), else does nothing (1). */
int StartCopyKeys(HWND window);
int StopCopyKeys(HWND window);

#endif /* TIRVALO_INFO_DIALOG_H */
