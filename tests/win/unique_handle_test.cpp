// The handle owner's out-parameter: Put() frees what is held before a function writes the new handle.
#include "platform/unique_handle_win.h"

#include <gtest/gtest.h>

TEST(UniqueHandle, PutClosesWhatIsHeldAndTakesTheHandleWrittenThere) {
    UniqueKernelHandle handle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const HANDLE event = handle.Get();
    ASSERT_NE(event, nullptr);
    HANDLE* place = handle.Put();
    EXPECT_FALSE(handle);
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(event, &flags));  // closed, not leaked
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, place));
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    EXPECT_TRUE(GetTokenInformation(handle.Get(), TokenElevation, &elevation, sizeof elevation, &size));
}

TEST(UniqueHandle, RegistryKeyIsClosedWithItsOwner) {
    HKEY opened = nullptr;
    {
        UniqueRegistryKey key;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_QUERY_VALUE, key.Put()), ERROR_SUCCESS);
        opened = key.Get();
        DWORD subKeys = 0;
        EXPECT_EQ(RegQueryInfoKeyW(opened, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
    }
    DWORD subKeys = 0;
    EXPECT_EQ(RegQueryInfoKeyW(opened, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_INVALID_HANDLE);
}
