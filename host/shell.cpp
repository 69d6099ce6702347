/*
** korrash.exe, the stand-in shell: it loads one plug-in the way the host
** does, runs commands given with -c, from a batch file or at an interactive
** prompt, dispatches the plug-in's commands by name, and unloads the plug-in
** at exit.  Its exit status is the last command's result.
**
**   korrash [--host-version TEXT] [--host-build N] [--plugin PATH]
**           [--transient] [--dump-windows] [--window-metrics] [--screenshot FILE]
**           [--stack BYTES] [--stack-use] [-c COMMAND]... [BATCHFILE]
**
** --dump-windows prints every dialog window the plug-in opens (its caption,
** then each label with its field) and closes it with OK, and with
** --window-metrics a line with the window's DPI and client size; --screenshot saves
** a PNG of each such window (FILE, then FILE-2, ...) and closes it too.
** The shell runs on a thread whose stack reserves BYTES (--stack), or 1 MiB,
** as common hosts' main threads have; --stack-use tells at exit, on standard
** error, how deep that stack was used.
*/
#include <windows.h>
#include <malloc.h>

#include <string>
#include <vector>

#include "../frame/host_api.h"
#include "host_control.h"
#include "line_editor.h"
#include "stack_probe.h"
#include "text_file.h"
#include "window_dump.h"

