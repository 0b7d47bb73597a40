// The performance page of the real NX7Driver.exe under Wine, on the virtual mouse: DPI levels,
// report rate, pointer precision, both sliders and the wheel lines set by clicks and keys, then
// APPLY. What reaches the mouse is compared with what nx7ctl sends for the saved profile and for
// a profile written here holding the same settings; what reaches Windows is read back from the
// prefix's registry (HKCU\Control Panel), where the system keeps the pointer settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <span>
#include <fstream>
#include <thread>

#include "harness.h"
#include "program_e2e.h"
#include "performance/performance_page.h"
#include "skin/layout.h"
#include "skin/slider_rules.h"
#include "store/settings_block.h"

namespace nx7::e2e {
namespace {

namespace pp = layout::performance_page;

constexpr wchar_t kMouseKey[] = L"Control Panel\\Mouse";
constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

POINT OnPage(layout::Point p) { return {kPageCorner.x + p.x, kPageCorner.y + p.y}; }
POINT OnPage(const layout::Rect& r) { return OnPage(layout::Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2}); }
RECT PageArea() {
  return {kPageCorner.x, kPageCorner.y, kPageCorner.x + layout::kPageClient.width, kPageCorner.y + layout::kPageClient.height};
}

// Writes a bitmap as a 24-bit BMP file (the skin pictures' format).
bool SaveBmp(HBITMAP bitmap, const std::filesystem::path& file) {
  BITMAP info{};
  if (!GetObjectW(bitmap, sizeof info, &info)) return false;
  const int stride = (info.bmWidth * 3 + 3) & ~3;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = info.bmWidth;
  header.biHeight = info.bmHeight;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  std::vector<char> pixels(size_t(stride) * size_t(info.bmHeight));
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, UINT(info.bmHeight), pixels.data(),
                             reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != info.bmHeight) return false;
  BITMAPFILEHEADER fileHeader{};
  fileHeader.bfType = 0x4D42;
  fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
  fileHeader.bfSize = DWORD(fileHeader.bfOffBits + pixels.size());
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fileHeader), sizeof fileHeader);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(pixels.data(), std::streamsize(pixels.size()));
  return bool(out);
}

