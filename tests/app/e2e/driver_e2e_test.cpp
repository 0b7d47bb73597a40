// NX7Driver.exe end to end: the real program started in a program folder of its own, on the
// virtual mouse (--virtual, --trace) unless a case says otherwise, and used through its windows
// as a person uses it. The registry values the program keeps (HKLM\Software\VORNA\NX7) are
// reset before each case, so each starts as on a clean machine in a known language.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <thread>

#include "harness.h"
#include "program_e2e.h"
#include "performance/lighting_page.h"
#include "skin/dlg_info_win32.h"
#include "skin/layout.h"
#include "skin/slider_rules.h"
#include "store/settings_block.h"

namespace nx7::e2e {
namespace {

constexpr UINT kTrayMessage = 0x46C;
// With --virtual: wParam 0 unplugs the virtual mouse, 1 plugs it in again.
constexpr UINT kVirtualPlug = WM_APP + 0x101;

// Client points of the main window's controls (beside those of program_e2e.h).
constexpr POINT kClose{939, 17};
constexpr POINT kLanguageButton{36, 626};
constexpr RECT kFlag{19, 592, 55, 615};
constexpr RECT kHintLine{67, 598, 300, 628};
constexpr RECT kTabRow{30, 85, 928, 121};
constexpr RECT kProgressBar{35, 47, 295, 56};  // in the progress dialog
// On the window's background one pixel left of tab 1: the hint of tab 1 (HintId 1, str_main).
constexpr POINT kBesideTab1{29, 103};
constexpr wchar_t kLanguageFiles[12][8] = {L"sc", L"en", L"fre", L"kor", L"ger", L"ita",
                                           L"span", L"dutch", L"pt", L"rus", L"ukr", L"tw"};

// The message box that closes itself after its countdown stands at the bottom right of the
// screen; every other one is centred.
bool IsCountdownBox(HWND box) {
  RECT r{};
  GetWindowRect(box, &r);
  return r.right >= GetSystemMetrics(SM_CXSCREEN) - 40 && r.bottom >= GetSystemMetrics(SM_CYSCREEN) - 80;
}


std::string ProfileImage(int ledMode, const std::wstring& launchPath = {}) {
  SettingsBlock block{};
  FillWithDefaults(block, false);
  block.ledMode = ledMode;
  if (!launchPath.empty()) {
    ButtonAssignment& wheelForward = block.buttons[5];
    wheelForward.type = 19;
    wheelForward.launchKind = 0xD0;
    std::memcpy(wheelForward.launchPath, launchPath.c_str(), (launchPath.size() + 1) * sizeof(char16_t));
  }
  const auto image = SerialiseSettingsBlock(block);
  return std::string(image.begin(), image.end());
}

class Driver : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(BuildFiles::Driver().empty()) << "NX7Driver.exe is not part of this build";
    // One that runs already holds the single-instance mutex: every start here would end at once.
    ASSERT_TRUE(WaitUntil([] { return ProcessesNamed(L"NX7Driver.exe").empty(); }, milliseconds(10000)))
        << "an NX7Driver.exe from elsewhere is running";
    program_ = folder_.AddDriver();
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, kKey, L"ConfigInfo");
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, kKey, L"DefaultSetting");
    SetLanguage(kEnglish);
  }

  static void SetLanguage(int id) {
    WriteRegistryBinary(HKEY_LOCAL_MACHINE, kLanguageKey, L"Language", {BYTE(id), 0, 0, 0});
  }
  static std::optional<int> SavedLanguage() {
    const auto bytes = ReadRegistryBinary(HKEY_LOCAL_MACHINE, kLanguageKey, L"Language");
    if (!bytes || bytes->size() != 4) return std::nullopt;
    return int((*bytes)[0] | (*bytes)[1] << 8 | (*bytes)[2] << 16 | (*bytes)[3] << 24);
  }

  void WriteProfile(int slot, const std::string& image) {
    std::filesystem::create_directories(folder_.Path() / "Profile");
    std::ofstream(folder_.Path() / "Profile" / ("Profile" + std::to_string(slot + 1) + ".cfg"), std::ios::binary)
        << image;
  }

  // Starts the program; with `virtualMouse` on the virtual mouse with its trace.
  bool Start(std::vector<std::wstring> arguments, bool virtualMouse = true, Process* process = nullptr) {
    if (virtualMouse) {
      arguments.insert(arguments.begin(), {L"--virtual", L"--trace", TraceFile().wstring()});
    }
    Process& target = process ? *process : process_;
    const bool started = target.Start(program_, {.arguments = arguments,
                                                 .environment = {{L"NX7_STANDIN_LOG", folder_.StandInLog().wstring()}}});
    if (!started) ADD_FAILURE() << target.Error();
    return started;
  }
  // The main window once it is visible.
  HWND MainWindow(milliseconds timeout = milliseconds(20000)) {
    return WaitForWindow({.title = kTitle, .processId = process_.Id()}, timeout);
  }
  // Started and shown at its full size where it stays (clicks are aimed from its place), and
  // in front.
  HWND StartAndShow(std::vector<std::wstring> arguments = {}) {
    if (!Start(std::move(arguments))) return nullptr;
    HWND main = MainWindow();
    if (!main) return nullptr;
    if (!WaitUntilSettled(main, 959, 639)) ADD_FAILURE() << "the main window did not settle at 959 x 639";
    ActivateWindow(main);
    std::this_thread::sleep_for(milliseconds(200));
    return main;
  }

  std::filesystem::path TraceFile() const { return folder_.Path() / "trace.txt"; }
  std::vector<std::string> Trace() const { return ReadLines(TraceFile()); }
  // The trace once nothing has been added to it for a moment.
  std::vector<std::string> SettledTrace() const { return SettledLines(TraceFile(), milliseconds(100)); }

  // ConfigInfo once it is 8000 bytes and `ready` holds (the program writes it after the progress
  // dialog has closed), or as it then is after three seconds.
  static std::optional<std::vector<BYTE>> SavedSlotTable(const std::function<bool(const std::vector<BYTE>&)>& ready) {
    std::optional<std::vector<BYTE>> table;
    WaitUntil(
        [&] {
          table = ReadRegistryBinary(HKEY_LOCAL_MACHINE, kKey, L"ConfigInfo");
          return table && table->size() == 8000u && ready(*table);
        },
        milliseconds(3000));
    return table;
  }

  std::vector<HWND> InfoBoxes() const {
    return FindWindows({.title = kInfoTitle, .processId = process_.Id()});
  }

  // Clicks APPLY and follows the progress dialog from its appearance until it has closed; its
  // last picture is saved under `screenshot` when given.
  void ApplyThroughProgressDialog(HWND main, const wchar_t* screenshot = nullptr) {
    ClickClient(main, kApply);
    HWND progress = WaitForWindow({.title = kProgressTitle, .processId = process_.Id()}, milliseconds(5000));
    ASSERT_NE(progress, nullptr) << "no progress dialog after APPLY";
    if (screenshot) {
      EXPECT_TRUE(SaveScreenshot(progress, screenshot).saved);
    }
    // Keys a person might press do not close it.
    PressChord({VK_ESCAPE});
    PressChord({VK_MENU, VK_F4});
    // The bar as last seen before the dialog closed (it stays at 100 % for half a second).
    std::vector<COLORREF> bar;
    firstProgressBar_.clear();
    const bool closed = WaitUntil(
        [&] {
          if (!IsWindowVisible(progress)) return true;
          std::vector<COLORREF> now = CaptureClient(progress, kProgressBar);
          if (IsWindowVisible(progress)) bar = std::move(now);
          if (firstProgressBar_.empty()) firstProgressBar_ = bar;
          return false;
        },
        milliseconds(15000));
    EXPECT_TRUE(closed) << "the progress dialog did not close";
    lastProgressBar_ = bar;
    // The main window takes the input back once the modal loop has ended.
    std::this_thread::sleep_for(milliseconds(300));
  }
  // Whether the bar was filled to its right end: the end column shows the fill of the start.
  bool LastProgressBarFull() const {
    const int width = kProgressBar.right - kProgressBar.left, height = kProgressBar.bottom - kProgressBar.top;
    if (lastProgressBar_.size() != size_t(width * height)) return false;
    const size_t left = size_t(height / 2 * width + 10), right = size_t(height / 2 * width + width - 10);
    // 10 pixels in from each end, clear of the rounded ends: both ends filled. An empty bar has
    // equal ends too; its far end keeps the colour it had when the dialog appeared.
    return lastProgressBar_[left] == lastProgressBar_[right] && firstProgressBar_.size() == lastProgressBar_.size() &&
           lastProgressBar_[right] != firstProgressBar_[right];
  }
  // The middle row of the last bar seen, for failure messages.
  std::string LastProgressBarRow() const {
    const int width = kProgressBar.right - kProgressBar.left, height = kProgressBar.bottom - kProgressBar.top;
    if (lastProgressBar_.size() != size_t(width * height)) return "no picture of the bar";
    std::string row;
    char hex[16];
    for (int x = 0; x < width; x += 10) {
      std::snprintf(hex, sizeof hex, "%06lx ", lastProgressBar_[size_t(height / 2 * width + x)]);
      row += hex;
    }
    return row;
  }
  std::vector<COLORREF> lastProgressBar_, firstProgressBar_;

  // nx7ctl.exe with `arguments`; its exit code and what it printed.
  std::pair<std::optional<DWORD>, std::string> Nx7ctl(std::vector<std::wstring> arguments) {
    Process ctl;
    const auto output = folder_.Path() / "nx7ctl-output.txt";
    if (!ctl.Start(BuildFiles::Nx7ctl(), {.arguments = std::move(arguments), .output = output})) {
      ADD_FAILURE() << ctl.Error();
      return {};
    }
    const auto code = ctl.WaitForExit(milliseconds(30000));
    return {code, folder_.Read("nx7ctl-output.txt")};
  }
  // The reports nx7ctl apply sends for `profile` (relative to the program folder).
  std::vector<std::string> Nx7ctlApplyReports(const std::filesystem::path& profile) const {
    return e2e::Nx7ctlApplyReports(folder_, profile);
  }

  // The page dialogs of the main window that are shown.
  static std::vector<HWND> ShownPages(HWND main) {
    std::vector<HWND> pages;
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (IsWindowVisible(child) && ClassOf(child) == L"#32770") pages.push_back(child);
    }
    return pages;
  }
  static HWND ControlAt(HWND main, POINT client) {
    return ChildWindowFromPointEx(main, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
  }

  // The language menu: the program's top-most tool window of 116 x 273 pixels.
  HWND LanguageMenu(milliseconds timeout) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
          for (HWND w : FindWindows({.processId = process_.Id()})) {
            RECT r{};
            GetWindowRect(w, &r);
            // Sized before it is drawn and shown: a click on it before then would land on the
            // main window below.
            const LONG exStyle = GetWindowLongW(w, GWL_EXSTYLE);
            if ((exStyle & WS_EX_TOOLWINDOW) && (exStyle & WS_EX_LAYERED) && IsWindowVisible(w) &&
                r.right - r.left == 116 && r.bottom - r.top == 273) {
              found = w;
              return true;
            }
          }
          return false;
        },
        timeout);
    return found;
  }

  // Each language's str_main, the hint of tab 1, as nx7ctl reads the language file.
  std::string MainHintText(int language) {
    const auto [code, output] =
        Nx7ctl({L"lang-check", (folder_.Path() / "Language" / (std::wstring(kLanguageFiles[language - 1]) + L".xml")).wstring()});
    const size_t at = output.find("str_main\t");
    if (at == std::string::npos) return {};
    return output.substr(at, output.find('\n', at) - at);
  }

  ProgramFolder folder_;
  std::filesystem::path program_;
  Process process_;
};

