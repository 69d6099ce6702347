// A file held open without sharing by another process (file_locker.exe,
// beside the test program) for the lifetime of this object; the path
// "--clipboard" holds the clipboard open instead.
#ifndef TIRVALO_TESTS_LOCKED_FILE_H
#define TIRVALO_TESTS_LOCKED_FILE_H

#include <windows.h>

#include <functional>
#include <string>

class LockedFile {
public:
    explicit LockedFile(const std::wstring &path);
    ~LockedFile();
    LockedFile(const LockedFile &) = delete;
    LockedFile &operator=(const LockedFile &) = delete;

    // True once the other process holds the file.
    bool Locked() const { return locked_; }

    // Lets the other process end now: it lets go of what it holds.
    void Release();

private:
    PROCESS_INFORMATION process_ = {};
    HANDLE input_ = nullptr;   // closing it lets the other process end
    bool locked_ = false;
};

// Runs body while a window of another process is in front and never
// answers (file_locker --hung-window).  False when that window could not
// be made, or when body had not returned within 10 seconds: the hung
// process is then ended, so that a body that waits for it returns.
bool ReturnsBesideAHungWindow(const std::function<void()> &body);

#endif
