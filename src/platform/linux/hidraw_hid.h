#pragma once
// The HID interface over Linux hidraw. The device interfaces are the /dev/hidrawN nodes that
// /sys/class/hidraw lists, in number order. A query open reads the attributes from the
// device's uevent (HID_ID=bus:vendor:product) and the capabilities from its report descriptor,
// without opening the node, so it needs no permission; read and write opens open the node.
// Feature reports go through HIDIOCSFEATURE/HIDIOCGFEATURE, output reports through write() on a
// non-blocking node: a report the device cannot take yet (EAGAIN) is a pending write, retried by
// WaitForWrite until its timeout, after which it has failed. Input reports are never read: the mouse answers through
// feature reports only.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/hid.h"
#include "platform/linux/hidraw_system_calls.h"

namespace nx7::linux_hid {

struct HidrawPaths {
  std::string sysfsClass = "/sys/class/hidraw";
  std::string devices = "/dev";
};

// A device node that could not be opened: its path and the errno.
struct OpenFailure {
  std::string path;
  int error = 0;
};

class HidrawSystem final : public HidSystem {
 public:
  explicit HidrawSystem(SystemCalls& calls = RealSystemCalls(), HidrawPaths paths = {});

  std::vector<std::u16string> DeviceInterfacePaths() override;
  std::unique_ptr<HidDevice> Open(const std::u16string& path, HidAccess access) override;
  std::string LastError() const override { return lastError_; }

  // The last node that failed to open since the last enumeration (error 0 when none did).
  const OpenFailure& lastOpenFailure() const { return openFailure_; }
  // The last enumeration could not list the hidraw class folder (no hidraw in this kernel).
  bool classFolderMissing() const { return classFolderMissing_; }
  const HidrawPaths& paths() const { return paths_; }
  // A query open since the last enumeration found an interface with these ids.
  bool Saw(uint16_t vendorId, uint16_t productId) const;

 private:
  SystemCalls& calls_;
  HidrawPaths paths_;
  std::string lastError_;
  OpenFailure openFailure_;
  bool classFolderMissing_ = false;
  std::vector<uint32_t> seen_;  // vendor << 16 | product
};

// What to tell a user whose mouse could not be opened, saying what to do: the udev rule for a
// permission error, another program for a busy device, plugging it in when none was found.
// `sessionReason` is the device session's own account of the search for the mouse's ids.
std::string MouseNotOpenedMessage(const HidrawSystem& hid, uint16_t vendorId, uint16_t productId,
                                  const std::string& sessionReason);

// The text of HID_ID in a uevent file: bus, vendor and product in hex. False when absent or
// malformed.
bool ParseHidId(const std::string& uevent, uint16_t& bus, uint16_t& vendorId, uint16_t& productId);

}  // namespace nx7::linux_hid