TEST_F(Driver, WithoutAMouseItTriesTenTimesShowsTheNotFoundBoxAndEnds) {
  ASSERT_TRUE(Start({}, /*virtualMouse=*/false));
  HWND box = WaitForWindow({.title = kInfoTitle, .processId = process_.Id()}, milliseconds(20000));
  ASSERT_NE(box, nullptr) << "no message box";
  const auto waited = std::chrono::steady_clock::now() - process_.StartTime();
  // Two bootloader checks (1 s) and ten open attempts 500 ms apart come first.
  EXPECT_GE(waited, milliseconds(1000 + 9 * 500));
  EXPECT_TRUE(IsCountdownBox(box)) << "the message closes itself";
  std::this_thread::sleep_for(milliseconds(300));  // painted
  EXPECT_EQ(CaptureClient(box, kMessageBody), ReferenceMessageBody(u"The NX7 gaming mouse cannot be found."));
  EXPECT_TRUE(SaveScreenshot(box, L"not_found_box").saved);
  HWND main = WaitForWindow({.title = kTitle, .processId = process_.Id(), .visibleOnly = false}, milliseconds(1000));
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_TRUE(TrayIconPresent(main));
  EXPECT_TRUE(process_.WaitForExit(milliseconds(10000)).has_value()) << "still running after the box";
  EXPECT_TRUE(ProcessesOf(program_).empty());
  EXPECT_FALSE(TrayIconPresent(main));
}