namespace {

typedef PluginInfo *(*GetPluginInfoFunction)(void);
typedef int (*InitializeFunction)(void);
typedef int (*ShutdownFunction)(int);
typedef int (*UsageFunction)(const wchar_t *, wchar_t *);
typedef int (*HelpFunction)(const wchar_t *);
typedef int (*CommandFunction)(wchar_t *);

struct PluginCommand {
    std::wstring name;
    CommandFunction function;   /* null when the plug-in lists it but does not export it */
};

struct Plugin {
    HMODULE module = nullptr;
    PluginInfo *info = nullptr;
    std::vector<PluginCommand> commands;
    std::wstring keyHandlerName;
    KeystrokeHandler keyHandler = nullptr;
};

Plugin Loaded;

/* The plug-in's export of that name as a function of type F, or null.  (The
** cast goes through void (*)(void), the function type that GCC lets stand
** for any other.) */
template <typename F>
F Export(HMODULE module, const char *name)
{
    return reinterpret_cast<F>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}
bool ExitRequested = false;
int ExitStatus = 0;

enum { USAGE_BUFFER_UNITS = 1024 };

void WriteOut(const std::wstring &text)
{
    QPuts(text.c_str());
}

void WriteError(const std::wstring &text)
{
    Qprintf(GetStdHandle(STD_ERROR_HANDLE), L"%s", text.c_str());
}

bool SameText(const std::wstring &a, const std::wstring &b)
{
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

std::wstring ExecutableDirectory()
{
    std::vector<wchar_t> path(32768);
    DWORD length = GetModuleFileNameW(nullptr, path.data(), (DWORD)path.size());
    std::wstring text(path.data(), length);
    size_t cut = text.find_last_of(L"\\/");
    return cut == std::wstring::npos ? L"." : text.substr(0, cut);
}

/* Loads the plug-in: the library, its information record and the list of
** what it implements ("*" marks the keystroke handler), then its
** initialisation.  A plug-in that refuses to initialise is unloaded. */
bool LoadPlugin(const std::wstring &path)
{
    HMODULE module = LoadLibraryW(path.c_str());
    if (module == nullptr) {
        WriteError(L"korrash: cannot load plug-in \"" + path + L"\" (error " +
                   std::to_wstring(GetLastError()) + L")\r\n");
        return false;
    }
    GetPluginInfoFunction getInfo = Export<GetPluginInfoFunction>(module, "GetPluginInfo");
    PluginInfo *info = getInfo != nullptr ? getInfo() : nullptr;
    if (info == nullptr || info->implements == nullptr) {
        WriteError(L"korrash: \"" + path + L"\" is not a plug-in\r\n");
        FreeLibrary(module);
        return false;
    }

    Loaded.module = module;
    Loaded.info = info;
    std::wstring list = info->implements;
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(L',', start);
        if (comma == std::wstring::npos) comma = list.size();
        std::wstring name = list.substr(start, comma - start);
        start = comma + 1;
        if (name.empty()) continue;
        std::string exported;
        bool isKeyHandler = name[0] == L'*';
        if (isKeyHandler) name.erase(0, 1);
        for (wchar_t c : name) exported += (char)c;
        if (isKeyHandler) {
            Loaded.keyHandlerName = name;
            Loaded.keyHandler = Export<KeystrokeHandler>(module, exported.c_str());
        } else {
            Loaded.commands.push_back(
                PluginCommand{name, Export<CommandFunction>(module, exported.c_str())});
        }
    }

    InitializeFunction initialize = Export<InitializeFunction>(module, "InitializePlugin");
    if (initialize != nullptr && initialize() != 0) {
        FreeLibrary(module);
        Loaded = Plugin();
        return false;
    }
    return true;
}

void UnloadPlugin()
{
    if (Loaded.module == nullptr) return;
    ShutdownFunction shutdown = Export<ShutdownFunction>(Loaded.module, "ShutdownPlugin");
    if (shutdown != nullptr) shutdown(0);
    FreeLibrary(Loaded.module);
    Loaded = Plugin();
}

const PluginCommand *FindCommand(const std::wstring &name)
{
    for (const PluginCommand &command : Loaded.commands) {
        if (SameText(command.name, name)) return &command;
    }
    return nullptr;
}

/* Built-in "plugins": what the loaded plug-in says about itself. */
int ShowPlugins()
{
    if (Loaded.module == nullptr) {
        WriteOut(L"No plug-in loaded.\r\n");
        return 1;
    }
    PluginInfo *info = Loaded.info;
    auto text = [](const wchar_t *t) { return std::wstring(t != nullptr ? t : L"(none)"); };
    std::wstring out = text(info->name) + L" v" + std::to_wstring(info->major) + L"." +
                       std::to_wstring(info->minor) + L"." + std::to_wstring(info->build) + L"\r\n";
    out += L"  name:       " + text(info->secondName) + L"\r\n";
    out += L"  author:     " + text(info->author) + L"\r\n";
    out += L"  e-mail:     " + text(info->email) + L"\r\n";
    out += L"  web page:   " + text(info->webPage) + L"\r\n";
    out += L"  implements: " + text(info->implements) + L"\r\n";
    if (!Loaded.keyHandlerName.empty()) {
        out += L"  keystroke handler: " + Loaded.keyHandlerName +
               (Loaded.keyHandler != nullptr ? L"\r\n" : L" (not exported yet)\r\n");
    }
    for (const PluginCommand &command : Loaded.commands) {
        out += L"  command:    " + command.name +
               (command.function != nullptr ? L"\r\n" : L" (not exported yet)\r\n");
    }
    WriteOut(out);
    return 0;
}

/* Built-in "usage NAME": the syntax text the plug-in's Usage gives. */
int ShowUsage(const std::wstring &name)
{
    UsageFunction usage = Loaded.module != nullptr
                              ? Export<UsageFunction>(Loaded.module, "Usage")
                              : nullptr;
    std::vector<wchar_t> buffer(USAGE_BUFFER_UNITS, L'\0');
    if (usage == nullptr || usage(name.c_str(), buffer.data()) == 0) {
        WriteError(L"No usage for \"" + name + L"\"\r\n");
        return 1;
    }
    WriteOut(buffer.data());
    return 0;
}

/* Built-in "help NAME": the plug-in's Help, which shows a window. */
int ShowHelp(const std::wstring &name)
{
    HelpFunction help = Loaded.module != nullptr
                            ? Export<HelpFunction>(Loaded.module, "Help")
                            : nullptr;
    if (help == nullptr || help(name.c_str()) == 0) {
        WriteError(L"No help for \"" + name + L"\"\r\n");
        return 1;
    }
    return 0;
}

/* Built-in "set NAME=VALUE"; an empty value removes the variable. */
int SetVariable(const std::wstring &argument)
{
    size_t equals = argument.find(L'=');
    if (equals == std::wstring::npos || equals == 0) {
        const wchar_t *value = KorrashGetVariable(argument.c_str());
        if (value == nullptr) {
            WriteError(L"Not in environment \"" + argument + L"\"\r\n");
            return 1;
        }
        WriteOut(argument + L"=" + value + L"\r\n");
        return 0;
    }
    KorrashSetVariable(argument.substr(0, equals).c_str(), argument.substr(equals + 1).c_str());
    return 0;
}

/* True when the shell reports a version of 24 or above: such hosts deliver
** some keystrokes by name. */
bool HostUsesKeyNames()
{
    const wchar_t *version = KorrashGetVariable(L"_4ver");
    return version != nullptr && wcstol(version, nullptr, 10) >= 24;
}

/* Presses (down true) or releases the modifier keys of a held set for real,
** so that GetAsyncKeyState sees them. */
void PressModifiers(const std::vector<WORD> &keys, bool down)
{
    for (WORD key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        SendInput(1, &input, sizeof input);
    }
}

/*
** Built-in "keystroke [HOLD:]KEY CURSOR LINE": hands one keystroke to the
** plug-in's keystroke handler as the line editor would.  KEY is the host's
** key code (decimal, or hexadecimal with 0x) or, on hosts of version 24 and
** above, name= and a key name; HOLD is a "+"-joined list of shift, ctrl and
** alt held down while the keystroke is delivered; LINE is taken verbatim.
** Prints "consumed" or "passed".
*/
int RunKeystroke(const std::wstring &arguments)
{
    const std::wstring syntax = L"Syntax: keystroke [HOLD:]KEY CURSOR LINE\r\n";
    size_t keyEnd = arguments.find(L' ');
    size_t cursorEnd = keyEnd == std::wstring::npos ? keyEnd : arguments.find(L' ', keyEnd + 1);
    if (keyEnd == std::wstring::npos || keyEnd == 0) {
        WriteError(syntax);
        return 1;
    }
    std::wstring key = arguments.substr(0, keyEnd);
    std::wstring cursorText = arguments.substr(keyEnd + 1, cursorEnd == std::wstring::npos
                                                               ? std::wstring::npos
                                                               : cursorEnd - keyEnd - 1);
    std::wstring line = cursorEnd == std::wstring::npos ? L"" : arguments.substr(cursorEnd + 1);

    std::vector<WORD> held;
    size_t colon = key.find(L':');
    if (colon != std::wstring::npos) {
        std::wstring list = key.substr(0, colon) + L"+";
        for (size_t start = 0, plus; (plus = list.find(L'+', start)) != std::wstring::npos; start = plus + 1) {
            std::wstring word = list.substr(start, plus - start);
            if (SameText(word, L"shift")) held.push_back(VK_SHIFT);
            else if (SameText(word, L"ctrl")) held.push_back(VK_CONTROL);
            else if (SameText(word, L"alt")) held.push_back(VK_MENU);
            else {
                WriteError(L"Unknown modifier \"" + word + L"\"\r\n");
                return 1;
            }
        }
        key.erase(0, colon + 1);
    }

    HostKeystroke keystroke;
    wchar_t *end = nullptr;
    if (key.size() > 5 && SameText(key.substr(0, 5), L"name=")) {
        if (!HostUsesKeyNames()) {
            WriteError(L"Key names are delivered by hosts of version 24 and above\r\n");
            return 1;
        }
        keystroke.name = key.substr(5);
    } else if (key.size() > 2 && SameText(key.substr(0, 2), L"0x")) {
        keystroke.code = (int)wcstoul(key.c_str() + 2, &end, 16);
    } else {
        keystroke.code = (int)wcstol(key.c_str(), &end, 10);
    }
    long cursor = wcstol(cursorText.c_str(), nullptr, 10);
    if ((end != nullptr && *end != 0) || cursorText.empty() || cursor < 0) {
        WriteError(syntax);
        return 1;
    }
    if (Loaded.keyHandler == nullptr) {
        WriteError(L"No keystroke handler is loaded\r\n");
        return 1;
    }

    PressModifiers(held, true);
    bool consumed = DeliverKeystroke(Loaded.keyHandler, keystroke, line, (size_t)cursor);
    PressModifiers(held, false);
    WriteOut(consumed ? L"consumed\r\n" : L"passed\r\n");
    return 0;
}

/* Runs one command line: built-ins first, then the plug-in's commands. */
int RunLine(const std::wstring &rawLine)
{
    size_t start = 0;
    while (start < rawLine.size() && IsBlank(rawLine[start])) start++;
    if (start == rawLine.size()) return ExitStatus;
    std::wstring line = rawLine.substr(start);

    size_t nameEnd = 0;
    while (nameEnd < line.size() && !IsBlank(line[nameEnd])) nameEnd++;
    if (SameText(line.substr(0, nameEnd), L"rem")) return ExitStatus;
    if (SameText(line.substr(0, nameEnd), L"keystroke")) {
        /* Its line is taken verbatim: no expansion. */
        size_t argumentStart = nameEnd;
        while (argumentStart < line.size() && IsBlank(line[argumentStart])) argumentStart++;
        return RunKeystroke(line.substr(argumentStart));
    }

    /* Like the shell, expand variables and functions before running. */
    std::vector<wchar_t> expanded(HOST_EXPAND_CAPACITY, L'\0');
    if (line.size() >= expanded.size()) {
        WriteError(L"Command line too long\r\n");
        return 1;
    }
    wmemcpy(expanded.data(), line.c_str(), line.size() + 1);
    if (ExpandVariables(expanded.data(), 1) != 0) {
        WriteError(L"Cannot expand \"" + line + L"\"\r\n");
        return 1;
    }
    line = expanded.data();

    nameEnd = 0;
    while (nameEnd < line.size() && !IsBlank(line[nameEnd])) nameEnd++;
    std::wstring name = line.substr(0, nameEnd);
    size_t argumentStart = nameEnd;
    while (argumentStart < line.size() && IsBlank(line[argumentStart])) argumentStart++;
    std::wstring argument = line.substr(argumentStart);

    if (SameText(name, L"echo")) {
        WriteOut(argument + L"\r\n");
        return 0;
    }
    if (SameText(name, L"set")) return SetVariable(argument);
    if (SameText(name, L"usage")) return ShowUsage(argument);
    if (SameText(name, L"help")) return ShowHelp(argument);
    if (SameText(name, L"plugins")) return ShowPlugins();
    if (SameText(name, L"beeps")) {
        WriteOut(std::to_wstring(KorrashBeepCount()) + L"\r\n");
        return 0;
    }
    if (SameText(name, L"exit")) {
        ExitRequested = true;
        return argument.empty() ? ExitStatus : _wtoi(argument.c_str());
    }

    const PluginCommand *command = FindCommand(name);
    if (command == nullptr || command->function == nullptr) {
        WriteError(L"Unknown command \"" + name + L"\"\r\n");
        return 1;
    }
    std::vector<wchar_t> arguments(argument.begin(), argument.end());
    arguments.push_back(0);
    return command->function(arguments.data());
}

/* Runs a batch file, one command a line, with %_batch, %_batchname and
** %_batchline telling where. */
int RunBatchFile(const std::wstring &path)
{
    wchar_t fullPath[MAX_PATH * 4];
    if (GetFullPathNameW(path.c_str(), MAX_PATH * 4, fullPath, nullptr) == 0) {
        wcsncpy(fullPath, path.c_str(), MAX_PATH * 4 - 1);
        fullPath[MAX_PATH * 4 - 1] = 0;
    }
    std::wstring text;
    if (!ReadTextFile(fullPath, &text)) {
        WriteError(L"Cannot open batch file \"" + path + L"\"\r\n");
        return 1;
    }

    KorrashSetInternal(L"_batch", L"1");
    KorrashSetInternal(L"_batchname", fullPath);
    int lineNumber = 0;
    size_t start = 0;
    while (start < text.size() && !ExitRequested) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        lineNumber++;
        KorrashSetInternal(L"_batchline", std::to_wstring(lineNumber).c_str());
        ExitStatus = RunLine(line);
    }
    KorrashSetInternal(L"_batch", L"0");
    KorrashSetInternal(L"_batchname", L"");
    KorrashSetInternal(L"_batchline", L"0");
    return ExitStatus;
}

