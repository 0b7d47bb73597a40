#include "device/device_presence.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "device/usb_driver.h"
#include "device/virtual/virtual_mouse.h"
#include "platform/virtual/recording_shell.h"
#include "platform/virtual/virtual_clock.h"
#include "platform/virtual/virtual_usb_devices.h"

namespace nx7 {
namespace {

using Kind = PresenceStep::Kind;

const std::u16string kMousePath = u"\\\\?\\USB#VID_3A7D&PID_4110#6&1a2b3c&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
const std::u16string kKeyboardPath = u"\\\\?\\USB#VID_046D&PID_C31C#5&2f4e&0&1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

TEST(DevicePresenceMatching, MousePathsByIdsAnywhereIgnoringCase) {
  struct Case {
    std::u16string path;
    bool mouse;
  } cases[] = {
      {kMousePath, true},
      {u"\\\\?\\usb#vid_3a7d&pid_4110#6&1a2b3c&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}", true},
      {u"Vid_3A7d&pId_4110", true},
      {u"\\\\?\\HID#VID_3A7D&PID_4110&MI_01#7&1&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}", true},
      {kKeyboardPath, false},
      {u"\\\\?\\USB#VID_3A7D&PID_4111#1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}", false},
      {u"VID_3A7D&PID_411", false},
      {u"VID_3A7D PID_4110", false},
      {u"USB\\VID_04D9&PID_8022&REV_0100", false},
      {u"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsMouseDevicePath(c.path), c.mouse) << std::string(c.path.begin(), c.path.end());
  }
}

TEST(DevicePresenceMatching, BootloaderByItsIdsInTheHardwareIdIgnoringCase) {
  struct Case {
    std::u16string id;
    bool bootloader;
  } cases[] = {
      {u"USB\\VID_04D9&PID_8022&REV_0100", true},
      {u"usb\\vid_04d9&pid_8022", true},
      {u"VID_04D9&PID_8022", true},
      {u"USB\\VID_04D9&PID_8023&REV_0100", false},
      {u"USB\\VID_3A7D&PID_4110&REV_0100", false},
      {u"USB\\ROOT_HUB30", false},
      {u"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsBootloaderHardwareId(c.id), c.bootloader) << std::string(c.id.begin(), c.id.end());
  }
}

TEST(DevicePresenceStartUp, LooksTwiceHalfASecondApartThenWaitsHalfASecond) {
  const std::vector<std::u16string> none = {u"USB\\ROOT_HUB20", u"USB\\VID_046D&PID_C31C&REV_4900"};
  const std::vector<std::u16string> bootloader = {u"USB\\ROOT_HUB20", u"usb\\vid_04d9&pid_8022&rev_0100"};
  struct Case {
    const char* name;
    // The devices present from the start, after the first pause and after the second pause.
    std::vector<std::u16string> devices[3];
    bool handOver;
    uint64_t slept;
    int looks;
  } cases[] = {
      {"no bootloader", {none, none, none}, false, 1000, 2},
      {"no USB devices at all", {{}, {}, {}}, false, 1000, 2},
      {"bootloader at the first look", {bootloader, bootloader, bootloader}, true, 0, 1},
      {"bootloader only at the second look", {none, bootloader, bootloader}, true, 500, 2},
      {"bootloader after the second look is not noticed", {none, none, bootloader}, false, 1000, 2},
      {"the mouse in normal mode is no bootloader", {{u"USB\\VID_3A7D&PID_4110&REV_0100"}, {}, {}}, false, 1000, 2},
  };
  for (const Case& c : cases) {
    VirtualUsbDeviceList usb(c.devices[0]);
    VirtualClock clock;
    int pauses = 0;
    clock.SetSleepListener([&](uint32_t ms) {
      EXPECT_EQ(ms, 500u) << c.name;
      ++pauses;
      usb.SetHardwareIds(c.devices[pauses < 2 ? pauses : 2]);
    });
    EXPECT_EQ(BootloaderAtStart(usb, clock), c.handOver) << c.name;
    EXPECT_EQ(clock.TotalSlept(), c.slept) << c.name;
    EXPECT_EQ(usb.Enumerations(), c.looks) << c.name;
  }
}

TEST(DevicePresenceStartUp, FlasherStartsOnceWithExactlyItsOneArgument) {
  RecordingShell shell;
  StartFlasher(shell, u"C:\\Program Files\\Vorna NX7");
  const std::vector<ShellRequest> expected = {
      {ShellRequest::Kind::Open, u"C:\\Program Files\\Vorna NX7\\FWUpdate\\ViradeRI.exe", u"-VORNA"}};
  EXPECT_EQ(shell.Take(), expected);
}

TEST(DevicePresenceTexts, BothLanguages) {
  EXPECT_EQ(PresenceMessageText(PresenceMessage::MouseFound, false), u"The NX7 gaming mouse is found.");
  EXPECT_EQ(PresenceMessageText(PresenceMessage::MouseFound, true), u"发现NX7游戏鼠标.");
  EXPECT_EQ(PresenceMessageText(PresenceMessage::MouseNotFound, false), u"The NX7 gaming mouse cannot be found.");
  EXPECT_EQ(PresenceMessageText(PresenceMessage::MouseNotFound, true), u"没有找到NX7游戏鼠标.");
}

PresenceStep S(Kind kind) { return {kind, PresenceMessage::MouseFound, {}, 0}; }
PresenceStep Firmware(std::u16string text) { return {Kind::SetFirmwareVersionText, PresenceMessage::MouseFound, std::move(text), 0}; }
PresenceStep Show(PresenceMessage message) { return {Kind::ShowMessage, message, {}, 0}; }
PresenceStep StartTimer() { return {Kind::StartRetryTimer, PresenceMessage::MouseFound, {}, 2500}; }

const std::vector<PresenceStep> kFound = {Firmware(u"15"), S(Kind::InstallHooks), Show(PresenceMessage::MouseFound)};
const std::vector<PresenceStep> kGone = {S(Kind::RemoveHooks), Show(PresenceMessage::MouseNotFound), S(Kind::PostClose)};

std::vector<PresenceStep> Then(std::vector<PresenceStep> first, const std::vector<PresenceStep>& rest) {
  first.insert(first.end(), rest.begin(), rest.end());
  return first;
}

struct Presence {
  VirtualMouse mouse;
  VirtualClock clock;
  CUSBDriver session{mouse, clock};
  DevicePresence presence{session};
};

TEST(DevicePresenceHotPlug, OtherDevicesChangeNothing) {
  Presence p;
  EXPECT_TRUE(p.presence.OnArrival(kKeyboardPath).Empty());
  EXPECT_FALSE(p.session.IsOpen());
  EXPECT_EQ(p.mouse.OpenHandles(), 0);
  ASSERT_TRUE(p.session.Open());
  EXPECT_TRUE(p.presence.OnRemoval(kKeyboardPath).Empty());
  EXPECT_TRUE(p.session.IsOpen());
  EXPECT_TRUE(p.session.SendReportRate(1));
}

TEST(DevicePresenceHotPlug, UnplugThenPlugBackClosesAndReopensTheSession) {
  Presence p;
  ASSERT_TRUE(p.session.Open());
  p.mouse.Unplug();
  int version = 0;
  EXPECT_FALSE(p.session.ReadVersion(version));  // the next command fails while unplugged
  EXPECT_EQ(p.presence.OnRemoval(u"\\\\?\\usb#vid_3a7d&pid_4110#1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}").steps, kGone);
  EXPECT_FALSE(p.session.IsOpen());
  EXPECT_EQ(p.mouse.OpenHandles(), 0);

  p.mouse.Plug();
  EXPECT_EQ(p.presence.OnArrival(kMousePath).steps, kFound);
  EXPECT_TRUE(p.session.IsOpen());
  EXPECT_FALSE(p.presence.Retrying());
  EXPECT_TRUE(p.session.SendReportRate(1));
}

TEST(DevicePresenceHotPlug, FirmwareTextIsEmptyWhenTheReadFailsOrGivesZero) {
  struct Case {
    const char* name;
    std::function<void(VirtualMouse&)> fault;
    std::u16string text;
  } cases[] = {
      {"version 15", [](VirtualMouse&) {}, u"15"},
      {"version 7", [](VirtualMouse& m) { m.SetVersionReply(0x80, 0, 7); }, u"7"},
      {"read refused", [](VirtualMouse& m) { m.FailCommand(0x80); }, u""},
      {"version 0", [](VirtualMouse& m) { m.SetVersionReply(0x80, 0, 0); }, u""},
  };
  for (const Case& c : cases) {
    Presence p;
    c.fault(p.mouse);
    const std::vector<PresenceStep> expected = {Firmware(c.text), S(Kind::InstallHooks), Show(PresenceMessage::MouseFound)};
    EXPECT_EQ(p.presence.OnArrival(kMousePath).steps, expected) << c.name;
  }
}

TEST(DevicePresenceHotPlug, AnArrivalThatDoesNotOpenRetriesFromTheTimerUntilItOpens) {
  Presence p;
  p.mouse.Unplug();
  EXPECT_EQ(p.presence.OnArrival(kMousePath).steps, std::vector<PresenceStep>{StartTimer()});
  EXPECT_TRUE(p.presence.Retrying());
  for (int tick = 1; tick <= 3; ++tick) {
    EXPECT_TRUE(p.presence.OnRetryTimer().Empty()) << tick;
    EXPECT_EQ(p.presence.RetriesLeft(), kArrivalOpenRetries - tick);
  }
  EXPECT_EQ(p.clock.TotalSlept(), 0u);  // failed opens never wait on the window's thread
  p.mouse.Plug();
  EXPECT_EQ(p.presence.OnRetryTimer().steps, Then({S(Kind::StopRetryTimer)}, kFound));
  EXPECT_FALSE(p.presence.Retrying());
  EXPECT_TRUE(p.session.IsOpen());
  EXPECT_TRUE(p.presence.OnRetryTimer().Empty());  // a tick already queued does nothing
}

TEST(DevicePresenceHotPlug, TheLastRetryOpeningStillStopsTheTimer) {
  Presence p;
  p.mouse.Unplug();
  p.presence.OnArrival(kMousePath);
  for (int tick = 1; tick < kArrivalOpenRetries; ++tick) EXPECT_TRUE(p.presence.OnRetryTimer().Empty()) << tick;
  p.mouse.Plug();
  EXPECT_EQ(p.presence.OnRetryTimer().steps, Then({S(Kind::StopRetryTimer)}, kFound));
  EXPECT_FALSE(p.presence.Retrying());
}

TEST(DevicePresenceHotPlug, AMouseThatNeverOpensIsGivenUpAfterTenRetries) {
  // Matching ids, but the vendor collection cannot be opened.
  std::vector<VirtualHidInterface> tree = Nx7DeviceTree();
  for (VirtualHidInterface& i : tree) i.openable = false;
  VirtualMouse mouse(tree);
  VirtualClock clock;
  CUSBDriver session(mouse, clock);
  DevicePresence presence(session);

  EXPECT_EQ(presence.OnArrival(kMousePath).steps, std::vector<PresenceStep>{StartTimer()});
  for (int tick = 1; tick < kArrivalOpenRetries; ++tick) EXPECT_TRUE(presence.OnRetryTimer().Empty()) << tick;
  EXPECT_EQ(presence.OnRetryTimer().steps, Then({S(Kind::StopRetryTimer)}, kGone));
  EXPECT_FALSE(presence.Retrying());
  EXPECT_TRUE(presence.OnRetryTimer().Empty());
  EXPECT_EQ(kArrivalOpenRetries * kArrivalRetryMs, 25000u);
}

TEST(DevicePresenceHotPlug, ARemovalStopsTheRetries) {
  Presence p;
  p.mouse.Unplug();
  p.presence.OnArrival(kMousePath);
  p.presence.OnRetryTimer();
  EXPECT_EQ(p.presence.OnRemoval(kMousePath).steps, Then({S(Kind::StopRetryTimer)}, kGone));
  EXPECT_FALSE(p.presence.Retrying());
  p.mouse.Plug();
  EXPECT_TRUE(p.presence.OnRetryTimer().Empty());
  EXPECT_FALSE(p.session.IsOpen());
}

TEST(DevicePresenceHotPlug, AnotherArrivalWhileRetryingStartsTheCountAfresh) {
  Presence p;
  p.mouse.Unplug();
  p.presence.OnArrival(kMousePath);
  for (int tick = 1; tick <= 6; ++tick) p.presence.OnRetryTimer();
  EXPECT_EQ(p.presence.RetriesLeft(), kArrivalOpenRetries - 6);
  EXPECT_EQ(p.presence.OnArrival(kMousePath).steps, std::vector<PresenceStep>{StartTimer()});
  EXPECT_EQ(p.presence.RetriesLeft(), kArrivalOpenRetries);
  p.mouse.Plug();
  EXPECT_EQ(p.presence.OnArrival(kMousePath).steps, Then({S(Kind::StopRetryTimer)}, kFound));
}

TEST(DevicePresenceHotPlug, ARemovalWhileIdleStillEndsTheProgram) {
  // The box and WM_CLOSE follow every removal of the mouse, even of one that was never opened.
  Presence p;
  EXPECT_EQ(p.presence.OnRemoval(kMousePath).steps, kGone);
}

}  // namespace
}  // namespace nx7
