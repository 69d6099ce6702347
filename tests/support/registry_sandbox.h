// The registry for the tests: HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and
// HKEY_CLASSES_ROOT of this process redirected into empty scratch keys while
// a sandbox lives, and the values the plug-in's options are stored in.
#ifndef TIRVALO_TESTS_REGISTRY_SANDBOX_H
#define TIRVALO_TESTS_REGISTRY_SANDBOX_H

#include <windows.h>

#include <string>

// Where users' options are kept, written out here rather than taken from
// the plug-in: a rename there would orphan every user's saved options with
// every test still passing.  SettingsTest checks the plug-in's names.
extern const wchar_t StoredSettingsKey[];   // under HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE
extern const wchar_t *const StoredSettingsValues[3];

// The options' values, by their place in StoredSettingsValues.
enum SettingsValue { HOTKEY_VALUE, SMART_TIMES_VALUE, SUBDIR_COUNTS_VALUE };

class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox &) = delete;
    RegistrySandbox &operator=(const RegistrySandbox &) = delete;

    // Sets the default value of root\path (a null value: creates the key only).
    static void SetDefault(HKEY root, const std::wstring &path, const wchar_t *value);

    // Writes one of the options' values into root's settings key, creating
    // the key; PutAll writes all three as numbers.
    static void Put(HKEY root, SettingsValue name, DWORD type, const void *data, DWORD size);
    static void PutNumber(HKEY root, SettingsValue name, DWORD value);
    static void PutAll(HKEY root, DWORD hotkey, DWORD smartTimes, DWORD subdirCounts);
    // Removes root's settings key.
    static void DeleteSettings(HKEY root);
    // Makes root's settings key readable only, by its security descriptor:
    // Wine checks it when the key is opened.
    static void DenyWriting(HKEY root);
    // A number saved in the per-user settings key, or -1 when the value is
    // missing or no REG_DWORD.
    static long long Saved(SettingsValue name);

private:
    std::wstring scratch_;
    HKEY keys_[3];
};

#endif