TEST_F(Driver, ASecondStartLeavesOneProcessAndShowsTheFirstWindow) {
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  ClickClient(main, kClose);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, milliseconds(3000)));
  Process second;
  ASSERT_TRUE(Start({}, true, &second));
  EXPECT_TRUE(second.WaitForExit(milliseconds(10000)).has_value()) << "the second instance stays";
  EXPECT_EQ(ProcessesOf(program_), std::vector<DWORD>{process_.Id()});
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, milliseconds(3000)));
}

TEST_F(Driver, ApplyOnTheDefaultProfileSendsWhatNx7ctlSendsAndSavesTheProfile) {
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  const size_t before = SettledTrace().size();
  ASSERT_TRUE(folder_.Exists("Profile/Profile1.cfg")) << "the first start writes the default profile";
  ApplyThroughProgressDialog(main, L"progress_dialog");
  EXPECT_TRUE(LastProgressBarFull()) << "the bar did not reach 100 %: " << LastProgressBarRow();
  EXPECT_TRUE(InfoBoxes().empty()) << "a failure was shown";
  const std::vector<std::string> sent = Reports(SettledTrace(), before);
  EXPECT_FALSE(sent.empty());

  EXPECT_EQ(folder_.Read("Profile/Profile1.cfg").size(), kSettingsBlockSize);
  const auto table = SavedSlotTable([](const std::vector<BYTE>& t) { return t[4] == 1; });
  ASSERT_TRUE(table.has_value()) << "ConfigInfo not written";
  ASSERT_EQ(table->size(), 8000u);
  EXPECT_EQ((*table)[0], 0xBE);  // slot 0: signature 0xBEBE, active
  EXPECT_EQ((*table)[1], 0xBE);
  EXPECT_EQ((*table)[4], 1);

  EXPECT_EQ(sent, Nx7ctlApplyReports("Profile/Profile1.cfg"));
}

TEST_F(Driver, AFailingCommandEndsTheDialogAndShowsTheStageFailure) {
  HWND main = StartAndShow({L"--fail-command", L"11"});  // the DPI table
  ASSERT_NE(main, nullptr);
  ApplyThroughProgressDialog(main);
  ASSERT_FALSE(lastProgressBar_.empty()) << "the bar was never seen";
  EXPECT_FALSE(LastProgressBarFull()) << "a pass that failed reached 100 %: " << LastProgressBarRow();
  HWND box = WaitForWindow({.title = kInfoTitle, .processId = process_.Id()}, milliseconds(5000));
  ASSERT_NE(box, nullptr) << "no failure message";
  EXPECT_TRUE(SaveScreenshot(box, L"download_failed_box").saved);
  EXPECT_FALSE(IsCountdownBox(box)) << "a failure waits for OK";
  const std::vector<COLORREF> shown = CaptureClient(box, kMessageBody);
  EXPECT_EQ(shown, ReferenceMessageBody(u"Write mouse DPI failed."));
  EXPECT_NE(shown, ReferenceMessageBody(u"Write mouse LED color failed."));  // the comparison tells texts apart
  // The failure leaves the profile as it was: no ConfigInfo slot marked by a download.
  const auto table = ReadRegistryBinary(HKEY_LOCAL_MACHINE, kKey, L"ConfigInfo");
  ASSERT_TRUE(table.has_value());
  EXPECT_TRUE(std::all_of(table->begin(), table->end(), [](BYTE b) { return b == 0; }));
  PostMessageW(box, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return InfoBoxes().empty(); }, milliseconds(3000)));
  EXPECT_TRUE(process_.Running());
}

TEST_F(Driver, WithTheBootloaderPresentTheFlasherGetsExactlyVornaAndNoWindowShows) {
  ASSERT_TRUE(Start({L"--virtual-bootloader"}));
  // Watched for the whole run: the main window never shows.
  bool shown = false;
  const bool ended = WaitUntil(
      [&] {
        shown = shown || !FindWindows({.title = kTitle, .processId = process_.Id()}).empty();
        return !process_.Running();
      },
      milliseconds(10000));
  EXPECT_TRUE(ended);
  EXPECT_FALSE(shown);
  // The flasher is started without waiting for it: its line may come after the program's end.
  EXPECT_TRUE(WaitUntil([&] { return !folder_.StandInLines().empty(); }, milliseconds(10000)));
  std::this_thread::sleep_for(milliseconds(500));  // a second start would show by now
  EXPECT_EQ(folder_.StandInLines(), std::vector<std::string>{"1 [-VORNA]"});
}

TEST_F(Driver, UnpluggingTheMouseWhileIdleShowsTheMessageAndEnds) {
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(main); }, milliseconds(3000)));
  // The program's --virtual-only message: the virtual mouse leaves (wParam 0) and the window
  // gets the removal through its WM_DEVICECHANGE handling.
  PostMessageW(main, kVirtualPlug, 0, 0);
  HWND box = WaitForWindow({.title = kInfoTitle, .processId = process_.Id()}, milliseconds(5000));
  ASSERT_NE(box, nullptr) << "no message after the removal";
  EXPECT_TRUE(IsCountdownBox(box)) << "the message closes itself";
  std::this_thread::sleep_for(milliseconds(300));  // painted
  EXPECT_EQ(CaptureClient(box, kMessageBody), ReferenceMessageBody(u"The NX7 gaming mouse cannot be found."));
  EXPECT_TRUE(process_.Running());
  // The box counts down five seconds; then the program ends.
  EXPECT_TRUE(process_.WaitForExit(milliseconds(15000)).has_value()) << "still running after the message";
  EXPECT_TRUE(ProcessesOf(program_).empty());
  EXPECT_FALSE(TrayIconPresent(main));
}

TEST_F(Driver, AWheelForwardSetToAProgramLaunchRunsItOncePerStep) {
  const auto target = folder_.Add(BuildFiles::StandIn(), std::filesystem::path("launch") / "target.exe");
  WriteProfile(0, ProfileImage(1, target.wstring()));
  // The updater, started three seconds after the window shows, would log a run of its own.
  std::filesystem::remove(folder_.Path() / "vorna_update" / "VornaUpdate.exe");
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  ApplyThroughProgressDialog(main);  // the wheel-forward steps are intercepted from now on
  ASSERT_TRUE(InfoBoxes().empty());
  EXPECT_EQ(LaunchesOfWheelSteps(folder_, 3), (std::vector<std::string>(3, "0")));
}

