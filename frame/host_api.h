/*
** The plug-in's interface to the host, Korrash.dll: the records the two hand
** each other and the host's services that the plug-in relies on.
**
** The plug-in links against an import library made from Korrash.def (the
** nine names below), so it depends on this interface only.  Every text is
** UTF-16 and every call happens on the host's thread.  The format functions
** follow the platform C runtime's wide printf, where "%s" takes a wide text.
*/
#ifndef TIRVALO_HOST_API_H
#define TIRVALO_HOST_API_H

#include <stddef.h>

#ifndef KORRASH_API
#define KORRASH_API __declspec(dllimport)
#endif

/*
** The longest result the host's expander writes, in units with the
** terminator.  ExpandVariables is not told the size of the buffer it expands
** in place, so every buffer handed to it has at least this capacity; a
** result that would be longer makes the call fail.
*/
enum { HOST_EXPAND_CAPACITY = 8192 };

/*
** The records the host and the plug-in hand each other, in the host's
** layout (64-bit pointers).  The stand-in host uses these same declarations.
*/

/* The plug-in information record: GetPluginInfo returns it, the host reads
** it. */
struct PluginInfo {
    const wchar_t *name;
    const wchar_t *author;
    const wchar_t *email;
    const wchar_t *webPage;
    const wchar_t *secondName;
    const wchar_t *implements;  /* "*key,tirvalo": "*" marks the keystroke handler */
    int major;
    int minor;
    int build;
};
static_assert(offsetof(PluginInfo, name) == 0, "host layout");
static_assert(offsetof(PluginInfo, author) == 8, "host layout");
static_assert(offsetof(PluginInfo, email) == 16, "host layout");
static_assert(offsetof(PluginInfo, webPage) == 24, "host layout");
static_assert(offsetof(PluginInfo, secondName) == 32, "host layout");
static_assert(offsetof(PluginInfo, implements) == 40, "host layout");
static_assert(offsetof(PluginInfo, major) == 48, "host layout");
static_assert(offsetof(PluginInfo, minor) == 52, "host layout");
static_assert(offsetof(PluginInfo, build) == 56, "host layout");
static_assert(sizeof(PluginInfo) == 64, "host layout");

/* What the host hands the keystroke handler for every keystroke on the
** command line.  hostFields and hostField are the host's: the plug-in
** neither reads nor writes them. */
struct KeystrokeRecord {
    int keyCode;                    /* in: the host's code, or 0 with a key name; out: 0 when consumed */
    unsigned char hostFields[20];
    const wchar_t *line;            /* the command line being edited */
    const wchar_t *cursor;          /* the unit at the cursor, or the line's terminator */
    unsigned char hostField[8];
    wchar_t *keyName;               /* newer hosts: the key's name, or null; cleared when consumed */
};
static_assert(offsetof(KeystrokeRecord, keyCode) == 0, "host layout");
static_assert(offsetof(KeystrokeRecord, hostFields) == 4, "host layout");
static_assert(offsetof(KeystrokeRecord, line) == 24, "host layout");
static_assert(offsetof(KeystrokeRecord, cursor) == 32, "host layout");
static_assert(offsetof(KeystrokeRecord, hostField) == 40, "host layout");
static_assert(offsetof(KeystrokeRecord, keyName) == 48, "host layout");
static_assert(sizeof(KeystrokeRecord) == 56, "host layout");

extern "C" {

/* Expands the host's variables and functions in text, in place; flag is
** always 1.  A nonzero result means failure, and the text is then left as
** it was. */
KORRASH_API int ExpandVariables(wchar_t *text, int flag);

/* Formatted write to standard output. */
KORRASH_API int Printf(const wchar_t *format, ...);

/* Writes text to standard output as it is; adds no line end. */
KORRASH_API int QPuts(const wchar_t *text);

/* Formatted write to the given handle (the plug-in passes standard error). */
KORRASH_API int Qprintf(void *handle, const wchar_t *format, ...);

/* Sounds the host's error beep. */
KORRASH_API void honk(void);

/* Writes the full canonical path of name into result, a buffer of 32768
** units; an empty result means failure (the caller empties it first). */
KORRASH_API int QueryTrueName(const wchar_t *name, wchar_t *result);

/* Nonzero when path is an existing file, directory, or either. */
KORRASH_API int QueryIsFile(const wchar_t *path);
KORRASH_API int QueryIsDirectory(const wchar_t *path);
KORRASH_API int QueryIsFileOrDirectory(const wchar_t *path);

}

#endif /* TIRVALO_HOST_API_H */
