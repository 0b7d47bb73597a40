#pragma once
// What every Registry implementation promises, checked below `base`, a key that does not exist
// yet. Shared by the native and the Windows test programs.
#include <gtest/gtest.h>

#include "platform/registry.h"

namespace nx7 {

inline void CheckRegistryContract(Registry& reg, const std::u16string& base) {
  const std::u16string key = base + u"\\NX7";
  RegistryValue value;
  EXPECT_EQ(reg.OpenKey(key), RegistryStatus::NotFound);
  EXPECT_EQ(reg.ReadValue(key, u"ConfigInfo", 10, value), RegistryStatus::NotFound);
  EXPECT_EQ(reg.WriteBinary(key, u"ConfigInfo", std::vector<uint8_t>{1}), RegistryStatus::NotFound);
  EXPECT_FALSE(reg.LastErrorText().empty());

  ASSERT_EQ(reg.CreateKey(key + u"\\LANGUAGE"), RegistryStatus::Ok);  // parents come with it
  EXPECT_EQ(reg.OpenKey(key), RegistryStatus::Ok);
  EXPECT_EQ(reg.ReadValue(key, u"ConfigInfo", 10, value), RegistryStatus::NotFound);

  const std::vector<uint8_t> bytes{0xBE, 0xBE, 0, 0, 1};
  ASSERT_EQ(reg.WriteBinary(key, u"ConfigInfo", bytes), RegistryStatus::Ok);
  ASSERT_EQ(reg.ReadValue(key, u"ConfigInfo", 5, value), RegistryStatus::Ok);
  EXPECT_EQ(value.type, RegistryType::Binary);
  EXPECT_EQ(value.data, bytes);
  EXPECT_EQ(reg.ReadValue(key, u"ConfigInfo", 4, value), RegistryStatus::MoreData);

  uint32_t number = 0;
  ASSERT_EQ(reg.WriteDword(key + u"\\LANGUAGE", u"Count", 0x12345678), RegistryStatus::Ok);
  ASSERT_EQ(reg.ReadDword(key + u"\\LANGUAGE", u"Count", number), RegistryStatus::Ok);
  EXPECT_EQ(number, 0x12345678u);
  EXPECT_EQ(reg.ReadDword(key, u"ConfigInfo", number), RegistryStatus::MoreData);  // 5 bytes
  std::u16string text;
  ASSERT_EQ(reg.WriteString(key, u"Name", u"Vorna \u9F20\u6807"), RegistryStatus::Ok);
  ASSERT_EQ(reg.ReadString(key, u"Name", text), RegistryStatus::Ok);
  EXPECT_EQ(text, u"Vorna \u9F20\u6807");
  EXPECT_EQ(reg.ReadString(key + u"\\LANGUAGE", u"Count", text), RegistryStatus::Failed);  // a DWORD

  EXPECT_EQ(reg.DeleteValue(key, u"Name"), RegistryStatus::Ok);
  EXPECT_EQ(reg.DeleteValue(key, u"Name"), RegistryStatus::NotFound);
}

}  // namespace nx7