// The menu chooses the entry lit under the pointer when the button comes up, so each click waits
// for the light, as a person's does: injected moves reach the menu in the program's own time.
TEST_F(Driver, ChoosingEachLanguageReloadsTheCatalogueAndTheFlag) {
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  std::map<int, std::vector<COLORREF>> flags, hints, tabs;
  for (int language = 1; language <= 12; ++language) {
    SCOPED_TRACE("language " + std::to_string(language));
    HWND menu = nullptr;
    POINT entry{};
    bool lit = false;
    // A person whose menu closed at once (see below) opens it again: up to three tries.
    for (int attempt = 0; attempt < 3 && !lit; ++attempt) {
      // The closed menu leaves the activation to the window manager, which gives it back to the
      // main window in its own time; a menu opened before that arrives would lose it at once and
      // close. A person's click lands on an active window.
      ASSERT_TRUE(ActivateWindow(main));
      std::this_thread::sleep_for(milliseconds(200 + 300 * attempt));
      ClickClient(main, kLanguageButton);
      menu = LanguageMenu(milliseconds(3000));
      ASSERT_NE(menu, nullptr) << "the language menu did not open";
      if (language == 1 && attempt == 0) {
        EXPECT_TRUE(SaveScreenshot(menu, L"language_menu").saved);
      }
      // Entries are 22 pixels high from y 6, the text right of a 25-pixel icon column.
      // As a person does: onto the entry, and the click once it is lit.
      entry = {58, 6 + 22 * (language - 1) + 11};
      ClientToScreen(menu, &entry);
      const RECT topRow{entry.x, entry.y - 10, entry.x + 1, entry.y - 9};
      const std::vector<COLORREF> unlit = CaptureScreenPixels(topRow);
      MoveCursorTo({entry.x - 8, entry.y});
      MoveCursorTo(entry);
      lit = WaitUntil([&] { return CaptureScreenPixels(topRow) != unlit || !IsWindowVisible(menu); },
                      milliseconds(3000)) &&
            IsWindowVisible(menu);
      if (!lit && IsWindow(menu)) PostMessageW(menu, WM_CLOSE, 0, 0);
    }
    ASSERT_TRUE(lit) << "the entry was not lit";
    ClickScreen(entry);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, milliseconds(3000)));
    EXPECT_TRUE(WaitUntil([&] { return SavedLanguage() == language; }, milliseconds(3000)));
    MoveCursorTo({0, 0});
    MoveCursorTo([&] { POINT p = kBesideTab1; ClientToScreen(main, &p); return p; }());
    std::this_thread::sleep_for(milliseconds(300));
    flags[language] = CaptureClient(main, kFlag);
    hints[language] = CaptureClient(main, kHintLine);
    tabs[language] = CaptureClient(main, kTabRow);
  }
  // Chinese and Trad.Chinese show the same flag; every other pair differs.
  EXPECT_EQ(flags[1], flags[12]);
  std::set<std::vector<COLORREF>> distinctFlags;
  for (auto& [language, flag] : flags) distinctFlags.insert(flag);
  EXPECT_EQ(distinctFlags.size(), 11u);
  // The hint line shows each language's own text: equal pictures exactly for equal texts.
  for (int a = 1; a <= 12; ++a) {
    for (int b = a + 1; b <= 12; ++b) {
      EXPECT_EQ(hints[a] == hints[b], MainHintText(a) == MainHintText(b)) << "languages " << a << " and " << b;
    }
  }
  // The tabs' labelled pictures are chosen when the buttons are made, from the skins' language:
  // no switch changes them.
  for (int language = 1; language <= 12; ++language) EXPECT_EQ(tabs[language], tabs[2]) << language;
}

TEST_F(Driver, ClickingOutsideTheLanguageMenuClosesItWithoutAChoice) {
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  ClickClient(main, kLanguageButton);
  HWND menu = LanguageMenu(milliseconds(3000));
  ASSERT_NE(menu, nullptr);
  ClickClient(main, {600, 300});
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, milliseconds(3000)));
  EXPECT_EQ(SavedLanguage(), kEnglish);
  // A fresh menu opens on the next click.
  ClickClient(main, kLanguageButton);
  EXPECT_NE(LanguageMenu(milliseconds(3000)), nullptr);
}

class DriverPages : public Driver, public ::testing::WithParamInterface<int> {};

TEST_P(DriverPages, TabsSwitchPagesAndOnlyPagesOneAndTwoKeepTheProfileButtons) {
  const int language = GetParam();
  SetLanguage(language);
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  const std::wstring prefix = language == kChinese ? L"main_zh_page" : L"main_en_page";
  std::set<HWND> seen;
  for (int page = 1; page <= 5; ++page) {
    SCOPED_TRACE("page " + std::to_string(page));
    ClickClient(main, kTab[page - 1]);
    std::vector<HWND> shown;
    ASSERT_TRUE(WaitUntil(
        [&] {
          shown = ShownPages(main);
          return shown.size() == 1 && !seen.count(shown[0]);
        },
        milliseconds(3000)))
        << shown.size() << " pages shown";
    seen.insert(shown[0]);
    const bool profiles = page <= 2;
    for (POINT p : kProfile) EXPECT_EQ(IsWindowEnabled(ControlAt(main, p)) != FALSE, profiles);
    EXPECT_EQ(IsWindowEnabled(ControlAt(main, kApply)) != FALSE, profiles);
    const Screenshot shot = SaveScreenshot(main, prefix + std::to_wstring(page));
    EXPECT_TRUE(shot.saved);
    EXPECT_EQ(shot.width, 959);
    EXPECT_EQ(shot.height, 639);
    EXPECT_GT(shot.distinctColors, 50u);
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, DriverPages, ::testing::Values(kEnglish, kChinese),
                         [](const auto& info) { return info.param == kChinese ? "Chinese" : "English"; });

TEST_F(Driver, ProfileButtonsSwitchTheProfileThatApplySends) {
  for (int slot = 0; slot < 5; ++slot) WriteProfile(slot, ProfileImage(1 + slot));
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  for (int slot : {2, 4}) {
    SCOPED_TRACE("slot " + std::to_string(slot));
    const RECT button{kProfile[slot].x - 20, kProfile[slot].y - 8, kProfile[slot].x + 20, kProfile[slot].y + 8};
    MoveCursorTo([&] { POINT p = kProfile[slot]; ClientToScreen(main, &p); return p; }());
    std::this_thread::sleep_for(milliseconds(200));  // the hover look is drawn
    const std::vector<COLORREF> unchecked = CaptureClient(main, button);
    ClickClient(main, kProfile[slot]);
    EXPECT_TRUE(WaitUntil([&] { return CaptureClient(main, button) != unchecked; }, milliseconds(2000)))
        << "the click on profile " << slot + 1 << " changed nothing on the button";
    EXPECT_TRUE(InfoBoxes().empty()) << "a message after switching";
    EXPECT_TRUE(SaveScreenshot(main, L"main_en_profile" + std::to_wstring(slot + 1)).saved);
    const size_t before = SettledTrace().size();
    EXPECT_EQ(SettledTrace().size(), before) << "a profile button changed the mouse";
    ApplyThroughProgressDialog(main);
    ASSERT_TRUE(InfoBoxes().empty());
    const auto table = SavedSlotTable([&](const std::vector<BYTE>& t) { return t[1600 * slot + 4] == 1; });
    ASSERT_TRUE(table && table->size() == 8000u);
    for (int k = 0; k < 5; ++k) EXPECT_EQ((*table)[1600 * k + 4], k == slot ? 1 : 0) << "slot " << k;
    EXPECT_EQ(Reports(SettledTrace(), before),
              Nx7ctlApplyReports(std::filesystem::path("Profile") / ("Profile" + std::to_string(slot + 1) + ".cfg")));
  }
  // On the macro page the profile buttons do nothing.
  ClickClient(main, kTab[2]);
  ClickClient(main, kProfile[1]);
  ClickClient(main, kTab[0]);
  ApplyThroughProgressDialog(main);
  std::this_thread::sleep_for(milliseconds(500));  // a wrong slot would be saved by now
  const auto table = SavedSlotTable([](const std::vector<BYTE>&) { return true; });
  ASSERT_TRUE(table && table->size() == 8000u);
  EXPECT_EQ((*table)[1600 * 4 + 4], 1);
  EXPECT_EQ((*table)[1600 * 1 + 4], 0);
}

// The lighting page's places as client points of the main window.
namespace lp = layout::lighting_page;
constexpr POINT kPageCorner{15, 128};
POINT OnPage(layout::Point p) { return {kPageCorner.x + p.x, kPageCorner.y + p.y}; }
POINT OnPage(const layout::Rect& r) { return OnPage(layout::Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2}); }
RECT PageArea() { return {kPageCorner.x, kPageCorner.y, kPageCorner.x + layout::kPageClient.width, kPageCorner.y + layout::kPageClient.height}; }

