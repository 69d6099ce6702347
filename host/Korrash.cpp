/*
** Korrash.dll, the stand-in host library: the nine services a plug-in
** imports, written from what the plug-in relies on, plus the small control
** interface of host_control.h for the stand-in shell and for tests.
**
** This is a test and demo tool, not the product; it may allocate freely.
*/
#include <windows.h>
#include <stdarg.h>
#include <stdio.h>

#include <string>
#include <vector>

#define KORRASH_API __declspec(dllexport)
#include "../frame/host_api.h"
#include "host_control.h"
#include "text_file.h"

namespace {

struct Variable {
    std::wstring name;
    std::wstring value;
};

std::vector<Variable> Internals;   /* _4ver, _build, _batch, ... */
std::vector<Variable> Users;       /* the user's variables */
bool Initialized = false;
bool Capturing = false;
std::wstring Captured[3];
std::vector<unsigned long long> BeepTimes;

enum { EXPAND_DEPTH_LIMIT = 32 };

bool SameName(const std::wstring &a, const wchar_t *b)
{
    return CompareStringOrdinal(a.c_str(), -1, b, -1, TRUE) == CSTR_EQUAL;
}

Variable *FindVariable(std::vector<Variable> &list, const wchar_t *name)
{
    for (Variable &v : list) {
        if (SameName(v.name, name)) return &v;
    }
    return nullptr;
}

/* A variable by name: the shell's own first, then the user's. */
Variable *FindAnyVariable(const wchar_t *name)
{
    Variable *v = FindVariable(Internals, name);
    return v != nullptr ? v : FindVariable(Users, name);
}

void StoreVariable(std::vector<Variable> &list, const wchar_t *name, const wchar_t *value)
{
    Variable *v = FindVariable(list, name);
    if (v == nullptr) {
        list.push_back(Variable{name, L""});
        v = &list.back();
    }
    v->value = value != nullptr ? value : L"";
}

/* The host's state at load: default version texts, outside any batch file,
** and the user's variables taken from the process environment. */
void EnsureInitialized()
{
    if (Initialized) return;
    Initialized = true;

    StoreVariable(Internals, L"_4ver", L"24.00");
    StoreVariable(Internals, L"_build", L"200");
    StoreVariable(Internals, L"_batch", L"0");
    StoreVariable(Internals, L"_batchname", L"");
    StoreVariable(Internals, L"_batchline", L"-1");
    StoreVariable(Internals, L"_transient", L"0");
    bool pipe = GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_PIPE;
    StoreVariable(Internals, L"_pipe", pipe ? L"1" : L"0");

    wchar_t *block = GetEnvironmentStringsW();
    if (block == nullptr) return;
    for (const wchar_t *entry = block; *entry != 0; entry += wcslen(entry) + 1) {
        const wchar_t *equals = wcschr(entry + 1, L'=');  /* "=C:=..." entries start with '=' */
        if (entry[0] == L'=' || equals == nullptr) continue;
        std::wstring name(entry, equals - entry);
        StoreVariable(Users, name.c_str(), equals + 1);
    }
    FreeEnvironmentStringsW(block);
}

bool IsNameUnit(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
           c == L'_';
}

std::wstring LookUp(const std::wstring &name)
{
    Variable *v = FindAnyVariable(name.c_str());
    return v != nullptr ? v->value : std::wstring();
}

/* "%@comma[n]": thousands separators in the integer part of a number; the
** sign and any decimal part are kept as they are. */
std::wstring Comma(const std::wstring &number)
{
    size_t start = (!number.empty() && (number[0] == L'-' || number[0] == L'+')) ? 1 : 0;
    size_t end = start;
    while (end < number.size() && number[end] >= L'0' && number[end] <= L'9') end++;
    if (end == start) return number;

    std::wstring result = number.substr(0, start);
    for (size_t i = start; i < end; i++) {
        if (i > start && (end - i) % 3 == 0) result += L',';
        result += number[i];
    }
    return result + number.substr(end);
}

/* "%@descript[path]": the description kept for the file in the file
** "descript.ion" of its directory, one line a file: the name (in double
** quotes when it holds blanks), white space, the description. */
std::wstring Descript(const std::wstring &path)
{
    size_t cut = path.find_last_of(L"\\/");
    std::wstring directory = cut == std::wstring::npos ? L"." : path.substr(0, cut);
    std::wstring name = cut == std::wstring::npos ? path : path.substr(cut + 1);
    std::wstring text;
    if (name.empty() || !ReadTextFile(directory + L"\\descript.ion", &text)) return L"";

    size_t lineStart = 0;
    while (lineStart < text.size()) {
        size_t lineEnd = text.find(L'\n', lineStart);
        if (lineEnd == std::wstring::npos) lineEnd = text.size();
        std::wstring line = text.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        if (!line.empty() && line.back() == L'\r') line.pop_back();

        std::wstring entry;
        size_t rest;
        if (!line.empty() && line[0] == L'"') {
            size_t close = line.find(L'"', 1);
            if (close == std::wstring::npos) continue;
            entry = line.substr(1, close - 1);
            rest = close + 1;
        } else {
            rest = line.find_first_of(L" \t");
            if (rest == std::wstring::npos) continue;
            entry = line.substr(0, rest);
        }
        if (entry.empty() || !SameName(entry, name.c_str())) continue;
        rest = line.find_first_not_of(L" \t", rest);
        return rest == std::wstring::npos ? L"" : line.substr(rest);
    }
    return L"";
}

bool CallFunction(const std::wstring &name, const std::wstring &argument, std::wstring *result)
{
    if (SameName(name, L"comma")) {
        *result = Comma(argument);
        return true;
    }
    if (SameName(name, L"descript")) {
        *result = Descript(argument);
        return true;
    }
    return false;   /* an unknown function is an error, as in the shell */
}

/*
** Expands text from *pos into out.  Inside a function's argument the
** expansion ends after the "]" that closes it; an argument that is never
** closed, an unknown function, or nesting beyond the limit is a failure.
*/
bool ExpandText(const wchar_t *text, size_t *pos, bool inArgument, int depth, std::wstring *out)
{
    for (;;) {
        wchar_t c = text[*pos];
        if (c == 0) return !inArgument;
        if (inArgument && c == L']') {
            ++*pos;
            return true;
        }
        if (c != L'%') {
            *out += c;
            ++*pos;
            continue;
        }

        wchar_t next = text[*pos + 1];
        if (next == L'%') {                               /* "%%" */
            *out += L'%';
            *pos += 2;
            continue;
        }
        if (next == L'[') {                               /* "%[NAME]" */
            const wchar_t *close = wcschr(text + *pos + 2, L']');
            if (close != nullptr) {
                std::wstring name(text + *pos + 2, close - (text + *pos + 2));
                *out += LookUp(name);
                *pos = close + 1 - text;
                continue;
            }
        }
        if (next == L'@') {                               /* "%@name[argument]" */
            size_t end = *pos + 2;
            while (IsNameUnit(text[end])) end++;
            if (end > *pos + 2 && text[end] == L'[') {
                if (depth >= EXPAND_DEPTH_LIMIT) return false;
                std::wstring name(text + *pos + 2, end - (*pos + 2));
                std::wstring argument, result;
                size_t argumentPos = end + 1;
                if (!ExpandText(text, &argumentPos, true, depth + 1, &argument)) return false;
                if (!CallFunction(name, argument, &result)) return false;
                *out += result;
                *pos = argumentPos;
                continue;
            }
        }
        size_t end = *pos + 1;                            /* "%NAME" */
        while (IsNameUnit(text[end])) end++;
        if (end == *pos + 1) {
            *out += L'%';
            ++*pos;
            continue;
        }
        *out += LookUp(std::wstring(text + *pos + 1, end - (*pos + 1)));
        *pos = end;
    }
}

std::wstring FormatText(const wchar_t *format, va_list args)
{
    va_list counting;
    va_copy(counting, args);
    int length = _vscwprintf(format, counting);
    va_end(counting);
    if (length <= 0) return std::wstring();
    std::wstring text(length + 1, L'\0');
    _vsnwprintf(&text[0], length + 1, format, args);
    text.resize(length);
    return text;
}

/* Writes text to a handle: through the console when it is one, else as
** UTF-8 bytes, exactly as given (no line-ending translation). */
void WriteToHandle(HANDLE handle, const std::wstring &text)
{
    DWORD mode, written;
    if (text.empty()) return;
    if (GetConsoleMode(handle, &mode)) {
        WriteConsoleW(handle, text.data(), (DWORD)text.size(), &written, nullptr);
        return;
    }
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0,
                                    nullptr, nullptr);
    std::string encoded(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), &encoded[0], bytes, nullptr,
                        nullptr);
    WriteFile(handle, encoded.data(), (DWORD)encoded.size(), &written, nullptr);
}

