/*
** The options in memory.
*/
#include "settings.h"

SettingsRecord Settings = {DefaultHotkey, DefaultSmartTimes, DefaultSubdirCounts};
