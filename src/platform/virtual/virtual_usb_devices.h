#pragma once
// A UsbDeviceList whose devices are set by its owner: tests, and the virtual-mouse program when
// it presents a device in bootloader mode. Thread-safe.
#include <mutex>
#include <string>
#include <vector>

#include "platform/usb_devices.h"

namespace nx7 {

class VirtualUsbDeviceList final : public UsbDeviceList {
 public:
  explicit VirtualUsbDeviceList(std::vector<std::u16string> hardwareIds = {});

  std::vector<std::u16string> FirstHardwareIds() override;

  // The first hardware ids the next enumerations return.
  void SetHardwareIds(std::vector<std::u16string> hardwareIds);
  // How many times the list has been enumerated.
  int Enumerations() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::u16string> hardwareIds_;
  int enumerations_ = 0;
};

}  // namespace nx7
