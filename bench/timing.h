/*
** The benchmark's clock: a thing to time runs a given number of times per
** sample, under QueryPerformanceCounter; samples of a subject and of its
** floor are taken in alternation in the same process, after a warm-up, and
** summed up by their median.
*/
#ifndef TIRVALO_BENCH_TIMING_H
#define TIRVALO_BENCH_TIMING_H

/* Runs what is timed count times over. */
typedef void (*TimedBody)(void *context, long long count);

struct TimedCase {
    TimedBody body;
    void *context;
};

enum { MAX_SAMPLES = 101 };

/* Nanoseconds per run: the median and the quartiles of the samples, and
** the median of the differences between each sample and the first case's
** sample of the same round (0 for the first case itself), which a drift of
** the machine's load between rounds does not touch. */
struct Timing {
    double median;
    double lowQuartile;
    double highQuartile;
    double aboveFirst;
    long long runsPerSample;
    int samples;
};

/*
** Times cases[0..caseCount) together: first finds for each how many runs
** make a sample last about sampleSeconds (at least one run), then warms up
** with one sample of each, then takes samples rounds, each round one sample
** of every case in turn, so that a change of machine load touches them
** alike.  0, or -1 when caseCount (1 to 12) or samples is out of range.
*/
int TimeTogether(const TimedCase *cases, int caseCount, int samples, double sampleSeconds,
                 Timing *results);

/* The median of count values (reorders them). */
double Median(double *values, int count);

#endif /* TIRVALO_BENCH_TIMING_H */
