/*
** The benchmark's clock.  See timing.h.
*/
#include <windows.h>

#include "timing.h"

enum { MAX_CASES = 12 };

static double Seconds(const LARGE_INTEGER &from, const LARGE_INTEGER &to)
{
    static LARGE_INTEGER frequency;
    if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
    return (double)(to.QuadPart - from.QuadPart) / (double)frequency.QuadPart;
}

/* Seconds that count runs of one case take. */
static double Sample(const TimedCase &item, long long count)
{
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    item.body(item.context, count);
    QueryPerformanceCounter(&end);
    return Seconds(start, end);
}

static void Sort(double *values, int count)
{
    int i, j;
    for (i = 1; i < count; i++) {
        double value = values[i];
        for (j = i; j > 0 && values[j - 1] > value; j--) values[j] = values[j - 1];
        values[j] = value;
    }
}

/* The value at fraction of the way through sorted values, interpolated. */
static double Quantile(const double *sorted, int count, double fraction)
{
    double place = fraction * (count - 1);
    int below = (int)place;
    if (below >= count - 1) return sorted[count - 1];
    return sorted[below] + (place - below) * (sorted[below + 1] - sorted[below]);
}

double Median(double *values, int count)
{
    if (count <= 0) return 0;
    Sort(values, count);
    return Quantile(values, count, 0.5);
}

int TimeTogether(const TimedCase *cases, int caseCount, int samples, double sampleSeconds,
                 Timing *results)
{
    static double taken[MAX_CASES][MAX_SAMPLES];
    long long runs[MAX_CASES];
    int c, s;

    if (caseCount < 1 || caseCount > MAX_CASES || samples < 1 || samples > MAX_SAMPLES) return -1;

    /* Calibration, which also warms caches and the platform up. */
    for (c = 0; c < caseCount; c++) {
        runs[c] = 1;
        for (;;) {
            double seconds = Sample(cases[c], runs[c]);
            if (seconds >= sampleSeconds || runs[c] >= (1LL << 40)) break;
            if (seconds < sampleSeconds / 16) {
                runs[c] *= 8;
            } else {
                runs[c] = (long long)(runs[c] * (sampleSeconds * 1.2 / seconds)) + 1;
            }
        }
    }
    for (c = 0; c < caseCount; c++) Sample(cases[c], runs[c]);

    for (s = 0; s < samples; s++) {
        for (c = 0; c < caseCount; c++) {
            taken[c][s] = Sample(cases[c], runs[c]) * 1e9 / (double)runs[c];
        }
    }

    for (c = 0; c < caseCount; c++) {
        static double differences[MAX_SAMPLES];
        for (s = 0; s < samples; s++) differences[s] = taken[c][s] - taken[0][s];
        results[c].aboveFirst = Median(differences, samples);
    }
    for (c = caseCount - 1; c >= 0; c--) {
        Sort(taken[c], samples);
        results[c].median = Quantile(taken[c], samples, 0.5);
        results[c].lowQuartile = Quantile(taken[c], samples, 0.25);
        results[c].highQuartile = Quantile(taken[c], samples, 0.75);
        results[c].runsPerSample = runs[c];
        results[c].samples = samples;
    }
    return 0;
}