/* Writes to standard output (1) or standard error (2), or into memory while
** capture is on. */
void WriteStream(int stream, const std::wstring &text)
{
    if (Capturing) {
        Captured[stream] += text;
        return;
    }
    WriteToHandle(GetStdHandle(stream == 1 ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE), text);
}

}  // namespace

/* The nine services. */

int ExpandVariables(wchar_t *text, int flag)
{
    (void)flag;
    EnsureInitialized();
    if (text == nullptr) return 1;
    std::wstring result;
    size_t pos = 0;
    if (!ExpandText(text, &pos, false, 0, &result)) return 1;
    if (result.size() >= HOST_EXPAND_CAPACITY) return 1;
    wmemcpy(text, result.c_str(), result.size() + 1);
    return 0;
}

int Printf(const wchar_t *format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring text = FormatText(format, args);
    va_end(args);
    WriteStream(1, text);
    return (int)text.size();
}

int QPuts(const wchar_t *text)
{
    if (text == nullptr) return 0;
    WriteStream(1, text);
    return 0;
}

int Qprintf(void *handle, const wchar_t *format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring text = FormatText(format, args);
    va_end(args);
    if (handle == GetStdHandle(STD_ERROR_HANDLE)) {
        WriteStream(2, text);
    } else if (handle == GetStdHandle(STD_OUTPUT_HANDLE)) {
        WriteStream(1, text);
    } else {
        WriteToHandle(handle, text);
    }
    return (int)text.size();
}

