#include "platform/win32/device_notification_win32.h"

#include <cstddef>
#include <cstring>
#include <utility>

#include "platform/win32/win32_error.h"

namespace nx7::win32 {
namespace {
constexpr size_t kNameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
}  // namespace

DeviceNotificationRegistration::DeviceNotificationRegistration(HWND window) {
  DEV_BROADCAST_DEVICEINTERFACE_W filter{};
  filter.dbcc_size = sizeof filter;
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = kUsbDeviceInterfaceClass;
  handle_ = RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  if (!handle_) lastError_ = LastErrorText("RegisterDeviceNotificationW");
}

DeviceNotificationRegistration::~DeviceNotificationRegistration() {
  if (handle_) UnregisterDeviceNotification(handle_);
}

DeviceNotificationRegistration::DeviceNotificationRegistration(DeviceNotificationRegistration&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), lastError_(std::move(other.lastError_)) {}

DeviceNotificationRegistration& DeviceNotificationRegistration::operator=(
    DeviceNotificationRegistration&& other) noexcept {
  if (this != &other) {
    if (handle_) UnregisterDeviceNotification(handle_);
    handle_ = std::exchange(other.handle_, nullptr);
    lastError_ = std::move(other.lastError_);
  }
  return *this;
}

DeviceInterfaceBroadcast::DeviceInterfaceBroadcast(std::u16string_view devicePath, const GUID& interfaceClass) {
  const size_t size = kNameOffset + (devicePath.size() + 1) * sizeof(wchar_t);
  storage_.assign((size + sizeof(uint64_t) - 1) / sizeof(uint64_t), 0);
  auto* record = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(storage_.data());
  record->dbcc_size = static_cast<DWORD>(size);
  record->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  record->dbcc_classguid = interfaceClass;
  // Through the byte address: dbcc_name is declared one character long.
  std::memcpy(reinterpret_cast<char*>(storage_.data()) + kNameOffset, devicePath.data(), devicePath.size() * sizeof(wchar_t));
}

std::optional<DeviceInterfaceChange> ReadDeviceInterfaceChange(WPARAM wParam, LPARAM lParam) {
  DeviceInterfaceChange change{};
  if (wParam == DBT_DEVICEARRIVAL)
    change.kind = DeviceInterfaceChange::Kind::Arrival;
  else if (wParam == DBT_DEVICEREMOVECOMPLETE)
    change.kind = DeviceInterfaceChange::Kind::Removal;
  else
    return std::nullopt;
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
  if (!header || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return std::nullopt;
  if (header->dbch_size < kNameOffset) return std::nullopt;
  const auto* name = reinterpret_cast<const char16_t*>(reinterpret_cast<const char*>(lParam) + kNameOffset);
  const size_t capacity = (header->dbch_size - kNameOffset) / sizeof(char16_t);
  size_t length = 0;
  while (length < capacity && name[length] != u'\0') ++length;
  change.devicePath.assign(name, length);
  return change;
}

LRESULT SendDeviceInterfaceChange(HWND window, const DeviceInterfaceChange& change) {
  DeviceInterfaceBroadcast record(change.devicePath);
  const WPARAM event = change.kind == DeviceInterfaceChange::Kind::Arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
  return SendMessageW(window, WM_DEVICECHANGE, event, record.lParam());
}

}  // namespace nx7::win32