class PerformancePage : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(BuildFiles::Driver().empty()) << "NX7Driver.exe is not part of this build";
    ASSERT_TRUE(WaitUntil([] { return ProcessesNamed(L"NX7Driver.exe").empty(); }, milliseconds(10000)))
        << "an NX7Driver.exe from elsewhere is running";
    program_ = folder_.AddDriver();
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, kKey, L"ConfigInfo");
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, kKey, L"DefaultSetting");
    chineseSkins_ = folder_.Read("skins/languagetype.ini").find("value=1") != std::string::npos;
    SetLanguage(chineseSkins_ ? kChinese : kEnglish);
    // The test changes the prefix's pointer settings; they are put back afterwards.
    for (const auto& [key, value] : WindowsValues()) saved_.push_back(ReadRegistryString(HKEY_CURRENT_USER, key, value));
  }
  void TearDown() override {
    process_.Kill();
    const auto values = WindowsValues();
    for (size_t i = 0; i < values.size(); ++i)
      if (saved_.size() == values.size() && saved_[i]) WriteRegistryString(values[i].first, values[i].second, *saved_[i]);
  }

  static std::vector<std::pair<std::wstring, std::wstring>> WindowsValues() {
    return {{kMouseKey, L"MouseThreshold1"}, {kMouseKey, L"MouseThreshold2"}, {kMouseKey, L"MouseSpeed"},
            {kDesktopKey, L"WheelScrollLines"}};
  }
  static void WriteRegistryString(const std::wstring& key, const std::wstring& value, const std::wstring& data) {
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS) return;
    RegSetValueExW(k, value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   DWORD((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
  }
  // The pointer settings as Windows keeps them: the three SPI_SETMOUSE values and the wheel lines.
  // (Wine takes SPI_SETMOUSESPEED's value from another argument than the one Windows documents,
  // so the pointer speed is checked in the saved profile instead.)
  struct WindowsSettings {
    std::wstring threshold1, threshold2, acceleration, wheelLines;
    bool operator==(const WindowsSettings&) const = default;
  };
  static WindowsSettings ReadWindowsSettings() {
    auto read = [](const wchar_t* key, const wchar_t* value) {
      return ReadRegistryString(HKEY_CURRENT_USER, key, value).value_or(L"(none)");
    };
    return {read(kMouseKey, L"MouseThreshold1"), read(kMouseKey, L"MouseThreshold2"), read(kMouseKey, L"MouseSpeed"),
            read(kDesktopKey, L"WheelScrollLines")};
  }
  static std::string Show(const WindowsSettings& s) {
    std::wstring all = s.threshold1 + L"," + s.threshold2 + L"," + s.acceleration + L" " + s.wheelLines;
    return std::string(all.begin(), all.end());
  }

  static void SetLanguage(int id) { WriteRegistryBinary(HKEY_LOCAL_MACHINE, kLanguageKey, L"Language", {BYTE(id), 0, 0, 0}); }

  void WriteFile(const std::filesystem::path& relative, const SettingsBlock& block) {
    std::filesystem::create_directories((folder_.Path() / relative).parent_path());
    const auto image = SerialiseSettingsBlock(block);
    std::ofstream(folder_.Path() / relative, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
  }

  HWND StartAndShow() {
    return StartAndShowProgram(process_, folder_, program_,
                               {L"--virtual", L"--apply-pointer-settings", L"--trace", TraceFile().wstring()},
                               milliseconds(300));
  }
  void Restart(HWND& main) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(process_.WaitForExit(milliseconds(10000)).has_value());
    main = StartAndShow();
    ASSERT_NE(main, nullptr);
  }

  std::filesystem::path TraceFile() const { return folder_.Path() / "trace.txt"; }
  // The trace once nothing has been added to it for 600 ms (the download's last report follows
  // the closing of the progress dialog by a moment).
  std::vector<std::string> SettledTrace() const { return SettledLines(TraceFile()); }

  // APPLY, through the progress dialog until it has closed; the reports it sent.
  std::vector<std::string> Apply(HWND main) {
    const size_t before = SettledTrace().size();
    ClickClient(main, kApply);
    HWND progress = WaitForWindow({.title = kProgressTitle, .processId = process_.Id()}, milliseconds(5000));
    EXPECT_NE(progress, nullptr) << "no progress dialog after APPLY";
    if (progress) {
      EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(progress); }, milliseconds(15000)));
    }
    std::this_thread::sleep_for(milliseconds(300));
    EXPECT_TRUE(FindWindows({.title = kInfoTitle, .processId = process_.Id()}).empty()) << "a failure was shown";
    return Reports(SettledTrace(), before);
  }

  // The reports nx7ctl apply sends for `profile` (relative to the program folder).
  // `mustWork` off: a read that fails (the program still writing the file) gives nothing.
  std::vector<std::string> Nx7ctlApplyReports(const std::filesystem::path& profile, bool mustWork = true) const {
    return e2e::Nx7ctlApplyReports(folder_, profile, {}, mustWork);
  }
  // What the saved profile gives, once the program has written it (after the progress dialog).
  std::vector<std::string> SavedProfileReports(const std::vector<std::string>& sent) {
    std::vector<std::string> fromProfile;
    WaitUntil(
        [&] {
          fromProfile = Nx7ctlApplyReports("Profile/Profile1.cfg", false);
          return fromProfile == sent;
        },
        milliseconds(5000));
    return fromProfile.empty() ? Nx7ctlApplyReports("Profile/Profile1.cfg") : fromProfile;
  }

  // The lines box of the performance page (the page shown at start).
  static HWND LinesBox(HWND main) {
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (IsWindowVisible(child) && ClassOf(child) == L"#32770") return GetDlgItem(child, kWheelLinesEditId);
    return nullptr;
  }
  // The edit's own text (WM_GETTEXT is carried across processes).
  static std::wstring BoxText(HWND box) {
    wchar_t text[16] = {};
    SendMessageW(box, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(text));
    return text;
  }

  // The first byte where the saved profile differs from `expected`, or -1.
  long SavedProfileDifference(const SettingsBlock& expected) const {
    const std::string image = folder_.Read("Profile/Profile1.cfg");
    SettingsBlock saved{};
    DeserialiseSettingsBlock(std::span(reinterpret_cast<const uint8_t*>(image.data()), image.size()), saved);
    const auto a = SerialiseSettingsBlock(saved), b = SerialiseSettingsBlock(expected);
    const auto at = std::mismatch(a.begin(), a.end(), b.begin());
    return at.first == a.end() ? -1 : long(at.first - a.begin());
  }

  void Click(HWND main, POINT p) {
    ClickClient(main, p);
    std::this_thread::sleep_for(milliseconds(150));
  }
  // The page as shown, with the pointer away from every control's hover look.
  std::vector<COLORREF> ShownPage(HWND main) {
    POINT away = OnPage(layout::Point{880, 430});
    ClientToScreen(main, &away);
    MoveCursorTo(away);
    std::this_thread::sleep_for(milliseconds(400));
    return CaptureClient(main, PageArea());
  }

  ProgramFolder folder_;
  std::filesystem::path program_;
  Process process_;
  bool chineseSkins_ = false;
  std::vector<std::optional<std::wstring>> saved_;
};