/* Milliseconds on the performance counter, finer than the system tick. */
unsigned long long Milliseconds()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return (unsigned long long)(count.QuadPart / (frequency.QuadPart / 1000));
}

void honk(void)
{
    DWORD mode;
    BeepTimes.push_back(Milliseconds());
    HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
    if (!Capturing && GetConsoleMode(errors, &mode)) {
        DWORD written;
        WriteConsoleW(errors, L"\a", 1, &written, nullptr);
    }
}

int QueryTrueName(const wchar_t *name, wchar_t *result)
{
    if (result == nullptr) return 1;
    result[0] = 0;
    if (name == nullptr || name[0] == 0) return 1;
    DWORD length = GetFullPathNameW(name, 32768, result, nullptr);
    if (length == 0 || length >= 32768) {
        result[0] = 0;
        return 1;
    }
    return 0;
}

int QueryIsFile(const wchar_t *path)
{
    DWORD attributes = path != nullptr ? GetFileAttributesW(path) : INVALID_FILE_ATTRIBUTES;
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int QueryIsDirectory(const wchar_t *path)
{
    DWORD attributes = path != nullptr ? GetFileAttributesW(path) : INVALID_FILE_ATTRIBUTES;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int QueryIsFileOrDirectory(const wchar_t *path)
{
    return path != nullptr && GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

/* The control interface. */

void KorrashSetInternal(const wchar_t *name, const wchar_t *value)
{
    EnsureInitialized();
    if (name != nullptr) StoreVariable(Internals, name, value);
}

void KorrashSetVariable(const wchar_t *name, const wchar_t *value)
{
    EnsureInitialized();
    if (name == nullptr || name[0] == 0) return;
    if (value != nullptr && value[0] != 0) {
        StoreVariable(Users, name, value);
        return;
    }
    for (size_t i = 0; i < Users.size(); i++) {
        if (SameName(Users[i].name, name)) {
            Users.erase(Users.begin() + (std::ptrdiff_t)i);
            return;
        }
    }
}

const wchar_t *KorrashGetVariable(const wchar_t *name)
{
    EnsureInitialized();
    if (name == nullptr) return nullptr;
    Variable *v = FindAnyVariable(name);
    return v != nullptr ? v->value.c_str() : nullptr;
}

void KorrashCapture(int on)
{
    Capturing = on != 0;
}

const wchar_t *KorrashCaptured(int stream)
{
    return (stream == 1 || stream == 2) ? Captured[stream].c_str() : L"";
}

void KorrashClearCaptured(void)
{
    Captured[1].clear();
    Captured[2].clear();
}

int KorrashBeepCount(void)
{
    return (int)BeepTimes.size();
}

unsigned long long KorrashBeepTime(int index)
{
    return (index >= 0 && (size_t)index < BeepTimes.size()) ? BeepTimes[index] : 0;
}

void KorrashResetBeeps(void)
{
    BeepTimes.clear();
}