/* Reads one line typed at the prompt; false at the end of input. */
bool ReadInputLine(std::wstring *line)
{
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode, got;
    line->clear();
    if (GetConsoleMode(input, &mode)) {
        wchar_t buffer[1024];
        for (;;) {
            if (!ReadConsoleW(input, buffer, 1024, &got, nullptr) || got == 0) {
                return !line->empty();
            }
            line->append(buffer, got);
            if (line->back() == L'\n') break;
        }
    } else {
        std::string bytes;
        char c;
        for (;;) {
            if (!ReadFile(input, &c, 1, &got, nullptr) || got == 0) {
                if (bytes.empty()) return false;
                break;
            }
            if (c == '\n') break;
            bytes += c;
        }
        *line = DecodeText(bytes);
    }
    while (!line->empty() && (line->back() == L'\n' || line->back() == L'\r')) line->pop_back();
    return true;
}

/* Ctrl-C at the prompt cancels the line being edited, not the shell: the
** console reports it as a signal, so it goes back into the input as the
** keystroke the line editor knows. */
BOOL WINAPI CancelLine(DWORD event)
{
    if (event != CTRL_C_EVENT) return FALSE;
    INPUT_RECORD input = {};
    input.EventType = KEY_EVENT;
    input.Event.KeyEvent.bKeyDown = TRUE;
    input.Event.KeyEvent.wRepeatCount = 1;
    input.Event.KeyEvent.wVirtualKeyCode = 'C';
    input.Event.KeyEvent.uChar.UnicodeChar = 0x03;
    input.Event.KeyEvent.dwControlKeyState = LEFT_CTRL_PRESSED;
    DWORD written;
    WriteConsoleInputW(GetStdHandle(STD_INPUT_HANDLE), &input, 1, &written);
    return TRUE;
}

