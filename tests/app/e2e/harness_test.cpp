// The harness on its own small window program (nx7_e2e_window.exe): every facility the
// end-to-end tests of the NX7 program use is shown to see what really happened.
#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace nx7::e2e {
namespace {

constexpr UINT kTrayMessage = 0x46C;

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class Harness : public ::testing::Test {
 protected:
  // Starts the test window in a program folder of its own and waits for its window.
  HWND Start(const std::wstring& title, Process::Options options = {}) {
    program_ = folder_.Add(BuildFiles::TestWindow());
    options.arguments.insert(options.arguments.begin(), {L"--title", title});
    options.environment[L"NX7_E2E_LOG"] = Log().wstring();
    if (!process_.Start(program_, options)) {
      ADD_FAILURE() << process_.Error();
      return nullptr;
    }
    return WaitForWindow({.title = title, .processId = process_.Id()});
  }
  std::filesystem::path Log() const { return folder_.Path() / "events.log"; }
  std::vector<std::string> Events() const { return ReadLines(Log()); }
  bool WaitForEvent(const std::string& line) {
    return WaitUntil([&] { return Contains(Events(), line); }, milliseconds(5000));
  }

  ProgramFolder folder_;
  std::filesystem::path program_;
  Process process_;
};

TEST_F(Harness, StartsTheProgramWithArgumentsAndEnvironmentAndFindsItsWindowByTitleAndClass) {
  const std::wstring title = L"Harness start \u00e9";
  HWND window = Start(title, {.environment = {{L"NX7_E2E_VALUE", L"a b \u4e2d"}}});
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(TitleOf(window), title);
  EXPECT_EQ(WaitForWindow({.className = L"NX7E2EWindow", .processId = process_.Id()}), window);
  // A title no window has is not found.
  EXPECT_EQ(WaitForWindow({.title = title + L"x"}, milliseconds(200)), nullptr);
  EXPECT_TRUE(WaitForEvent("start a b \xe4\xb8\xad"));
  EXPECT_EQ(ProcessesOf(program_), std::vector<DWORD>{process_.Id()});
}

TEST_F(Harness, FilesBesideTheProgramAndTheRegistryAreTheTestsToRead) {
  DeleteRegistryValue(HKEY_LOCAL_MACHINE, L"Software\\VORNA\\NX7E2E", L"Started");
  ASSERT_NE(Start(L"Harness files"), nullptr);
  EXPECT_TRUE(WaitUntil([&] { return folder_.Read("Profile/written.txt") == "written"; }, milliseconds(3000)));
  EXPECT_EQ(ReadRegistryDword(HKEY_LOCAL_MACHINE, L"Software\\VORNA\\NX7E2E", L"Started"), process_.Id());
  EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, L"Software\\VORNA\\NX7E2E", L"Title"), L"Harness files");
  EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, L"Software\\VORNA\\NX7E2E", L"Missing"), std::nullopt);
}

TEST_F(Harness, ClicksLandAtClientCoordinatesAndOnChildControls) {
  HWND window = Start(L"Harness clicks");
  ASSERT_NE(window, nullptr);
  ClickClient(window, {300, 200});
  EXPECT_TRUE(WaitForEvent("down 300 200"));
  ClickClient(window, {80, 40});  // the button
  EXPECT_TRUE(WaitForEvent("button"));
  DoubleClickClient(window, {250, 250});
  EXPECT_TRUE(WaitForEvent("double 250 250"));
  POINT cursor{};
  GetCursorPos(&cursor);
  POINT expected{250, 250};
  ClientToScreen(window, &expected);
  EXPECT_EQ(cursor.x, expected.x);
  EXPECT_EQ(cursor.y, expected.y);
}

TEST_F(Harness, KeysReachTheForegroundWindowAndAltF4GoesThroughTheSystemKeys) {
  HWND window = Start(L"Harness keys");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(ActivateWindow(window));
  TypeText(L"k\u00e9");
  EXPECT_TRUE(WaitForEvent("char k"));
  EXPECT_TRUE(WaitForEvent("char \xc3\xa9"));
  PressChord({VK_RIGHT});
  EXPECT_TRUE(WaitForEvent("key " + std::to_string(VK_RIGHT)));
  PressChord({VK_MENU, VK_F4});  // the window hides itself on WM_CLOSE
  EXPECT_TRUE(WaitForEvent("hide"));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, milliseconds(3000)));
  EXPECT_TRUE(process_.Running());
}

TEST_F(Harness, ScreenshotsShowTheWindowAsPainted) {
  HWND window = Start(L"Harness screenshot");
  ASSERT_NE(window, nullptr);
  const Screenshot shot = SaveScreenshot(window, L"harness_window");
  EXPECT_TRUE(shot.saved);
  EXPECT_EQ(shot.width, 400);
  EXPECT_EQ(shot.height, 300);
  EXPECT_GT(std::filesystem::file_size(shot.file), 1000u);
  // The bands the window paints: many colours; an unpainted or black capture has one or two.
  EXPECT_GT(shot.distinctColors, 10u);
}