// The bytes after the command byte of the last feature report of `command`; for the colour table
// (09) the data packet that follows its header.
std::vector<int> LastCommand(const std::vector<std::string>& reports, int command) {
  char prefix[24];
  std::snprintf(prefix, sizeof prefix, "SET_FEATURE 07 %02x ", command);
  for (size_t i = reports.size(); i-- > 0;) {
    if (reports[i].rfind(prefix, 0) != 0) continue;
    const std::string& line = command == 0x09 && i + 1 < reports.size() ? reports[i + 1] : reports[i];
    const size_t from = command == 0x09 ? std::strlen("OUTPUT 07 ") : std::strlen(prefix);
    std::vector<int> bytes;
    for (size_t at = from; at + 2 <= line.size(); at += 3) bytes.push_back(std::stoi(line.substr(at, 2), nullptr, 16));
    return bytes;
  }
  return {};
}
std::vector<int> First(const std::vector<int>& bytes, size_t n) {
  return std::vector<int>(bytes.begin(), bytes.begin() + std::min(n, bytes.size()));
}
// The colour command's bytes (sub-command, green, red, blue) for a colour 0x00BBGGRR.
std::vector<int> ColourCommand(uint32_t colour) {
  return {1, int(colour >> 8 & 0xFF), int(colour & 0xFF), int(colour >> 16 & 0xFF)};
}

