// Shows the button settings dialog on each of its four pages, in English and in Chinese, with a
// choice made on each, and saves what the screen shows as <build>/screenshots/setting_*.png.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "buttons/setting_dlg_win32.h"
#include "common/text.h"
#include "device/virtual/virtual_mouse.h"
#include "framework/ui_init.h"
#include "framework/ui_test_support.h"
#include "macros/input_hooks_virtual.h"
#include "macros/macro_entry_fixture.h"
#include "platform/virtual/recording_poster.h"
#include "platform/virtual/recording_shell.h"
#include "platform/virtual/us_keyboard_layout.h"
#include "platform/virtual/virtual_clock.h"
#include "platform/virtual/virtual_file_system.h"
#include "platform/virtual/virtual_registry.h"
#include "platform/win32/wide.h"
#include "skin/layout_win32.h"

namespace nx7::win32 {
namespace {

namespace sd = layout::setting_dialog;
using test::PumpMessages;

std::u16string BuildFolder() { return FromWide(test::FolderAboveProgram(3)); }

void Click(HWND button) {
  ::SendMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  PumpMessages();
}

void ClickRow(CListBoxEx& list, int row) {
  RECT item{};
  list.Send(LB_GETITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&item));
  const LPARAM at = MAKELPARAM(item.left + 20, (item.top + item.bottom) / 2);
  list.Send(WM_LBUTTONDOWN, MK_LBUTTON, at);
  list.Send(WM_LBUTTONUP, 0, at);
  PumpMessages();
}

// The pixels of `r` (dialog client coordinates) in a picture of the dialog.
std::vector<COLORREF> Area(const test::Pixels& p, const layout::Rect& r) {
  std::vector<COLORREF> out;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) out.push_back(p.At(x, y));
  return out;
}

TEST(SettingScreenshots, EachPageInBothLanguages) {
  InitUserInterface();
  const SkinBitmap background = LoadSkinBitmap(BuildFolder() + u"\\skins\\setting\\Setting_Normal.bmp");
  ASSERT_TRUE(background) << "the generated skins are missing";
  const test::Pixels skin = test::ReadBitmap(background.bitmap.Get());

  for (bool chinese : {false, true}) {
    AppServices s;
    s.clock = std::make_unique<VirtualClock>(1000);
    s.files = std::make_unique<VirtualFileSystem>();
    s.registry = std::make_unique<VirtualRegistry>();
    s.ini = std::make_unique<FileIniFile>();
    s.hid = std::make_unique<VirtualMouse>();
    s.hookInstaller = std::make_unique<VirtualHookInstaller>();
    s.poster = std::make_unique<RecordingPoster>();
    AppContext app(BuildFolder(), std::move(s));
    app.model().chineseText = chinese;
    FillWithDefaults(app.settings(), chinese);
    LoadStringCatalogue(app.catalogue(), app.xml(),
                        std::filesystem::path(Wide(BuildFolder() + (chinese ? u"\\Language\\sc.xml" : u"\\Language\\en.xml"))));
    app.library()[0] = testing::StoredMacro(0x15000001, chinese ? u"连发" : u"Rapid fire", {testing::Press('F')});
    app.library()[1] = testing::StoredMacro(0x15000002, chinese ? u"跳蹲" : u"Jump crouch", {testing::Press(' ')});
    test::RecordingWindow owner;
    ASSERT_TRUE(owner.Open(RECT{20, 20, 20 + 959, 20 + 639}));
    RecordingShell shell;
    UsKeyboardLayout layout;

    const wchar_t* names[] = {L"combo", L"macro", L"base", L"advanced"};
    for (int p = 0; p < kSettingPageCount; ++p) {
      const std::u16string current = TextFromField(app.settings().buttons[3].displayName, kTextFieldLength);
      CSettingDlg dialog(app, shell, layout, owner, 3, current);
      ASSERT_TRUE(dialog.Create(owner));
      ::ShowWindow(dialog, SW_SHOW);
      ::SetForegroundWindow(dialog);
      PumpMessages();
      const SettingPage page = SettingPage(p);
      Click(dialog.Tab(page));
      switch (page) {
        case SettingPage::kCombination:
          Click(dialog.ComboPage().ModifierBox(Modifier::kCtrl));
          dialog.ComboPage().Send(WM_MACRO_INPUT, 'A', 0);
          break;
        case SettingPage::kMacro:
          ClickRow(dialog.MacroPage().CategoryList(), 20);
          ClickRow(dialog.MacroPage().MacroList(), 1);
          break;
        case SettingPage::kBasic: ClickRow(dialog.BasePage().List(), 2); break;
        case SettingPage::kLaunch:
          shell.QueueFileChoice(u"C:\\Program Files\\Game\\game.exe");
          Click(dialog.AdvancePage().BrowseButton(1));
          break;
      }
      ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      PumpMessages();
      ::Sleep(150);
      PumpMessages();
      ::GdiFlush();
      RECT r{};
      ::GetWindowRect(dialog, &r);
      Bitmap shot = test::CaptureScreen(r);
      const std::wstring file = test::FolderAboveProgram(3) + L"\\screenshots\\setting_" + names[p] +
                                (chinese ? L"_zh.png" : L"_en.png");
      EXPECT_TRUE(test::SavePng(shot.Get(), file));
      const test::Pixels pixels = test::ReadBitmap(shot.Get());
      ASSERT_EQ(pixels.width, sd::kClient.width);
      ASSERT_EQ(pixels.height, sd::kClient.height);
      // The texts are drawn over the skin: the title and the current function differ from it.
      EXPECT_NE(Area(pixels, sd::kTitle), Area(skin, sd::kTitle)) << p << chinese;
      EXPECT_NE(Area(pixels, sd::kCurrentFunction), Area(skin, sd::kCurrentFunction)) << p << chinese;
      // The chosen page covers the page area.
      EXPECT_NE(Area(pixels, sd::kPageArea), Area(skin, sd::kPageArea)) << p << chinese;
      dialog.DestroyWindow();
      PumpMessages();
    }
  }
}

}  // namespace
}  // namespace nx7::win32
