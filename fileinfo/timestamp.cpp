/*
** Timestamps of the information window: UTC in a fixed form, or local time
** in the user's long date format and time format.
*/
#include <windows.h>

#include "formatters.h"
#include "frame/text.h"
#include "settings/settings.h"

/* The calendar fields of a time in local time: by the time-zone rules of
** that date when perDate is set, else by the offset in force now. */
static BOOL ToLocalFields(const FILETIME *time, int perDate, SYSTEMTIME *local)
{
    SYSTEMTIME utc;
    FILETIME shifted;
    if (perDate) {
        return FileTimeToSystemTime(time, &utc) &&
               SystemTimeToTzSpecificLocalTime(0, &utc, local);
    }
    return FileTimeToLocalFileTime(time, &shifted) && FileTimeToSystemTime(&shifted, local);
}

int FormatTimestamp(wchar_t *text, unsigned long long time, int dateOnly, int perDate)
{
    FILETIME value;
    SYSTEMTIME fields;
    wchar_t clock[FIELD_CAPACITY];

    value.dwLowDateTime = (DWORD)time;
    value.dwHighDateTime = (DWORD)(time >> 32);
    text[0] = 0;
    /* Times with the top bit set are not valid; not every conversion says
    ** so (one to local time by the present offset wraps around). */
    if (time >> 63) return 0;

    if (Settings.SmartTimes == SMART_TIMES_UTC) {
        if (!FileTimeToSystemTime(&value, &fields)) return 0;
        if (dateOnly) {
            wsprintfW(text, L"%04d-%02d-%02d UTC", fields.wYear, fields.wMonth, fields.wDay);
        } else {
            wsprintfW(text, L"%04d-%02d-%02d  %02d:%02d:%02d UTC", fields.wYear, fields.wMonth,
                      fields.wDay, fields.wHour, fields.wMinute, fields.wSecond);
        }
        return 0;
    }

    /* A time that cannot be converted or formatted shows as an empty field. */
    if (!ToLocalFields(&value, perDate, &fields) ||
        GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &fields, 0, text, FIELD_CAPACITY) == 0) {
        text[0] = 0;
        return 0;
    }
    if (dateOnly) return 0;
    if (GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &fields, 0, clock, FIELD_CAPACITY) == 0) {
        text[0] = 0;
        return 0;
    }
    TextAppend(text, FIELD_CAPACITY, L"  ");
    TextAppend(text, FIELD_CAPACITY, clock);
    return 0;
}