TEST_F(Driver, LightingPageChoicesReachTheMouseAndSurviveAProfileSwitchAndARestart) {
  // The controls sit where the skins the build made draw them.
  const bool zh = folder_.Read("skins/languagetype.ini").find("value=1") != std::string::npos;
  if (zh) SetLanguage(kChinese);
  WriteProfile(1, ProfileImage(1));  // profile 2: always on
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  ClickClient(main, kTab[1]);
  auto click = [&](POINT p) {
    ClickClient(main, p);
    std::this_thread::sleep_for(milliseconds(150));
  };
  // A click on a slider's track at `x` (page coordinates) and the value it chooses.
  auto clickSlider = [&](const layout::Rect& r, int x, int id) {
    const SliderRange range = *LightingSliderRange(id);
    click(OnPage(layout::Point{x, (r.top + r.bottom) / 2}));
    return slider::ValueFromClick(x, r.left, r.right, {range.min, range.max});
  };
  auto swatch3 = [&] {
    const POINT at = OnPage(lp::kSwatch3.pick(zh));
    return CaptureClient(main, {at.x, at.y, at.x + 1, at.y + 1}).at(0);
  };
  auto apply = [&] {
    const size_t before = SettledTrace().size();
    ApplyThroughProgressDialog(main);
    EXPECT_TRUE(InfoBoxes().empty()) << "a failure was shown";
    const std::vector<std::string> sent = Reports(SettledTrace(), before);
    // The whole download is what the saved profile gives. The profile is written once the
    // progress dialog has gone, in the program's own time.
    std::vector<std::string> fromProfile;
    WaitUntil(
        [&] {
          fromProfile = Nx7ctlApplyReports("Profile/Profile1.cfg");
          return fromProfile == sent;
        },
        milliseconds(5000));
    EXPECT_EQ(sent, fromProfile);
    for (size_t i = 0; i < std::min(sent.size(), fromProfile.size()); ++i) {
      if (sent[i] == fromProfile[i]) continue;
      ADD_FAILURE() << "first difference: " << sent[i] << " / " << fromProfile[i];
      break;
    }
    return sent;
  };
  constexpr int kColour = 0x0C, kEffect = 0x0D, kBody = 0x03, kTable = 0x09;

  // Always on, palette entry 5, brightness.
  click(OnPage(lp::kModeButtons[0].pick(zh)));
  click(OnPage(lp::PaletteButton(5, zh)));
  const layout::Rect brightness = lp::kBrightnessSlider.pick(zh);
  const int brightnessValue = clickSlider(brightness, brightness.right - 30, kBrightnessSliderId);
  EXPECT_EQ(swatch3(), COLORREF(0x00F927));
  std::vector<std::string> sent = apply();
  EXPECT_EQ(First(LastCommand(sent, kEffect), 4), (std::vector<int>{1, 1, brightnessValue, 1}));
  EXPECT_EQ(First(LastCommand(sent, kColour), 4), ColourCommand(0x00F927));
  EXPECT_EQ(First(LastCommand(sent, kBody), 1), std::vector<int>{0xA0});
  EXPECT_TRUE(LastCommand(sent, kTable).empty());

  // Breathing, frequency, the red slider.
  click(OnPage(lp::kModeButtons[1].pick(zh)));
  const layout::Rect frequency = lp::kFrequencySlider.pick(zh);
  const int frequencyValue = clickSlider(frequency, frequency.left + 20, kFrequencySliderId);
  const layout::Rect red = lp::kColourSliders[0].pick(zh);
  const int redValue = clickSlider(red, red.left + 90, kRedSliderId);
  const uint32_t breathing = 0x00F900 | uint32_t(redValue);
  EXPECT_EQ(swatch3(), COLORREF(breathing));
  sent = apply();
  EXPECT_EQ(First(LastCommand(sent, kEffect), 4), (std::vector<int>{1, 2, frequencyValue, 1}));
  EXPECT_EQ(First(LastCommand(sent, kColour), 4), ColourCommand(breathing));

  // The colour wheel: the colour the page shows at the click.
  const POINT wheelPoint = OnPage(layout::Point{800, 300});
  const COLORREF wheel = CaptureClient(main, {wheelPoint.x, wheelPoint.y, wheelPoint.x + 1, wheelPoint.y + 1}).at(0);
  click(wheelPoint);
  EXPECT_EQ(swatch3(), wheel);
  sent = apply();
  EXPECT_EQ(First(LastCommand(sent, kColour), 4), ColourCommand(wheel));

  // The modes without a parameter; with the lights off the body light goes off too.
  const struct {
    int mode;
    std::vector<int> effect;
    int body;
  } plain[] = {{3, {1, 3, 2, 3}, 0xA0}, {4, {1, 4, 10, 2}, 0xA0}, {6, {1, 0, 0, 0}, 0xB0}};
  for (const auto& p : plain) {
    SCOPED_TRACE("mode " + std::to_string(p.mode));
    click(OnPage(lp::kModeButtons[size_t(p.mode - 1)].pick(zh)));
    sent = apply();
    EXPECT_EQ(First(LastCommand(sent, kEffect), 4), p.effect);
    EXPECT_EQ(First(LastCommand(sent, kBody), 1), std::vector<int>{p.body});
    EXPECT_EQ(First(LastCommand(sent, kColour), 4), ColourCommand(wheel));  // colour 3 stays
  }

  // Symphony with its three colours: the box on, swatch 2 from the palette, speed 3, body light off.
  click(OnPage(lp::kModeButtons[4].pick(zh)));
  click(OnPage(lp::kColourCheck.pick(zh)));
  click(OnPage(lp::kSwatches[2].pick(zh)));
  click(OnPage(lp::PaletteButton(9, zh)));
  const layout::Rect speed = lp::kSpeedSlider.pick(zh);
  EXPECT_EQ(clickSlider(speed, speed.right - 2, kSpeedSliderId), 3);
  click(OnPage(lp::kBodyLightOff.pick(zh)));
  sent = apply();
  const std::vector<int> symphonyEffect{1, 5, 6, 1};
  const std::vector<int> symphonyTable{0xFF, 0, 0, 0xFF, 0, 0, 0x01, 0xC1, 0xFA};  // red, red, entry 9
  EXPECT_EQ(First(LastCommand(sent, kEffect), 4), symphonyEffect);
  EXPECT_EQ(First(LastCommand(sent, kTable), 9), symphonyTable);
  EXPECT_EQ(First(LastCommand(sent, kBody), 1), std::vector<int>{0xB0});
  const std::vector<std::string> lighting = sent;

  // Swatch 0 is the colour a reload of the page chooses in this mode.
  click(OnPage(lp::kSwatches[0].pick(zh)));
  // What the page shows, away from every control's hover look.
  auto shownPage = [&] {
    MoveCursorTo([&] { POINT p = OnPage(layout::Point{60, 430}); ClientToScreen(main, &p); return p; }());
    std::this_thread::sleep_for(milliseconds(400));
    return CaptureClient(main, PageArea());
  };
  const std::vector<COLORREF> shown = shownPage();
  EXPECT_TRUE(SaveScreenshot(main, zh ? L"lighting_zh_symphony" : L"lighting_en_symphony").saved);

  // Another profile shows its own lighting; coming back shows this one again.
  ClickClient(main, kProfile[1]);
  EXPECT_TRUE(WaitUntil([&] { return shownPage() != shown; }, milliseconds(3000))) << "profile 2 looks the same";
  ClickClient(main, kProfile[0]);
  EXPECT_TRUE(WaitUntil([&] { return shownPage() == shown; }, milliseconds(3000))) << "profile 1 came back changed";
  sent = apply();
  EXPECT_EQ(First(LastCommand(sent, kEffect), 4), symphonyEffect);
  EXPECT_EQ(First(LastCommand(sent, kTable), 9), symphonyTable);

  // A restart shows and sends the same.
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(process_.WaitForExit(milliseconds(10000)).has_value());
  main = StartAndShow();
  ASSERT_NE(main, nullptr);
  ClickClient(main, kTab[1]);
  EXPECT_TRUE(WaitUntil([&] { return shownPage() == shown; }, milliseconds(3000))) << "the restart changed the page";
  sent = apply();
  EXPECT_EQ(First(LastCommand(sent, kEffect), 4), symphonyEffect);
  EXPECT_EQ(First(LastCommand(sent, kTable), 9), symphonyTable);
  EXPECT_EQ(First(LastCommand(sent, kBody), 1), std::vector<int>{0xB0});
  EXPECT_EQ(First(LastCommand(sent, kColour), 4), ColourCommand(wheel));
}

TEST_F(Driver, CloseAndAltF4HideToTheTrayWhichBringsItBackAndExitsCleanly) {
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return TrayIconPresent(main); }, milliseconds(3000)));

  ClickClient(main, kClose);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, milliseconds(3000)));
  PostTrayMouse(main, kTrayMessage, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, milliseconds(3000)));

  ASSERT_TRUE(ActivateWindow(main));
  PressChord({VK_MENU, VK_F4});
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, milliseconds(3000)));
  EXPECT_TRUE(process_.Running());
  PostTrayMouse(main, kTrayMessage, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, milliseconds(3000)));

  // A menu opened while the window was still taking its activation back can close at once; a
  // person then right-clicks the icon again.
  HWND menu = nullptr;
  for (int attempt = 0; attempt < 3 && !menu; ++attempt) {
    PostTrayMouse(main, kTrayMessage, WM_RBUTTONUP);
    menu = WaitForWindow({.className = L"#32768"}, milliseconds(3000));
  }
  ASSERT_NE(menu, nullptr) << "no tray menu";
  EXPECT_TRUE(SaveScreenshot(menu, L"tray_menu").saved);
  RECT r{};
  GetWindowRect(menu, &r);
  const POINT exitItem{(r.left + r.right) / 2, r.top + (r.bottom - r.top) * 3 / 4};  // "Exit", the second item
  ClickScreen(exitItem);
  // A click Wine did not deliver leaves the menu open; a person clicks again.
  if (!process_.WaitForExit(milliseconds(2000)) && IsWindow(menu) && IsWindowVisible(menu)) ClickScreen(exitItem);
  EXPECT_TRUE(process_.WaitForExit(milliseconds(10000)).has_value());
  EXPECT_TRUE(ProcessesOf(program_).empty());
  EXPECT_FALSE(TrayIconPresent(main));
}

