/*
** The plug-in frame: the entry points that describe the plug-in to the
** host, the information record, the process-wide values set at load, the
** host version probe and gate, and the error prefix.  The frame is the
** ground floor: it includes no other folder of the plug-in.
*/
#ifndef TIRVALO_PLUGIN_H
#define TIRVALO_PLUGIN_H

#include "host_api.h"   /* PluginInfo */

extern "C" {
PluginInfo *GetPluginInfo(void);
int ShutdownPlugin(int endOfSession);
int Usage(const wchar_t *command, wchar_t *result);
int Help(const wchar_t *command);
}

extern const wchar_t PluginName[];   /* "Tirvalo" */

enum { USAGE_CAPACITY = 1024 };      /* the host's buffer for Usage */

/* The host's major version, 0 until probed or when the probe fails, and the
** flag (version 24 or more) that selects the extended key table. */
extern int HostMajorVersion;
extern int UseExtendedKeys;

/* Copies text into buffer (HOST_EXPAND_CAPACITY units) and has the host
** expand it there; the host's result, 0 when expanded. */
int ExpandHostText(wchar_t *buffer, const wchar_t *text);

/* Writes "Tirvalo plugin: " and, inside a batch file, its name and line to
** standard error; always 0. */
int WriteErrorPrefix(void);

/* Writes an error message: the prefix, then format filled with argument (a
** text, or null when format has no "%s") to standard error; always 0. */
int WriteErrorMessage(const wchar_t *format, const wchar_t *argument);

/* Sets HostMajorVersion and UseExtendedKeys from the host's "%_4ver". */
int ProbeHostVersion(void);

/* HOST_ACCEPTED, HOST_TOO_OLD (older than 11.00 build 48), or
** HOST_VERSION_UNUSABLE when the host's version text makes no sense. */
int CheckHostVersion(void);

enum {
    HOST_ACCEPTED = 0,
    HOST_TOO_OLD = 1,
    HOST_VERSION_UNUSABLE = -1
};

#endif /* TIRVALO_PLUGIN_H */
