#include "platform/registry.h"

#include "common/bytes.h"

namespace nx7 {

RegistryStatus Registry::ReadDword(std::u16string_view key, std::u16string_view name, uint32_t& out) {
  RegistryValue value;
  const RegistryStatus status = ReadValue(key, name, 4, value);
  if (status != RegistryStatus::Ok) return status;
  if (value.type != RegistryType::Dword || value.data.size() != 4) return RegistryStatus::Failed;
  out = ReadLe32(value.data.data());
  return RegistryStatus::Ok;
}

RegistryStatus Registry::ReadString(std::u16string_view key, std::u16string_view name, std::u16string& out) {
  RegistryValue value;
  const RegistryStatus status = ReadValue(key, name, 64 * 1024, value);
  if (status != RegistryStatus::Ok) return status;
  if (value.type != RegistryType::String) return RegistryStatus::Failed;
  // Stored strings need not be terminated, nor of an even size: take whole units up to a NUL.
  std::u16string text;
  for (size_t i = 0; i + 1 < value.data.size(); i += 2) {
    const char16_t unit = ReadLe16(&value.data[i]);
    if (unit == 0) break;
    text.push_back(unit);
  }
  out = std::move(text);
  return RegistryStatus::Ok;
}

RegistryStatus Registry::WriteDword(std::u16string_view key, std::u16string_view name, uint32_t value) {
  uint8_t bytes[4];
  WriteLe32(bytes, value);
  return WriteValue(key, name, RegistryType::Dword, bytes);
}

RegistryStatus Registry::WriteString(std::u16string_view key, std::u16string_view name, std::u16string_view value) {
  std::vector<uint8_t> bytes(2 * (value.size() + 1), 0);
  for (size_t i = 0; i < value.size(); ++i) WriteLe16(&bytes[2 * i], value[i]);
  return WriteValue(key, name, RegistryType::String, bytes);
}

}  // namespace nx7
