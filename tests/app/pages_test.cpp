#include "app/pages_win32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "framework/ui_test_support.h"
#include "framework/ui_init.h"
#include "macros/input_hooks_virtual.h"
#include "device/virtual/virtual_mouse.h"
#include "platform/virtual/recording_poster.h"
#include "platform/virtual/recording_shell.h"
#include "platform/virtual/virtual_clock.h"
#include "platform/virtual/virtual_file_system.h"
#include "platform/virtual/virtual_registry.h"
#include "platform/win32/wide.h"
#include "skin/layout_win32.h"

namespace nx7::win32 {
namespace {

// The build tree's top folder, where the generated skins/ sit: the test program is in tests/app.
std::u16string BuildFolder() {
  wchar_t path[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  for (int up = 0; up < 3; ++up) p = p.substr(0, p.find_last_of(L'\\'));
  return FromWide(p);
}

std::unique_ptr<AppContext> MakeContext(const std::u16string& folder) {
  AppServices s;
  auto clock = std::make_unique<VirtualClock>(1000);
  // The statistics page's cursor thread pauses through the clock: pauses of real length keep it
  // from posting without end.
  clock->SetSleepListener([](uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); });
  s.clock = std::move(clock);
  s.files = std::make_unique<VirtualFileSystem>();
  s.registry = std::make_unique<VirtualRegistry>();
  s.ini = std::make_unique<FileIniFile>();
  s.hid = std::make_unique<VirtualMouse>();
  s.hookInstaller = std::make_unique<VirtualHookInstaller>();
  s.poster = std::make_unique<RecordingPoster>();
  return std::make_unique<AppContext>(folder, std::move(s));
}

TEST(Pages, EachPageOpensOnItsTemplateInThePageAreaAndDrawsItsSkin) {
  InitUserInterface();
  const std::u16string folder = BuildFolder();
  auto app = MakeContext(folder);
  RecordingShell shell;
  test::RecordingWindow owner;
  ASSERT_TRUE(owner.Open(RECT{0, 0, 959, 639}));
  const struct {
    std::unique_ptr<CSkinPage> page;
    UINT templateId;
    const char16_t* picture;
  } pages[] = {
      {std::make_unique<CDlgMainSet>(*app), 103, u"NX7_Main_Normal.bmp"},
      {std::make_unique<CDlgLEDSet>(*app), 104, u"Light\\LedSet_normal.bmp"},
      {std::make_unique<CDlgMacro>(*app), 105, u"Macro_normal.bmp"},
      {std::make_unique<CDlgSts>(*app), 106, u"Sts_Normal.bmp"},
      {std::make_unique<CDlgSupport>(*app, shell), 107, u"support_normal.bmp"},
  };
  const RECT area = ToRect(layout::main_window::kPageArea);
  for (const auto& p : pages) {
    ASSERT_TRUE(p.page->CreatePage(owner, area)) << p.templateId;
    EXPECT_EQ(p.page->TemplateId(), p.templateId);
    EXPECT_TRUE(p.page->HasBackground()) << p.templateId;
    EXPECT_FALSE(::IsWindowVisible(*p.page));  // the main window decides which one shows
    RECT r{};
    ::GetWindowRect(*p.page, &r);
    ::MapWindowPoints(nullptr, owner, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, area.left);
    EXPECT_EQ(r.top, area.top);
    EXPECT_EQ(r.right - r.left, layout::kPageClient.width);
    EXPECT_EQ(r.bottom - r.top, layout::kPageClient.height);
    // The page shows its picture pixel for pixel (away from the support page's version texts).
    const SkinBitmap picture = LoadSkinBitmap(folder + u"\\skins\\" + p.picture);
    ASSERT_TRUE(picture) << p.templateId;
    const test::Pixels expected = test::ReadBitmap(picture.bitmap.Get());
    const test::Pixels shown = test::RenderClient(*p.page);
    for (POINT at : {POINT{5, 5}, POINT{400, 30}, POINT{900, 440}, POINT{100, 420}})
      EXPECT_EQ(shown.At(at.x, at.y), expected.At(at.x, at.y)) << p.templateId << " at " << at.x << "," << at.y;
  }
}

TEST(Pages, SupportPageShowsTheFirmwareVersionItIsGiven) {
  InitUserInterface();
  auto app = MakeContext(BuildFolder());
  test::RecordingWindow owner;
  ASSERT_TRUE(owner.Open(RECT{0, 0, 959, 639}));
  RecordingShell shell;
  CDlgSupport support(*app, shell);
  ASSERT_TRUE(support.CreatePage(owner, ToRect(layout::main_window::kPageArea)));
  const layout::Rect text = layout::support_page::kFirmwareVersion;
  auto changedPixels = [&](const test::Pixels& a, const test::Pixels& b) {
    int changed = 0;
    for (int y = text.top; y < text.top + 24; ++y)
      for (int x = text.left; x < text.left + 120; ++x) changed += a.At(x, y) != b.At(x, y);
    return changed;
  };
  const test::Pixels unknown = test::RenderClient(support);
  support.SetFirmwareVersionText(u"15");
  EXPECT_EQ(support.FirmwareVersionText(), u"15");
  const test::Pixels v015 = test::RenderClient(support);
  EXPECT_GT(changedPixels(unknown, v015), 20);  // "Unknown" became "V 0.1.5"
  support.SetFirmwareVersionText(u"");
  EXPECT_EQ(changedPixels(unknown, test::RenderClient(support)), 0);
}

TEST(Pages, MacroPageRecordToggleFollowsTheHooks) {
  InitUserInterface();
  auto app = MakeContext(BuildFolder());
  // A custom macro to record into: the toggle records into the selected macro.
  MacroEntry& entry = app->library()[0];
  entry.entrySize = kMacroEntryHeaderSize + 4;
  entry.entrySignature = kMacroEntrySignature;
  entry.macroId = 0x15000001;
  entry.repeatCount = 1;
  entry.eventCount = 1;
  entry.macroEvents[0] = MakeMacroEvent(MacroEventType::Press, 'A');
  test::RecordingWindow owner;
  ASSERT_TRUE(owner.Open(RECT{0, 0, 959, 639}));
  CDlgMacro macro(*app);
  EXPECT_FALSE(macro.Recording());
  macro.ToggleRecord();  // no window yet: nothing to record into
  EXPECT_FALSE(macro.Recording());
  ASSERT_TRUE(macro.CreatePage(owner, ToRect(layout::main_window::kPageArea)));
  macro.FillMacroList(21);
  macro.ToggleRecord();
  EXPECT_TRUE(macro.Recording());
  EXPECT_TRUE(app->hooks().RecordMode());
  macro.ToggleRecord();
  EXPECT_FALSE(macro.Recording());
  EXPECT_FALSE(app->hooks().RecordMode());
}

}  // namespace
}  // namespace nx7::win32
