/*
** The probe and the gate of the host's version on hostile version texts:
** huge numbers, signs, blanks, missing parts and texts of the host's whole
** capacity.
*/
#include "check.h"
#include "frame/host_api.h"
#include "frame/plugin.h"
#include "shim/host_shim.h"
#include "support/units.h"

static int Gate(const wchar_t *version, const wchar_t *build)
{
    ShimReset();
    ShimHostVersion = version;
    ShimHostBuild = build;
    ProbeHostVersion();
    return CheckHostVersion();
}

NATIVE_TEST(VersionTextsOfEveryShape)
{
    const struct {
        const wchar_t *version, *build;
        int major, extended, gate;
    } cases[] = {
        {L"11.00", L"47", 11, 0, 1},        {L"11.00", L"48", 11, 0, 0},
        {L"24.00", L"200", 24, 1, 0},       {L"12", L"100", 12, 0, -1},
        {L"12.", L"100", 12, 0, -1},        {L"12.5", L"100", 12, 0, 0},
        {L"11.01", L"99999", 11, 0, -1},    {L"7.00", L"1", 0, 0, 1},
        {L"100.00", L"1", 100, 1, -1},      {L"101.00", L"1", 0, 0, -1},
        {L"-24.00", L"1", 0, 0, -1},        {L"  \u3000 24.00", L"1", 24, 1, 0},
        {L"99999999999999999999.1", L"1", 0, 0, -1},
        {L"24\xD800" L"00", L"1", 24, 1, 0}, {L"", L"", 0, 0, -1},
        {L"24.-1", L"1", 24, 1, -1},        {L"24.00", L"-1", 24, 1, -1},
    };
    for (const auto &c : cases) {
        CHECK_EQ(c.gate, Gate(c.version, c.build));
        CHECK_EQ(c.major, HostMajorVersion);
        CHECK_EQ(c.extended, UseExtendedKeys);
    }
}

NATIVE_TEST(VersionTextsOfTheHostsWholeCapacity)
{
    wchar_t *digits = NewUnits(HOST_EXPAND_CAPACITY);
    for (int i = 0; i < HOST_EXPAND_CAPACITY - 1; i++) digits[i] = L'9';
    digits[HOST_EXPAND_CAPACITY - 1] = 0;
    CHECK_EQ(-1, Gate(digits, digits));
    CHECK_EQ(0, HostMajorVersion);
    digits[0] = L'2';
    digits[1] = L'4';
    digits[2] = L'.';
    digits[3] = L'0';
    digits[4] = 0;
    CHECK_EQ(0, Gate(digits, L"1"));
    FreeUnits(digits);
}
