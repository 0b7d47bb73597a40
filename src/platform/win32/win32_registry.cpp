#include "platform/win32/win32_registry.h"

#include "platform/win32/owned_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_error.h"

namespace nx7::win32 {
namespace {

constexpr REGSAM kAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

using KeyHandle = RegistryKey;

}  // namespace

RegistryStatus Win32Registry::Fail(const char* call, LONG error) {
  lastError_ = ErrorText(call, DWORD(error));
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return RegistryStatus::NotFound;
    case ERROR_ACCESS_DENIED:
      return RegistryStatus::AccessDenied;
    case ERROR_MORE_DATA:
      return RegistryStatus::MoreData;
    default:
      return RegistryStatus::Failed;
  }
}

RegistryStatus Win32Registry::OpenKey(std::u16string_view key) {
  KeyHandle h;
  const LONG error = RegOpenKeyExW(root_, Wide(std::u16string(key)), 0, kAccess, h.Put());
  return error == ERROR_SUCCESS ? RegistryStatus::Ok : Fail("RegOpenKeyExW", error);
}

RegistryStatus Win32Registry::CreateKey(std::u16string_view key) {
  KeyHandle h;
  const LONG error = RegCreateKeyExW(root_, Wide(std::u16string(key)), 0, nullptr, REG_OPTION_NON_VOLATILE, kAccess,
                                     nullptr, h.Put(), nullptr);
  return error == ERROR_SUCCESS ? RegistryStatus::Ok : Fail("RegCreateKeyExW", error);
}

RegistryStatus Win32Registry::ReadValue(std::u16string_view key, std::u16string_view name, size_t maxBytes,
                                        RegistryValue& out) {
  KeyHandle h;
  LONG error = RegOpenKeyExW(root_, Wide(std::u16string(key)), 0, kAccess, h.Put());
  if (error != ERROR_SUCCESS) return Fail("RegOpenKeyExW", error);
  const std::u16string valueName(name);
  DWORD type = REG_NONE;
  DWORD size = 0;
  // Ask for the size first: a buffer of exactly `maxBytes` is what the caller allows.
  error = RegQueryValueExW(h.Get(), Wide(valueName), nullptr, &type, nullptr, &size);
  if (error != ERROR_SUCCESS) return Fail("RegQueryValueExW", error);
  if (size > maxBytes) return Fail("RegQueryValueExW", ERROR_MORE_DATA);
  std::vector<uint8_t> data(size);
  error = RegQueryValueExW(h.Get(), Wide(valueName), nullptr, &type, data.empty() ? nullptr : data.data(), &size);
  if (error != ERROR_SUCCESS) return Fail("RegQueryValueExW", error);
  data.resize(size);
  out.type = RegistryType(type);
  out.data = std::move(data);
  return RegistryStatus::Ok;
}

RegistryStatus Win32Registry::WriteValue(std::u16string_view key, std::u16string_view name, RegistryType type,
                                         std::span<const uint8_t> data) {
  KeyHandle h;
  LONG error = RegOpenKeyExW(root_, Wide(std::u16string(key)), 0, kAccess, h.Put());
  if (error != ERROR_SUCCESS) return Fail("RegOpenKeyExW", error);
  error = RegSetValueExW(h.Get(), Wide(std::u16string(name)), 0, DWORD(type), data.data(), DWORD(data.size()));
  return error == ERROR_SUCCESS ? RegistryStatus::Ok : Fail("RegSetValueExW", error);
}

RegistryStatus Win32Registry::DeleteValue(std::u16string_view key, std::u16string_view name) {
  KeyHandle h;
  LONG error = RegOpenKeyExW(root_, Wide(std::u16string(key)), 0, kAccess, h.Put());
  if (error != ERROR_SUCCESS) return Fail("RegOpenKeyExW", error);
  error = RegDeleteValueW(h.Get(), Wide(std::u16string(name)));
  return error == ERROR_SUCCESS ? RegistryStatus::Ok : Fail("RegDeleteValueW", error);
}

}  // namespace nx7::win32
