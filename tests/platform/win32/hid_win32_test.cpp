#include "platform/win32/hid_win32.h"

#include <gtest/gtest.h>

#include "device/usb_driver.h"
#include "platform/virtual/virtual_clock.h"

namespace nx7::win32 {
namespace {

bool Nx7Present(Win32HidSystem& hid) {
  for (const auto& path : hid.DeviceInterfacePaths()) {
    auto device = hid.Open(path, HidAccess::Query);
    HidAttributes a;
    if (device && device->GetAttributes(a) && a.vendorId == 0x3A7D && a.productId == 0x4110) return true;
  }
  return false;
}

TEST(Win32Hid, WithoutTheMouseTheSessionSaysSoCleanly) {
  Win32HidSystem hid;
  if (Nx7Present(hid)) GTEST_SKIP() << "an NX7 is plugged in";
  VirtualClock clock;
  CUSBDriver driver(hid, clock);
  EXPECT_FALSE(driver.Open());
  EXPECT_FALSE(driver.IsOpen());
  EXPECT_NE(driver.LastError().find("no HID device with vendor id 3A7D"), std::string::npos) << driver.LastError();
  int version = -1;
  EXPECT_FALSE(driver.ReadVersion(version));
  EXPECT_EQ(clock.TotalSlept(), 0u);
}

TEST(Win32Hid, OpeningAMissingPathNamesTheFailingCall) {
  Win32HidSystem hid;
  for (HidAccess access : {HidAccess::Query, HidAccess::Read, HidAccess::Write}) {
    EXPECT_EQ(hid.Open(u"\\\\?\\hid#vid_3a7d&pid_4110#nothing#{4d1e55b2-f16f-11cf-88cb-001111000030}", access), nullptr);
    EXPECT_EQ(hid.LastError().rfind("CreateFileW failed", 0), 0u) << hid.LastError();
  }
}

}  // namespace
}  // namespace nx7::win32
