#include "device/session_host_win32.h"

#include <gtest/gtest.h>

namespace nx7::win32 {
namespace {

TEST(Win32SessionHost, CreateMakesTheHiddenWindowAndNeedsHidParse) {
  Win32SessionHost host;  // HidParse.dll is built beside this test
  ASSERT_TRUE(host.Create());
  EXPECT_NE(host.openHidDevice(), nullptr);
  HWND window = host.window();
  ASSERT_TRUE(IsWindow(window));
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_POPUP, WS_POPUP);
  EXPECT_EQ(GetParent(window), nullptr);
  RECT r{};
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, 1);
  EXPECT_EQ(r.top, 1);
  EXPECT_EQ(r.right - r.left, 1);
  EXPECT_EQ(r.bottom - r.top, 1);
  host.Stop();
  EXPECT_FALSE(IsWindow(window));
  host.Destroy();
  EXPECT_EQ(host.hidParseModule(), nullptr);
}

TEST(Win32SessionHost, MissingLibraryOrExportFailsCreate) {
  for (const wchar_t* library : {L"NoSuchHidParse.dll", L"kernel32.dll"}) {
    Win32SessionHost host(library);
    EXPECT_FALSE(host.Create()) << library;
    EXPECT_EQ(host.openHidDevice(), nullptr);
  }
}

}  // namespace
}  // namespace nx7::win32
