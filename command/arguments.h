/*
** The argument splitter: cuts the command's argument text into separate,
** upper-cased arguments in a fixed process-wide table.  Text only: no
** platform header.
*/
#ifndef TIRVALO_ARGUMENTS_H
#define TIRVALO_ARGUMENTS_H

enum {
    ARGUMENT_SLOTS = 128,
    ARGUMENT_UNITS = 2048    /* units an argument keeps, before its terminator */
};

/* The arguments of the last split, from slot 0 on, each terminated, and
** the units stored in each slot (0: the slot holds no argument). */
extern wchar_t ArgumentTable[ARGUMENT_SLOTS][ARGUMENT_UNITS + 1];
extern int ArgumentLengths[ARGUMENT_SLOTS];

/*
** Empties the table and fills it from text (null counts as empty): white
** space separates arguments, double quotes group white space into one and
** are dropped, and a slash starts a new argument when the current one
** begins with a slash.  The ASCII letters are upper-cased.  An argument
** keeps its first ARGUMENT_UNITS units; arguments past the last slot are
** dropped.  Always 0.
*/
int SplitArguments(const wchar_t *text);

#endif /* TIRVALO_ARGUMENTS_H */
