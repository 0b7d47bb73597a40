#pragma once
// An in-memory registry for tests. Key paths compare without regard to ASCII case, as Windows
// compares them. Access can be denied to everything (a user without administrator rights) and
// writes can be made to fail.
#include <map>
#include <optional>

#include "platform/registry.h"

namespace nx7 {

class VirtualRegistry final : public Registry {
 public:
  RegistryStatus OpenKey(std::u16string_view key) override;
  RegistryStatus CreateKey(std::u16string_view key) override;
  RegistryStatus ReadValue(std::u16string_view key, std::u16string_view name, size_t maxBytes,
                           RegistryValue& out) override;
  RegistryStatus WriteValue(std::u16string_view key, std::u16string_view name, RegistryType type,
                            std::span<const uint8_t> data) override;
  RegistryStatus DeleteValue(std::u16string_view key, std::u16string_view name) override;
  std::string LastErrorText() const override { return lastError_; }

  // Test set-up and inspection.
  void DenyAccess(bool deny) { denied_ = deny; }
  void FailWrites(std::optional<RegistryStatus> status) { failWrites_ = status; }
  bool HasKey(std::u16string_view key) const;
  std::optional<RegistryValue> Value(std::u16string_view key, std::u16string_view name) const;
  int WriteCount() const { return writes_; }

 private:
  using Values = std::map<std::u16string, RegistryValue>;
  static std::u16string Normal(std::u16string_view key);
  Values* Find(std::u16string_view key);
  RegistryStatus Fail(RegistryStatus status, std::string text);

  std::map<std::u16string, Values> keys_;
  bool denied_ = false;
  std::optional<RegistryStatus> failWrites_;
  int writes_ = 0;
  std::string lastError_;
};

}  // namespace nx7