TEST_F(PerformancePage, ChoicesReachTheMouseAndWindowsAndSurviveAProfileSwitchAndARestart) {
  const bool zh = chineseSkins_;
  SettingsBlock other{};
  FillWithDefaults(other, zh);
  other.pointerSpeed = 3;
  other.wheelLines = 5;
  WriteFile("Profile/Profile2.cfg", other);
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  const WindowsSettings before = ReadWindowsSettings();

  // DPI: the seven defaults refuse an eighth; three go, two come.
  auto dpi = [&](int value) {
    const size_t b = size_t(std::find(pp::kDpiValues.begin(), pp::kDpiValues.end(), value) - pp::kDpiValues.begin());
    Click(main, OnPage(pp::kDpiButtons[b]));
  };
  for (int value : {5000, 1500, 2500, 3500, 5000, 500}) dpi(value);
  Click(main, OnPage(pp::kReportRateButtons[1]));  // 250 Hz
  Click(main, OnPage(pp::kPrecisionSwitch));
  auto clickSlider = [&](const layout::Rect& r, int x, int id) {
    const SliderLimits range = *PerformanceSliderRange(id);
    Click(main, OnPage(layout::Point{x, (r.top + r.bottom) / 2}));
    return slider::ValueFromClick(x, r.left, r.right, {range.min, range.max});
  };
  const int speed = clickSlider(pp::kPointerSpeedSlider, pp::kPointerSpeedSlider.right - 40, kPointerSpeedSliderId);
  const int second = clickSlider(pp::kSecondSlider, pp::kSecondSlider.left + 30, kSecondSliderId);
  // The lines box: emptied and typed into; APPLY takes it.
  const HWND box = LinesBox(main);
  ASSERT_NE(box, nullptr);
  auto focused = [&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) && info.hwndFocus == box &&
           GetForegroundWindow() == main;
  };
  for (int attempt = 0; attempt < 3 && !focused(); ++attempt) {
    ActivateWindow(main);
    Click(main, OnPage(pp::kLinesEdit.pick(zh)));
  }
  ASSERT_TRUE(focused()) << "the click did not put the keyboard into the lines box";
  PressChord({VK_END});
  for (int i = 0; i < 3; ++i) PressChord({VK_BACK});
  TypeText(L"007");
  // Shown as typed, or as the page's four-second commit has already rewritten it.
  EXPECT_TRUE(WaitUntil([&] { return BoxText(box) == L"007" || BoxText(box) == L"7"; }, milliseconds(2000)))
      << std::string(BoxText(box).begin(), BoxText(box).end());

  SettingsBlock expected{};
  FillWithDefaults(expected, zh);
  const int32_t levels[7] = {500, 750, 1250, 2000, 4000, 5000, 0};
  std::copy(std::begin(levels), std::end(levels), expected.dpiLevels);
  expected.reportRate = 4;
  expected.enhancePrecision = 1;
  expected.pointerSpeed = speed;
  expected.sheightLevel = second;
  expected.wheelLines = 7;
  WriteFile("expected.cfg", expected);
  const std::vector<std::string> expectedReports = Nx7ctlApplyReports("expected.cfg");
  ASSERT_FALSE(expectedReports.empty());

  std::vector<std::string> sent = Apply(main);
  EXPECT_EQ(sent, expectedReports);
  EXPECT_EQ(sent, SavedProfileReports(sent));
  const WindowsSettings mine{L"6", L"10", L"1", L"7"};
  EXPECT_EQ(ReadWindowsSettings(), mine) << Show(ReadWindowsSettings()) << " (before: " << Show(before) << ")";
  // Every field the page wrote, the pointer speed and second slider too, is in the saved profile.
  EXPECT_EQ(SavedProfileDifference(expected), -1);
  EXPECT_EQ(BoxText(box), L"7");
  EXPECT_TRUE(SaveScreenshot(main, zh ? L"performance_zh" : L"performance_en").saved);

  // The arrows: three up.
  for (int i = 0; i < 3; ++i) Click(main, OnPage(pp::kLinesUp.pick(zh)));
  expected.wheelLines = 10;
  WriteFile("expected.cfg", expected);
  const std::vector<std::string> withArrows = Nx7ctlApplyReports("expected.cfg");
  sent = Apply(main);
  EXPECT_EQ(sent, withArrows);
  EXPECT_EQ(sent, SavedProfileReports(sent));
  const WindowsSettings mine10{L"6", L"10", L"1", L"10"};
  EXPECT_EQ(ReadWindowsSettings(), mine10) << Show(ReadWindowsSettings());
  EXPECT_EQ(SavedProfileDifference(expected), -1);
  const std::vector<COLORREF> shown = ShownPage(main);

  // Profile 2 shows and applies its own settings; profile 1 comes back as it was.
  Click(main, kProfile[1]);
  EXPECT_TRUE(WaitUntil([&] { return ShownPage(main) != shown; }, milliseconds(3000))) << "profile 2 looks the same";
  Apply(main);
  EXPECT_EQ(ReadWindowsSettings(), (WindowsSettings{L"0", L"0", L"0", L"5"})) << Show(ReadWindowsSettings());
  Click(main, kProfile[0]);
  EXPECT_TRUE(WaitUntil([&] { return ShownPage(main) == shown; }, milliseconds(3000))) << "profile 1 came back changed";
  EXPECT_EQ(Apply(main), withArrows);
  EXPECT_EQ(ReadWindowsSettings(), mine10) << Show(ReadWindowsSettings());

  // A restart shows and sends the same.
  Restart(main);
  EXPECT_TRUE(WaitUntil([&] { return ShownPage(main) == shown; }, milliseconds(3000))) << "the restart changed the page";
  EXPECT_EQ(Apply(main), withArrows);
  EXPECT_EQ(ReadWindowsSettings(), mine10) << Show(ReadWindowsSettings());
}

