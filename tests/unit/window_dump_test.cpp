// The stand-in shell's window dump and screenshots, on the information
// window that ShowFileInfo opens.
#include <windows.h>

#include <string>

#include "dialog/resource_ids.h"
#include "fileinfo/fileinfo.h"
#include "tests/support/fileinfo_fixture.h"
#include "host/window_dump.h"

namespace {

using WindowDumpTest = FileInfoTest;

// The first bytes of a file.
std::string Head(const std::wstring &path, DWORD count)
{
    std::string bytes(count, '\0');
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    DWORD got = 0;
    ReadFile(file, &bytes[0], count, &got, nullptr);
    CloseHandle(file);
    bytes.resize(got);
    return bytes;
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
    std::wstring directory = TestDirectory();
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

    // The whole window, frame included: as large as its screen rectangle,
    // which starts above and left of its client area.  (Its size in pixels
    // follows the platform's dialog font: 434 x 454 under Wine 8, 434 x
    // 497 under Wine 10.)
    for (size_t i = 0; i < watch.Screenshots().size(); i++) {
        std::string png = Head(watch.Screenshots()[i], 24);
        const WindowTexts &shown = watch.Windows()[i];
        const RECT &rect = shown.screenRect;
        ASSERT_EQ(24u, png.size());
        EXPECT_EQ(std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16), png.substr(0, 16));
        auto big = [&png](size_t at) {
            return (unsigned char)png[at] << 24 | (unsigned char)png[at + 1] << 16 |
                   (unsigned char)png[at + 2] << 8 | (unsigned char)png[at + 3];
        };
        EXPECT_EQ(rect.right - rect.left, (long)big(16));
        EXPECT_EQ(rect.bottom - rect.top, (long)big(20));
        EXPECT_LT(rect.left, shown.clientOrigin.x);
        EXPECT_LT(rect.top, shown.clientOrigin.y);
        EXPECT_GT(rect.bottom - rect.top, 400);
    }
    DeleteFileW(watch.Screenshots()[1].c_str());

    EXPECT_EQ(L"C:\\d.x\\shot", NumberedPath(L"C:\\d.x\\shot", 1));
    EXPECT_EQ(L"C:\\d.x\\shot-3", NumberedPath(L"C:\\d.x\\shot", 3));
    EXPECT_EQ(L"shot-2.png", NumberedPath(L"shot.png", 2));
}

}  // namespace
