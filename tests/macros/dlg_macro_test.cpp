// The macro page as a window: its controls at their places, the lists filled from the library,
// and new, rename, record, repeat count and delete done through its buttons, lists and edits.
#include "macros/dlg_macro_win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "app/messages.h"
#include "device/virtual/virtual_mouse.h"
#include "framework/ui_init.h"
#include "framework/ui_test_support.h"
#include "macro_entry_fixture.h"
#include "macros/hook_messages.h"
#include "macros/input_hooks_virtual.h"
#include "platform/virtual/recording_poster.h"
#include "platform/virtual/virtual_clock.h"
#include "platform/virtual/virtual_file_system.h"
#include "platform/virtual/virtual_registry.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"
#include "skin/layout_win32.h"
#include "skin/list_box_rules.h"
#include "skin/menuex/menu_ex_library_win32.h"

namespace nx7::win32 {
namespace {

using test::WhileModal;
using test::ThreadWindow;
using test::ToolTipOf;

namespace mp = layout::macro_page;
using testing::Press;
using testing::Release;
using testing::StoredMacro;

// The build tree's top folder, where the generated skins/ sit: the test program is in tests/macros.
std::u16string BuildFolder() { return FromWide(test::FolderAboveProgram(3)); }

constexpr uint32_t kCustomA = 0x15000001, kCustomB = 0x15000002, kTf2 = 0x05000001;

// The macro page in a window the size of the main window, at the page area, over a library
// holding two custom macros and one of category 5.
struct ShownPage {
  std::unique_ptr<AppContext> app;
  VirtualFileSystem* files = nullptr;
  VirtualClock* clock = nullptr;
  RecordingPoster* poster = nullptr;
  test::RecordingWindow owner;
  std::unique_ptr<CDlgMacro> page;

