#include <gtest/gtest.h>

#include "i18n/language_choice.h"
#include "platform/win32/win32_registry.h"

namespace nx7 {
namespace {

// The stored choice through the Windows registry, below a root of the test's own so that the
// machine's real choice stays untouched.
class LanguageRegistryWin32 : public ::testing::Test {
 protected:
  static constexpr const wchar_t* kTestRoot = L"Software\\NX7LanguageRegistryTest";
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTestRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(root_);
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot);
  }
  HKEY root_ = nullptr;
};

TEST_F(LanguageRegistryWin32, StoresAFourByteBinaryValueAndReadsItBack) {
  win32::Win32Registry registry(root_);
  EXPECT_EQ(ReadStoredLanguage(registry), 0u);  // no key yet
  ASSERT_TRUE(StoreLanguage(registry, 12));
  DWORD type = 0, size = 8;
  BYTE data[8] = {};
  ASSERT_EQ(RegGetValueW(root_, L"Software\\VORNA\\NX7\\LANGUAGE", L"Language", RRF_RT_ANY, &type, data, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, DWORD(REG_BINARY));
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(data[0], 12);
  EXPECT_EQ(ReadStoredLanguage(registry), 12u);
}

TEST_F(LanguageRegistryWin32, IgnoresAValueOfAnotherType) {
  win32::Win32Registry registry(root_);
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(root_, L"Software\\VORNA\\NX7\\LANGUAGE", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  const DWORD english = 2;
  RegSetValueExW(key, L"Language", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&english), sizeof english);
  RegCloseKey(key);
  EXPECT_EQ(ReadStoredLanguage(registry), 0u);
}

}  // namespace
}  // namespace nx7
