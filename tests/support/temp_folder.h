// Scratch folders and files for the tests, and the folder the test program
// and the built programs it runs stand in.
#ifndef TIRVALO_TESTS_TEMP_FOLDER_H
#define TIRVALO_TESTS_TEMP_FOLDER_H

#include <string>

// The folder of this program, korrash.exe and the built DLLs.
std::wstring TestDirectory();

// A new, empty folder of that name in the temporary folder; whatever an
// earlier run left there is removed first.
std::wstring MakeTempDirectory(const wchar_t *name);

// Removes a folder and everything in it, read-only entries too.
void RemoveTree(const std::wstring &path);

// Writes a file of exactly these bytes.
void WriteBytes(const std::wstring &path, const std::string &bytes);

#endif
