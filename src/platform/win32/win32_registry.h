#pragma once
// The registry below HKEY_LOCAL_MACHINE (or another root, for tests), every key opened with
// KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY for the one call and closed again.
#include <windows.h>

#include "platform/registry.h"

namespace nx7::win32 {

class Win32Registry final : public Registry {
 public:
  explicit Win32Registry(HKEY root = HKEY_LOCAL_MACHINE) : root_(root) {}

  RegistryStatus OpenKey(std::u16string_view key) override;
  RegistryStatus CreateKey(std::u16string_view key) override;
  RegistryStatus ReadValue(std::u16string_view key, std::u16string_view name, size_t maxBytes,
                           RegistryValue& out) override;
  RegistryStatus WriteValue(std::u16string_view key, std::u16string_view name, RegistryType type,
                            std::span<const uint8_t> data) override;
  RegistryStatus DeleteValue(std::u16string_view key, std::u16string_view name) override;
  std::string LastErrorText() const override { return lastError_; }

 private:
  RegistryStatus Fail(const char* call, LONG error);
  LONG Open(std::u16string_view key, HKEY& out);
  HKEY root_;
  std::string lastError_;
};

}  // namespace nx7::win32
