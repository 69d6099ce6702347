/*
** The benchmark's output.  See report.h.
*/
#include <windows.h>
#include <stdio.h>

#include "report.h"

void FormatDuration(double nanoseconds, char *out, int capacity)
{
    if (nanoseconds < 10000) {
        snprintf(out, capacity, "%.0f ns", nanoseconds);
    } else if (nanoseconds < 1e6) {
        snprintf(out, capacity, "%.1f us", nanoseconds / 1e3);
    } else if (nanoseconds < 1e9) {
        snprintf(out, capacity, "%.2f ms", nanoseconds / 1e6);
    } else {
        snprintf(out, capacity, "%.2f s", nanoseconds / 1e9);
    }
}

void PrintTimingTable(const char *title)
{
    printf("%s\n\n", title);
    printf("| Measurement | Median | Spread | Floor | Ratio | Note |\n");
    printf("|---|---:|---:|---:|---:|---|\n");
}

void PrintTimingRow(const char *what, const Timing &subject, const Timing *floor, const char *note)
{
    char median[32], floorText[32] = "", ratio[32] = "";
    double spread = subject.median > 0
                        ? 50.0 * (subject.highQuartile - subject.lowQuartile) / subject.median
                        : 0;

    FormatDuration(subject.median, median, sizeof median);
    if (floor != nullptr) {
        FormatDuration(floor->median, floorText, sizeof floorText);
        snprintf(ratio, sizeof ratio, "%.3f", floor->median > 0 ? subject.median / floor->median : 0);
    }
    printf("| %s | %s | %.1f%% | %s | %s | %s |\n", what, median, spread, floorText, ratio,
           note != nullptr ? note : "");
    fflush(stdout);
}

void PrintTableEnd(void)
{
    printf("\n");
    fflush(stdout);
}

void Narrow(const wchar_t *text, char *out, int capacity)
{
    if (capacity <= 0) return;
    out[0] = 0;
    if (WideCharToMultiByte(CP_UTF8, 0, text, -1, out, capacity, nullptr, nullptr) == 0) {
        out[capacity - 1] = 0;
    }
}
