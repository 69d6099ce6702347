// Reading text files and decoding bytes for the stand-in host and shell:
// UTF-8 (a byte-order mark is skipped), or the ANSI code page when the
// bytes are not valid UTF-8.
#ifndef KORRASH_TEXT_FILE_H
#define KORRASH_TEXT_FILE_H

#include <windows.h>

#include <string>

inline std::wstring DecodeText(std::string bytes)
{
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    if (bytes.empty()) return std::wstring();
    UINT codePage = CP_UTF8;
    int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), (int)bytes.size(),
                                    nullptr, 0);
    if (units == 0) {
        codePage = CP_ACP;
        units = MultiByteToWideChar(CP_ACP, 0, bytes.data(), (int)bytes.size(), nullptr, 0);
    }
    std::wstring text(units, L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), (int)bytes.size(), &text[0], units);
    return text;
}

// Reads a whole file (at most 16 MiB) as text; false when it cannot be read.
inline bool ReadTextFile(const std::wstring &path, std::wstring *text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    BOOL ok;
    while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr)) && got > 0 &&
           bytes.size() < (16u << 20)) {
        bytes.append(chunk, got);
    }
    CloseHandle(file);
    if (!ok) return false;
    *text = DecodeText(bytes);
    return true;
}

#endif
