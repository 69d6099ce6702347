// The stand-in shell's window dump and screenshots, on the information
// window that ShowFileInfo opens.
#include <windows.h>

#include <string>

#include "dialog/resource_ids.h"
#include "fileinfo/fileinfo.h"
#include "fileinfo_fixture.h"
#include "host/window_dump.h"

namespace {

using WindowDumpTest = FileInfoTest;

std::string ReadBytes(const std::wstring &path)
{
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char chunk[65536];
    DWORD got;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

unsigned long BigEndian(const std::string &bytes, size_t at)
{
    return (unsigned long)(unsigned char)bytes[at] << 24 | (unsigned char)bytes[at + 1] << 16 |
           (unsigned char)bytes[at + 2] << 8 | (unsigned char)bytes[at + 3];
}

TEST_F(WindowDumpTest, DumpGoesThroughTheHostsOutputAndClosesTheWindow)
{
    std::wstring file = MakeFile(L"dump.txt", std::string(1536, 'x'));
    WindowWatchOptions options;
    options.dump = true;
    WindowWatch watch(options);
    EXPECT_EQ(0, ShowFileInfo(file.c_str()));

    std::wstring out = Out();
    EXPECT_EQ(0u, out.find(L"DUMP.TXT \u2014 Tirvalo 1.4.0\r\nFull Name: " + file + L"\r\n"));
    EXPECT_NE(std::wstring::npos, out.find(L"\r\nSize: 1,536 bytes  (1.50 KB)\r\n"));
    EXPECT_NE(std::wstring::npos, out.find(L"\r\nFile version: \r\n"));
    int lines = 0;
    for (size_t at = out.find(L"\r\n"); at != std::wstring::npos; at = out.find(L"\r\n", at + 2)) lines++;
    EXPECT_EQ(13, lines);
    EXPECT_EQ(L'\n', out.back());
}

TEST_F(WindowDumpTest, ScreenshotsAreNumberedPngsOfTheWholeWindow)
{
    // The plug-in itself: a real file with a version.  The first picture is
    // kept beside this program for the documentation.
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring directory = self;
    directory.resize(directory.find_last_of(L'\\'));
    std::wstring dll = directory + L"\\Tirvalo.dll";
    std::wstring shot = directory + L"\\information-window.png";
    std::wstring descriptions = directory + L"\\descript.ion";
    DeleteFileW(NumberedPath(shot, 2).c_str());
    HANDLE file = CreateFileW(descriptions.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                              nullptr);
    DWORD written;
    WriteFile(file, "Tirvalo.dll Tirvalo plugin for Korrash\r\n", 40, &written, nullptr);
    CloseHandle(file);

    WindowWatchOptions options;
    options.screenshot = shot;
    WindowWatch watch(options);
    EXPECT_EQ(0, ShowFileInfo(dll.c_str()));
    DeleteFileW(descriptions.c_str());
    EXPECT_EQ(0, ShowFileInfo(folder_.c_str()));
    ASSERT_EQ(2u, watch.Screenshots().size());
    EXPECT_EQ(directory + L"\\information-window-2.png", watch.Screenshots()[1]);
    EXPECT_EQ(L"1.4.0.4", watch.Windows()[0].Text(IDC_FIELD_VERSION));
    EXPECT_EQ(L"Tirvalo plugin for Korrash", watch.Windows()[0].Text(IDC_FIELD_DESCRIPTION));

    for (const std::wstring &path : watch.Screenshots()) {
        std::string png = ReadBytes(path);
        ASSERT_GT(png.size(), 33u);
        EXPECT_EQ(std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16), png.substr(0, 16));
        unsigned long width = BigEndian(png, 16), height = BigEndian(png, 20);
        EXPECT_GT(width, 400u);      // 285 x 286 dialog units and a frame
        EXPECT_GT(height, 400u);
        EXPECT_GT(png.size(), width * height * 3);   // stored, not compressed
    }
    DeleteFileW(watch.Screenshots()[1].c_str());

    EXPECT_EQ(L"C:\\d.x\\shot", NumberedPath(L"C:\\d.x\\shot", 1));
    EXPECT_EQ(L"C:\\d.x\\shot-3", NumberedPath(L"C:\\d.x\\shot", 3));
    EXPECT_EQ(L"shot-2.png", NumberedPath(L"shot.png", 2));
}

}  // namespace
