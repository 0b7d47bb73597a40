#include "platform/win32/device_notification_win32.h"

#include <windows.h>
#include <dbt.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace nx7::win32 {
namespace {

using Kind = DeviceInterfaceChange::Kind;

const std::u16string kMousePath = u"\\\\?\\USB#VID_3A7D&PID_4110#6&1a2b3c&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

TEST(DeviceInterfaceBroadcast, IsLaidOutAsTheSystemDeliversIt) {
  DeviceInterfaceBroadcast record(u"AB");
  const DEV_BROADCAST_DEVICEINTERFACE_W* r = record.get();
  EXPECT_EQ(r->dbcc_size, offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + 3 * sizeof(wchar_t));
  EXPECT_EQ(r->dbcc_devicetype, DWORD(DBT_DEVTYP_DEVICEINTERFACE));
  EXPECT_TRUE(IsEqualGUID(r->dbcc_classguid, kUsbDeviceInterfaceClass));
  const auto* name = reinterpret_cast<const wchar_t*>(reinterpret_cast<const char*>(r) + offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name));
  EXPECT_EQ(std::wstring(name), L"AB");
  // {A5DCBF10-6530-11D2-901F-00C04FB951ED}
  wchar_t text[40] = {};
  ASSERT_GT(StringFromGUID2(kUsbDeviceInterfaceClass, text, 40), 0);
  EXPECT_EQ(std::wstring(text), L"{A5DCBF10-6530-11D2-901F-00C04FB951ED}");
}

TEST(DeviceInterfaceChangeRead, ArrivalsAndRemovalsOfInterfacesOnly) {
  const std::u16string longPath(600, u'x');
  const std::u16string chinese = u"\\\\?\\USB#VID_3A7D&PID_4110#鼠标#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
  struct Case {
    const char* name;
    WPARAM event;
    std::u16string path;
    std::optional<Kind> kind;
  } cases[] = {
      {"arrival", DBT_DEVICEARRIVAL, kMousePath, Kind::Arrival},
      {"removal", DBT_DEVICEREMOVECOMPLETE, kMousePath, Kind::Removal},
      {"empty path", DBT_DEVICEARRIVAL, u"", Kind::Arrival},
      {"long path", DBT_DEVICEREMOVECOMPLETE, longPath, Kind::Removal},
      {"non-ASCII path", DBT_DEVICEARRIVAL, chinese, Kind::Arrival},
      {"query remove", DBT_DEVICEQUERYREMOVE, kMousePath, std::nullopt},
      {"remove pending", DBT_DEVICEREMOVEPENDING, kMousePath, std::nullopt},
      {"nodes changed", DBT_DEVNODES_CHANGED, kMousePath, std::nullopt},
  };
  for (const Case& c : cases) {
    DeviceInterfaceBroadcast record(c.path);
    const std::optional<DeviceInterfaceChange> change = ReadDeviceInterfaceChange(c.event, record.lParam());
    ASSERT_EQ(change.has_value(), c.kind.has_value()) << c.name;
    if (!change) continue;
    EXPECT_EQ(change->kind, *c.kind) << c.name;
    EXPECT_EQ(change->devicePath, c.path) << c.name;
  }
}

TEST(DeviceInterfaceChangeRead, OtherRecordsAndShortRecords) {
  EXPECT_FALSE(ReadDeviceInterfaceChange(DBT_DEVICEARRIVAL, 0));

  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = 1 << 4;
  EXPECT_FALSE(ReadDeviceInterfaceChange(DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&volume)));

  // The path is read no further than the record's size, terminated or not.
  DeviceInterfaceBroadcast record(u"ABCDEF");
  auto* r = const_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(record.get());
  r->dbcc_size = DWORD(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + 3 * sizeof(wchar_t));
  std::optional<DeviceInterfaceChange> change = ReadDeviceInterfaceChange(DBT_DEVICEARRIVAL, record.lParam());
  ASSERT_TRUE(change);
  EXPECT_EQ(change->devicePath, u"ABC");
  r->dbcc_size = DWORD(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) - 1);
  EXPECT_FALSE(ReadDeviceInterfaceChange(DBT_DEVICEARRIVAL, record.lParam()));
}

// A window that records the device-interface changes it is sent.
struct RecordingWindow {
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DEVICECHANGE) {
      auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
      if (auto change = ReadDeviceInterfaceChange(wParam, lParam)) self->changes.push_back(*change);
      return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
  RecordingWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"NX7DeviceChangeTest";
    RegisterClassW(&wc);
    handle = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~RecordingWindow() { DestroyWindow(handle); }
  HWND handle = nullptr;
  std::vector<DeviceInterfaceChange> changes;
};

TEST(DeviceNotificationRegistration, RegistersAWindowAndSyntheticChangesReachIt) {
  RecordingWindow window;
  ASSERT_NE(window.handle, nullptr);
  {
    DeviceNotificationRegistration registration(window.handle);
    EXPECT_TRUE(registration.Registered()) << registration.LastError();
    DeviceNotificationRegistration moved(std::move(registration));
    EXPECT_TRUE(moved.Registered());
    EXPECT_FALSE(registration.Registered());
  }
  EXPECT_EQ(SendDeviceInterfaceChange(window.handle, {Kind::Removal, kMousePath}), TRUE);
  EXPECT_EQ(SendDeviceInterfaceChange(window.handle, {Kind::Arrival, kMousePath}), TRUE);
  ASSERT_EQ(window.changes.size(), 2u);
  EXPECT_EQ(window.changes[0].kind, Kind::Removal);
  EXPECT_EQ(window.changes[0].devicePath, kMousePath);
  EXPECT_EQ(window.changes[1].kind, Kind::Arrival);
  EXPECT_EQ(window.changes[1].devicePath, kMousePath);
}

}  // namespace
}  // namespace nx7::win32
