/*
** The record the information window is handed: every text and number it
** shows, and the two facts that relabel its fields.  Whoever gathers the
** facts fills it; the window, its copy and its text form only read it.
** Text only: no platform header.
*/
#ifndef TIRVALO_INFO_RECORD_H
#define TIRVALO_INFO_RECORD_H

/* Where a file type was found. */
typedef unsigned int FileTypeSource;
enum {
    SourceNone = 0,           /* no type: no extension, or no class for it */
    SourceUserClasses = 1,    /* HKEY_CURRENT_USER\Software\Classes: "User file type:" */
    SourceClassesRoot = 2,    /* HKEY_CLASSES_ROOT */
    SourceDirectory = 10      /* the path is a directory */
};

/* The attribute bit of a directory, which shows "Contains:" for "Size:". */
enum { INFO_DIRECTORY_BIT = 0x10 };

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
    FileTypeSource fileTypeSource;  /* SourceUserClasses relabels "File type:" */
    unsigned int attributes;        /* INFO_DIRECTORY_BIT relabels "Size:" */
    unsigned int versionMajor;      /* the file version; all 0 when none */
    unsigned int versionMinor;
    unsigned int versionBuild;
    unsigned int versionRevision;
};

#endif /* TIRVALO_INFO_RECORD_H */