// One screen per notch reaches Windows; after a restart the box shows 1, and the lines option
// takes it.
TEST_F(PerformancePage, TheScreenOptionAndBackToLines) {
  const bool zh = chineseSkins_;
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  Click(main, OnPage(pp::kScreenOption.pick(zh)));
  SettingsBlock expected{};
  FillWithDefaults(expected, zh);
  expected.wheelLines = -1;
  WriteFile("expected.cfg", expected);
  std::vector<std::string> sent = Apply(main);
  EXPECT_EQ(sent, Nx7ctlApplyReports("expected.cfg"));
  EXPECT_EQ(sent, SavedProfileReports(sent));
  const std::wstring screen = ReadWindowsSettings().wheelLines;
  EXPECT_TRUE(screen == L"-1" || screen == L"4294967295") << std::string(screen.begin(), screen.end());
  // A restart shows the screen option with the box off; the lines option then stores 3 again.
  Restart(main);
  HWND box = LinesBox(main);
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(IsWindowEnabled(box));
  EXPECT_EQ(BoxText(box), L"1");
  Click(main, OnPage(pp::kLinesOption.pick(zh)));
  sent = Apply(main);
  EXPECT_TRUE(IsWindowEnabled(box));
  expected.wheelLines = 1;
  WriteFile("expected.cfg", expected);
  EXPECT_EQ(sent, Nx7ctlApplyReports("expected.cfg"));
  EXPECT_EQ(ReadWindowsSettings().wheelLines, L"1");
}

