// The registry port on the real registry of the prefix: the string value
// the settings page keeps under the Run key, written with its terminating
// null, read back as the system reads it, and deleted (twice is no error).

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "Win32SystemPorts.h"

namespace qv::win {
namespace {

constexpr wchar_t kKey[] = L"Software\\Corvane Test\\Run";
constexpr wchar_t kName[] = L"Corvane QVReader";

// The value as the system holds it: its type and its bytes as text.
bool ReadValue(DWORD& type, std::wstring& text) {
    wchar_t data[512] = {};
    DWORD bytes = sizeof(data);
    if (::RegGetValueW(HKEY_CURRENT_USER, kKey, kName, RRF_RT_ANY | RRF_NOEXPAND, &type, data,
                       &bytes) != ERROR_SUCCESS) {
        return false;
    }
    text.assign(data, bytes / sizeof(wchar_t));
    return true;
}

TEST(RegistryTest, StringValueIsCreatedWithItsKeyAndDeleted) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Corvane Test");
    Win32Registry registry;
    const std::wstring data = L"\"C:\\Program Files\\Corvane\\QVReader.exe\" -A";
    ASSERT_TRUE(registry.SetCurrentUserString(kKey, kName, data));

    DWORD type = 0;
    std::wstring stored;
    ASSERT_TRUE(ReadValue(type, stored));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored, data + L'\0') << "stored with its terminating null";

    EXPECT_TRUE(registry.DeleteCurrentUserValue(kKey, kName));
    EXPECT_FALSE(ReadValue(type, stored));
    EXPECT_TRUE(registry.DeleteCurrentUserValue(kKey, kName)) << "a missing value is deleted";
    EXPECT_TRUE(registry.DeleteCurrentUserValue(L"Software\\Corvane Test\\None", kName));
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Corvane Test");
}

}  // namespace
}  // namespace qv::win
