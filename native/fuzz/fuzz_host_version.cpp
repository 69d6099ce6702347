/*
** Fuzz target: the probe and the gate of the host's version.  Input: the
** host's "%_4ver" text, a zero byte, its "%_build" text.  The probe keeps
** the major version at 0 or within 8 to 100 and sets the extended keys from
** it; the gate answers -1, 0 or 1, and on ASCII texts exactly what the rules
** give with the C library's conversion.
*/
#include <errno.h>
#include <limits.h>

#include "frame/plugin.h"
#include "fuzz_input.h"
#include "shim/host_shim.h"

/* The C library's conversion of an ASCII text with a 32-bit long; *stop
** receives where it stopped. */
static int Convert(const char *text, const char **stop, int *outOfRange)
{
    char *end = 0;
    errno = 0;
    long long value = strtoll(text, &end, 10);
    *outOfRange = errno == ERANGE || value > INT_MAX || value < INT_MIN;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    if (stop != 0) *stop = end;
    return (int)value;
}

/* The rules of the gate, on narrow texts. */
static int ExpectedGate(const char *version, const char *build)
{
    const char *stop;
    int ignored, minor = -1;
    int major = Convert(version, &stop, &ignored);
    if (stop[0] != 0 && stop[1] != 0) minor = Convert(stop + 1, 0, &ignored);
    int buildNumber = Convert(build, 0, &ignored);
    if (major < 7 || major > 99) return -1;
    if ((unsigned)minor > 99 || (unsigned)buildNumber > 9999) return -1;
    if (major < 11) return 1;
    if (major > 11) return 0;
    if (minor > 0) return 0;
    return buildNumber < 48 ? 1 : 0;
}

/* The text as ASCII, or null when it holds anything else. */
static char *Narrow(const wchar_t *text, int length)
{
    char *narrow = (char *)malloc((size_t)length + 1);
    for (int i = 0; i < length; i++) {
        if (text[i] <= 0 || text[i] >= 0x80) {
            free(narrow);
            return 0;
        }
        narrow[i] = (char)text[i];
    }
    narrow[length] = 0;
    return narrow;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input = {data, size, 0};
    int versionLength, buildLength;
    wchar_t *version = TakeText(&input, &versionLength);
    wchar_t *build = TakeText(&input, &buildLength);

    ShimReset();
    ShimHostVersion = version;
    ShimHostBuild = build;
    ProbeHostVersion();
    int gate = CheckHostVersion();
    REQUIRE(HostMajorVersion == 0 || (HostMajorVersion >= 8 && HostMajorVersion <= 100));
    REQUIRE(UseExtendedKeys == (HostMajorVersion >= 24 ? 1 : 0));
    REQUIRE(gate >= -1 && gate <= 1);

    char *narrowVersion = Narrow(version, versionLength);
    char *narrowBuild = Narrow(build, buildLength);
    if (narrowVersion != 0 && narrowBuild != 0 && versionLength < 8191 && buildLength < 8191) {
        int outOfRange;
        int major = Convert(narrowVersion, 0, &outOfRange);
        int probed = !outOfRange && major >= 8 && major <= 100 ? major : 0;
        REQUIRE(HostMajorVersion == probed);
        REQUIRE(gate == ExpectedGate(narrowVersion, narrowBuild));
    }
    free(narrowVersion);
    free(narrowBuild);
    FreeUnits(version);
    FreeUnits(build);
    return 0;
}