// The page loads the menu library when it is made; without the library the program runs on and
// the page stays in its place (the macro page says why its menu cannot open).
TEST_F(PerformancePage, WithoutTheMenuLibraryThePageStays) {
  std::filesystem::remove(folder_.Path() / "MenuEx.dll");
  ASSERT_FALSE(folder_.Exists("MenuEx.dll"));
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  std::this_thread::sleep_for(milliseconds(500));
  EXPECT_TRUE(process_.Running());
  const HWND box = LinesBox(main);
  ASSERT_NE(box, nullptr) << "no performance page shown";
  EXPECT_EQ(BoxText(box), L"3");
  // A click still reaches the page.
  Click(main, OnPage(pp::kLinesUp.pick(chineseSkins_)));
  EXPECT_TRUE(WaitUntil([&] { return BoxText(box) == L"4"; }, milliseconds(2000)));
  EXPECT_TRUE(IsWindow(main) && IsWindowVisible(main));
}

// Screenshots of the page in both layouts. A layout the build's skins were not drawn in takes
// the page's pictures from the program's own resources of that layout.
class PerformancePageLook : public PerformancePage, public ::testing::WithParamInterface<int> {};

TEST_P(PerformancePageLook, Screenshot) {
  const bool zh = GetParam() == kChinese;
  SetLanguage(GetParam());
  if (zh != chineseSkins_) {
    // The page's and the main window's pictures (normal, pressed, hover) and the skins' language,
    // which fixes the controls' places.
    namespace res = layout::resource;
    const int page = zh ? res::kPerformanceChinese : res::kPerformanceEnglish;
    const int window = zh ? res::kMainChinese : res::kMainEnglish;
    const std::array<int, 6> ids{page + 1, page, page + 2, window, window + 2, window + 1};
    const wchar_t* names[6] = {L"NX7_Main_Normal.bmp", L"NX7_Main_Down.bmp", L"NX7_Main_Over.bmp",
                               L"Main_Normal.bmp",     L"Main_Down.bmp",     L"Main_Over.bmp"};
    std::ofstream(folder_.Path() / "skins" / "languagetype.ini") << "[languagetype]\r\nvalue=" << (zh ? 1 : 0) << "\r\n";
    for (size_t i = 0; i < ids.size(); ++i) {
      HBITMAP picture = HBITMAP(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ids[i]), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
      ASSERT_NE(picture, nullptr) << ids[i];
      EXPECT_TRUE(SaveBmp(picture, folder_.Path() / "skins" / names[i]));
      DeleteObject(picture);
    }
  }
  SettingsBlock block{};
  FillWithDefaults(block, zh);
  block.buttons[3].type = 1;  // one marked tab
  block.wheelLines = 12;
  WriteFile("Profile/Profile1.cfg", block);
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  ShownPage(main);
  const Screenshot shot = SaveScreenshot(main, zh ? L"performance_page_zh" : L"performance_page_en");
  EXPECT_TRUE(shot.saved);
  EXPECT_GT(shot.distinctColors, 50u);
}

INSTANTIATE_TEST_SUITE_P(Languages, PerformancePageLook, ::testing::Values(kEnglish, kChinese),
                         [](const auto& info) { return info.param == kChinese ? "Chinese" : "English"; });

}  // namespace
}  // namespace nx7::e2e
