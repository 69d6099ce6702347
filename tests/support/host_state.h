// A test fixture that gives each test a known stand-in host: output captured
// in memory, a 24.00 host outside any batch file, beeps counted from zero.
#ifndef TIRVALO_TESTS_HOST_STATE_H
#define TIRVALO_TESTS_HOST_STATE_H

#include <gtest/gtest.h>

#include <string>

#include "host/host_control.h"

class HostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        KorrashCapture(1);
        KorrashClearCaptured();
        KorrashResetBeeps();
        SetVersion(L"24.00", L"200");
        KorrashSetInternal(L"_batch", L"0");
        KorrashSetInternal(L"_batchname", L"");
        KorrashSetInternal(L"_batchline", L"0");
        KorrashSetInternal(L"_transient", L"0");
        KorrashSetInternal(L"_pipe", L"0");
    }
    void TearDown() override { KorrashCapture(0); }

public:   // also for the helpers the tests call
    static void SetVersion(const wchar_t *version, const wchar_t *build)
    {
        KorrashSetInternal(L"_4ver", version);
        KorrashSetInternal(L"_build", build);
    }
    static void SetBatch(const wchar_t *name, const wchar_t *line)
    {
        KorrashSetInternal(L"_batch", L"1");
        KorrashSetInternal(L"_batchname", name);
        KorrashSetInternal(L"_batchline", line);
    }
    static std::wstring Out() { return KorrashCaptured(1); }
    static std::wstring Err() { return KorrashCaptured(2); }
};

#endif