  explicit ShownPage(bool chineseLayout) {
    AppServices s;
    auto c = std::make_unique<VirtualClock>(0x100000);
    clock = c.get();
    s.clock = std::move(c);
    auto f = std::make_unique<VirtualFileSystem>();
    files = f.get();
    s.files = std::move(f);
    s.registry = std::make_unique<VirtualRegistry>();
    s.ini = std::make_unique<FileIniFile>();
    s.hid = std::make_unique<VirtualMouse>();
    s.hookInstaller = std::make_unique<VirtualHookInstaller>();
    auto p = std::make_unique<RecordingPoster>();
    poster = p.get();
    s.poster = std::move(p);
    app = std::make_unique<AppContext>(BuildFolder(), std::move(s));
    app->model().chineseText = chineseLayout;
    FillWithDefaults(app->settings(), chineseLayout);
    files->PutFile(app->macros().Path(), std::vector<uint8_t>(kMacroLibrarySize, 0));
    app->library()[0] = StoredMacro(kCustomA, u"Reload", {Press('R'), Release('R')}, 3);
    app->library()[1] = StoredMacro(kTf2, u"Taunt", {Press('G'), Release('G')});
    app->library()[2] = StoredMacro(kCustomB, u"Jump", {Press(' '), Release(' '), Press(' '), Release(' ')}, 2);

    InitUserInterface();
    EXPECT_TRUE(owner.Open(RECT{0, 0, 959, 639}));
    page = std::make_unique<CDlgMacro>(*app);
    EXPECT_TRUE(page->CreatePage(owner, ToRect(layout::main_window::kPageArea)));
    page->FillMacroList(21);
    ::ShowWindow(*page, SW_SHOW);
    ::UpdateWindow(*page);
    test::PumpMessages();
    EXPECT_TRUE(app->hooks().InstallHooks(owner.GetSafeHwnd()));
    app->hooks().SetNotifyFlags(false, true);
  }
  HWND At(const layout::Rect& r, UINT flags = CWP_SKIPINVISIBLE) const {
    return ::ChildWindowFromPointEx(*page, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, flags);
  }
  void Click(const layout::Rect& r) const {
    ::SendMessageW(*page, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(At(r)));
    test::PumpMessages();
  }
  RECT PlaceOf(HWND control) const {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, *page, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  // A key pressed and let go on the keyboard: the hook's posts delivered to where they go.
  void Key(uint32_t vk, bool released) {
    clock->Advance(25);
    app->hooks().OnKeyboardEvent(vk, released ? InputHooks::kKeyReleasedFlag : 0);
    for (const PostedMessage& post : poster->Take())
      ::SendMessageW(static_cast<HWND>(post.window), post.message, post.wParam, post.lParam);
  }
  std::vector<std::u16string> MacroNames() const {
    std::vector<std::u16string> names;
    for (int i = 0; i < page->MacroList().GetCount(); ++i) names.push_back(page->MacroList().GetItemText(i));
    return names;
  }
  std::vector<std::u16string> EventTexts() const {
    std::vector<std::u16string> texts;
    for (int i = 0; i < page->EventList().GetCount(); ++i) texts.push_back(page->EventList().GetItemText(i));
    return texts;
  }
  std::u16string EditText(int id) const { return test::WindowText(::GetDlgItem(*page, id)); }
  // The library as Macro.cfg holds it.
  std::optional<MacroEntry> InFile(uint32_t id) const {
    auto library = std::make_unique<MacroLibrary>();
    LoadMacroLibraryImage(*files->FileContent(app->macros().Path()), *library);
    const auto index = FindMacroById(*library, id);
    if (!index || !IsListed((*library)[*index])) return std::nullopt;
    return (*library)[*index];
  }
};

bool SameRect(const RECT& a, const layout::Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(MacroPageWindow, EveryControlSitsAtItsPlaceInBothLayouts) {
  for (bool zh : {false, true}) {
    SCOPED_TRACE(zh ? "Chinese layout" : "English layout");
    ShownPage shown(zh);
    const struct {
      layout::Rect r;
      bool visible;
    } places[] = {
        {mp::kCategoryButton, true},          {mp::kMacroList, true},
        {mp::kNewMacroButton, true},          {mp::kDeleteMacroButton, true},
        {mp::kEventList, true},               {mp::kInsertButton.pick(zh), true},
        {mp::kDeleteEventButton.pick(zh), true}, {mp::kModifyButton.pick(zh), true},
        {mp::kRecordButton, true},            {mp::kDelayToggle, true},
        {mp::kRepeatEdit, true},              {mp::kLeftPad.pick(zh), true},
        {mp::kMiddlePad.pick(zh), true},      {mp::kRightPad.pick(zh), true},
        {mp::kKeyChoice.pick(zh), false},     {mp::kKeyEdit.pick(zh), false},
        {mp::kKeyConfirm.pick(zh), false},    {mp::kDelayChoice.pick(zh), false},
        {mp::kDelayEdit.pick(zh), false},     {mp::kDelayConfirm.pick(zh), false},
    };
    std::vector<HWND> seen;
    for (const auto& p : places) {
      const HWND control = shown.At(p.r, 0);
      ASSERT_NE(control, nullptr);
      ASSERT_NE(control, shown.page->GetSafeHwnd()) << p.r.left << "," << p.r.top;
      EXPECT_TRUE(SameRect(shown.PlaceOf(control), p.r)) << p.r.left << "," << p.r.top;
      EXPECT_EQ(::IsWindowVisible(control) != FALSE, p.visible) << p.r.left << "," << p.r.top;
      EXPECT_EQ(std::count(seen.begin(), seen.end(), control), 0) << p.r.left << "," << p.r.top;
      seen.push_back(control);
    }
    EXPECT_EQ(shown.page->CategoryCaptionShown(), zh ? u"玩家自定义" : u"Customisze");
    EXPECT_EQ(test::WindowText(shown.At(mp::kRecordButton)), zh ? u"开始录制" : u"Start Record");
  }
}

TEST(MacroPageWindow, StartsOnTheCustomCategoryWithItsLastMacroShown) {
  ShownPage shown(false);
  EXPECT_EQ(shown.MacroNames(), (std::vector<std::u16string>{u"Reload", u"Jump"}));
  EXPECT_EQ(shown.page->MacroList().GetCurSel(), 1);
  EXPECT_EQ(shown.EventTexts(), (std::vector<std::u16string>{u"Space", u"Space", u"Space", u"Space"}));
  EXPECT_EQ(shown.EditText(IDC_MACRO_REPEAT_EDIT), u"2");
  // Unselected items are readable on the dark list: their text is drawn in a light colour.
  const test::Pixels events = test::RenderClient(shown.page->EventList().GetSafeHwnd());
  const int rowHeight = shown.page->EventList().ItemHeight();
  int lightPixels = 0;
  // Right of the icon, where the text begins.
  const int textLeft = listbox::kIconLeft + listbox::kIconSize + listbox::kTextGap - 2;
  for (int y = 0; y < rowHeight; ++y)
    for (int x = textLeft; x < events.width; ++x) {
      const COLORREF c = events.At(x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) > 3 * 0x40) ++lightPixels;
    }
  EXPECT_GT(lightPixels, 5);
  // A click on the first macro shows it.
  ::SendMessageW(*shown.page, WM_LIST_SELCHANGE, CDlgMacro::kMacroListId, 0);
  EXPECT_EQ(shown.EventTexts(), (std::vector<std::u16string>{u"R", u"R"}));
  EXPECT_EQ(shown.EditText(IDC_MACRO_REPEAT_EDIT), u"3");
}

TEST(MacroPageWindow, ButtonsTakeTheirTooltipsFromTheCatalogue) {
  ShownPage shown(false);
  LoadStringCatalogue(shown.app->catalogue(), shown.app->xml(),
                      std::filesystem::path(Wide(BuildFolder() + u"\\Language\\en.xml")));
  ASSERT_FALSE(shown.app->catalogue()[StringKey::str_new_macro].empty());
  shown.page->RefreshToolTips();
  const auto& texts = shown.app->catalogue();
  EXPECT_EQ(ToolTipOf(shown.At(mp::kNewMacroButton)), texts[StringKey::str_new_macro]);
  EXPECT_EQ(ToolTipOf(shown.At(mp::kDeleteMacroButton)), texts[StringKey::str_del_macro]);
  EXPECT_EQ(ToolTipOf(shown.At(mp::kModifyButton.english)), texts[StringKey::str_macro_modify]);
  EXPECT_EQ(ToolTipOf(shown.At(mp::kLeftPad.english)), texts[StringKey::str_click]);
  EXPECT_EQ(ToolTipOf(shown.At(mp::kRightPad.english)), texts[StringKey::str_menu]);
  EXPECT_EQ(ToolTipOf(shown.At(mp::kRecordButton)), u"");
  // A change of language gives the captions their other form; the places stay.
  shown.app->model().chineseText = true;
  shown.page->RefreshToolTips();
  EXPECT_EQ(shown.page->CategoryCaptionShown(), u"玩家自定义");
  EXPECT_EQ(test::WindowText(shown.At(mp::kRecordButton)), u"开始录制");
  EXPECT_TRUE(SameRect(shown.PlaceOf(shown.At(mp::kInsertButton.english)), mp::kInsertButton.english));
}

TEST(MacroPageWindow, NewRenameRecordRepeatAndDeleteThroughTheControls) {
  ShownPage shown(false);
  CDlgMacro& page = *shown.page;
  // New: an item named "New Macro", selected, its name editor open; the event list empty.
  shown.Click(mp::kNewMacroButton);
  ASSERT_EQ(shown.MacroNames().size(), 3u);
  EXPECT_EQ(shown.MacroNames()[2], u"New Macro");
  EXPECT_EQ(page.MacroList().GetCurSel(), 2);
  ASSERT_TRUE(page.MacroList().IsEditing());
  EXPECT_TRUE(shown.EventTexts().empty());
  EXPECT_EQ(shown.EditText(IDC_MACRO_REPEAT_EDIT), u"1");
  const uint32_t id = page.MacroList().GetItemData(2);
  EXPECT_EQ(id >> 24, 21u);

  // The name is typed and Enter pressed in the editor.
  const HWND editor = page.MacroList().EditWindow();
  ::SetWindowTextW(editor, L"Dash");
  ::SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
  ::SendMessageW(editor, WM_KEYUP, VK_RETURN, 0);
  test::PumpMessages();
  EXPECT_FALSE(page.MacroList().IsEditing());
  EXPECT_EQ(shown.MacroNames()[2], u"Dash");
  EXPECT_FALSE(shown.InFile(id)) << "stored before it has events";

  // Recorded from the keyboard hook.
  shown.Click(mp::kRecordButton);
  EXPECT_TRUE(page.Recording());
  EXPECT_TRUE(shown.app->hooks().RecordMode());
  EXPECT_EQ(test::WindowText(shown.At(mp::kRecordButton)), u"Stop Record");
  EXPECT_FALSE(::IsWindowEnabled(shown.At(mp::kDeleteMacroButton)));
  shown.Key('D', false);
  shown.Key('D', true);
  shown.Click(mp::kRecordButton);
  EXPECT_FALSE(page.Recording());
  EXPECT_EQ(test::WindowText(shown.At(mp::kRecordButton)), u"Start Record");
  EXPECT_EQ(shown.EventTexts(), (std::vector<std::u16string>{u"D", u"25  ms", u"D"}));
  ASSERT_TRUE(shown.InFile(id));
  EXPECT_EQ(MacroName(*shown.InFile(id)), u"Dash");
  EXPECT_EQ(shown.InFile(id)->eventCount, 3u);

  // The repeat count as typed, and as the periodic check leaves it.
  ::SetWindowTextW(::GetDlgItem(page, IDC_MACRO_REPEAT_EDIT), L"12");
  EXPECT_EQ(shown.InFile(id)->repeatCount, 12u);
  ::SetWindowTextW(::GetDlgItem(page, IDC_MACRO_REPEAT_EDIT), L"0");
  ::SendMessageW(page, WM_TIMER, CDlgMacro::kRepeatCheckTimer, 0);
  EXPECT_EQ(shown.EditText(IDC_MACRO_REPEAT_EDIT), u"1");
  EXPECT_EQ(shown.InFile(id)->repeatCount, 1u);

  // Assigned to the right button: the delete is refused with the program's message box.
  ButtonAssignment& right = shown.app->settings().buttons[2];
  right.type = 6;
  right.macroId = int32_t(id);
  bool boxSeen = false;
  WhileModal([&] { shown.Click(mp::kDeleteMacroButton); },
             [&] {
               const HWND box = ThreadWindow(L"VornaNX7InfoDlg");
               if (!box) return true;
               boxSeen = true;
               ::PostMessageW(box, WM_CLOSE, 0, 0);
               return false;
             });
  EXPECT_TRUE(boxSeen);
  EXPECT_TRUE(shown.InFile(id));
  EXPECT_EQ(shown.MacroNames().size(), 3u);

  // Not assigned any more: deleted from the list and the file.
  right.type = 1;
  shown.Click(mp::kDeleteMacroButton);
  EXPECT_FALSE(shown.InFile(id));
  EXPECT_EQ(shown.MacroNames(), (std::vector<std::u16string>{u"Reload", u"Jump"}));
  EXPECT_TRUE(shown.EventTexts().empty());
}

TEST(MacroPageWindow, ANameStillBeingTypedIsTakenBeforeADownload) {
  ShownPage shown(false);
  ::SendMessageW(*shown.page, WM_LIST_SELCHANGE, CDlgMacro::kMacroListId, 0);
  ASSERT_TRUE(const_cast<CListBoxEx&>(shown.page->MacroList()).EditItem(0));
  ::SetWindowTextW(shown.page->MacroList().EditWindow(), L"Reload fast");
  shown.page->CommitPendingEdit();
  EXPECT_EQ(MacroName(*shown.InFile(kCustomA)), u"Reload fast");
  EXPECT_EQ(shown.MacroNames()[0], u"Reload fast");
}

TEST(MacroPageWindow, CategoryChoiceAndAMissingMenuLibrary) {
  for (bool zh : {false, true}) {
    ShownPage shown(zh);
    // The test program's folder holds no MenuEx.dll: the button says why, the page stays.
    ASSERT_FALSE(std::filesystem::exists(test::FolderAboveProgram(1) + L"\\MenuEx.dll"));
    shown.Click(mp::kCategoryButton);
    const std::u16string problem = ProgramMenuExLibrary().Problem(zh);
    EXPECT_FALSE(problem.empty());
    EXPECT_EQ(shown.page->CategoryCaptionShown(), problem);
    EXPECT_TRUE(::IsWindow(*shown.page) && ::IsWindowVisible(*shown.page));

    // A choice reported by the menu library.
    ::SendMessageW(*shown.page, menuex::WM_MENUEX_SELECT, 1, 5);
    EXPECT_EQ(shown.page->CategoryCaptionShown(), zh ? u"军团要塞 2" : u"Team Fortress 2");
    EXPECT_EQ(shown.MacroNames(), (std::vector<std::u16string>{u"Taunt"}));
    EXPECT_EQ(shown.EventTexts(), (std::vector<std::u16string>{u"G", u"G"}));
    ::SendMessageW(*shown.page, menuex::WM_MENUEX_SELECT, 20, 21);
    EXPECT_EQ(shown.MacroNames(), (std::vector<std::u16string>{u"Reload", u"Jump"}));
    // A new macro belongs to the category shown.
    ::SendMessageW(*shown.page, menuex::WM_MENUEX_SELECT, 8, 9);
    EXPECT_TRUE(shown.MacroNames().empty());
    shown.Click(mp::kNewMacroButton);
    EXPECT_EQ(shown.page->MacroList().GetItemData(0) >> 24, 9u);
  }
}

TEST(MacroPageWindow, KeepsOnlyItsNormalPictureWhole) {
  InitUserInterface();
  const SharedBitmapUsage before = SharedBitmapsInUse();
  {
    ShownPage shown(false);
    const SharedBitmapUsage during = SharedBitmapsInUse();
    // The page's normal picture and the lists' scroll bar picture.
    EXPECT_EQ(during.pictures, before.pictures + 2);
  }
  EXPECT_EQ(SharedBitmapsInUse().pictures, before.pictures);
}

}  // namespace
}  // namespace nx7::win32
