// Runs the stand-in shell, korrash.exe, beside this test program with the
// built Tirvalo.dll, and collects what it wrote to each stream (the bytes,
// UTF-8) and its exit status.
#ifndef TIRVALO_TESTS_SHELL_RUNNER_H
#define TIRVALO_TESTS_SHELL_RUNNER_H

#include <string>
#include <utility>
#include <vector>

struct ShellRun {
    int status = -999;       // -999: did not start or did not end in time
    std::string out;         // standard output, as bytes
    std::string err;         // standard error, as bytes
};

struct ShellOptions {
    bool outputToPipe = false;   // standard output a pipe (else a file)
    std::string input;           // bytes on standard input
    std::vector<std::pair<std::wstring, std::wstring>> environment;  // set for the child only
    std::wstring directory;      // working directory (default: TestDirectory())
    std::wstring desktop;        // "station\\desktop" to start on (default: this program's)
};

ShellRun RunShell(const std::vector<std::wstring> &arguments, const ShellOptions &options = {});

// RunShell with the variable noloadmsg set, for tests that are not about the
// plug-in's load message.
ShellRun RunQuietShell(const std::vector<std::wstring> &arguments);

// The UTF-8 bytes of text, as the shell writes it.
std::string Utf8(const std::wstring &text);

#endif
