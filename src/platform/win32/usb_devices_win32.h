#pragma once
// UsbDeviceList over SetupAPI: the present devices of the "USB" enumerator, all classes.
#include <string>
#include <vector>

#include "platform/usb_devices.h"

namespace nx7::win32 {

class Win32UsbDeviceList final : public UsbDeviceList {
 public:
  // A device's hardware-id list is read into 260 bytes; a device whose list does not fit is
  // left out.
  std::vector<std::u16string> FirstHardwareIds() override;
  // Why the last enumeration failed; empty after one that worked.
  const std::string& LastError() const { return lastError_; }

 private:
  std::string lastError_;
};

}  // namespace nx7::win32
