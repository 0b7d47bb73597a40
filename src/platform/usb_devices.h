#pragma once
// The USB devices present in the system, as far as the bootloader check needs them: the first
// hardware id of each present device of the "USB" enumerator.
//
// Implementations: win32/usb_devices_win32.h (SetupAPI) and virtual/virtual_usb_devices.h (a
// list a test or the virtual-mouse program sets).
#include <string>
#include <vector>

namespace nx7 {

class UsbDeviceList {
 public:
  virtual ~UsbDeviceList() = default;
  // The first string of each present device's hardware-id list, in enumeration order; a device
  // whose hardware id cannot be read is left out. Empty when the enumeration fails.
  virtual std::vector<std::u16string> FirstHardwareIds() = 0;
};

}  // namespace nx7
