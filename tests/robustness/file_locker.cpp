// Holds a file open without sharing, as another program may: the tests of a
// file locked by another process start it.
//   file_locker PATH     opens PATH, writes "locked" on standard output,
//                        and waits until standard input ends.
#include <windows.h>

int wmain(int argc, wchar_t **argv)
{
    if (argc != 2) return 2;
    HANDLE file = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written, read;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "locked\n", 7, &written, nullptr);
    char byte;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &read, nullptr) && read != 0) {
    }
    CloseHandle(file);
    return 0;
}
