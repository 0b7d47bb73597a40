#pragma once
// The program's registry: keys below HKEY_LOCAL_MACHINE (for example "Software\VORNA\NX7" and its
// sub-keys "STS" and "LANGUAGE"), opened with read and write access. Key paths use backslashes.
// Every call reports a RegistryStatus; the text of the last failure (naming the failing system
// call) is kept by the implementation for diagnostics.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace nx7 {

enum class RegistryStatus {
  Ok,
  NotFound,      // the key or the value does not exist
  AccessDenied,  // the key may not be opened, created or written with the access asked for
  MoreData,      // the value is larger than the caller's limit; nothing was read
  Failed,        // any other failure
};

// Value types, numbered as Windows numbers them; other numbers may be read back as they are.
enum class RegistryType : uint32_t { None = 0, String = 1, Binary = 3, Dword = 4 };

struct RegistryValue {
  RegistryType type = RegistryType::None;
  std::vector<uint8_t> data;
};

class Registry {
 public:
  virtual ~Registry() = default;

  // Opens the existing key (no creation): Ok, NotFound or AccessDenied/Failed.
  virtual RegistryStatus OpenKey(std::u16string_view key) = 0;
  // Opens the key, creating it and any missing parents.
  virtual RegistryStatus CreateKey(std::u16string_view key) = 0;
  // Reads a value of the existing key; a value of more than `maxBytes` bytes gives MoreData.
  virtual RegistryStatus ReadValue(std::u16string_view key, std::u16string_view name, size_t maxBytes,
                                   RegistryValue& out) = 0;
  // Writes a value of the existing key (the key is not created: NotFound when it is missing).
  virtual RegistryStatus WriteValue(std::u16string_view key, std::u16string_view name, RegistryType type,
                                    std::span<const uint8_t> data) = 0;
  virtual RegistryStatus DeleteValue(std::u16string_view key, std::u16string_view name) = 0;
  // What the last failed call was and why, for diagnostics; empty before any failure.
  virtual std::string LastErrorText() const = 0;

  // Typed helpers over ReadValue/WriteValue. A read of another type than asked gives Failed.
  RegistryStatus ReadDword(std::u16string_view key, std::u16string_view name, uint32_t& out);
  RegistryStatus ReadString(std::u16string_view key, std::u16string_view name, std::u16string& out);
  RegistryStatus WriteBinary(std::u16string_view key, std::u16string_view name, std::span<const uint8_t> data) {
    return WriteValue(key, name, RegistryType::Binary, data);
  }
  RegistryStatus WriteDword(std::u16string_view key, std::u16string_view name, uint32_t value);
  // Stored NUL-terminated, as Windows expects of a string value.
  RegistryStatus WriteString(std::u16string_view key, std::u16string_view name, std::u16string_view value);
};

// The program's own key and its sub-keys.
inline constexpr std::u16string_view kProgramKey = u"Software\\VORNA\\NX7";
inline constexpr std::u16string_view kLanguageKey = u"Software\\VORNA\\NX7\\LANGUAGE";
inline constexpr std::u16string_view kStatisticsKey = u"Software\\VORNA\\NX7\\STS";

}  // namespace nx7
