// The button settings dialog as real windows: opened for an input over a window, driven through
// its buttons, lists and the input hooks' keyboard path, with the choosers answered by a recording
// shell; and EditInputFunction run modally, refusal box included.
#include "buttons/setting_dlg_win32.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "common/text.h"
#include "device/virtual/virtual_mouse.h"
#include "framework/ui_init.h"
#include "framework/ui_test_support.h"
#include "macros/input_hooks_virtual.h"
#include "macros/input_hooks_win32.h"
#include "macros/macro_entry_fixture.h"
#include "platform/virtual/recording_shell.h"
#include "platform/virtual/us_keyboard_layout.h"
#include "platform/virtual/virtual_clock.h"
#include "platform/virtual/virtual_file_system.h"
#include "platform/virtual/virtual_registry.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_message_poster.h"
#include "skin/dlg_info_win32.h"
#include "skin/layout_win32.h"

namespace nx7::win32 {
namespace {

using test::WhileModal;
using test::ThreadWindow;

namespace sd = layout::setting_dialog;
namespace sp = layout::setting_pages;
using test::PumpMessages;

// The build tree's top folder, with the generated skins and language files: the test program is in
// tests/buttons.
std::u16string BuildFolder() { return FromWide(test::FolderAboveProgram(3)); }

constexpr uint32_t kPress = 0, kRelease = 0x80;

// What the dialog works on: an application whose hooks post for real, installed virtually so the
// test feeds keyboard events into the hook procedure.
struct Desk {
  VirtualHookInstaller* installer = nullptr;
  std::unique_ptr<AppContext> app;
  test::RecordingWindow owner;
  RecordingShell shell;
  UsKeyboardLayout layout;