/* The interactive prompt: the line editor on a console, else plain lines
** read from standard input. */
void RunInteractive()
{
    DWORD mode;
    bool console = GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
    if (console) SetConsoleCtrlHandler(CancelLine, TRUE);
    std::wstring line;
    while (!ExitRequested) {
        wchar_t directory[MAX_PATH * 4];
        DWORD length = GetCurrentDirectoryW(MAX_PATH * 4, directory);
        std::wstring prompt = std::wstring(directory, length < MAX_PATH * 4 ? length : 0) + L">";
        if (console) {
            if (!EditLine(prompt, Loaded.keyHandler, HostUsesKeyNames(), &line)) break;
        } else {
            WriteOut(prompt);
            if (!ReadInputLine(&line)) {
                WriteOut(L"\r\n");
                break;
            }
        }
        ExitStatus = RunLine(line);
    }
}

void PrintSyntax()
{
    WriteError(L"usage: korrash [--host-version TEXT] [--host-build N] [--plugin PATH]\r\n"
               L"               [--transient] [--dump-windows] [--window-metrics] [--screenshot FILE]\r\n"
               L"               [--stack BYTES] [--stack-use] [-c COMMAND]... [BATCHFILE]\r\n");
}

/* What the command line asks the shell to do. */
struct ShellSetup {
    std::wstring pluginPath;
    std::vector<std::wstring> commands;
    std::wstring batchFile;
    WindowWatchOptions watchOptions;
    size_t stackBytes = 1 << 20;   /* the reserve of the shell's thread */
    bool stackUse = false;
};

