/*
** The services of the host, Korrash.dll, that the plug-in relies on.
**
** The plug-in links against an import library made from Korrash.def (the
** nine names below), so it depends on this interface only.  Every text is
** UTF-16 and every call happens on the host's thread.  The format functions
** follow the platform C runtime's wide printf, where "%s" takes a wide text.
*/
#ifndef TIRVALO_HOST_API_H
#define TIRVALO_HOST_API_H

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
