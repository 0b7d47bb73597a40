#include "device/device_presence.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "app/standin/standin_log.h"
#include "device/usb_driver.h"
#include "device/virtual/virtual_mouse.h"
#include "platform/virtual/virtual_clock.h"
#include "platform/virtual/virtual_usb_devices.h"
#include "platform/win32/device_notification_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/usb_devices_win32.h"
#include "temp_folder.h"

namespace nx7 {
namespace {

using Kind = PresenceStep::Kind;
using win32::DeviceInterfaceChange;

TEST(DevicePresenceWin32, WithTheBootloaderPresentTheFlasherGetsExactlyMinusVorna) {
  testing::TempFolder folder;
  const std::filesystem::path programFolder = (folder.Path() / "Vorna NX7").make_preferred();
  std::filesystem::create_directories(programFolder / "FWUpdate");
  std::filesystem::copy_file(testing::StandInProgram(), programFolder / "FWUpdate" / "ViradeRI.exe");
  testing::StandInLog log(folder.Path() / "runs.log");

  VirtualUsbDeviceList usb({std::u16string(kVirtualBootloaderHardwareId)});
  VirtualClock clock;
  win32::Win32Shell shell;
  ASSERT_TRUE(BootloaderAtStart(usb, clock));
  StartFlasher(shell, programFolder.u16string());
  EXPECT_EQ(log.WaitForLines(1), std::vector<std::string>{"1 [-VORNA]"});
}

TEST(DevicePresenceWin32, TheSystemsUsbDevicesHoldNoBootloaderUnderWine) {
  win32::Win32UsbDeviceList usb;
  VirtualClock clock;
  EXPECT_FALSE(BootloaderAtStart(usb, clock));
  EXPECT_EQ(usb.LastError(), "");
  EXPECT_EQ(clock.TotalSlept(), 1000u);
}

// The main window's hot-plug handling in miniature: WM_DEVICECHANGE through the presence logic,
// its timer steps carried out on a real window timer, every step recorded.
class HotPlugWindow {
 public:
  explicit HotPlugWindow(DevicePresence& presence) : presence_(presence) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"NX7HotPlugTest";
    RegisterClassW(&wc);
    handle_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~HotPlugWindow() { DestroyWindow(handle_); }

  HWND handle() const { return handle_; }
  std::vector<PresenceStep> Take() { return std::exchange(steps_, {}); }

  // Runs the message loop until a step of `kind` has been taken (or `timeout`).
  bool PumpUntil(Kind kind, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
      for (const PresenceStep& s : steps_)
        if (s.kind == kind) return true;
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return false;
  }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<HotPlugWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_DEVICECHANGE) {
      if (auto change = win32::ReadDeviceInterfaceChange(wParam, lParam))
        self->Carry(change->kind == DeviceInterfaceChange::Kind::Arrival ? self->presence_.OnArrival(change->devicePath)
                                                                         : self->presence_.OnRemoval(change->devicePath));
      return TRUE;
    }
    if (self && message == WM_TIMER && wParam == kArrivalRetryTimerId) {
      self->Carry(self->presence_.OnRetryTimer());
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  void Carry(const PresenceOutcome& outcome) {
    for (const PresenceStep& step : outcome.steps) {
      if (step.kind == Kind::StartRetryTimer) SetTimer(handle_, kArrivalRetryTimerId, step.periodMs, nullptr);
      if (step.kind == Kind::StopRetryTimer) KillTimer(handle_, kArrivalRetryTimerId);
      steps_.push_back(step);
    }
  }

  DevicePresence& presence_;
  HWND handle_ = nullptr;
  std::vector<PresenceStep> steps_;
};

std::vector<Kind> Kinds(const std::vector<PresenceStep>& steps) {
  std::vector<Kind> kinds;
  for (const PresenceStep& s : steps) kinds.push_back(s.kind);
  return kinds;
}

TEST(DevicePresenceWin32, UnplugAndPlugTheVirtualMouseThroughWmDeviceChange) {
  VirtualMouse mouse;
  VirtualClock clock;
  CUSBDriver session(mouse, clock);
  DevicePresence presence(session);
  HotPlugWindow window(presence);
  ASSERT_NE(window.handle(), nullptr);
  ASSERT_TRUE(session.Open());
  const std::u16string path(kVirtualMouseDevicePath);

  mouse.Unplug();
  EXPECT_EQ(win32::SendDeviceInterfaceChange(window.handle(), {DeviceInterfaceChange::Kind::Removal, path}), TRUE);
  EXPECT_EQ(Kinds(window.Take()), (std::vector<Kind>{Kind::RemoveHooks, Kind::ShowMessage, Kind::PostClose}));
  EXPECT_FALSE(session.IsOpen());

  // Plugged back but not openable yet: the window keeps running its loop and the timer retries.
  win32::SendDeviceInterfaceChange(window.handle(), {DeviceInterfaceChange::Kind::Arrival, path});
  EXPECT_EQ(Kinds(window.Take()), std::vector<Kind>{Kind::StartRetryTimer});
  mouse.Plug();
  ASSERT_TRUE(window.PumpUntil(Kind::ShowMessage, std::chrono::seconds(15)));
  const std::vector<PresenceStep> steps = window.Take();
  EXPECT_EQ(Kinds(steps), (std::vector<Kind>{Kind::StopRetryTimer, Kind::SetFirmwareVersionText, Kind::InstallHooks,
                                             Kind::ShowMessage}));
  EXPECT_EQ(steps[1].text, u"15");
  EXPECT_EQ(steps[3].message, PresenceMessage::MouseFound);
  EXPECT_TRUE(session.IsOpen());
  EXPECT_FALSE(presence.Retrying());

  // Another device's removal passes by.
  win32::SendDeviceInterfaceChange(window.handle(),
                                   {DeviceInterfaceChange::Kind::Removal, u"\\\\?\\USB#VID_046D&PID_C31C#1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}"});
  EXPECT_TRUE(window.Take().empty());
  EXPECT_TRUE(session.IsOpen());
}

}  // namespace
}  // namespace nx7
