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
    HostMajorVersion = (!outOfRange && major >= 8 && major <= 100) ? major : 0;
    UseExtendedKeys = HostMajorVersion >= 24 ? 1 : 0;
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

    if (major < 7 || major > 99) return -1;
    if ((unsigned)minor > 99 || (unsigned)build > 9999) return -1;
    if (major < 11) return 1;
    if (major > 11) return 0;
    if (minor > 0) return 0;
    return build < 48 ? 1 : 0;
}
