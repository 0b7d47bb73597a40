#include "performance/dlg_led_set_win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/messages.h"
#include "device/virtual/virtual_mouse.h"
#include "framework/ui_init.h"
#include "i18n/string_catalogue.h"
#include "framework/ui_test_support.h"
#include "macros/input_hooks_virtual.h"
#include "platform/virtual/recording_poster.h"
#include "platform/virtual/virtual_clock.h"
#include "platform/virtual/virtual_file_system.h"
#include "platform/virtual/virtual_registry.h"
#include "platform/win32/wide.h"
#include "skin/layout_win32.h"

namespace nx7::win32 {
namespace {

using test::ToolTipOf;

namespace lp = layout::lighting_page;

// The build tree's top folder, where the generated skins/ sit: the test program is in
// tests/performance.
std::u16string BuildFolder() { return FromWide(test::FolderAboveProgram(3)); }

// Whether the build drew the skins in the Chinese layout: the tests that compare pictures use
// the layout of the pictures.
bool SkinsChinese() {
  const std::wstring ini = Wide(BuildFolder() + u"\\skins\\languagetype.ini");
  return ::GetPrivateProfileIntW(L"languagetype", L"value", 0, ini.c_str()) == 1;
}

std::unique_ptr<AppContext> MakeContext(bool chineseLayout) {
  AppServices s;
  s.clock = std::make_unique<VirtualClock>(1000);
  s.files = std::make_unique<VirtualFileSystem>();
  s.registry = std::make_unique<VirtualRegistry>();
  s.ini = std::make_unique<FileIniFile>();
  s.hid = std::make_unique<VirtualMouse>();
  s.hookInstaller = std::make_unique<VirtualHookInstaller>();
  s.poster = std::make_unique<RecordingPoster>();
  auto app = std::make_unique<AppContext>(BuildFolder(), std::move(s));
  app->model().chineseText = chineseLayout;
  FillWithDefaults(app->settings(), chineseLayout);
  return app;
}

// The lighting page shown in a window the size of the main window, at the page area.
struct ShownPage {
  std::unique_ptr<AppContext> app;
  test::RecordingWindow owner;
  std::unique_ptr<CDlgLEDSet> page;

