/*
** The native stand-ins for what the text routines reach outside text: the
** host's services (its expander and its output), and the few routines of the
** plug-in that work with the platform (the error prefix, the settings'
** registry form, the information window).  They record what the routines
** asked of them, so that the tests and fuzzers can check it, and are steered
** through the values below.
*/
#ifndef TIRVALO_NATIVE_HOST_SHIM_H
#define TIRVALO_NATIVE_HOST_SHIM_H

#include "settings/settings.h"

enum {
    SHIM_STREAM_UNITS = 1 << 18,   /* what one stream may collect */
    SHIM_SHOWN_NAMES = 128
};

/* Output written to standard output and to standard error (the errors with
** the plug-in's prefix), terminated. */
extern wchar_t ShimOutput[SHIM_STREAM_UNITS];
extern wchar_t ShimErrors[SHIM_STREAM_UNITS];

/* The text that each error message quoted with "%s" (null for none), in
** order, and how many messages were written. */
extern const wchar_t *ShimQuoted[SHIM_SHOWN_NAMES];
extern int ShimMessages;

/* The names handed to ShowFileInfo, in order, and what it answers. */
extern const wchar_t *ShimShownNames[SHIM_SHOWN_NAMES];
extern int ShimShown;
extern int ShimShowResult;

/* The registry as LoadSettings and SaveSettings see it: whether the key
** holds options, which, and whether writing fails. */
extern int ShimRegistryHasOptions;
extern SettingsRecord ShimRegistryOptions;
extern int ShimRegistryWriteFails;

/* The values the expander gives for "%_4ver" and "%_build". */
extern const wchar_t *ShimHostVersion;
extern const wchar_t *ShimHostBuild;

/* Empties the streams and the records, and sets every value above, and
** Settings, to the state of a fresh load (no saved options, a 24.00 host). */
void ShimReset(void);

#endif /* TIRVALO_NATIVE_HOST_SHIM_H */
