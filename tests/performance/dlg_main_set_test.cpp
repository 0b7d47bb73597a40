#include "performance/dlg_main_set_win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/messages.h"
#include "device/virtual/virtual_mouse.h"
#include "framework/ui_init.h"
#include "framework/ui_test_support.h"
#include "i18n/string_catalogue.h"
#include "macros/input_hooks_virtual.h"
#include "platform/virtual/recording_poster.h"
#include "platform/virtual/virtual_clock.h"
#include "platform/virtual/virtual_file_system.h"
#include "platform/virtual/virtual_registry.h"
#include "platform/win32/wide.h"
#include "skin/layout_win32.h"
#include "skin/menuex/menu_ex_library_win32.h"

namespace nx7::win32 {
namespace {

using test::ToolTipOf;

namespace pp = layout::performance_page;

// The build tree's top folder, where the generated skins/ sit: the test program is in
// tests/performance.
std::u16string BuildFolder() { return FromWide(test::FolderAboveProgram(3)); }

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

// The performance page shown in a window the size of the main window, at the page area.
struct ShownPage {
  std::unique_ptr<AppContext> app;
  test::RecordingWindow owner;
  std::unique_ptr<CDlgMainSet> page;

  explicit ShownPage(bool chineseLayout) : app(MakeContext(chineseLayout)) {
    InitUserInterface();
    EXPECT_TRUE(owner.Open(RECT{0, 0, 959, 639}));
    page = std::make_unique<CDlgMainSet>(*app);
    EXPECT_TRUE(page->CreatePage(owner, ToRect(layout::main_window::kPageArea)));
    ::ShowWindow(*page, SW_SHOW);
    ::UpdateWindow(*page);
    test::PumpMessages();
  }
  SettingsBlock& Block() const { return app->settings(); }
  HWND At(layout::Point p) const { return ::ChildWindowFromPointEx(*page, POINT{p.x, p.y}, CWP_SKIPINVISIBLE); }
  HWND At(const layout::Rect& r) const { return At(layout::Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2}); }
  void Click(const layout::Rect& r) const {
    ::SendMessageW(*page, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(At(r)));
  }
  // A press on input tab `i` as the mouse gives it (the tab reports the press itself).
  void PressTab(size_t i) const {
    const layout::Point inside{pp::kInputTabs[i].corners[0].x + 10, pp::kInputTabs[i].corners[0].y + 10};
    const HWND tab = At(inside);
    POINT p{inside.x, inside.y};
    ::MapWindowPoints(*page, tab, &p, 1);
    ::SendMessageW(tab, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    ::SendMessageW(tab, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    test::PumpMessages();
  }
  HWND Edit() const { return ::GetDlgItem(*page, kWheelLinesEditId); }
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

std::array<int32_t, kDpiLevelCount> LevelsOf(const SettingsBlock& block) {
  std::array<int32_t, kDpiLevelCount> l{};
  std::copy(std::begin(block.dpiLevels), std::end(block.dpiLevels), l.begin());
  return l;
}

size_t DpiButton(int value) {
  return size_t(std::find(pp::kDpiValues.begin(), pp::kDpiValues.end(), value) - pp::kDpiValues.begin());
}

TEST(PerformancePageWindow, EveryControlSitsAtItsPlaceInBothLayouts) {
  for (bool chinese : {false, true}) {
    SCOPED_TRACE(chinese ? "Chinese layout" : "English layout");
    ShownPage shown(chinese);
    std::vector<layout::Rect> places(pp::kDpiButtons.begin(), pp::kDpiButtons.end());
    places.insert(places.end(), pp::kReportRateButtons.begin(), pp::kReportRateButtons.end());
    for (const layout::Rect& r : {pp::kPointerSpeedSlider, pp::kPrecisionSwitch, pp::kSecondSlider}) places.push_back(r);
    for (const layout::LangRect* r : {&pp::kLinesOption, &pp::kLinesEdit, &pp::kLinesUp, &pp::kLinesDown, &pp::kScreenOption})
      places.push_back(r->pick(chinese));
    std::vector<HWND> seen;
    for (const layout::Rect& r : places) {
      const HWND control = shown.At(r);
      ASSERT_NE(control, nullptr);
      ASSERT_NE(control, shown.page->GetSafeHwnd()) << r.left << "," << r.top;
      EXPECT_TRUE(SameRect(shown.PlaceOf(control), r)) << r.left << "," << r.top;
      EXPECT_EQ(std::count(seen.begin(), seen.end(), control), 0) << r.left << "," << r.top;
      seen.push_back(control);
    }
    EXPECT_EQ(shown.At(pp::kLinesEdit.pick(chinese)), shown.Edit());
    // The tabs: each takes presses inside its outline only, so the strip between two tabs'
    // slants belongs to the one whose outline holds it.
    for (size_t i = 0; i < pp::kInputTabs.size(); ++i) {
      const layout::Quad& q = pp::kInputTabs[i];
      const HWND tab = shown.At(layout::Point{q.corners[0].x + 10, q.corners[0].y + 10});
      ASSERT_NE(tab, shown.page->GetSafeHwnd()) << i;
      EXPECT_EQ(std::count(seen.begin(), seen.end(), tab), 0) << i;
      seen.push_back(tab);
      // Its window is the bounding box of its outline's region.
      const auto corners = ToPoints(q);
      const Region outline = MakePolygonRegion(corners.data(), corners.size());
      RECT expected{};
      ::GetRgnBox(outline.Get(), &expected);
      const RECT box = shown.PlaceOf(tab);
      EXPECT_TRUE(::EqualRect(&box, &expected)) << i << ": " << box.left << "," << box.top << "," << box.right << "," << box.bottom;
      EXPECT_LE(std::abs(box.left - q.bounds().left), 1) << i;
      EXPECT_EQ(box.top, q.bounds().top) << i;
    }
  }
}

TEST(PerformancePageWindow, ButtonsTakeTheirTooltipsAndDpiButtonsShowTheirValues) {
  const bool zh = SkinsChinese();
  auto app = MakeContext(zh);
  LoadStringCatalogue(app->catalogue(), app->xml(), std::filesystem::path(Wide(BuildFolder() + u"\\Language\\en.xml")));
  ASSERT_FALSE(app->catalogue()[StringKey::str_dpiwant].empty());
  InitUserInterface();
  test::RecordingWindow owner;
  ASSERT_TRUE(owner.Open(RECT{0, 0, 959, 639}));
  CDlgMainSet page(*app);
  ASSERT_TRUE(page.CreatePage(owner, ToRect(layout::main_window::kPageArea)));
  auto at = [&](const layout::Rect& r) {
    return ::ChildWindowFromPointEx(page, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, 0);
  };
  const StringCatalogue& texts = app->catalogue();
  auto expectTexts = [&] {
    for (const layout::Rect& r : pp::kDpiButtons) EXPECT_EQ(ToolTipOf(at(r)), texts[StringKey::str_dpiwant]);
    for (const layout::Rect& r : pp::kReportRateButtons) EXPECT_EQ(ToolTipOf(at(r)), texts[StringKey::str_rollingrate]);
    EXPECT_EQ(ToolTipOf(at(pp::kPrecisionSwitch)), texts[StringKey::str_improveAccuracy]);
    EXPECT_EQ(ToolTipOf(at(pp::kLinesOption.pick(zh))), texts[StringKey::str_rollerColumn]);
    EXPECT_EQ(ToolTipOf(at(pp::kScreenOption.pick(zh))), texts[StringKey::str_rollerScreen]);
    EXPECT_EQ(ToolTipOf(at(pp::kLinesUp.pick(zh))), u"");
  };
  expectTexts();
  // Another language: the main window asks the page to take the new texts.
  const std::u16string english = texts[StringKey::str_dpiwant];
  LoadStringCatalogue(app->catalogue(), app->xml(), std::filesystem::path(Wide(BuildFolder() + u"\\Language\\sc.xml")));
  ASSERT_NE(texts[StringKey::str_dpiwant], english);
  page.RefreshToolTips();
  expectTexts();
  for (size_t i = 0; i < pp::kDpiButtons.size(); ++i) {
    auto* button = dynamic_cast<CGDIBitmapBtn*>(CWnd::FromHandle(at(pp::kDpiButtons[i])));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(test::Narrow(button->GetText()), std::to_string(pp::kDpiValues[i]));
  }
}

// The pictures a button of the page shows: pieces of the page's normal or pressed picture.
struct Pictures {
  SkinBitmap normal = LoadSkinBitmap(BuildFolder() + u"\\skins\\NX7_Main_Normal.bmp");
  SkinBitmap down = LoadSkinBitmap(BuildFolder() + u"\\skins\\NX7_Main_Down.bmp");
  std::vector<COLORREF> Piece(bool pressed, const layout::Rect& r) const {
    const Bitmap piece = CutBitmap((pressed ? down : normal).bitmap.Get(), r.left, r.top, r.right, r.bottom);
    return test::ReadBitmap(piece.Get()).data;
  }
};

TEST(PerformancePageWindow, ClicksWriteTheBlockAndTheButtonsShowIt) {
  const bool zh = SkinsChinese();
  ShownPage shown(zh);
  const Pictures pictures;
  ASSERT_TRUE(pictures.normal && pictures.down);
  SettingsBlock& block = shown.Block();
  auto looksPressed = [&](const layout::Rect& r) {
    const std::vector<COLORREF> drawn = test::RenderClient(shown.At(r)).data;
    EXPECT_TRUE(drawn == pictures.Piece(true, r) || drawn == pictures.Piece(false, r)) << "neither picture";
    return drawn == pictures.Piece(true, r);
  };
  // A DPI button writes its value over the picture: its left end, clear of the text, tells.
  auto dpiPressed = [&](size_t b) {
    const layout::Rect r = pp::kDpiButtons[b];
    const layout::Rect end{r.left, r.top, r.left + 6, r.bottom};
    const test::Pixels drawn = test::RenderClient(shown.At(r));
    std::vector<COLORREF> left;
    for (int y = 0; y < r.height(); ++y)
      for (int x = 0; x < 6; ++x) left.push_back(drawn.At(x, y));
    EXPECT_TRUE(left == pictures.Piece(true, end) || left == pictures.Piece(false, end)) << "neither picture";
    EXPECT_NE(pictures.Piece(true, end), pictures.Piece(false, end));
    return left == pictures.Piece(true, end);
  };
  // The defaults: seven levels; an eighth is refused, a checked one goes.
  shown.Click(pp::kDpiButtons[DpiButton(5000)]);
  EXPECT_EQ(LevelsOf(block), (std::array<int32_t, 7>{750, 1250, 1500, 2000, 2500, 3500, 4000}));
  for (int value : {1500, 2000, 2500, 3500, 4000}) shown.Click(pp::kDpiButtons[DpiButton(value)]);
  shown.Click(pp::kDpiButtons[DpiButton(5000)]);
  EXPECT_EQ(LevelsOf(block), (std::array<int32_t, 7>{750, 1250, 5000, 0, 0, 0, 0}));
  for (size_t b = 0; b < kDpiButtonCount; ++b)
    EXPECT_EQ(dpiPressed(b), pp::kDpiValues[b] == 750 || pp::kDpiValues[b] == 1250 || pp::kDpiValues[b] == 5000) << b;
  EXPECT_TRUE(looksPressed(pp::kReportRateButtons[3]));  // 1000 Hz by default
  shown.Click(pp::kReportRateButtons[1]);
  EXPECT_EQ(block.reportRate, 4);
  EXPECT_TRUE(looksPressed(pp::kReportRateButtons[1]));
  EXPECT_FALSE(looksPressed(pp::kReportRateButtons[3]));
  EXPECT_FALSE(looksPressed(pp::kPrecisionSwitch));
  shown.Click(pp::kPrecisionSwitch);
  EXPECT_EQ(block.enhancePrecision, 1);
  EXPECT_TRUE(looksPressed(pp::kPrecisionSwitch));

  ::SendMessageW(*shown.page, WM_SLIDER_VALUE, 7, kSecondSliderId);
  EXPECT_EQ(block.sheightLevel, 7);
  EXPECT_EQ(block.pointerSpeed, 10);
  ::SendMessageW(*shown.page, WM_SLIDER_VALUE, 18, kPointerSpeedSliderId);
  EXPECT_EQ(block.pointerSpeed, 18);

  // A replaced block: the buttons and sliders follow it; values no button stands for leave the
  // group unchecked.
  block.dpiLevels[0] = 1750;
  block.dpiLevels[1] = 7000;
  block.reportRate = 3;
  block.pointerSpeed = 4;
  shown.page->Reload();
  for (size_t b = 0; b < kDpiButtonCount; ++b)
    EXPECT_EQ(dpiPressed(b), pp::kDpiValues[b] == 7000 || pp::kDpiValues[b] == 5000) << b;
  for (const layout::Rect& r : pp::kReportRateButtons) EXPECT_FALSE(looksPressed(r));
  auto* speed = dynamic_cast<CPngHSliderBar*>(CWnd::FromHandle(shown.At(pp::kPointerSpeedSlider)));
  ASSERT_NE(speed, nullptr);
  EXPECT_EQ(speed->GetPos(), 4);
}

TEST(PerformancePageWindow, WheelLinesFromTheBoxTheArrowsAndTheOptions) {
  const bool zh = SkinsChinese();
  ShownPage shown(zh);
  SettingsBlock& block = shown.Block();
  const HWND edit = shown.Edit();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(test::WindowText(edit), u"3");
  // Typed text is taken at the timer's tick (or the apply action's commit).
  const struct {
    const wchar_t* typed;
    const char16_t* shown;
    int stored;
  } typed[] = {{L"007", u"7", 7}, {L"45", u"30", 30}, {L"", u"1", 1}, {L"000", u"1", 1}, {L"12", u"12", 12}};
  for (const auto& t : typed) {
    const int before = block.wheelLines;
    ::SetWindowTextW(edit, t.typed);
    EXPECT_EQ(block.wheelLines, before) << "taken before the tick";
    ::SendMessageW(*shown.page, WM_TIMER, kWheelLinesTimerId, 0);
    EXPECT_EQ(test::WindowText(edit), t.shown);
    EXPECT_EQ(block.wheelLines, t.stored);
    DWORD start = 0, end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end, std::u16string(t.shown).size()) << "the caret is not at the end";
  }
  // Keys typed into the box: only digits get in.
  ::SetWindowTextW(edit, L"");
  for (wchar_t c : std::wstring(L"2a5")) ::SendMessageW(edit, WM_CHAR, c, 0);
  shown.page->CommitWheelLines();
  EXPECT_EQ(block.wheelLines, 25);

  // The arrows stop at 30 and 1.
  for (int i = 0; i < 8; ++i) shown.Click(pp::kLinesUp.pick(zh));
  EXPECT_EQ(block.wheelLines, 30);
  EXPECT_EQ(test::WindowText(edit), u"30");
  ::SetWindowTextW(edit, L"2");
  shown.page->CommitWheelLines();
  for (int i = 0; i < 3; ++i) shown.Click(pp::kLinesDown.pick(zh));
  EXPECT_EQ(block.wheelLines, 1);
  EXPECT_EQ(test::WindowText(edit), u"1");

  // One screen: the box and arrows are off and the timer leaves the block alone.
  shown.Click(pp::kScreenOption.pick(zh));
  EXPECT_EQ(block.wheelLines, -1);
  EXPECT_FALSE(::IsWindowEnabled(edit));
  EXPECT_FALSE(::IsWindowEnabled(shown.At(pp::kLinesUp.pick(zh))));
  ::SendMessageW(*shown.page, WM_TIMER, kWheelLinesTimerId, 0);
  EXPECT_EQ(block.wheelLines, -1);

  block.wheelLines = 9;
  shown.page->Reload();
  EXPECT_TRUE(::IsWindowEnabled(edit));
  EXPECT_EQ(test::WindowText(edit), u"9");
  block.wheelLines = -1;
  shown.page->Reload();
  EXPECT_EQ(test::WindowText(edit), u"1");
  EXPECT_FALSE(::IsWindowEnabled(edit));
  shown.Click(pp::kLinesOption.pick(zh));
  EXPECT_EQ(block.wheelLines, 1);
  EXPECT_TRUE(::IsWindowEnabled(edit));
  EXPECT_TRUE(::IsWindowEnabled(shown.At(pp::kLinesDown.pick(zh))));
}

TEST(PerformancePageWindow, ItsOwnTimerCommitsTheBox) {
  ShownPage shown(false);
  // The page started its timer at initialisation (KillTimer finds it); restarted with a short
  // period, its ticks commit the box.
  EXPECT_TRUE(::KillTimer(*shown.page, kWheelLinesTimerId));
  ::SetWindowTextW(shown.Edit(), L"0011");
  ASSERT_TRUE(::SetTimer(*shown.page, kWheelLinesTimerId, 50, nullptr));
  EXPECT_TRUE(test::PumpUntil([&] { return shown.Block().wheelLines == 11; }, 3000));
  EXPECT_EQ(test::WindowText(shown.Edit()), u"11");
}

TEST(PerformancePageWindow, InputTabsCallTheEditorAndShowWhichInputsAreChanged) {
  const bool zh = SkinsChinese();
  ShownPage shown(zh);
  SettingsBlock& block = shown.Block();
  auto tab = [&](size_t i) {
    const layout::Quad& q = pp::kInputTabs[i];
    return dynamic_cast<CIrrButton*>(CWnd::FromHandle(shown.At(layout::Point{q.corners[0].x + 10, q.corners[0].y + 10})));
  };
  for (size_t i = 0; i < kInputCount; ++i) {
    ASSERT_NE(tab(i), nullptr);
    EXPECT_FALSE(tab(i)->GetCheck()) << i;
  }
  // Without an editor a press does nothing.
  shown.PressTab(3);
  EXPECT_EQ(shown.page->EditedInput(), -1);
  for (size_t i = 0; i < kInputCount; ++i) EXPECT_FALSE(tab(i)->GetCheck()) << i;

  // An editor that gives the pressed input the right button's function and the right button
  // the pressed one's (as the dialog's swap rule may).
  std::vector<int> opened;
  int editedDuring = -2;
  shown.page->SetInputEditor([&](int input) {
    opened.push_back(input);
    editedDuring = shown.page->EditedInput();
    std::swap(block.buttons[size_t(input)].type, block.buttons[2].type);
    return true;
  });
  shown.PressTab(4);
  EXPECT_EQ(opened, std::vector<int>{4});
  EXPECT_EQ(editedDuring, 4);
  EXPECT_EQ(shown.page->EditedInput(), -1);
  for (size_t i = 0; i < kInputCount; ++i) EXPECT_EQ(tab(i)->GetCheck(), i == 4 || i == 2) << i;
  shown.PressTab(4);  // swapped back
  for (size_t i = 0; i < kInputCount; ++i) EXPECT_FALSE(tab(i)->GetCheck()) << i;
  EXPECT_EQ(opened, (std::vector<int>{4, 4}));

  // A replaced block marks its own.
  block.buttons[0].type = 6;
  shown.page->Reload();
  for (size_t i = 0; i < kInputCount; ++i) EXPECT_EQ(tab(i)->GetCheck(), i == 0) << i;
}

TEST(PerformancePageWindow, MovesOverItsControlsShowTheirHints) {
  const bool zh = SkinsChinese();
  ShownPage shown(zh);
  const struct {
    layout::Point over;
    LPARAM hint;
  } cases[] = {{{pp::kDpiButtons[9].left, pp::kDpiButtons[9].top}, 12},
               {{pp::kSecondSlider.left + 3, pp::kSecondSlider.top + 3}, 15},
               {{pp::kReportRateButtons[0].right, pp::kReportRateButtons[0].bottom}, 16},  // one pixel out
               {{pp::kScreenOption.pick(zh).left + 2, pp::kScreenOption.pick(zh).top + 2}, 18},
               {{600, 430}, 25}};
  for (const auto& c : cases) {
    shown.owner.Clear();
    ::SendMessageW(*shown.page, WM_MOUSEMOVE, 0, MAKELPARAM(c.over.x, c.over.y));
    test::PumpMessages();
    const auto hints = shown.owner.Received(WM_SHOW_HINT);
    ASSERT_EQ(hints.size(), 1u) << c.hint;
    EXPECT_EQ(hints[0].l, c.hint);
    EXPECT_EQ(hints[0].w, 0u);
  }
}

TEST(PerformancePageWindow, KeepsOnlyItsNormalPictureWholeAndStaysWithoutTheMenuLibrary) {
  InitUserInterface();
  const SharedBitmapUsage before = SharedBitmapsInUse();
  {
    ShownPage shown(false);
    EXPECT_EQ(SharedBitmapsInUse().pictures, before.pictures + 1);
    // The test program's folder has no MenuEx.dll: the page stays and shows.
    EXPECT_EQ(ProgramMenuExLibrary().State(), MenuExLibrary::Status::LibraryMissing);
    test::PumpMessages();
    EXPECT_TRUE(::IsWindow(*shown.page));
    EXPECT_TRUE(::IsWindowVisible(*shown.page));
  }
  EXPECT_EQ(SharedBitmapsInUse().pictures, before.pictures);
}

}  // namespace
}  // namespace nx7::win32
