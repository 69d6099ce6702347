// Fixtures for the tests of real files and windows: a scratch folder of real
// files, the window template found in this program, and the options
// restored after each test; with the registry sandbox and the import-table
// substitution those tests fail platform calls with.
#ifndef TIRVALO_TESTS_FILEINFO_FIXTURE_H
#define TIRVALO_TESTS_FILEINFO_FIXTURE_H

#include <windows.h>

#include <string>

#include "frame/platform.h"
#include "frame/plugin.h"
#include "host_state.h"
#include "import_table.h"
#include "registry_sandbox.h"
#include "settings/settings.h"
#include "temp_folder.h"

class FileInfoTest : public HostTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A path in the scratch folder.
    std::wstring Path(const std::wstring &name) const { return folder_ + L"\\" + name; }
    // Creates a file there with these bytes (and these attributes when not 0).
    std::wstring MakeFile(const std::wstring &name, const std::string &bytes = "",
                          DWORD attributes = 0);
    std::wstring MakeFolder(const std::wstring &name);

    std::wstring folder_;
    SettingsRecord savedSettings_;
};

#endif