  // With `systemHooks`, the system's low-level hooks deliver the desktop's keyboard instead.
  explicit Desk(bool chinese, bool systemHooks = false) {
    InitUserInterface();
    AppServices s;
    s.clock = std::make_unique<VirtualClock>(1000);
    s.files = std::make_unique<VirtualFileSystem>();
    s.registry = std::make_unique<VirtualRegistry>();
    s.ini = std::make_unique<FileIniFile>();
    s.hid = std::make_unique<VirtualMouse>();
    if (systemHooks) {
      s.hookInstaller = std::make_unique<Win32HookInstaller>();
    } else {
      auto installerOwned = std::make_unique<VirtualHookInstaller>();
      installer = installerOwned.get();
      s.hookInstaller = std::move(installerOwned);
    }
    s.poster = std::make_unique<Win32MessagePoster>();
    app = std::make_unique<AppContext>(BuildFolder(), std::move(s));
    app->model().chineseText = chinese;
    FillWithDefaults(app->settings(), chinese);
    LoadStringCatalogue(app->catalogue(), app->xml(),
                        std::filesystem::path(Wide(BuildFolder() + (chinese ? u"\\Language\\sc.xml" : u"\\Language\\en.xml"))));
    EXPECT_TRUE(owner.Open(RECT{40, 40, 40 + 959, 40 + 639}));
    EXPECT_TRUE(app->hooks().InstallHooks(owner));
  }
  // A keyboard event as the system's low-level hook hands it over.
  void Key(uint32_t vk, uint32_t flags) {
    ASSERT_NE(installer->installed, nullptr);
    installer->installed->OnKeyboardEvent(vk, flags);
  }
  void Tap(uint32_t vk) {
    Key(vk, kPress);
    Key(vk, kRelease);
    PumpMessages();
  }
};

void Click(HWND button) {
  ASSERT_NE(button, nullptr);
  ::SendMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  PumpMessages();
}

// A mouse click on row `row` of a list, as the list receives it.
void ClickRow(CListBoxEx& list, int row) {
  RECT item{};
  ASSERT_NE(list.Send(LB_GETITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&item)), LB_ERR);
  const LPARAM at = MAKELPARAM(item.left + 20, (item.top + item.bottom) / 2);
  list.Send(WM_LBUTTONDOWN, MK_LBUTTON, at);
  list.Send(WM_LBUTTONUP, 0, at);
  PumpMessages();
}

RECT PlaceIn(HWND window, HWND control) {
  RECT r{};
  ::GetWindowRect(control, &r);
  ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool Visible(HWND w) { return ::IsWindowVisible(w) != FALSE; }

class SettingDialog : public ::testing::Test {
 protected:
  void Open(int input, bool chinese = false, std::u16string current = u"Click") {
    desk = std::make_unique<Desk>(chinese);
    dialog = std::make_unique<CSettingDlg>(*desk->app, desk->shell, desk->layout, desk->owner, input, current);
    ASSERT_TRUE(dialog->Create(desk->owner));
    ::ShowWindow(*dialog, SW_SHOW);
    PumpMessages();
  }
  InputHooks& Hooks() { return desk->app->hooks(); }
  bool Recording() const { return desk->app->hooks().RecordMode(); }
  std::unique_ptr<Desk> desk;
  std::unique_ptr<CSettingDlg> dialog;
};

TEST_F(SettingDialog, OpensCentredWithItsControlsInPlaceAndTheCombinationPageRecording) {
  Open(3);
  RECT window{}, owner{};
  ::GetWindowRect(*dialog, &window);
  ::GetWindowRect(desk->owner, &owner);
  EXPECT_EQ(window.right - window.left, sd::kClient.width);
  EXPECT_EQ(window.bottom - window.top, sd::kClient.height);
  EXPECT_EQ(window.left, owner.left + (959 - sd::kClient.width) / 2);
  EXPECT_EQ(window.top, owner.top + (639 - sd::kClient.height) / 2);
  const struct {
    HWND control;
    layout::Rect place;
  } controls[] = {
      {dialog->CloseButton(), sd::kCloseButton},       {dialog->Tab(SettingPage::kCombination), sd::kTabs[0]},
      {dialog->Tab(SettingPage::kMacro), sd::kTabs[1]}, {dialog->Tab(SettingPage::kBasic), sd::kTabs[2]},
      {dialog->Tab(SettingPage::kLaunch), sd::kTabs[3]}, {dialog->DisableBox(), sd::kDisableCheck},
      {dialog->RestoreButton(), sd::kRestoreButton},   {dialog->OkButton(), sd::kOkButton},
      {dialog->Page(SettingPage::kMacro), sd::kPageArea}, {dialog->Page(SettingPage::kLaunch), sd::kPageArea},
  };
  for (const auto& c : controls) {
    const RECT r = PlaceIn(*dialog, c.control);
    EXPECT_EQ(r.left, c.place.left);
    EXPECT_EQ(r.top, c.place.top);
    EXPECT_EQ(r.right, c.place.right);
    EXPECT_EQ(r.bottom, c.place.bottom);
  }
  const HWND combo = dialog->Page(SettingPage::kCombination);
  for (size_t m = 0; m < kModifierCount; ++m) {
    const RECT r = PlaceIn(combo, dialog->ComboPage().ModifierBox(Modifier(m)));
    EXPECT_EQ(r.left, sp::kModifierChecks[m].left);
    EXPECT_EQ(r.bottom, sp::kModifierChecks[m].bottom);
  }
  EXPECT_EQ(test::WindowText(*dialog), u"Key setting panel");
  EXPECT_EQ(dialog->CurrentFunctionLine(), u"Current function: Click");
  EXPECT_TRUE(Visible(combo));
  EXPECT_FALSE(Visible(dialog->Page(SettingPage::kMacro)));
  EXPECT_FALSE(Visible(dialog->Page(SettingPage::kBasic)));
  EXPECT_FALSE(Visible(dialog->Page(SettingPage::kLaunch)));
  EXPECT_TRUE(Recording());
  EXPECT_EQ(Hooks().Target(), static_cast<WindowHandle>(combo));
}

TEST_F(SettingDialog, APressOnTheBackgroundDragsTheDialogByItsCaption) {
  Open(3, true, u"\u524D\u8FDB");
  EXPECT_EQ(dialog->CurrentFunctionLine(), u"\u5F53\u524D\u529F\u80FD: \u524D\u8FDB");
  EXPECT_EQ(test::WindowText(*dialog), u"\u6309\u952E\u8BBE\u5B9A\u9762\u677F");
  ::SendMessageW(*dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 250));
  MSG posted{};
  ASSERT_TRUE(::PeekMessageW(&posted, *dialog, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
  EXPECT_EQ(posted.wParam, WPARAM(HTCAPTION));
  POINT expected{200, 250};
  ::ClientToScreen(*dialog, &expected);
  EXPECT_EQ(GET_X_LPARAM(posted.lParam), expected.x);
  EXPECT_EQ(GET_Y_LPARAM(posted.lParam), expected.y);
}

TEST_F(SettingDialog, CtrlThenATypedOnTheKeyboardGivesTheCombination) {
  Open(3);
  desk->Tap(VK_CONTROL);
  EXPECT_TRUE(dialog->ComboPage().ModifierBoxChecked(Modifier::kCtrl)) << "the press checks, the release leaves it";
  desk->Tap(VK_CONTROL);
  EXPECT_FALSE(dialog->ComboPage().ModifierBoxChecked(Modifier::kCtrl)) << "a second press unchecks";
  desk->Tap(VK_CONTROL);
  desk->Tap('A');
  EXPECT_EQ(dialog->ComboPage().KeyNameText(), u"A");
  desk->Tap(VK_RETURN);  // Enter is a key to capture, not OK
  EXPECT_TRUE(dialog->IsWindow());
  EXPECT_EQ(dialog->ComboPage().Rules().CapturedKey(), uint32_t(VK_RETURN));
  desk->Tap('A');
  Click(dialog->OkButton());
  EXPECT_EQ(dialog->ClosedWith(), IDOK);
  EXPECT_FALSE(dialog->IsWindow());
  EXPECT_EQ(dialog->Result().value, 0x00040100);
  EXPECT_EQ(dialog->Result().category, kSettingCombination);
  EXPECT_FALSE(Recording());
  EXPECT_EQ(Hooks().Target(), static_cast<WindowHandle>(desk->owner.GetSafeHwnd()));
}

TEST_F(SettingDialog, ModifiersWithoutAKeyAndKeysWithoutAUsage) {
  struct Case {
    std::vector<uint32_t> taps;
    int32_t value;
    INT_PTR closed;
  } cases[] = {
      {{VK_LSHIFT}, 0x00E10000, IDOK},
      {{VK_CONTROL, VK_MENU}, 0, IDCANCEL},
      {{VK_F13}, 0, IDCANCEL},
      {{}, 0, IDCANCEL},
  };
  for (const Case& c : cases) {
    Open(1);
    for (uint32_t vk : c.taps) desk->Tap(vk);
    Click(dialog->OkButton());
    EXPECT_EQ(dialog->Result().value, c.value);
    EXPECT_EQ(dialog->ClosedWith(), c.closed);
  }
}

TEST_F(SettingDialog, EnterEscapeAndSpaceNeverReachTheDialog) {
  Open(2);
  for (UINT key : {VK_ESCAPE, VK_RETURN, VK_SPACE}) {
    for (HWND to : {dialog->GetSafeHwnd(), dialog->Page(SettingPage::kCombination), dialog->OkButton()}) {
      ::PostMessageW(to, WM_KEYDOWN, key, 0);
      ::PostMessageW(to, WM_CHAR, key, 0);
      ::PostMessageW(to, WM_KEYUP, key, 0xC0000000);
      PumpMessages();
      EXPECT_TRUE(dialog->IsWindow()) << key;
    }
  }
  EXPECT_EQ(dialog->ClosedWith(), 0);
}

TEST_F(SettingDialog, AMacroOfTheChosenCategory) {
  Open(4);
  MacroLibrary& library = desk->app->library();
  library[0] = testing::StoredMacro(0x01000010, u"Sprint", {testing::Press('W')});
  library[2] = testing::StoredMacro(0x15000020, u"Mine", {testing::Press('M')});
  library[6] = testing::StoredMacro(0x15000030, u"Build", {testing::Press('B')});
  Click(dialog->Tab(SettingPage::kMacro));
  EXPECT_FALSE(Recording());
  EXPECT_TRUE(Visible(dialog->Page(SettingPage::kMacro)));
  EXPECT_FALSE(Visible(dialog->Page(SettingPage::kCombination)));
  CSetting_MacroDlg& page = dialog->MacroPage();
  ASSERT_EQ(page.CategoryList().GetCount(), 21);
  EXPECT_EQ(page.CategoryList().GetItemText(20), u"Customisze");
  EXPECT_EQ(page.CategoryList().GetItemData(12), 12u);
  EXPECT_EQ(page.MacroList().GetCount(), 0) << "no category chosen";

  ClickRow(page.CategoryList(), 20);
  ASSERT_EQ(page.MacroList().GetCount(), 2);
  EXPECT_EQ(page.MacroList().GetItemText(0), u"Mine");
  EXPECT_EQ(page.MacroList().GetItemText(1), u"Build");
  ClickRow(page.MacroList(), 1);
  Click(dialog->OkButton());
  EXPECT_EQ(dialog->ClosedWith(), IDOK);
  EXPECT_EQ(uint32_t(dialog->Result().value), 0x15000030u);
  EXPECT_EQ(dialog->Result().category, kSettingMacro);
}

TEST_F(SettingDialog, ABasicFunctionFromTheCataloguesList) {
  Open(5);
  Click(dialog->Tab(SettingPage::kBasic));
  CListBoxEx& list = dialog->BasePage().List();
  ASSERT_EQ(list.GetCount(), 24);
  EXPECT_EQ(list.GetItemText(0), desk->app->catalogue()[StringKey::str_close]);
  EXPECT_FALSE(list.GetItemText(0).empty());
  EXPECT_EQ(list.GetCurSel(), -1);
  EXPECT_EQ(list.GetTopIndex(), 0) << "the list opens at its first row";
  ::SendMessageW(list, LB_SETTOPINDEX, 20, 0);
  ClickRow(list, 22);
  Click(dialog->OkButton());
  EXPECT_EQ(dialog->Result().value, 142);
  EXPECT_EQ(dialog->Result().category, kSettingBasic);
}

TEST_F(SettingDialog, LaunchRowsTakeTheChoosersAnswers) {
  Open(2);
  Click(dialog->Tab(SettingPage::kLaunch));
  CSetting_AdvanceDlg& page = dialog->AdvancePage();
  desk->shell.QueueFileChoice(u"C:\\Games\\game.exe");
  Click(page.BrowseButton(1));
  EXPECT_EQ(page.PathText(1), u"C:\\Games\\game.exe");
  EXPECT_EQ(page.Rules().CheckedRow(), 1);
  EXPECT_TRUE(page.RadioChecked(1));

  // A single click on a path box does nothing; a double-click browses; a cancel keeps the path.
  const HWND folderBox = page.PathBox(3);
  ::SendMessageW(folderBox, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageW(folderBox, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpMessages();
  EXPECT_EQ(page.Rules().CheckedRow(), 1);
  desk->shell.QueueFileChoice(u"D:\\Music");
  ::SendMessageW(folderBox, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  PumpMessages();
  EXPECT_EQ(page.Rules().CheckedRow(), 3);
  EXPECT_FALSE(page.RadioChecked(1));
  EXPECT_TRUE(page.RadioChecked(3));
  EXPECT_EQ(page.PathText(3), u"D:\\Music");
  desk->shell.QueueFileChoice(std::nullopt);
  Click(page.BrowseButton(3));
  EXPECT_EQ(page.Rules().Path(3), u"D:\\Music");

  const std::vector<ShellRequest> asked = desk->shell.Take();
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[0].kind, ShellRequest::Kind::ChooseFile);
  EXPECT_EQ(asked[0].options.filter, u"(*.exe)|*.exe||");
  EXPECT_EQ(asked[0].owner, static_cast<WindowHandle>(dialog->GetSafeHwnd()));
  EXPECT_EQ(asked[1].kind, ShellRequest::Kind::ChooseFolder);
  EXPECT_EQ(asked[2].kind, ShellRequest::Kind::ChooseFolder);

  Click(page.Radio(1));
  Click(dialog->OkButton());
  EXPECT_EQ(dialog->ClosedWith(), IDOK);
  EXPECT_EQ(dialog->Result().category, kSettingLaunch);
  EXPECT_EQ(dialog->Result().value, 0x00D20006);
  EXPECT_EQ(dialog->Result().launchRow, 1);
  EXPECT_EQ(LaunchPathOf(dialog->Result()), u"C:\\Games\\game.exe");
}

TEST_F(SettingDialog, DisableHidesThePagesAndWinsOverTheirChoice) {
  Open(1);
  Click(dialog->Tab(SettingPage::kBasic));
  ClickRow(dialog->BasePage().List(), 0);
  desk->Tap(VK_CONTROL);  // recording is off on the basic page: nothing reaches the combination page
  EXPECT_FALSE(dialog->ComboPage().Rules().Checked(Modifier::kCtrl));
  Click(dialog->Tab(SettingPage::kCombination));
  EXPECT_TRUE(Recording());
  Click(dialog->DisableBox());
  for (int p = 0; p < kSettingPageCount; ++p) EXPECT_FALSE(Visible(dialog->Page(SettingPage(p)))) << p;
  EXPECT_TRUE(Recording()) << "the disable box leaves recording as it was";
  Click(dialog->DisableBox());
  EXPECT_TRUE(Visible(dialog->Page(SettingPage::kCombination)));
  Click(dialog->DisableBox());
  Click(dialog->OkButton());
  EXPECT_EQ(dialog->ClosedWith(), IDOK);
  EXPECT_EQ(dialog->Result().value, 7);
  EXPECT_EQ(dialog->Result().category, kSettingDisabled);
  EXPECT_FALSE(Recording());
}

TEST_F(SettingDialog, RestoreGivesTheDefaultAndEveryCloseStopsRecording) {
  Open(5);
  Click(dialog->RestoreButton());
  EXPECT_EQ(dialog->ClosedWith(), IDOK);
  EXPECT_EQ(dialog->Result().value, 11);
  EXPECT_EQ(dialog->Result().category, kSettingBasic);
  EXPECT_FALSE(Recording());

  Open(2);
  Click(dialog->CloseButton());
  EXPECT_EQ(dialog->ClosedWith(), IDCANCEL);
  EXPECT_FALSE(Recording());

  Open(2);
  ASSERT_TRUE(Recording());
  ::SendMessageW(*dialog, WM_SYSCOMMAND, SC_CLOSE, 0);  // Alt+F4 on the system menu
  PumpMessages();
  EXPECT_EQ(dialog->ClosedWith(), IDCANCEL);
  EXPECT_FALSE(dialog->IsWindow());
  EXPECT_FALSE(Recording());
}

// ---- EditInputFunction, modal ----------------------------------------------------------------

CSettingDlg* OpenDialog() {
  const HWND window = ThreadWindow(L"Key setting panel");
  return window ? dynamic_cast<CSettingDlg*>(CWnd::FromHandle(window)) : nullptr;
}

TEST(EditInputFunction, ATypedCombinationIsAssignedAndNamed) {
  Desk desk(false);
  int stage = 0;
  bool result = false;
  WhileModal([&] { result = EditInputFunction(*desk.app, desk.owner, 3, desk.shell, desk.layout); },
             [&] {
               CSettingDlg* dialog = OpenDialog();
               if (!dialog) return true;
               if (stage++ == 0) {
                 desk.Key(VK_CONTROL, kPress);
                 desk.Key(VK_CONTROL, kRelease);
                 desk.Key('A', kPress);
                 desk.Key('A', kRelease);
                 return true;  // the posts are handled by the dialog's loop
               }
               Click(dialog->OkButton());
               return false;
             });
  EXPECT_TRUE(result);
  const ButtonAssignment& button = desk.app->settings().buttons[3];
  EXPECT_EQ(button.type, 5);
  EXPECT_EQ(button.keyCode, 0x00040100u);
  EXPECT_EQ(TextFromField(button.displayName, kTextFieldLength), u"Ctrl + A");
  EXPECT_FALSE(desk.app->hooks().RecordMode());
}

// Key strokes of the desktop's keyboard, as a person types them.
void Strokes(std::initializer_list<WORD> keys) {
  std::vector<INPUT> in;
  for (WORD vk : keys) {
    for (DWORD flags : {DWORD(0), DWORD(KEYEVENTF_KEYUP)}) {
      INPUT i{};
      i.type = INPUT_KEYBOARD;
      i.ki.wVk = vk;
      i.ki.dwFlags = flags;
      in.push_back(i);
    }
  }
  ::SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
}

TEST(EditInputFunction, KeysTypedOnTheDesktopKeyboardReachTheCombinationPageThroughTheSystemHook) {
  Desk desk(false, true);
  int stage = 0, waited = 0;
  bool openAfterEscapeAndEnter = false;
  const bool changed = [&] {
    bool result = false;
    WhileModal([&] { result = EditInputFunction(*desk.app, desk.owner, 2, desk.shell, desk.layout); },
               [&] {
                 CSettingDlg* dialog = OpenDialog();
                 if (!dialog) return true;
                 const CombinationPage& page = dialog->ComboPage().Rules();
                 switch (stage) {
                   case 0:
                     ::SetForegroundWindow(*dialog);
                     Strokes({VK_ESCAPE, VK_RETURN, VK_CONTROL, 'A'});
                     ++stage;
                     return true;
                   default:
                     // Until the hook's posts arrived, for at most about three seconds.
                     if (page.CapturedKey() != 'A' && ++waited < 100) return true;
                     openAfterEscapeAndEnter = dialog->ClosedWith() == 0;
                     Click(dialog->OkButton());
                     return false;
                 }
               });
    return result;
  }();
  EXPECT_TRUE(openAfterEscapeAndEnter) << "Escape and Enter are swallowed";
  EXPECT_TRUE(changed);
  const ButtonAssignment& button = desk.app->settings().buttons[2];
  EXPECT_EQ(button.type, 5);
  EXPECT_EQ(button.keyCode, 0x00040100u);
  EXPECT_FALSE(desk.app->hooks().RecordMode());
}

TEST(EditInputFunction, ARefusedChoiceShowsTheRuleInTheMessageBoxAndKeepsTheAssignment) {
  Desk desk(false);
  std::u16string shownText;
  std::u16string current;
  bool result = true;
  WhileModal([&] { result = EditInputFunction(*desk.app, desk.owner, 0, desk.shell, desk.layout); },
             [&] {
               if (CSettingDlg* dialog = OpenDialog()) {
                 Click(dialog->Tab(SettingPage::kBasic));
                 ClickRow(dialog->BasePage().List(), 10);  // right button, type 2
                 Click(dialog->OkButton());
                 return true;
               }
               const HWND box = ThreadWindow(L"VornaNX7InfoDlg");
               if (!box) return true;
               auto* info = dynamic_cast<CDlgInfo*>(CWnd::FromHandle(box));
               if (!info) return true;
               shownText = info->text;
               Click(info->OkButton());
               return false;
             });
  EXPECT_FALSE(result);
  EXPECT_EQ(shownText, u"At least one button must be configured as 'Left click'!");
  EXPECT_EQ(desk.app->settings().buttons[0].type, 1);
}

TEST(EditInputFunction, AMacroAndALaunchThroughTheDialog) {
  Desk desk(false);
  desk.app->library()[1] = testing::StoredMacro(0x15000099, u"Combo", {testing::Press('Q')});
  WhileModal([&] { EXPECT_TRUE(EditInputFunction(*desk.app, desk.owner, 4, desk.shell, desk.layout)); },
             [&] {
               CSettingDlg* dialog = OpenDialog();
               if (!dialog) return true;
               Click(dialog->Tab(SettingPage::kMacro));
               ClickRow(dialog->MacroPage().CategoryList(), 20);
               ClickRow(dialog->MacroPage().MacroList(), 0);
               Click(dialog->OkButton());
               return false;
             });
  EXPECT_EQ(desk.app->settings().buttons[4].type, 6);
  EXPECT_EQ(desk.app->macroIds()[4], 0x15000099);
  EXPECT_EQ(TextFromField(desk.app->settings().buttons[4].displayName, kTextFieldLength), u"Combo");

  desk.shell.QueueFileChoice(u"C:\\Windows\\Media\\ding.wav");
  std::u16string currentShown;
  WhileModal([&] { EXPECT_TRUE(EditInputFunction(*desk.app, desk.owner, 4, desk.shell, desk.layout)); },
             [&] {
               CSettingDlg* dialog = OpenDialog();
               if (!dialog) return true;
               currentShown = dialog->CurrentFunctionLine();
               Click(dialog->Tab(SettingPage::kLaunch));
               Click(dialog->AdvancePage().BrowseButton(0));
               Click(dialog->OkButton());
               return false;
             });
  const ButtonAssignment& button = desk.app->settings().buttons[4];
  EXPECT_EQ(button.type, 19);
  EXPECT_EQ(button.launchKind, 0xC0);
  EXPECT_EQ(TextFromField(button.launchPath, kTextFieldLength), u"C:\\Windows\\Media\\ding.wav");
  EXPECT_EQ(desk.app->macroIds()[4], 0);
  EXPECT_EQ(currentShown, u"Current function: Combo") << "the macro's name, as the input shows it";
}

TEST(EditInputFunction, CancelChangesNothingAndAnInputOutsideTheSevenOpensNothing) {
  Desk desk(false);
  int stage = 0;
  bool stillOpenAfterKeys = false;
  WhileModal([&] { EXPECT_FALSE(EditInputFunction(*desk.app, desk.owner, 2, desk.shell, desk.layout)); },
             [&] {
               CSettingDlg* dialog = OpenDialog();
               if (!dialog) return true;
               if (stage++ == 0) {
                 Click(dialog->Tab(SettingPage::kBasic));
                 ClickRow(dialog->BasePage().List(), 0);
                 // Handled by the modal loop before the next tick.
                 for (HWND to : {dialog->GetSafeHwnd(), dialog->BasePage().List().GetSafeHwnd()}) {
                   for (UINT key : {VK_ESCAPE, VK_RETURN, VK_SPACE}) {
                     ::PostMessageW(to, WM_KEYDOWN, key, 0);
                     ::PostMessageW(to, WM_KEYUP, key, 0xC0000000);
                   }
                 }
                 return true;
               }
               stillOpenAfterKeys = dialog->ClosedWith() == 0;
               ::PostMessageW(*dialog, WM_CLOSE, 0, 0);
               return false;
             });
  EXPECT_TRUE(stillOpenAfterKeys);
  EXPECT_EQ(desk.app->settings().buttons[2].type, 2);
  EXPECT_FALSE(EditInputFunction(*desk.app, desk.owner, 7, desk.shell, desk.layout));
  EXPECT_FALSE(EditInputFunction(*desk.app, desk.owner, -1, desk.shell, desk.layout));
}

}  // namespace
}  // namespace nx7::win32
