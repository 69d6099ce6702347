// ForceForeground around the information window: the minimize/restore
// animation and the foreground lock timeout are the same after the window
// as before, whichever thread owned the foreground window, and a setting
// that cannot be read is never changed.  To see the calls, and to make a
// read fail, this program's own import of SystemParametersInfoW is pointed
// at a recorder.  It passes the foreground lock timeout on to the system;
// the animation setting it keeps itself, because Wine keeps none (its read
// always gives 0 and its write is dropped).
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "dialog/info_dialog.h"
#include "fileinfo_fixture.h"
#include "host/window_dump.h"

namespace {

struct SettingCall {
    UINT action;
    UINT_PTR value;   // the animation flag, or the timeout set
};

typedef BOOL(WINAPI *SpiFunction)(UINT, UINT, PVOID, UINT);
SpiFunction RealSpi = nullptr;
std::vector<SettingCall> Calls;
bool FailReads = false;
int Animation = 0;

BOOL WINAPI RecordingSpi(UINT action, UINT param, PVOID data, UINT flags)
{
    switch (action) {
    case SPI_GETANIMATION:
        if (FailReads) return FALSE;
        ((ANIMATIONINFO *)data)->iMinAnimate = Animation;
        return TRUE;
    case SPI_SETANIMATION:
        Animation = ((ANIMATIONINFO *)data)->iMinAnimate;
        Calls.push_back({action, (UINT_PTR)Animation});
        return TRUE;
    case SPI_GETFOREGROUNDLOCKTIMEOUT:
        if (FailReads) return FALSE;
        break;
    case SPI_SETFOREGROUNDLOCKTIMEOUT:
        Calls.push_back({action, (UINT_PTR)data});
        break;
    }
    return RealSpi(action, param, data, flags);
}

// The slot of this program's import table through which it calls function.
void **ImportSlot(const char *dll, const char *function)
{
    BYTE *base = (BYTE *)GetModuleHandleW(nullptr);
    auto *nt = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    auto *import = (IMAGE_IMPORT_DESCRIPTOR *)(
        base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; import->Name != 0; import++) {
        if (lstrcmpiA((const char *)(base + import->Name), dll) != 0) continue;
        auto *names = (IMAGE_THUNK_DATA *)(base + import->OriginalFirstThunk);
        auto *slots = (IMAGE_THUNK_DATA *)(base + import->FirstThunk);
        for (; names->u1.AddressOfData != 0; names++, slots++) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto *byName = (IMAGE_IMPORT_BY_NAME *)(base + names->u1.AddressOfData);
            if (lstrcmpA((const char *)byName->Name, function) == 0) return (void **)&slots->u1.Function;
        }
    }
    return nullptr;
}

void SetSlot(void **slot, void *value)
{
    DWORD old;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, old, &old);
}

struct SystemSettings {
    int animation;
    DWORD timeout;
};

SystemSettings ReadSettings()
{
    DWORD timeout = 0xDEAD;
    RealSpi(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
    return {Animation, timeout};
}

void WriteSettings(const SystemSettings &settings)
{
    Animation = settings.animation;
    RealSpi(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, (PVOID)(UINT_PTR)settings.timeout, 0);
}

class ForegroundTest : public FileInfoTest {
protected:
    void SetUp() override
    {
        FileInfoTest::SetUp();
        slot_ = ImportSlot("user32.dll", "SystemParametersInfoW");
        ASSERT_NE(nullptr, slot_);
        RealSpi = (SpiFunction)*slot_;
        SetSlot(slot_, (void *)RecordingSpi);
        Calls.clear();
        FailReads = false;
        original_ = ReadSettings();
        WriteSettings(marked_);   // values no step would set by itself
    }
    void TearDown() override
    {
        WriteSettings(original_);
        SetSlot(slot_, (void *)RealSpi);
        FileInfoTest::TearDown();
    }

    // Shows an empty information window and closes it.
    void ShowWindow()
    {
        WindowWatch watch;
        FileInfoRecord record = {};
        DialogBoxParamW((HINSTANCE)g_instance, MAKEINTRESOURCEW(IDD_FILE_INFO), nullptr,
                        InfoDialogProc, (LPARAM)&record);
        EXPECT_EQ(1u, watch.Windows().size());
    }

    void ExpectMarkedSettings()
    {
        SystemSettings now = ReadSettings();
        EXPECT_EQ(marked_.animation, now.animation);
        EXPECT_EQ(marked_.timeout, now.timeout);
    }

    const SystemSettings marked_ = {1, 54321};
    void **slot_ = nullptr;
    SystemSettings original_ = {};
};

// A window of this thread, made the foreground window.
HWND OwnForegroundWindow()
{
    HWND window = CreateWindowExW(0, L"STATIC", L"foreground", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                  nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(window);
    return window;
}

TEST_F(ForegroundTest, SameThreadSwitchesOnlyTheAnimationAndRestoresIt)
{
    HWND own = OwnForegroundWindow();
    ASSERT_EQ(GetCurrentThreadId(), GetWindowThreadProcessId(GetForegroundWindow(), nullptr));
    ShowWindow();
    DestroyWindow(own);
    ExpectMarkedSettings();
    ASSERT_EQ(2u, Calls.size());
    EXPECT_EQ((UINT)SPI_SETANIMATION, Calls[0].action);
    EXPECT_EQ(0u, Calls[0].value);
    EXPECT_EQ(1u, Calls[1].value);
}

TEST_F(ForegroundTest, AnotherThreadsForegroundWindowZeroesTheTimeoutMeanwhile)
{
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD otherThread = 0;
    std::thread other([&] {
        HWND window = OwnForegroundWindow();
        otherThread = GetCurrentThreadId();
        SetEvent(ready);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
        DestroyWindow(window);
    });
    WaitForSingleObject(ready, 5000);
    ASSERT_EQ(otherThread, GetWindowThreadProcessId(GetForegroundWindow(), nullptr));
    ShowWindow();
    PostThreadMessageW(otherThread, WM_QUIT, 0, 0);
    other.join();
    CloseHandle(ready);

    ExpectMarkedSettings();
    ASSERT_EQ(4u, Calls.size());
    EXPECT_EQ((UINT)SPI_SETANIMATION, Calls[0].action);
    EXPECT_EQ((UINT)SPI_SETFOREGROUNDLOCKTIMEOUT, Calls[1].action);
    EXPECT_EQ(0u, Calls[1].value);
    EXPECT_EQ((UINT)SPI_SETFOREGROUNDLOCKTIMEOUT, Calls[2].action);
    EXPECT_EQ(54321u, Calls[2].value);
    EXPECT_EQ((UINT)SPI_SETANIMATION, Calls[3].action);
    EXPECT_EQ(1u, Calls[3].value);
}

TEST_F(ForegroundTest, SettingsThatCannotBeReadAreNeverChanged)
{
    FailReads = true;
    for (bool ownForeground : {true, false}) {
        HWND own = ownForeground ? OwnForegroundWindow() : nullptr;
        ShowWindow();
        if (own != nullptr) DestroyWindow(own);
    }
    EXPECT_EQ(0u, Calls.size());
    ExpectMarkedSettings();
    EXPECT_EQ(-1, ForceForeground(nullptr));
}

}  // namespace
