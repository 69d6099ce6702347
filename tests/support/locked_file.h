// A file held open without sharing by another process (file_locker.exe,
// beside the test program) for the lifetime of this object; the path
// "--clipboard" holds the clipboard open instead.
#ifndef TIRVALO_TESTS_LOCKED_FILE_H
#define TIRVALO_TESTS_LOCKED_FILE_H

#include <windows.h>

#include <string>

class LockedFile {
public:
    explicit LockedFile(const std::wstring &path);
    ~LockedFile();
    LockedFile(const LockedFile &) = delete;
    LockedFile &operator=(const LockedFile &) = delete;

    // True once the other process holds the file.
    bool Locked() const { return locked_; }

private:
    PROCESS_INFORMATION process_ = {};
    HANDLE input_ = nullptr;   // closing it lets the other process end
    bool locked_ = false;
};

#endif
