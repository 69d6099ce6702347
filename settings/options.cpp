/*
** The options in memory, and the facts about them that do not touch the
** registry.  Text only: no platform header, so that the command built
** natively for the sanitizers uses the same record.
*/
#include "hotkeys/hotkey_names.h"
#include "settings.h"

SettingsRecord Settings = {DefaultHotkey, DefaultSmartTimes, DefaultSubdirCounts};

const SettingsRecord DefaultSettings = {DefaultHotkey, DefaultSmartTimes, DefaultSubdirCounts};

const wchar_t SettingsKeyPath[] = L"Software\\VelmPlugins\\Tirvalo";

const wchar_t *const SettingsValueNames[SETTINGS_VALUE_COUNT] = {L"Hotkey", L"SmartTimes",
                                                                 L"SubdirCounts"};

int FormatHotkeyName(wchar_t *buffer, int capacity)
{
    return FormatHotkeyCode(Settings.Hotkey, buffer, capacity);
}
