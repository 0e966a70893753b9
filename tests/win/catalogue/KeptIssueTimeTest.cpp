#include "catalogue/KeptIssueTime.h"
#include "catalogue/core/CatalogueIssued.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

namespace {

const char KeyPath[] = "Software\\Corvel\\Kestrel";

void setValue(DWORD type, const void *data, DWORD size)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "CatalogueIssued", 0, type, static_cast<const BYTE *>(data), size);
    RegCloseKey(key);
}

// A kept time reads back as kept; a missing key, a value of another type or
// form, or one longer than the form, is no kept time at all.
TEST(KeptIssueTime, ReadsBackWhatWasKeptAndNothingElse)
{
    RegDeleteKeyA(HKEY_CURRENT_USER, KeyPath);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, KeyPath);
    CalendarTime read{};
    EXPECT_FALSE(readKeptIssueTime(read));

    CalendarTime kept{};
    ASSERT_TRUE(parseIssueTime("2026-12-08T10:20:30Z", kept));
    keepIssueTime(kept);
    ASSERT_TRUE(readKeptIssueTime(read));
    EXPECT_EQ(std::memcmp(&read, &kept, sizeof read), 0);
    // The machine's copy this elevated run kept too goes: the user's value is read alone below.
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, KeyPath);

    for (const char *damaged : {"2026-12-08T10:20:30", "2026-12-08T10:20:30Z0", "", "2026-12-08T10:20:30Z  "}) {
        setValue(REG_SZ, damaged, static_cast<DWORD>(std::strlen(damaged) + 1));
        EXPECT_FALSE(readKeptIssueTime(read)) << '"' << damaged << '"';
    }
    // Not terminated in the registry, yet exactly the form.
    setValue(REG_SZ, "2026-12-08T10:20:30Z", 20);
    EXPECT_TRUE(readKeptIssueTime(read));
    const DWORD number = 20261208;
    setValue(REG_DWORD, &number, sizeof number);
    EXPECT_FALSE(readKeptIssueTime(read));
    RegDeleteKeyA(HKEY_CURRENT_USER, KeyPath);
}

} // namespace
