/*
** The benchmark program's sections and what they share: how many samples
** to take, where the data lives, and a sink that keeps results alive.
*/
#ifndef TIRVALO_BENCH_H
#define TIRVALO_BENCH_H

struct BenchOptions {
    int samples;                 /* samples of each fast case */
    int slowSamples;             /* samples of each case that runs for long */
    double sampleSeconds;        /* how long one sample of a fast case lasts */
    wchar_t dataFolder[260];     /* where the directories and files are made */
};

/* Written by the timed loops, so that nothing they compute is dropped. */
extern volatile long long Sink;

/* The sections, in the order they are printed; each prints its tables. */
void BenchKeystrokes(const BenchOptions &options);
void BenchDirectoryCounts(const BenchOptions &options);
void BenchWindowFacts(const BenchOptions &options);
void BenchParsing(const BenchOptions &options);

#endif /* TIRVALO_BENCH_H */
