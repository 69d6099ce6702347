/*
** The benchmark program: what the plug-in costs on the keystroke path, when
** counting a directory and when gathering a window's facts, each against
** its floor measured in the same process, and what its two parsers cost.
** It prints Markdown tables; it passes or fails nothing.
**
**   tirvalo_bench.exe [--quick] [--only N]
**
** --quick takes fewer samples; --only runs section N (1 for the keystroke
** sections 1 and 2, then 3, 4, 5).  The directories that section 3 counts
** are in C:\tirvalo-bench, made by scripts/bench; section 4 makes its own
** files there.
*/
#include <windows.h>
#include <stdio.h>

#include "bench.h"
#include "frame/plugin.h"
#include "host/host_control.h"
#include "settings/settings.h"

volatile long long Sink;

int wmain(int argc, wchar_t **argv)
{
    BenchOptions options;
    int only = 0, i;

    /* Each row as soon as it is measured, also into a pipe. */
    setvbuf(stdout, nullptr, _IONBF, 0);

    options.samples = 21;
    options.slowSamples = 11;
    options.sampleSeconds = 0.02;
    lstrcpyW(options.dataFolder, L"C:\\tirvalo-bench");
    for (i = 1; i < argc; i++) {
        if (lstrcmpW(argv[i], L"--quick") == 0) {
            options.samples = 5;
            options.slowSamples = 3;
            options.sampleSeconds = 0.005;
        } else if (lstrcmpW(argv[i], L"--only") == 0 && i + 1 < argc) {
            only = _wtoi(argv[++i]);
        } else {
            fprintf(stderr, "usage: tirvalo_bench.exe [--quick] [--only N]\n");
            return 2;
        }
    }
    if (!CreateDirectoryW(options.dataFolder, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        fprintf(stderr, "Cannot make the data folder.\n");
        return 1;
    }

    /* The plug-in as the host leaves it after loading: default options. */
    Settings = DefaultSettings;
    KorrashResetBeeps();

    printf("Medians of %d samples (%d for long runs); spread is half the distance between the "
           "quartiles, in percent of the median; ratio is median / floor, both from this "
           "process.\n\n",
           options.samples, options.slowSamples);
    if (only == 0 || only == 1) BenchKeystrokes(options);
    if (only == 0 || only == 3) BenchDirectoryCounts(options);
    if (only == 0 || only == 4) BenchWindowFacts(options);
    if (only == 0 || only == 5) BenchParsing(options);

    if (KorrashBeepCount() != 0) {
        printf("Warning: the host beeped %d times: a target was not found, and its figures are "
               "not those of a window.\n",
               KorrashBeepCount());
    }
    return 0;
}