TEST_F(Harness, TrayIconIsSeenWhileTheProgramHoldsItAndGoneAfterItsExit) {
  HWND window = Start(L"Harness tray");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return TrayIconPresent(window); }, milliseconds(3000)));
  EXPECT_FALSE(TrayIconPresent(window, 7));  // an id the program never added

  // Hidden by its close, back on the double-click the notification area posts.
  PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, milliseconds(3000)));
  PostTrayMouse(window, kTrayMessage, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }, milliseconds(3000)));

  // The tray menu, found as the menu window of the program's process, and its "Exit" clicked. A
  // menu opened while the window was still taking its activation back can close at once; a person
  // then right-clicks the icon again.
  HWND menu = nullptr;
  for (int attempt = 0; attempt < 3 && !menu; ++attempt) {
    PostTrayMouse(window, kTrayMessage, WM_RBUTTONUP);
    menu = WaitForWindow({.className = L"#32768"}, milliseconds(3000));
  }
  ASSERT_NE(menu, nullptr);
  const Screenshot shot = SaveScreenshot(menu, L"harness_tray_menu");
  EXPECT_TRUE(shot.saved);
  RECT r{};
  GetWindowRect(menu, &r);
  // Two items of equal height: "Exit" is the lower one. A click Wine did not deliver leaves the
  // menu open; a person clicks again.
  const POINT exitItem{(r.left + r.right) / 2, r.top + (r.bottom - r.top) * 3 / 4};
  ClickScreen(exitItem);
  if (!process_.WaitForExit(milliseconds(2000)) && IsWindow(menu) && IsWindowVisible(menu)) ClickScreen(exitItem);
  EXPECT_EQ(process_.WaitForExit(milliseconds(5000)), 0u);
  EXPECT_TRUE(Contains(Events(), "exit"));
  EXPECT_FALSE(TrayIconPresent(window));
  EXPECT_TRUE(ProcessesOf(program_).empty());
}

TEST_F(Harness, TrayIconOfAKilledProgramIsNotTakenForTheIconOfARunningOne) {
  HWND window = Start(L"Harness killed");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(window); }, milliseconds(3000)));
  process_.Kill();
  EXPECT_FALSE(process_.Running());
  EXPECT_TRUE(ProcessesOf(program_).empty());
  // Wine's notification area drops the icons of windows that are gone.
  EXPECT_TRUE(WaitUntil([&] { return !TrayIconPresent(window); }, milliseconds(5000)));
}

TEST_F(Harness, WaitingForExitReportsTheExitCodeOrNothingWhileItRuns) {
  HWND window = Start(L"Harness exit", {.arguments = {L"--exit-code", L"7"}});
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(process_.WaitForExit(milliseconds(300)), std::nullopt);
  PostMessageW(window, WM_COMMAND, 0x6001, 0);
  EXPECT_EQ(process_.WaitForExit(milliseconds(5000)), 7u);
  EXPECT_FALSE(process_.Running());
}

TEST(HarnessQuoting, ArgumentsArriveUnchanged) {
  // The stand-in logs the arguments it was given.
  ProgramFolder folder;
  const auto program = folder.Add(BuildFiles::StandIn(), "with space/stand in.exe");
  const std::vector<std::wstring> arguments = {L"-VORNA", L"a b", L"", L"q\"uote", L"trail\\", L"x\\\"y"};
  Process process;
  ASSERT_TRUE(process.Start(program, {.arguments = arguments,
                                      .environment = {{L"NX7_STANDIN_LOG", folder.StandInLog().wstring()}}}));
  ASSERT_EQ(process.WaitForExit(milliseconds(10000)), 0u);
  EXPECT_EQ(folder.StandInLines(),
            std::vector<std::string>{"6 [-VORNA] [a b] [] [q\"uote] [trail\\] [x\\\"y]"});
}

TEST(HarnessOutput, AProgramsOutputGoesToTheFileGiven) {
  ProgramFolder folder;
  Process ctl;
  const auto output = folder.Path() / "out.txt";
  ASSERT_TRUE(ctl.Start(BuildFiles::Nx7ctl(), {.arguments = {L"--help"}, .output = output}));
  ASSERT_EQ(ctl.WaitForExit(milliseconds(20000)), 0u);
  EXPECT_NE(folder.Read("out.txt").find("apply"), std::string::npos) << folder.Read("out.txt");
}

TEST(HarnessRegistry, BinaryValuesAreWrittenAndReadBack) {
  const std::wstring key = L"Software\\VORNA\\NX7E2E";
  ASSERT_TRUE(WriteRegistryBinary(HKEY_LOCAL_MACHINE, key, L"Bytes", {1, 2, 0, 0xBE}));
  EXPECT_EQ(ReadRegistryBinary(HKEY_LOCAL_MACHINE, key, L"Bytes"), (std::vector<BYTE>{1, 2, 0, 0xBE}));
  DeleteRegistryValue(HKEY_LOCAL_MACHINE, key, L"Bytes");
  EXPECT_EQ(ReadRegistryBinary(HKEY_LOCAL_MACHINE, key, L"Bytes"), std::nullopt);
}

}  // namespace
}  // namespace nx7::e2e
