#pragma once
// Device-interface notifications of USB devices for a window (WM_DEVICECHANGE), and the
// DEV_BROADCAST_DEVICEINTERFACE_W record they carry: reading the device path out of a
// notification, and building one, so that the virtual mouse's plugging can reach a window
// through the very handler the system's notifications reach.
#include <windows.h>
#include <dbt.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nx7::win32 {

// GUID_DEVINTERFACE_USB_DEVICE {A5DCBF10-6530-11D2-901F-00C04FB951ED}.
inline constexpr GUID kUsbDeviceInterfaceClass = {
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

// A window's registration for the arrival and removal notifications of USB device interfaces
// (DBT_DEVTYP_DEVICEINTERFACE, delivered to the window handle). It is undone when the object
// goes away; keep it as long as the window lives.
class DeviceNotificationRegistration {
 public:
  DeviceNotificationRegistration() = default;
  // Registers `window`; see Registered() and LastError() for the result.
  explicit DeviceNotificationRegistration(HWND window);
  ~DeviceNotificationRegistration();
  DeviceNotificationRegistration(DeviceNotificationRegistration&& other) noexcept;
  DeviceNotificationRegistration& operator=(DeviceNotificationRegistration&& other) noexcept;
  DeviceNotificationRegistration(const DeviceNotificationRegistration&) = delete;
  DeviceNotificationRegistration& operator=(const DeviceNotificationRegistration&) = delete;

  bool Registered() const { return handle_ != nullptr; }
  // Why the registration failed; empty when it worked.
  const std::string& LastError() const { return lastError_; }

 private:
  HDEVNOTIFY handle_ = nullptr;
  std::string lastError_;
};

// A DEV_BROADCAST_DEVICEINTERFACE_W for one device path, laid out as the system delivers it
// (dbcc_size covers the path and its terminator).
class DeviceInterfaceBroadcast {
 public:
  explicit DeviceInterfaceBroadcast(std::u16string_view devicePath,
                                    const GUID& interfaceClass = kUsbDeviceInterfaceClass);
  const DEV_BROADCAST_DEVICEINTERFACE_W* get() const {
    return reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(storage_.data());
  }
  // The record as WM_DEVICECHANGE's lParam; valid while this object lives.
  LPARAM lParam() const { return reinterpret_cast<LPARAM>(storage_.data()); }

 private:
  std::vector<uint64_t> storage_;  // 8-byte aligned, as the record's GUID wants
};

struct DeviceInterfaceChange {
  enum class Kind { Arrival, Removal };
  Kind kind;
  std::u16string devicePath;
};

// WM_DEVICECHANGE's wParam and lParam read as the arrival (DBT_DEVICEARRIVAL) or complete removal
// (DBT_DEVICEREMOVECOMPLETE) of a device interface, with its path; nothing for every other event,
// for a record of another device type and for a null record. The path is read no further than
// the record's size says.
std::optional<DeviceInterfaceChange> ReadDeviceInterfaceChange(WPARAM wParam, LPARAM lParam);

// Sends `window` the WM_DEVICECHANGE the system would send for the change (a synthetic
// notification: used with the virtual mouse) and returns the window's answer. Sent, not posted:
// the record lives on this call's stack.
LRESULT SendDeviceInterfaceChange(HWND window, const DeviceInterfaceChange& change);

}  // namespace nx7::win32
