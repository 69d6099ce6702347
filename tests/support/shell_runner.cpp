// Running the stand-in shell.  See shell_runner.h.
#include "shell_runner.h"

#include <windows.h>

#include "temp_folder.h"

namespace {

std::wstring Quote(const std::wstring &argument)
{
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            backslashes++;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

std::string ReadAll(HANDLE handle)
{
    std::string bytes;
    char chunk[4096];
    DWORD got;
    while (ReadFile(handle, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    return bytes;
}

HANDLE TempFile(const std::wstring &path, DWORD access)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
}

}  // namespace

std::string Utf8(const std::wstring &text)
{
    if (text.empty()) return std::string();
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0, nullptr,
                                    nullptr);
    std::string result(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), &result[0], bytes, nullptr,
                        nullptr);
    return result;
}

ShellRun RunShell(const std::vector<std::wstring> &arguments, const ShellOptions &options)
{
    static int serial = 0;
    ShellRun run;
    std::wstring directory = TestDirectory();
    // The files of a run go to the prefix's temporary folder: tests of other
    // lanes run beside this one, with process ids of their own Wine server.
    wchar_t temporary[MAX_PATH];
    GetTempPathW(MAX_PATH, temporary);
    std::wstring base = std::wstring(temporary) + L"shell-run-" +
                        std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);

    std::wstring command = Quote(directory + L"\\korrash.exe");
    for (const std::wstring &argument : arguments) command += L" " + Quote(argument);

    WriteBytes(base + L".in", options.input);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE input = CreateFileW((base + L".in").c_str(), GENERIC_READ, FILE_SHARE_READ, &inherit,
                               OPEN_EXISTING, 0, nullptr);
    HANDLE errors = TempFile(base + L".err", GENERIC_READ | GENERIC_WRITE);
    HANDLE output = INVALID_HANDLE_VALUE, pipeRead = nullptr;
    if (options.outputToPipe) {
        CreatePipe(&pipeRead, &output, &inherit, 0);
        SetHandleInformation(pipeRead, HANDLE_FLAG_INHERIT, 0);
    } else {
        output = TempFile(base + L".out", GENERIC_READ | GENERIC_WRITE);
    }

    std::vector<std::pair<std::wstring, std::wstring>> saved;
    for (const auto &variable : options.environment) {
        wchar_t old[32767];
        DWORD length = GetEnvironmentVariableW(variable.first.c_str(), old, 32767);
        saved.push_back({variable.first, length > 0 ? std::wstring(old, length) : std::wstring()});
        SetEnvironmentVariableW(variable.first.c_str(),
                                variable.second.empty() ? nullptr : variable.second.c_str());
    }

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = errors;
    std::wstring desktop = options.desktop;
    if (!desktop.empty()) startup.lpDesktop = &desktop[0];
    PROCESS_INFORMATION process = {};
    std::vector<wchar_t> commandLine(command.begin(), command.end());
    commandLine.push_back(0);
    const std::wstring &workingDirectory = options.directory.empty() ? directory : options.directory;
    // Under a heavy load Wine has been seen to refuse a process now and then;
    // a refusal that lasts is reported with its error in the run's output.
    BOOL started = FALSE;
    DWORD startError = 0;
    for (int attempt = 0; attempt < 3 && !started; attempt++) {
        if (attempt > 0) Sleep(500);
        started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                 workingDirectory.c_str(), &startup, &process);
        if (!started) startError = GetLastError();
    }

    for (const auto &variable : saved) {
        SetEnvironmentVariableW(variable.first.c_str(),
                                variable.second.empty() ? nullptr : variable.second.c_str());
    }
    CloseHandle(input);
    if (options.outputToPipe) {
        CloseHandle(output);
        output = INVALID_HANDLE_VALUE;
    }

    if (started) {
        if (options.outputToPipe) run.out = ReadAll(pipeRead);
        if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            run.status = (int)code;
        } else {
            TerminateProcess(process.hProcess, 1);
        }
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    if (options.outputToPipe) {
        CloseHandle(pipeRead);
    } else {
        SetFilePointer(output, 0, nullptr, FILE_BEGIN);
        run.out = ReadAll(output);
    }
    if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
    SetFilePointer(errors, 0, nullptr, FILE_BEGIN);
    run.err = ReadAll(errors);
    if (!started) run.err += "<the shell did not start: error " + std::to_string(startError) + ">";
    CloseHandle(errors);
    DeleteFileW((base + L".in").c_str());
    DeleteFileW((base + L".out").c_str());
    DeleteFileW((base + L".err").c_str());
    return run;
}

ShellRun RunQuietShell(const std::vector<std::wstring> &arguments)
{
    ShellOptions options;
    options.environment = {{L"noloadmsg", L"1"}};
    return RunShell(arguments, options);
}