// ---------------------------------------------------------------------------------------------
// The support page (tab 5): its buttons in the main window's client coordinates (the page sits
// at 15, 128).
constexpr POINT kImportButton{15 + 179, 128 + 404};
constexpr POINT kExportButton{15 + 279, 128 + 404};
constexpr POINT kRestoreButton{15 + 829, 128 + 402};
// OK and Cancel of the program's two-button message box.
constexpr POINT kBoxOk{211, 143};
constexpr POINT kBoxCancel{278, 143};

class SupportPage : public Driver {
 protected:
  HWND ShowSupportPage() {
    HWND main = StartAndShow();
    if (!main) return nullptr;
    ClickClient(main, kTab[4]);
    const bool shown = WaitUntil([&] { return ShownPages(main).size() == 1 && CurrentPageIsSupport(main); },
                                 milliseconds(3000));
    if (!shown) ADD_FAILURE() << "the support page did not show";
    return main;
  }
  static bool CurrentPageIsSupport(HWND main) {
    // Only the support page has a control at the import button's place.
    HWND page = ShownPages(main).front();
    POINT p = kImportButton;
    MapWindowPoints(main, page, &p, 1);
    return ChildWindowFromPointEx(page, p, CWP_SKIPINVISIBLE) != page;
  }

  // The file-name box of a file dialog; none for other dialogs.
  static HWND FileNameBox(HWND dialog) {
    if (HWND combo = GetDlgItem(dialog, 0x47C)) {  // cmb13
      HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
      return edit ? edit : combo;
    }
    return GetDlgItem(dialog, 0x480);  // edt1
  }
  // The text of an edit box of the program (GetWindowText does not ask another process's edit).
  static std::wstring EditText(HWND edit) {
    wchar_t text[1024] = {};
    SendMessageW(edit, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
  }
  // A button of a dialog by its caption, without the '&' of its access key.
  static HWND ButtonLabelled(HWND dialog, const std::wstring& label) {
    for (HWND b = FindWindowExW(dialog, nullptr, L"Button", nullptr); b; b = FindWindowExW(dialog, b, L"Button", nullptr)) {
      std::wstring text = TitleOf(b);
      text.erase(std::remove(text.begin(), text.end(), L'&'), text.end());
      if (text == label && IsWindowVisible(b)) return b;
    }
    return nullptr;
  }
  static void ClickButton(HWND button) {
    RECT r{};
    GetClientRect(button, &r);
    ClickClient(button, {r.right / 2, r.bottom / 2});
  }
  // Does `act` (a click, a key) again while it shows no effect, as a person would: injected
  // input under Wine is now and then not delivered.
  static bool RepeatUntil(const std::function<void()>& act, const std::function<bool()>& done) {
    return WaitUntil(
        [&] {
          act();
          return WaitUntil(done, milliseconds(2000));
        },
        milliseconds(10000));
  }

  // Clicks the import or export button, types `path` into the file dialog's file-name box and
  // presses Enter; a question whether to replace an existing file is answered "Yes". Returns the
  // text of the "Info" box that follows, after clicking its OK.
  std::wstring TransferThroughFileDialog(HWND main, POINT button, const std::filesystem::path& path,
                                         const wchar_t* dialogScreenshot = nullptr) {
    HWND dialog = nullptr;
    RepeatUntil([&] { ClickClient(main, button); },
                [&] {
                  for (HWND w : FindWindows({.className = L"#32770", .processId = process_.Id()}))
                    if (FileNameBox(w)) dialog = w;
                  return dialog != nullptr;
                });
    if (!dialog) {
      ADD_FAILURE() << "no file dialog";
      return {};
    }
    HWND name = FileNameBox(dialog);
    // The dialog may still be filling its file list when it shows: the path is typed again
    // (after clearing the box as a person would) until the box holds it.
    const bool typed = WaitUntil(
        [&] {
          ActivateWindow(dialog);
          RECT r{};
          GetClientRect(name, &r);
          ClickClient(name, {r.right / 2, r.bottom / 2});
          PressChord({VK_END});
          PressChord({VK_SHIFT, VK_HOME});
          PressChord({VK_DELETE});
          TypeText(path.wstring());
          return WaitUntil([&] { return EditText(name) == path.wstring(); }, milliseconds(1000));
        },
        milliseconds(10000));
    EXPECT_TRUE(typed) << "the file-name box does not show the path";
    if (dialogScreenshot) {
      EXPECT_TRUE(SaveScreenshot(dialog, dialogScreenshot).saved);
    }
    // Enter goes to the foreground window: pressed again when the dialog missed it (it still
    // shows and nothing else opened), as a person presses it again.
    auto answered = [&] {
      if (!IsWindowVisible(dialog)) return true;
      for (HWND w : FindWindows({.className = L"#32770", .processId = process_.Id()}))
        if (w != dialog && w != main) return true;
      return false;
    };
    RepeatUntil(
        [&] {
          ActivateWindow(dialog);
          PressChord({VK_RETURN});
        },
        answered);
    HWND info = nullptr;
    WaitUntil(
        [&] {
          const std::vector<HWND> boxes = FindWindows({.title = L"Info", .className = L"#32770", .processId = process_.Id()});
          if (!boxes.empty()) {
            info = boxes.front();
            return true;
          }
          // The save dialog's question before replacing a file.
          for (HWND w : FindWindows({.className = L"#32770", .processId = process_.Id()})) {
            if (w == dialog) continue;
            if (HWND yes = ButtonLabelled(w, L"Yes")) {
              ++replaceQuestions_;
              RepeatUntil([&] { ClickButton(yes); }, [&] { return !IsWindow(w); });
            }
          }
          return false;
        },
        milliseconds(10000));
    if (!info) {
      ADD_FAILURE() << "no Info box";
      return {};
    }
    wchar_t text[1024] = {};
    GetDlgItemTextW(info, 0xFFFF, text, 1024);  // the message box's text
    HWND ok = ButtonLabelled(info, L"OK");
    EXPECT_NE(ok, nullptr);
    if (ok) {
      EXPECT_TRUE(RepeatUntil([&] { ClickButton(ok); }, [&] { return !IsWindow(info); }));
    }
    EXPECT_FALSE(IsWindow(dialog));
    return text;
  }

  // Follows a download's progress dialog from its appearance until it has closed.
  bool DownloadShownAndDone() {
    HWND progress = WaitForWindow({.title = kProgressTitle, .processId = process_.Id()}, milliseconds(5000));
    if (!progress) return false;
    return WaitUntil([&] { return !IsWindowVisible(progress); }, milliseconds(15000));
  }

  int replaceQuestions_ = 0;
};

std::string FileImage(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Whether two profile images are the same; where they differ otherwise (they are too long to print).
::testing::AssertionResult SameImage(const std::string& shown, const std::string& expected) {
  if (shown == expected) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < shown.size() && at < expected.size() && shown[at] == expected[at]) ++at;
  return ::testing::AssertionFailure() << shown.size() << " bytes against " << expected.size()
                                       << ", first difference at byte " << at;
}

TEST_F(SupportPage, ImportAndExportGoThroughTheSystemFileDialogs) {
  const std::filesystem::path bad = folder_.Path() / "files" / "bad.cfg";
  const std::filesystem::path good = folder_.Path() / "files" / "good.cfg";
  const std::filesystem::path exported = folder_.Path() / "files" / "exported.cfg";
  std::filesystem::create_directories(bad.parent_path());
  std::string wrongMagic = ProfileImage(3);
  wrongMagic[3] = char(0x81);
  std::ofstream(bad, std::ios::binary) << wrongMagic;
  const std::string imported = ProfileImage(4);
  std::ofstream(good, std::ios::binary) << imported << std::string(500, '\xAB');  // only 22252 bytes count

  HWND main = ShowSupportPage();
  ASSERT_NE(main, nullptr);
  const std::string before = folder_.Read("Profile/Profile1.cfg");
  ASSERT_EQ(before.size(), kSettingsBlockSize);
  ASSERT_NE(before, imported);

  EXPECT_EQ(TransferThroughFileDialog(main, kImportButton, bad, L"support_import_dialog"),
            bad.wstring() + L" is an invaild Profile!");
  EXPECT_EQ(TransferThroughFileDialog(main, kExportButton, exported), exported.wstring() + L" export success!");
  EXPECT_TRUE(SameImage(FileImage(exported), before)) << "the refused file changed the settings";

  EXPECT_EQ(TransferThroughFileDialog(main, kImportButton, good), good.wstring() + L" import success!");
  EXPECT_TRUE(SameImage(folder_.Read("Profile/Profile1.cfg"), before)) << "an import writes no profile file";
  EXPECT_EQ(replaceQuestions_, 0);
  EXPECT_EQ(TransferThroughFileDialog(main, kExportButton, exported, L"support_export_dialog"),
            exported.wstring() + L" export success!");
  EXPECT_EQ(replaceQuestions_, 1) << "replacing the earlier export was not asked";
  EXPECT_TRUE(SameImage(FileImage(exported), imported));

  // Applied, the imported settings reach the mouse and the profile file.
  const size_t sentBefore = SettledTrace().size();
  ClickClient(main, kTab[0]);
  ApplyThroughProgressDialog(main);
  EXPECT_TRUE(InfoBoxes().empty());
  EXPECT_TRUE(SameImage(folder_.Read("Profile/Profile1.cfg"), imported));
  EXPECT_EQ(Reports(SettledTrace(), sentBefore), Nx7ctlApplyReports("files/exported.cfg"));
}

TEST_F(SupportPage, RestoreDefaultsAsksAndOnlyOkRestoresAndDownloads) {
  WriteProfile(0, ProfileImage(4));
  HWND main = ShowSupportPage();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(SameImage(folder_.Read("Profile/Profile1.cfg"), ProfileImage(4)));
  const std::vector<COLORREF> question = ReferenceMessageBody(u"Do you want to restore the default setting?", false, true);
  const size_t sentBefore = SettledTrace().size();

  HWND box = nullptr;
  auto questionShown = [&] {
    const std::vector<HWND> boxes = InfoBoxes();
    box = boxes.empty() ? nullptr : boxes.front();
    return box != nullptr;
  };
  RepeatUntil([&] { ClickClient(main, kRestoreButton); }, questionShown);
  ASSERT_NE(box, nullptr) << "no question";
  std::this_thread::sleep_for(milliseconds(300));  // painted
  EXPECT_EQ(CaptureClient(box, kMessageBody), question);
  EXPECT_TRUE(SaveScreenshot(box, L"support_restore_question").saved);
  EXPECT_TRUE(RepeatUntil([&] { ClickClient(box, kBoxCancel); }, [&] { return InfoBoxes().empty(); }));
  std::this_thread::sleep_for(milliseconds(1000));  // a download would have begun by now
  EXPECT_TRUE(FindWindows({.title = kProgressTitle, .processId = process_.Id()}).empty());
  EXPECT_EQ(SettledTrace().size(), sentBefore) << "Cancel sent something to the mouse";

  RepeatUntil([&] { ClickClient(main, kRestoreButton); }, questionShown);
  ASSERT_NE(box, nullptr);
  std::this_thread::sleep_for(milliseconds(300));
  EXPECT_TRUE(RepeatUntil([&] { ClickClient(box, kBoxOk); }, [&] { return !IsWindow(box); }));
  EXPECT_TRUE(DownloadShownAndDone()) << "no download after OK";
  SettingsBlock defaults{};
  FillWithDefaults(defaults, false);
  const auto image = SerialiseSettingsBlock(defaults);
  EXPECT_TRUE(WaitUntil([&] { return folder_.Read("Profile/Profile1.cfg") == std::string(image.begin(), image.end()); },
                        milliseconds(3000)))
      << "the defaults were not saved after the download";
  EXPECT_EQ(Reports(SettledTrace(), sentBefore), Nx7ctlApplyReports("Profile/Profile1.cfg"));
}

class SupportPageLook : public SupportPage, public ::testing::WithParamInterface<int> {};

TEST_P(SupportPageLook, HoveringAButtonLightsItAndShowsItsHint) {
  const int language = GetParam();
  SetLanguage(language);
  HWND main = ShowSupportPage();
  ASSERT_NE(main, nullptr);
  const RECT button{kExportButton.x - 40, kExportButton.y - 12, kExportButton.x + 40, kExportButton.y + 12};
  MoveCursorTo([&] { POINT p{600, 300}; ClientToScreen(main, &p); return p; }());
  std::this_thread::sleep_for(milliseconds(300));
  const std::vector<COLORREF> plain = CaptureClient(main, button);
  const std::vector<COLORREF> noHint = CaptureClient(main, kHintLine);
  MoveCursorTo([&] { POINT p = kExportButton; ClientToScreen(main, &p); return p; }());
  EXPECT_TRUE(WaitUntil([&] { return CaptureClient(main, button) != plain; }, milliseconds(2000)))
      << "the button did not light";
  EXPECT_TRUE(WaitUntil([&] { return CaptureClient(main, kHintLine) != noHint; }, milliseconds(2000)))
      << "no hint";
  const Screenshot shot = SaveScreenshot(main, language == kChinese ? L"support_zh" : L"support_en");
  EXPECT_TRUE(shot.saved);
  EXPECT_GT(shot.distinctColors, 50u);
}

INSTANTIATE_TEST_SUITE_P(Languages, SupportPageLook, ::testing::Values(kEnglish, kChinese),
                         [](const auto& info) { return info.param == kChinese ? "Chinese" : "English"; });

}  // namespace
}  // namespace nx7::e2e
