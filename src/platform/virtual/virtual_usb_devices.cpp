#include "platform/virtual/virtual_usb_devices.h"

#include <utility>

namespace nx7 {

VirtualUsbDeviceList::VirtualUsbDeviceList(std::vector<std::u16string> hardwareIds)
    : hardwareIds_(std::move(hardwareIds)) {}

std::vector<std::u16string> VirtualUsbDeviceList::FirstHardwareIds() {
  std::lock_guard lock(mutex_);
  ++enumerations_;
  return hardwareIds_;
}

void VirtualUsbDeviceList::SetHardwareIds(std::vector<std::u16string> hardwareIds) {
  std::lock_guard lock(mutex_);
  hardwareIds_ = std::move(hardwareIds);
}

int VirtualUsbDeviceList::Enumerations() const {
  std::lock_guard lock(mutex_);
  return enumerations_;
}

}  // namespace nx7
