/*
** The native stand-ins of the host's services and of the plug-in's platform
** routines.  See host_shim.h.
**
** The output functions take printf formats.  The plug-in passes only its own
** formats, so the stand-in knows just the conversions those use (%s with a
** wide text, %d, %u, %%) and stops the program on any other: a format made
** from user text would show up here.
*/
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

#include "host_shim.h"
#include "command/arguments.h"
#include "fileinfo/fileinfo.h"
#include "frame/host_api.h"
#include "frame/plugin.h"
#include "frame/text.h"
#include "hotkeys/hotkey_names.h"
#include "support/units.h"

const wchar_t PluginName[] = L"Tirvalo";

wchar_t ShimOutput[SHIM_STREAM_UNITS];
wchar_t ShimErrors[SHIM_STREAM_UNITS];
const wchar_t *ShimQuoted[SHIM_SHOWN_NAMES];
int ShimMessages = 0;
const wchar_t *ShimShownNames[SHIM_SHOWN_NAMES];
int ShimShown = 0;
int ShimShowResult = 0;
int ShimRegistryHasOptions = 0;
SettingsRecord ShimRegistryOptions = DefaultSettings;
int ShimRegistryWriteFails = 0;
const wchar_t *ShimHostVersion = L"24.00";
const wchar_t *ShimHostBuild = L"200";

namespace {

int OutputLength = 0;
int ErrorsLength = 0;

void Fail(const char *what)
{
    fprintf(stderr, "host stand-in: %s\n", what);
    abort();
}

void Put(wchar_t *stream, int *length, wchar_t unit)
{
    if (*length >= SHIM_STREAM_UNITS - 1) Fail("stream full");
    stream[(*length)++] = unit;
    stream[*length] = 0;
}

void PutText(wchar_t *stream, int *length, const wchar_t *text)
{
    if (text == 0) Fail("a null text for %s");
    for (; *text != 0; text++) Put(stream, length, *text);
}

void PutNumber(wchar_t *stream, int *length, unsigned long long magnitude, int negative)
{
    char digits[24];
    int n = 0;
    do {
        digits[n++] = (char)('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) Put(stream, length, L'-');
    while (n > 0) Put(stream, length, (wchar_t)digits[--n]);
}

void Format(wchar_t *stream, int *length, const wchar_t *format, va_list args)
{
    if (format == 0) Fail("a null format");
    for (; *format != 0; format++) {
        if (*format != L'%') {
            Put(stream, length, *format);
            continue;
        }
        format++;
        switch (*format) {
        case L'%':
            Put(stream, length, L'%');
            break;
        case L's':
            PutText(stream, length, va_arg(args, const wchar_t *));
            break;
        case L'd': {
            int value = va_arg(args, int);
            PutNumber(stream, length, value < 0 ? 0ULL - (unsigned long long)value : (unsigned)value,
                      value < 0);
            break;
        }
        case L'u':
            PutNumber(stream, length, va_arg(args, unsigned), 0);
            break;
        default:
            Fail("a format with a conversion the plug-in does not use");
        }
    }
}

}  // namespace

void ShimReset(void)
{
    OutputLength = 0;
    ErrorsLength = 0;
    ShimOutput[0] = 0;
    ShimErrors[0] = 0;
    ShimMessages = 0;
    ShimShown = 0;
    ShimShowResult = 0;
    ShimRegistryHasOptions = 0;
    ShimRegistryWriteFails = 0;
    ShimHostVersion = L"24.00";
    ShimHostBuild = L"200";
    Settings = DefaultSettings;
    HostMajorVersion = 24;
    UseExtendedKeys = 1;
}

/* The host's services. */

int ExpandVariables(wchar_t *text, int flag)
{
    const wchar_t *value = 0;
    (void)flag;
    if (text == 0) Fail("a null text to expand");
    if (TextEqualNoCase(text, L"%_4ver")) value = ShimHostVersion;
    if (TextEqualNoCase(text, L"%_build")) value = ShimHostBuild;
    if (value == 0) return 0;
    /* Every buffer the plug-in expands in has the host's capacity. */
    if (UnitCount(value) >= HOST_EXPAND_CAPACITY) return 1;
    TextCopy(text, HOST_EXPAND_CAPACITY, value);
    return 0;
}

int Printf(const wchar_t *format, ...)
{
    va_list args;
    va_start(args, format);
    Format(ShimOutput, &OutputLength, format, args);
    va_end(args);
    return 0;
}

int QPuts(const wchar_t *text)
{
    PutText(ShimOutput, &OutputLength, text);
    return 0;
}

int Qprintf(void *handle, const wchar_t *format, ...)
{
    va_list args;
    (void)handle;
    va_start(args, format);
    Format(ShimErrors, &ErrorsLength, format, args);
    va_end(args);
    return 0;
}

void honk(void)
{
}

/* The plug-in's platform routines. */

int WriteErrorMessage(const wchar_t *format, const wchar_t *argument)
{
    PutText(ShimErrors, &ErrorsLength, L"Tirvalo plugin: ");
    Qprintf(0, format, argument);
    if (ShimMessages < SHIM_SHOWN_NAMES) ShimQuoted[ShimMessages] = argument;
    ShimMessages++;
    return 0;
}

int ShowFileInfo(const wchar_t *name)
{
    if (name == 0) Fail("ShowFileInfo without a name");
    if (ShimShown < SHIM_SHOWN_NAMES) ShimShownNames[ShimShown] = name;
    ShimShown++;
    return ShimShowResult;
}

int LoadSettings(int report)
{
    if (!ShimRegistryHasOptions) {
        if (report) WriteErrorMessage(L"Error reading from registry\r\n", 0);
        return SETTINGS_NOT_FOUND;
    }
    if (!IsKnownHotkey(ShimRegistryOptions.Hotkey)) {
        if (report) WriteErrorMessage(L"Invalid hotkey value in registry\r\n", 0);
        return SETTINGS_INVALID_HOTKEY;
    }
    Settings.Hotkey = ShimRegistryOptions.Hotkey;
    Settings.SmartTimes = (unsigned)ShimRegistryOptions.SmartTimes <= 2 ? ShimRegistryOptions.SmartTimes
                                                                       : DefaultSmartTimes;
    Settings.SubdirCounts = ShimRegistryOptions.SubdirCounts != 0 ? 1 : 0;
    return 0;
}

int SaveSettings(void)
{
    if (ShimRegistryWriteFails) {
        WriteErrorMessage(L"Error writing to registry\r\n", 0);
        return SETTINGS_NOT_SAVED;
    }
    ShimRegistryOptions = Settings;
    ShimRegistryHasOptions = 1;
    return 0;
}
