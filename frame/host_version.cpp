/*
** The probe and the gate of the host's version.  The host tells its version
** through "%_4ver" (major number, one separator, minor number) and its build
** through "%_build".  Here too: the copy-and-expand that every text the
** plug-in asks the host about goes through.
*/
#include "host_api.h"
#include "plugin.h"
#include "text.h"

int HostMajorVersion = 0;
int UseExtendedKeys = 0;

/* The probe: the major versions it believes, and the first that has the
** extended keys. */
enum {
    PROBE_LOWEST_MAJOR = 8,
    PROBE_HIGHEST_MAJOR = 100,
    EXTENDED_KEYS_MAJOR = 24
};

/* The gate: the versions it can read at all, and the oldest it accepts,
** 11.00 build 48. */
enum {
    GATE_LOWEST_MAJOR = 7,
    GATE_HIGHEST_MAJOR = 99,
    GATE_HIGHEST_MINOR = 99,
    GATE_HIGHEST_BUILD = 9999,
    OLDEST_MAJOR = 11,
    OLDEST_BUILD = 48
};

int ExpandHostText(wchar_t *buffer, const wchar_t *text)
{
    TextCopy(buffer, HOST_EXPAND_CAPACITY, text);
    return ExpandVariables(buffer, 1);
}

int ProbeHostVersion(void)
{
    wchar_t text[HOST_EXPAND_CAPACITY];
    int outOfRange;
    int major;

    ExpandHostText(text, L"%_4ver");
    major = TextToLong(text, 0, &outOfRange);
    HostMajorVersion =
        (!outOfRange && major >= PROBE_LOWEST_MAJOR && major <= PROBE_HIGHEST_MAJOR) ? major : 0;
    UseExtendedKeys = HostMajorVersion >= EXTENDED_KEYS_MAJOR ? 1 : 0;
    return 0;
}

int CheckHostVersion(void)
{
    wchar_t text[HOST_EXPAND_CAPACITY];
    const wchar_t *stop;
    int major, minor = -1, build;

    ExpandHostText(text, L"%_4ver");
    major = TextToLong(text, &stop, 0);
    if (stop[0] != 0 && stop[1] != 0) minor = TextToLong(stop + 1, 0, 0);

    ExpandHostText(text, L"%_build");
    build = TextToLong(text, 0, 0);

    /* A missing minor number (-1) is out of range too. */
    if (major < GATE_LOWEST_MAJOR || major > GATE_HIGHEST_MAJOR) return HOST_VERSION_UNUSABLE;
    if ((unsigned)minor > GATE_HIGHEST_MINOR || (unsigned)build > GATE_HIGHEST_BUILD) {
        return HOST_VERSION_UNUSABLE;
    }
    if (major != OLDEST_MAJOR) return major < OLDEST_MAJOR ? HOST_TOO_OLD : HOST_ACCEPTED;
    if (minor > 0) return HOST_ACCEPTED;
    return build < OLDEST_BUILD ? HOST_TOO_OLD : HOST_ACCEPTED;
}
