/*
** The benchmark's output: Markdown tables on standard output, so that a run
** can go into the README as it is.
*/
#ifndef TIRVALO_BENCH_REPORT_H
#define TIRVALO_BENCH_REPORT_H

#include "timing.h"

/* "812 ns", "3.41 us", "27.9 ms": a duration given in nanoseconds. */
void FormatDuration(double nanoseconds, char *out, int capacity);

/* A heading and the head of a timing table. */
void PrintTimingTable(const char *title);

/*
** One row of a timing table: what was measured, its median and the spread
** of its samples (half the distance between the quartiles, in percent of
** the median), its floor's median and the ratio to it (floor may be null),
** and a note, such as the goal and whether it was met (may be null).
*/
void PrintTimingRow(const char *what, const Timing &subject, const Timing *floor, const char *note);

/* Ends a table (a blank line). */
void PrintTableEnd(void);

/* UTF-8 of a text, for printing; out has capacity bytes. */
void Narrow(const wchar_t *text, char *out, int capacity);

#endif /* TIRVALO_BENCH_REPORT_H */