  explicit ShownPage(bool chineseLayout) : app(MakeContext(chineseLayout)) {
    InitUserInterface();
    EXPECT_TRUE(owner.Open(RECT{0, 0, 959, 639}));
    page = std::make_unique<CDlgLEDSet>(*app);
    EXPECT_TRUE(page->CreatePage(owner, ToRect(layout::main_window::kPageArea)));
    ::ShowWindow(*page, SW_SHOW);
    ::UpdateWindow(*page);
    test::PumpMessages();
  }
  HWND At(const layout::Rect& r) const {
    return ::ChildWindowFromPointEx(*page, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, CWP_SKIPINVISIBLE);
  }
  void Click(const layout::Rect& r) const {
    ::SendMessageW(*page, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(At(r)));
  }
  RECT PlaceOf(HWND control) const {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, *page, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
};

bool SameRect(const RECT& a, const layout::Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(LightingPageWindow, ModeAndBodyLightButtonsTakeTheirTooltipsInTheCurrentLanguage) {
  const bool zh = SkinsChinese();
  auto app = MakeContext(zh);
  auto load = [&](const char16_t* file) {
    LoadStringCatalogue(app->catalogue(), app->xml(), std::filesystem::path(Wide(BuildFolder() + u"\\Language\\" + file)));
  };
  load(u"en.xml");
  ASSERT_FALSE(app->catalogue()[StringKey::str_ledspe].empty());
  InitUserInterface();
  test::RecordingWindow owner;
  ASSERT_TRUE(owner.Open(RECT{0, 0, 959, 639}));
  CDlgLEDSet page(*app);
  ASSERT_TRUE(page.CreatePage(owner, ToRect(layout::main_window::kPageArea)));
  auto at = [&](const layout::LangRect& r) {
    const layout::Rect p = r.pick(zh);
    return ::ChildWindowFromPointEx(page, POINT{(p.left + p.right) / 2, (p.top + p.bottom) / 2}, 0);
  };
  // By ledMode - 1.
  const StringKey modeKeys[] = {StringKey::str_led_brealways, StringKey::str_led_norbre, StringKey::str_led_apmbre,
                                StringKey::str_ledspe,        StringKey::str_led_symphony, StringKey::str_led_off};
  auto expectTexts = [&] {
    for (size_t m = 0; m < 6; ++m) EXPECT_EQ(ToolTipOf(at(lp::kModeButtons[m])), app->catalogue()[modeKeys[m]]) << m;
    EXPECT_EQ(ToolTipOf(at(lp::kBodyLightOn)), app->catalogue()[StringKey::str_led_body_on]);
    EXPECT_EQ(ToolTipOf(at(lp::kBodyLightOff)), app->catalogue()[StringKey::str_led_body_off]);
    EXPECT_EQ(ToolTipOf(at(lp::kColourCheck)), u"");
  };
  expectTexts();
  const std::u16string english = app->catalogue()[StringKey::str_led_off];
  load(u"sc.xml");
  ASSERT_NE(app->catalogue()[StringKey::str_led_off], english);
  page.RefreshToolTips();
  expectTexts();
}

TEST(LightingPageWindow, EveryControlSitsAtItsPlaceInBothLayouts) {
  for (bool chinese : {false, true}) {
    SCOPED_TRACE(chinese ? "Chinese layout" : "English layout");
    ShownPage shown(chinese);
    std::vector<layout::Rect> places;
    for (const auto& m : lp::kModeButtons) places.push_back(m.pick(chinese));
    for (const auto& s : lp::kSwatches) places.push_back(s.pick(chinese));
    for (const auto& s : lp::kColourSliders) places.push_back(s.pick(chinese));
    for (const layout::LangRect* r : {&lp::kFrequencySlider, &lp::kBrightnessSlider, &lp::kColourCheck, &lp::kSpeedSlider,
                                      &lp::kBodyLightOn, &lp::kBodyLightOff, &lp::kSwatch3})
      places.push_back(r->pick(chinese));
    for (int k = 0; k < lp::kPaletteCount; ++k) places.push_back(lp::PaletteButton(k, chinese));
    for (const layout::Rect& n : lp::kColourNumbers) places.push_back(n);
    std::vector<HWND> seen;
    for (const layout::Rect& r : places) {
      const HWND control = shown.At(r);
      ASSERT_NE(control, nullptr);
      ASSERT_NE(control, shown.page->GetSafeHwnd()) << r.left << "," << r.top;
      EXPECT_TRUE(SameRect(shown.PlaceOf(control), r)) << r.left << "," << r.top;
      EXPECT_EQ(std::count(seen.begin(), seen.end(), control), 0) << r.left << "," << r.top;
      seen.push_back(control);
    }
  }
}

TEST(LightingPageWindow, KeepsOnlyItsNormalPictureWhole) {
  InitUserInterface();
  const SharedBitmapUsage before = SharedBitmapsInUse();
  {
    ShownPage shown(false);
    const SharedBitmapUsage during = SharedBitmapsInUse();
    EXPECT_EQ(during.pictures, before.pictures + 1);
  }
  EXPECT_EQ(SharedBitmapsInUse().pictures, before.pictures);
}

// The pictures a button of the page shows: pieces of the page's normal or pressed picture.
struct Pictures {
  SkinBitmap normal = LoadSkinBitmap(BuildFolder() + u"\\skins\\Light\\LedSet_normal.bmp");
  SkinBitmap down = LoadSkinBitmap(BuildFolder() + u"\\skins\\Light\\LedSet_down.bmp");
  std::vector<COLORREF> Piece(bool pressed, const layout::Rect& r) const {
    const Bitmap piece = CutBitmap((pressed ? down : normal).bitmap.Get(), r.left, r.top, r.right, r.bottom);
    return test::ReadBitmap(piece.Get()).data;
  }
};

TEST(LightingPageWindow, ClicksWriteTheBlockAndTheControlsShowIt) {
  const bool zh = SkinsChinese();
  ShownPage shown(zh);
  const Pictures pictures;
  ASSERT_TRUE(pictures.normal && pictures.down);
  SettingsBlock& block = shown.app->settings();
  auto looksPressed = [&](const layout::Rect& r) {
    const std::vector<COLORREF> drawn = test::RenderClient(shown.At(r)).data;
    EXPECT_TRUE(drawn == pictures.Piece(true, r) || drawn == pictures.Piece(false, r)) << "neither picture";
    return drawn == pictures.Piece(true, r);
  };
  auto number = [&](size_t i) { return test::WindowText(shown.At(lp::kColourNumbers[i])); };
  const layout::Rect mode1 = lp::kModeButtons[0].pick(zh), mode5 = lp::kModeButtons[4].pick(zh);
  const layout::Rect palette5 = lp::PaletteButton(5, zh);
  EXPECT_TRUE(looksPressed(mode5));  // the default mode
  EXPECT_FALSE(looksPressed(mode1));
  EXPECT_FALSE(::IsWindowEnabled(shown.At(palette5)));

  shown.Click(mode1);
  EXPECT_EQ(block.ledMode, 1);
  EXPECT_TRUE(looksPressed(mode1));
  EXPECT_FALSE(looksPressed(mode5));
  EXPECT_TRUE(::IsWindowEnabled(shown.At(palette5)));

  shown.Click(palette5);
  EXPECT_EQ(block.ledColors[3], 0x00F927u);
  EXPECT_TRUE(looksPressed(palette5));
  const test::Pixels swatch = test::RenderClient(shown.At(lp::kSwatch3.pick(zh)));
  EXPECT_EQ(swatch.At(5, 5), COLORREF(0x00F927));
  EXPECT_EQ(number(0), u"39");
  EXPECT_EQ(number(1), u"249");

  ::SendMessageW(*shown.page, WM_SLIDER_VALUE, 16, kRedSliderId);
  EXPECT_EQ(block.ledColors[3], 0x00F910u);
  EXPECT_EQ(number(0), u"16");
  EXPECT_FALSE(looksPressed(palette5));

  shown.Click(lp::kBodyLightOff.pick(zh));
  EXPECT_EQ(block.bodyLight, 0);
  EXPECT_TRUE(looksPressed(lp::kBodyLightOff.pick(zh)));
  EXPECT_FALSE(looksPressed(lp::kBodyLightOn.pick(zh)));
}

// A press on the wheel takes the colour the page shows there: the page picture's pixel.
TEST(LightingPageWindow, WheelPickTakesThePagePicturesPixel) {
  const bool zh = SkinsChinese();
  ShownPage shown(zh);
  const Pictures pictures;
  const test::Pixels page = test::ReadBitmap(pictures.normal.bitmap.Get());
  SettingsBlock& block = shown.app->settings();
  block.ledMode = 2;
  shown.page->Reload();
  for (POINT at : {POINT{831, 323}, POINT{790, 300}, POINT{860, 370}, POINT{831, 266}}) {
    SCOPED_TRACE(std::to_string(at.x) + "," + std::to_string(at.y));
    block.ledColors[3] = 0x01020304;
    ::SendMessageW(*shown.page, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(block.ledColors[3], page.At(at.x, at.y));
    EXPECT_EQ(block.ledColorCustom[3], 1);
    EXPECT_EQ(test::RenderClient(shown.At(lp::kSwatch3.pick(zh))).At(3, 3), page.At(at.x, at.y));
  }
  // In the rectangle's corner, outside the wheel: nothing taken.
  block.ledColors[3] = 0x01020304;
  ::SendMessageW(*shown.page, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(773, 266));
  EXPECT_EQ(block.ledColors[3], 0x01020304u);
}

TEST(LightingPageWindow, MovesOverItsControlsShowTheirHints) {
  const bool zh = SkinsChinese();
  ShownPage shown(zh);
  const struct {
    layout::Rect over;
    LPARAM hint;
  } cases[] = {{lp::kModeButtons[3].pick(zh), 26}, {lp::kSpeedSlider.pick(zh), 36}, {lp::kColourSliders[2].pick(zh), 39}};
  for (const auto& c : cases) {
    shown.owner.Clear();
    ::SendMessageW(*shown.page, WM_MOUSEMOVE, 0, MAKELPARAM(c.over.left, c.over.top));
    test::PumpMessages();
    const auto hints = shown.owner.Received(WM_SHOW_HINT);
    ASSERT_EQ(hints.size(), 1u) << c.hint;
    EXPECT_EQ(hints[0].l, c.hint);
  }
}

}  // namespace
}  // namespace nx7::win32
