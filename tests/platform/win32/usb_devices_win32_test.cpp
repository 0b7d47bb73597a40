#include "platform/win32/usb_devices_win32.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace nx7::win32 {
namespace {

// Whatever USB devices the machine has (under Wine usually none), the enumeration works and
// gives terminated, non-empty first hardware ids, the same on a second look.
TEST(Win32UsbDeviceList, EnumeratesThePresentUsbDevices) {
  Win32UsbDeviceList usb;
  const std::vector<std::u16string> first = usb.FirstHardwareIds();
  EXPECT_EQ(usb.LastError(), "");
  for (const std::u16string& id : first) {
    EXPECT_FALSE(id.empty());
    EXPECT_EQ(id.find(u'\0'), std::u16string::npos);
    EXPECT_LT(id.size(), 130u);
  }
  EXPECT_EQ(usb.FirstHardwareIds(), first);
  EXPECT_EQ(usb.LastError(), "");
  std::printf("USB devices present: %zu\n", first.size());
}

}  // namespace
}  // namespace nx7::win32