/* The shell itself. */
__attribute__((noinline)) void RunShellOnStack(const ShellSetup &setup)
{
    StackProbe stack = {};

    if (setup.stackUse) stack = FillStack();
    /* Windows are read and closed on this thread, where the plug-in runs. */
    WindowWatch *watch = nullptr;
    if (setup.watchOptions.dump || !setup.watchOptions.screenshot.empty()) {
        watch = new WindowWatch(setup.watchOptions);
    }
    LoadPlugin(setup.pluginPath);
    if (setup.commands.empty() && setup.batchFile.empty()) {
        RunInteractive();
    } else {
        for (const std::wstring &command : setup.commands) {
            if (ExitRequested) break;
            ExitStatus = RunLine(command);
        }
        if (!setup.batchFile.empty() && !ExitRequested) RunBatchFile(setup.batchFile);
    }
    UnloadPlugin();
    delete watch;
    if (setup.stackUse) {
        /* The part of the reservation set aside (RunShell) is not the shell's. */
        size_t apart = stack.reserved - setup.stackBytes;
        WriteError(L"korrash: stack used " + std::to_wstring(StackUsed(stack) - apart) + L" of " +
                   std::to_wstring(stack.reserved - apart) + L" bytes\r\n");
    }
}

/*
** The shell's thread, of the stack the command line asks for.  Wine gives
** every thread at least 1 MiB whatever it asks: a smaller stack is made by
** setting the rest of the reservation aside first, below which the shell
** runs with what such a thread would leave it.
*/
DWORD WINAPI RunShell(void *parameter)
{
    ShellSetup &setup = *(ShellSetup *)parameter;
    MEMORY_BASIC_INFORMATION region = {};
    size_t reserved = setup.stackBytes;

    if (VirtualQuery(&region, &region, sizeof region) != 0) {
        reserved = (size_t)((const char *)region.BaseAddress + region.RegionSize -
                            (const char *)region.AllocationBase);
    }
    if (reserved < setup.stackBytes) setup.stackBytes = reserved;   /* as the system rounded it */
    volatile char *apart = (volatile char *)_alloca(reserved - setup.stackBytes + 1);
    apart[0] = 0;
    RunShellOnStack(setup);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t **argv)
{
    ShellSetup setup;
    setup.pluginPath = ExecutableDirectory() + L"\\Tirvalo.dll";

    for (int i = 1; i < argc; i++) {
        std::wstring option = argv[i];
        bool hasValue = i + 1 < argc;
        if (option == L"--host-version" && hasValue) {
            KorrashSetInternal(L"_4ver", argv[++i]);
        } else if (option == L"--host-build" && hasValue) {
            KorrashSetInternal(L"_build", argv[++i]);
        } else if (option == L"--plugin" && hasValue) {
            setup.pluginPath = argv[++i];
        } else if (option == L"--transient") {
            KorrashSetInternal(L"_transient", L"1");
        } else if (option == L"--dump-windows") {
            setup.watchOptions.dump = true;
        } else if (option == L"--window-metrics") {
            setup.watchOptions.metrics = true;
        } else if (option == L"--stack" && hasValue && _wtoi(argv[i + 1]) > 0) {
            setup.stackBytes = (size_t)_wtoi(argv[++i]);
        } else if (option == L"--stack-use") {
            setup.stackUse = true;
        } else if (option == L"--screenshot" && hasValue) {
            setup.watchOptions.screenshot = argv[++i];
        } else if (option == L"-c" && hasValue) {
            setup.commands.push_back(argv[++i]);
        } else if ((option.size() > 1 && option[0] == L'-') || !setup.batchFile.empty()) {
            PrintSyntax();   /* an unknown switch, or a second batch file */
            return 2;
        } else {
            setup.batchFile = option;
        }
    }

    HANDLE thread = CreateThread(nullptr, setup.stackBytes, RunShell, &setup, STACK_SIZE_PARAM_IS_A_RESERVATION,
                                 nullptr);
    if (thread == nullptr) {
        WriteError(L"korrash: cannot start the shell's thread\r\n");
        return 1;
    }
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return ExitStatus;
}
