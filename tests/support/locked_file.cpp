// A file held open by another process.  See locked_file.h.
#include "locked_file.h"

#include <thread>

#include "tests/support/temp_folder.h"

LockedFile::LockedFile(const std::wstring &path)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE childInput = nullptr, output = nullptr, childOutput = nullptr;
    if (!CreatePipe(&childInput, &input_, &inherit, 0)) return;
    if (!CreatePipe(&output, &childOutput, &inherit, 0)) return;
    SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(output, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput;
    startup.hStdOutput = childOutput;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::wstring command = L"\"" + TestDirectory() + L"\\file_locker.exe\" \"" + path + L"\"";
    BOOL started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                  &startup, &process_);
    CloseHandle(childInput);
    CloseHandle(childOutput);
    if (started) {
        char word[7] = {};
        DWORD read = 0;
        locked_ = ReadFile(output, word, 6, &read, nullptr) && read == 6 &&
                  std::string(word, 6) == "locked";
    }
    CloseHandle(output);
}

void LockedFile::Release()
{
    if (input_ != nullptr) CloseHandle(input_);
    input_ = nullptr;
}

LockedFile::~LockedFile()
{
    Release();
    if (process_.hProcess != nullptr) {
        WaitForSingleObject(process_.hProcess, 10000);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

bool ReturnsBesideAHungWindow(const std::function<void()> &body)
{
    LockedFile hung(L"--hung-window");
    DWORD process = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &process);
    if (!hung.Locked() || process == GetCurrentProcessId()) return false;
    HANDLE returned = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool late = false;
    std::thread watchdog([&] {
        if (WaitForSingleObject(returned, 10000) == WAIT_TIMEOUT) {
            late = true;
            hung.Release();
        }
    });
    body();
    SetEvent(returned);
    watchdog.join();
    CloseHandle(returned);
    return !late;
}
