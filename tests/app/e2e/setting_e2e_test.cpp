// The button settings dialog of the real NX7Driver.exe under Wine, on the virtual mouse: opened
// from the performance page's input tabs and used as a person uses it (a combination typed on the
// keyboard through the input hooks, a macro chosen in the lists, a program chosen in the system's
// file dialog, the disable box, "Restore" and the left-click refusal). After APPLY what reached
// the mouse is compared with what nx7ctl sends for the saved profile and for a profile written
// here holding the expected assignment.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <span>
#include <thread>

#include "harness.h"
#include "program_e2e.h"
#include "macros/macro_library.h"
#include "skin/dlg_info_win32.h"
#include "skin/layout.h"
#include "store/settings_block.h"

namespace nx7::e2e {
namespace {

namespace sd = layout::setting_dialog;
namespace sp = layout::setting_pages;

constexpr wchar_t kDialogEnglish[] = L"Key setting panel";
constexpr wchar_t kDialogChinese[] = L"\u6309\u952E\u8BBE\u5B9A\u9762\u677F";
constexpr UINT kCategoryListId = 10001, kMacroListId = 10002, kBaseListId = 101;
enum Tab { kCombinationTab, kMacroTab, kBaseTab, kAdvancedTab };

POINT Centre(const layout::Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
// A point of a settings page in the dialog's client area.
POINT OnSettingPage(const layout::Rect& r) {
  const POINT c = Centre(r);
  return {sd::kPageArea.left + c.x, sd::kPageArea.top + c.y};
}

// The input tab's polygon on the performance page, in the main window: its bounding box and a
// point inside it.
RECT InputTabBox(int input) {
  const layout::Rect r = layout::performance_page::kInputTabs[size_t(input)].bounds();
  return {kPageCorner.x + r.left, kPageCorner.y + r.top, kPageCorner.x + r.right, kPageCorner.y + r.bottom};
}
POINT InputTabPoint(int input) {
  const RECT r = InputTabBox(input);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The list of `parent` with control id `id` (the skinned lists sit in frames of their scroll bars,
// which carry the same id).
HWND ListOf(HWND parent, UINT id) {
  struct Search {
    UINT id;
    HWND found;
  } search{id, nullptr};
  EnumChildWindows(
      parent,
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        if (UINT(GetDlgCtrlID(w)) != s->id || !IsWindowVisible(w) || ClassOf(w) != L"ListBox") return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The file-name box of a system file dialog; none for other dialogs.
HWND FileNameBox(HWND dialog) {
  if (HWND combo = GetDlgItem(dialog, 0x47C)) {  // cmb13
    HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
    return edit ? edit : combo;
  }
  return GetDlgItem(dialog, 0x480);  // edt1
}
// An edit box's text (WM_GETTEXT is carried across processes; GetWindowText is not).
std::wstring EditText(HWND edit) {
  wchar_t text[1024] = {};
  SendMessageW(edit, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  return text;
}

std::u16string FieldText(const char16_t* field) {
  return std::u16string(field, std::find(field, field + kTextFieldLength, u'\0'));
}

class SettingDialogInProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(BuildFiles::Driver().empty()) << "NX7Driver.exe is not part of this build";
    ASSERT_TRUE(WaitUntil([] { return ProcessesNamed(L"NX7Driver.exe").empty(); }, milliseconds(10000)))
        << "an NX7Driver.exe from elsewhere is running";
    program_ = folder_.AddDriver();
    // The updater, started three seconds after the window shows, would log a start of its own.
    std::filesystem::remove(folder_.Path() / "vorna_update" / "VornaUpdate.exe");
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, kKey, L"ConfigInfo");
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, kKey, L"DefaultSetting");
    chineseSkins_ = folder_.Read("skins/languagetype.ini").find("value=1") != std::string::npos;
    SetLanguage(kEnglish);
  }
  void TearDown() override { process_.Kill(); }

  static void SetLanguage(int id) { WriteRegistryBinary(HKEY_LOCAL_MACHINE, kLanguageKey, L"Language", {BYTE(id), 0, 0, 0}); }

  void WriteFile(const std::filesystem::path& relative, const SettingsBlock& block) {
    std::filesystem::create_directories((folder_.Path() / relative).parent_path());
    const auto image = SerialiseSettingsBlock(block);
    std::ofstream(folder_.Path() / relative, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
  }
  SettingsBlock Defaults() const {
    SettingsBlock block{};
    FillWithDefaults(block, chineseSkins_);
    return block;
  }
  SettingsBlock SavedProfile() const {
    const std::string image = folder_.Read("Profile/Profile1.cfg");
    SettingsBlock saved{};
    DeserialiseSettingsBlock(std::span(reinterpret_cast<const uint8_t*>(image.data()), image.size()), saved);
    return saved;
  }

  HWND StartAndShow() {
    return StartAndShowProgram(process_, folder_, program_, {L"--virtual", L"--trace", TraceFile().wstring()},
                               milliseconds(300));
  }

  std::filesystem::path TraceFile() const { return folder_.Path() / "trace.txt"; }
  // The trace once nothing has been added to it for 600 ms.
  std::vector<std::string> SettledTrace() const { return SettledLines(TraceFile()); }

  // APPLY, through the progress dialog until it has closed; the reports it sent.
  std::vector<std::string> Apply(HWND main) {
    const size_t before = SettledTrace().size();
    ActivateWindow(main);
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

  // The reports nx7ctl apply sends for `profile` (relative to the program folder) with the
  // program's macro library and the given macro ids of the inputs.
  std::vector<std::string> Nx7ctlApplyReports(const std::filesystem::path& profile, const std::wstring& macroIds = {},
                                              bool mustWork = true) const {
    return e2e::Nx7ctlApplyReports(folder_, profile, macroIds, mustWork);
  }
  std::vector<std::string> ExpectedReports(const SettingsBlock& block, const std::wstring& macroIds = {}) {
    WriteFile("expected.cfg", block);
    return Nx7ctlApplyReports("expected.cfg", macroIds);
  }
  // What the saved profile gives, once the program has written it (after the progress dialog).
  std::vector<std::string> SavedProfileReports(const std::vector<std::string>& sent, const std::wstring& macroIds = {}) {
    std::vector<std::string> fromProfile;
    WaitUntil(
        [&] {
          fromProfile = Nx7ctlApplyReports("Profile/Profile1.cfg", macroIds, false);
          return fromProfile == sent;
        },
        milliseconds(5000));
    return fromProfile.empty() ? Nx7ctlApplyReports("Profile/Profile1.cfg", macroIds) : fromProfile;
  }

  // The input tab as shown with the pointer away from it (its hover look off).
  std::vector<COLORREF> ShownTab(HWND main, int input) {
    POINT away{kPageCorner.x + 880, kPageCorner.y + 300};
    ClientToScreen(main, &away);
    MoveCursorTo(away);
    std::this_thread::sleep_for(milliseconds(300));
    return CaptureClient(main, InputTabBox(input));
  }

  // Clicks input tab `input` until the settings dialog shows, settled at its size and in front.
  HWND OpenDialog(HWND main, int input, const wchar_t* title = kDialogEnglish) {
    HWND dialog = nullptr;
    for (int attempt = 0; attempt < 3 && !dialog; ++attempt) {
      ActivateWindow(main);
      ClickClient(main, InputTabPoint(input));
      dialog = WaitForWindow({.title = title, .processId = process_.Id()}, milliseconds(4000));
    }
    if (!dialog) {
      ADD_FAILURE() << "the settings dialog of input " << input << " did not open";
      return nullptr;
    }
    EXPECT_TRUE(WaitUntilSettled(dialog, sd::kClient.width, sd::kClient.height)) << "the dialog did not settle";
    ActivateWindow(dialog);
    // Drawn, with its first page, before anything is compared with how it looks.
    std::vector<COLORREF> last;
    const bool drawn = WaitUntil(
        [&] {
          std::vector<COLORREF> now = CaptureClient(dialog, {0, 0, sd::kClient.width, sd::kClient.height});
          const bool same = now == last && ShownPage(dialog) != nullptr &&
                            std::any_of(now.begin(), now.end(), [&](COLORREF c) { return c != now.front(); });
          last = std::move(now);
          if (!same) std::this_thread::sleep_for(milliseconds(100));
          return same;
        },
        milliseconds(5000));
    EXPECT_TRUE(drawn) << "the dialog was not drawn";
    return dialog;
  }
  void Click(HWND dialog, POINT client) {
    ClickClient(dialog, client);
    std::this_thread::sleep_for(milliseconds(150));
  }
  // The shown page of the dialog (a child dialog in the page area).
  static HWND ShownPage(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (IsWindowVisible(child) && ClassOf(child) == L"#32770") return child;
    return nullptr;
  }
  // Clicks tab `tab` until a page of its own shows; that page.
  HWND SelectTab(HWND dialog, Tab tab, HWND previous) {
    HWND page = nullptr;
    for (int attempt = 0; attempt < 3; ++attempt) {
      Click(dialog, Centre(sd::kTabs[size_t(tab)]));
      if (WaitUntil(
              [&] {
                page = ShownPage(dialog);
                return page && page != previous;
              },
              milliseconds(2000)))
        return page;
    }
    ADD_FAILURE() << "tab " << int(tab) + 1 << " shows no page of its own";
    return nullptr;
  }
  // Clicks a row of a list of the dialog until it is selected.
  bool ChooseRow(HWND list, int row) {
    const int height = int(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const int top = int(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    const POINT at{30, (row - top) * height + height / 2};
    for (int attempt = 0; attempt < 3; ++attempt) {
      ClickClient(list, at);
      if (WaitUntil([&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) == row; }, milliseconds(2000))) return true;
    }
    return false;
  }
  // Clicks a dialog button that closes the dialog until it has closed.
  bool ClickToClose(HWND dialog, POINT client) {
    for (int attempt = 0; attempt < 3 && IsWindow(dialog); ++attempt) {
      ClickClient(dialog, client);
      if (WaitUntil([&] { return !IsWindow(dialog); }, milliseconds(3000))) return true;
    }
    return !IsWindow(dialog);
  }

  ProgramFolder folder_;
  std::filesystem::path program_;
  Process process_;
  bool chineseSkins_ = false;
};

// Ctrl, then A on the keyboard: the input hooks give them to the combination page, which shows
// the key's name; "OK" marks the right button's tab and APPLY sends Ctrl+A for it.
TEST_F(SettingDialogInProgram, ACombinationTypedOnTheKeyboardReachesTheMouse) {
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  const std::vector<COLORREF> unmarked = ShownTab(main, 2);
  HWND dialog = OpenDialog(main, 2);
  ASSERT_NE(dialog, nullptr);
  const RECT keyName{sd::kPageArea.left + sp::kKeyName.left, sd::kPageArea.top + sp::kKeyName.top,
                     sd::kPageArea.left + sp::kKeyName.right, sd::kPageArea.top + sp::kKeyName.bottom};
  const RECT ctrlBox{sd::kPageArea.left + sp::kModifierChecks[0].left, sd::kPageArea.top + sp::kModifierChecks[0].top,
                     sd::kPageArea.left + sp::kModifierChecks[0].right, sd::kPageArea.top + sp::kModifierChecks[0].bottom};
  const std::vector<COLORREF> noKey = CaptureClient(dialog, keyName), ctrlOff = CaptureClient(dialog, ctrlBox);
  PressChord({VK_CONTROL});
  EXPECT_TRUE(WaitUntil([&] { return CaptureClient(dialog, ctrlBox) != ctrlOff; }, milliseconds(3000)))
      << "the Ctrl box was not checked by the key";
  PressChord({'A'});
  EXPECT_TRUE(WaitUntil([&] { return CaptureClient(dialog, keyName) != noKey; }, milliseconds(3000)))
      << "no key name shown";
  const Screenshot shot = SaveScreenshot(dialog, L"setting_combination_ctrl_a");
  EXPECT_TRUE(shot.saved);
  ASSERT_TRUE(ClickToClose(dialog, Centre(sd::kOkButton)));
  EXPECT_NE(ShownTab(main, 2), unmarked) << "the tab is not marked";

  SettingsBlock expected = Defaults();
  expected.buttons[2].type = 5;
  expected.buttons[2].keyCode = 0x00040100;
  const std::vector<std::string> expectedReports = ExpectedReports(expected);
  ASSERT_FALSE(expectedReports.empty());
  const std::vector<std::string> sent = Apply(main);
  EXPECT_EQ(sent, expectedReports);
  EXPECT_EQ(sent, SavedProfileReports(sent));
  const SettingsBlock saved = SavedProfile();
  EXPECT_EQ(saved.buttons[2].type, 5);
  EXPECT_EQ(saved.buttons[2].keyCode, 0x00040100u);
}

// A macro of the library chosen in the dialog's two lists: APPLY uploads it and gives the forward
// side button its slot.
TEST_F(SettingDialogInProgram, AMacroChosenInTheListsIsUploadedForTheInput) {
  constexpr uint32_t kMacroId = 0x01000042;  // category 1, the first row of the category list
  auto library = std::make_unique<MacroLibrary>();
  MacroEntry& entry = (*library)[3];
  const MacroEvent events[] = {MakeMacroEvent(MacroEventType::Press, 0x04), MakeMacroEvent(MacroEventType::Delay, 30),
                               MakeMacroEvent(MacroEventType::Release, 0x04)};
  entry.entrySize = kMacroEntryHeaderSize + 4 * std::size(events);
  entry.entrySize = std::max<uint32_t>(entry.entrySize, kMacroEntrySize);
  entry.entrySignature = kMacroEntrySignature;
  entry.macroId = kMacroId;
  entry.repeatCount = 1;
  entry.eventCount = std::size(events);
  std::copy(std::begin(events), std::end(events), entry.macroEvents);
  const std::u16string name = u"Quick A";
  std::copy(name.begin(), name.end(), entry.macroName);
  std::ofstream(folder_.Path() / "Macro.cfg", std::ios::binary)
      .write(reinterpret_cast<const char*>(library.get()), sizeof(MacroLibrary));

  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  HWND dialog = OpenDialog(main, 3);
  ASSERT_NE(dialog, nullptr);
  HWND page = SelectTab(dialog, kMacroTab, ShownPage(dialog));
  ASSERT_NE(page, nullptr);
  HWND categories = ListOf(page, kCategoryListId), macros = ListOf(page, kMacroListId);
  ASSERT_NE(categories, nullptr);
  ASSERT_NE(macros, nullptr);
  EXPECT_EQ(SendMessageW(categories, LB_GETCOUNT, 0, 0), 21);
  EXPECT_EQ(SendMessageW(macros, LB_GETCOUNT, 0, 0), 0) << "macros listed before a category was chosen";
  ASSERT_TRUE(ChooseRow(categories, 0)) << "the category was not chosen";
  ASSERT_TRUE(WaitUntil([&] { return SendMessageW(macros, LB_GETCOUNT, 0, 0) == 1; }, milliseconds(3000)))
      << SendMessageW(macros, LB_GETCOUNT, 0, 0) << " macros listed";
  ASSERT_TRUE(ChooseRow(macros, 0)) << "the macro was not chosen";
  EXPECT_TRUE(SaveScreenshot(dialog, L"setting_macro_chosen").saved);
  ASSERT_TRUE(ClickToClose(dialog, Centre(sd::kOkButton)));

  const std::wstring ids = L"0,0,0," + std::to_wstring(kMacroId) + L",0,0,0";
  SettingsBlock expected = Defaults();
  expected.buttons[3].type = 6;
  expected.buttons[3].macroId = int32_t(kMacroId);
  const std::vector<std::string> expectedReports = ExpectedReports(expected, ids);
  ASSERT_FALSE(expectedReports.empty());
  EXPECT_NE(expectedReports, ExpectedReports(Defaults())) << "the macro changes nothing that is sent";
  const std::vector<std::string> sent = Apply(main);
  EXPECT_EQ(sent, expectedReports);
  EXPECT_EQ(sent, SavedProfileReports(sent, ids));
  const SettingsBlock saved = SavedProfile();
  EXPECT_EQ(saved.buttons[3].type, 6);
  EXPECT_EQ(uint32_t(saved.buttons[3].macroId), kMacroId);
  EXPECT_EQ(FieldText(saved.buttons[3].displayName), name);
}

// A program chosen with Browse in the system's file dialog: the wheel-forward input then runs it,
// once per wheel step.
TEST_F(SettingDialogInProgram, AProgramChosenInTheFileDialogRunsFromTheInput) {
  const auto target = folder_.Add(BuildFiles::StandIn(), std::filesystem::path("launch") / "target.exe");
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  HWND dialog = OpenDialog(main, 5);
  ASSERT_NE(dialog, nullptr);
  HWND page = SelectTab(dialog, kAdvancedTab, ShownPage(dialog));
  ASSERT_NE(page, nullptr);

  HWND files = nullptr;
  for (int attempt = 0; attempt < 3 && !files; ++attempt) {
    Click(dialog, OnSettingPage(sp::kLaunchRows[1].browse));
    WaitUntil(
        [&] {
          for (HWND w : FindWindows({.className = L"#32770", .processId = process_.Id()}))
            if (FileNameBox(w)) files = w;
          return files != nullptr;
        },
        milliseconds(4000));
  }
  ASSERT_NE(files, nullptr) << "no file dialog";
  HWND name = FileNameBox(files);
  const std::wstring path = target.wstring();
  // The dialog may still be filling its list when it shows: typed again until the box holds it.
  const bool typed = WaitUntil(
      [&] {
        ActivateWindow(files);
        RECT r{};
        GetClientRect(name, &r);
        ClickClient(name, {r.right / 2, r.bottom / 2});
        PressChord({VK_END});
        PressChord({VK_SHIFT, VK_HOME});
        PressChord({VK_DELETE});
        TypeText(path);
        return WaitUntil([&] { return EditText(name) == path; }, milliseconds(1000));
      },
      milliseconds(10000));
  ASSERT_TRUE(typed) << "the file-name box does not show the path";
  EXPECT_TRUE(SaveScreenshot(files, L"setting_program_file_dialog").saved);
  WaitUntil(
      [&] {
        ActivateWindow(files);
        PressChord({VK_RETURN});
        return WaitUntil([&] { return !IsWindow(files); }, milliseconds(2000));
      },
      milliseconds(10000));
  ASSERT_FALSE(IsWindow(files)) << "the file dialog did not take the path";
  ActivateWindow(dialog);
  EXPECT_TRUE(SaveScreenshot(dialog, L"setting_program_chosen").saved);
  ASSERT_TRUE(ClickToClose(dialog, Centre(sd::kOkButton)));

  const std::vector<std::string> sent = Apply(main);
  const SettingsBlock saved = SavedProfile();
  const ButtonAssignment& wheel = saved.buttons[5];
  EXPECT_EQ(wheel.type, 19);
  EXPECT_EQ(wheel.launchKind, 0xD0);
  EXPECT_EQ(wheel.launchCode, 0x00D50006u);
  const std::u16string savedPath = FieldText(wheel.launchPath);
  EXPECT_EQ(lstrcmpiW(reinterpret_cast<const wchar_t*>(savedPath.c_str()), path.c_str()), 0)
      << std::filesystem::path(std::wstring(savedPath.begin(), savedPath.end())).string();
  EXPECT_EQ(FieldText(wheel.displayName), savedPath);
  EXPECT_EQ(sent, SavedProfileReports(sent));
  // The mouse keeps the input's own function; the program intercepts it.
  EXPECT_EQ(sent, ExpectedReports(Defaults()));

  EXPECT_EQ(LaunchesOfWheelSteps(folder_, 3), (std::vector<std::string>(3, "0")));
}

// The only Click input cannot lose it: the refusal shows and nothing changes. The disable box
// and "Restore" on another input.
TEST_F(SettingDialogInProgram, TheLeftClickRefusalDisableAndRestore) {
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  const std::vector<COLORREF> leftTab = ShownTab(main, 0), middleTab = ShownTab(main, 1);
  const std::vector<std::string> defaults = ExpectedReports(Defaults());
  ASSERT_FALSE(defaults.empty());

  // Left button: "Close window", the first basic function.
  HWND dialog = OpenDialog(main, 0);
  ASSERT_NE(dialog, nullptr);
  HWND page = SelectTab(dialog, kBaseTab, ShownPage(dialog));
  ASSERT_NE(page, nullptr);
  HWND list = ListOf(page, kBaseListId);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 24);
  ASSERT_TRUE(ChooseRow(list, 0));
  ASSERT_TRUE(ClickToClose(dialog, Centre(sd::kOkButton)));
  HWND box = WaitForWindow({.title = kInfoTitle, .processId = process_.Id()}, milliseconds(5000));
  ASSERT_NE(box, nullptr) << "no refusal";
  std::this_thread::sleep_for(milliseconds(300));  // painted
  EXPECT_EQ(CaptureClient(box, kMessageBody), ReferenceMessageBody(u"At least one button must be configured as 'Left click'!"));
  EXPECT_TRUE(SaveScreenshot(box, L"setting_left_click_refusal").saved);
  ASSERT_TRUE(ClickToClose(box, Centre(layout::message_box::kOkSingle)));
  EXPECT_EQ(ShownTab(main, 0), leftTab) << "the refused input's tab changed";
  std::vector<std::string> sent = Apply(main);
  EXPECT_EQ(sent, defaults);
  EXPECT_EQ(SavedProfile().buttons[0].type, 1);

  // Middle button: disabled through the box, then restored.
  dialog = OpenDialog(main, 1);
  ASSERT_NE(dialog, nullptr);
  const RECT pages = {sd::kPageArea.left, sd::kPageArea.top, sd::kPageArea.right, sd::kPageArea.bottom};
  const std::vector<COLORREF> withPage = CaptureClient(dialog, pages);
  Click(dialog, Centre(sd::kDisableCheck));
  EXPECT_TRUE(WaitUntil([&] { return ShownPage(dialog) == nullptr; }, milliseconds(2000))) << "a page still shows";
  EXPECT_NE(CaptureClient(dialog, pages), withPage);
  EXPECT_TRUE(SaveScreenshot(dialog, L"setting_disabled").saved);
  ASSERT_TRUE(ClickToClose(dialog, Centre(sd::kOkButton)));
  EXPECT_NE(ShownTab(main, 1), middleTab) << "the disabled input's tab is not marked";
  SettingsBlock disabled = Defaults();
  disabled.buttons[1].type = 121;
  sent = Apply(main);
  EXPECT_EQ(sent, ExpectedReports(disabled));
  EXPECT_NE(sent, defaults);
  EXPECT_EQ(sent, SavedProfileReports(sent));
  EXPECT_EQ(SavedProfile().buttons[1].type, 121);

  dialog = OpenDialog(main, 1);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(ClickToClose(dialog, Centre(sd::kRestoreButton)));
  EXPECT_EQ(ShownTab(main, 1), middleTab) << "the restored input's tab is still marked";
  sent = Apply(main);
  EXPECT_EQ(sent, defaults);
  EXPECT_EQ(SavedProfile().buttons[1].type, 4);
}

// Each of the four pages in both languages, as the running program shows them.
class SettingDialogInProgramLook : public SettingDialogInProgram, public ::testing::WithParamInterface<int> {};

TEST_P(SettingDialogInProgramLook, Screenshots) {
  const bool zh = GetParam() == kChinese;
  SetLanguage(GetParam());
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  HWND dialog = OpenDialog(main, 2, zh ? kDialogChinese : kDialogEnglish);
  ASSERT_NE(dialog, nullptr);
  const wchar_t* names[4] = {L"combination", L"macro", L"base", L"advanced"};
  std::vector<std::vector<COLORREF>> shown;
  HWND page = ShownPage(dialog);
  ASSERT_NE(page, nullptr) << "no page shows at first";
  for (int tab = 0; tab < 4; ++tab) {
    if (tab > 0) {
      page = SelectTab(dialog, Tab(tab), page);
      ASSERT_NE(page, nullptr);
    }
    // Away from the controls' hover looks.
    POINT away{sd::kClient.width - 60, sd::kClient.height - 20};
    ClientToScreen(dialog, &away);
    MoveCursorTo(away);
    std::this_thread::sleep_for(milliseconds(400));
    shown.push_back(CaptureClient(dialog, {0, 0, sd::kClient.width, sd::kClient.height}));
    const Screenshot shot = SaveScreenshot(dialog, std::wstring(L"setting_") + (zh ? L"zh_" : L"en_") + names[tab]);
    EXPECT_TRUE(shot.saved);
    EXPECT_EQ(shot.width, sd::kClient.width);
    EXPECT_EQ(shot.height, sd::kClient.height);
    EXPECT_GT(shot.distinctColors, 30u);
  }
  for (size_t a = 0; a < shown.size(); ++a)
    for (size_t b = a + 1; b < shown.size(); ++b) EXPECT_NE(shown[a], shown[b]) << "tabs " << a + 1 << " and " << b + 1;
  // The close button ends it without a change.
  ASSERT_TRUE(ClickToClose(dialog, Centre(sd::kCloseButton)));
  EXPECT_TRUE(process_.Running());
}

INSTANTIATE_TEST_SUITE_P(Languages, SettingDialogInProgramLook, ::testing::Values(kEnglish, kChinese),
                         [](const auto& info) { return info.param == kChinese ? "Chinese" : "English"; });

}  // namespace
}  // namespace nx7::e2e
