#pragma once
// The HID back-end of Windows: SetupAPI enumeration of the HID interface class, HidD/HidP for
// attributes, capabilities and feature reports, overlapped WriteFile for output reports.
#include "platform/hid.h"

namespace nx7::win32 {

class Win32HidSystem final : public HidSystem {
 public:
  std::vector<std::u16string> DeviceInterfacePaths() override;
  std::unique_ptr<HidDevice> Open(const std::u16string& path, HidAccess access) override;
  std::string LastError() const override { return lastError_; }

 private:
  std::string lastError_;
};

}  // namespace nx7::win32
