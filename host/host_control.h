/*
** The stand-in host's own interface, beside the nine services every plug-in
** sees (frame/host_api.h): the stand-in shell sets the host's state through
** it, and tests set state and read back what was written and beeped.
*/
#ifndef KORRASH_HOST_CONTROL_H
#define KORRASH_HOST_CONTROL_H

#ifndef KORRASH_API
#define KORRASH_API __declspec(dllimport)
#endif

extern "C" {

/* Sets one of the host's internal variables (_4ver, _build, _batch,
** _batchname, _batchline, _transient, _pipe); a null value empties it. */
KORRASH_API void KorrashSetInternal(const wchar_t *name, const wchar_t *value);

/* Sets a user variable, as the shell's set command does; a null or empty
** value removes it. */
KORRASH_API void KorrashSetVariable(const wchar_t *name, const wchar_t *value);

/* The value of a variable (internal or user), or null when it is not set.
** The text stays valid until the variable changes. */
KORRASH_API const wchar_t *KorrashGetVariable(const wchar_t *name);

/* With capture on, what the host would write to standard output (stream 1)
** and standard error (stream 2) is collected in memory instead. */
KORRASH_API void KorrashCapture(int on);
KORRASH_API const wchar_t *KorrashCaptured(int stream);
KORRASH_API void KorrashClearCaptured(void);

/* Beeps sounded by honk since the host was loaded or the count was reset,
** and the time in milliseconds (of a monotonic clock) of beep number index
** (0 for the first). */
KORRASH_API int KorrashBeepCount(void);
KORRASH_API unsigned long long KorrashBeepTime(int index);
KORRASH_API void KorrashResetBeeps(void);

}

#endif /* KORRASH_HOST_CONTROL_H */
