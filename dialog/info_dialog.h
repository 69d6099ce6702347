/*
** The information window: the record it shows, its dialog procedure, and
** the routine that brings it in front of the console.
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

#endif /* TIRVALO_INFO_DIALOG_H */
