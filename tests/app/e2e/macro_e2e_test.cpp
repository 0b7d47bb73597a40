// The macro page of the real NX7Driver.exe under Wine, on the virtual mouse: the category menu of
// MenuEx.dll, new, rename, delete (refused while in use), recording keys through the program's
// keyboard hook and the repeat count, all by clicks and keys; then APPLY, whose macro upload must
// be what nx7ctl sends for the saved profile and macro file, and a restart that keeps the macros.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <thread>

#include "harness.h"
#include "program_e2e.h"
#include "macros/macro_library.h"
#include "skin/layout.h"
#include "store/profile_slots.h"
#include "store/settings_block.h"

namespace nx7::e2e {
namespace {

namespace mp = layout::macro_page;

constexpr wchar_t kMenuClass[] = L"NX7MenuExLevel";
constexpr int kListItemHeight = 20;
constexpr int kMenuItemHeight = 24;
constexpr uint32_t kFire = 0x15000010;  // assigned to the right button of profile 1
constexpr int kRightButton = 2;

POINT OnPage(int x, int y) { return {kPageCorner.x + x, kPageCorner.y + y}; }
POINT OnPage(const layout::Rect& r) { return OnPage((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
// The middle of item `i` of the macro list.
POINT MacroItem(int i) { return OnPage(mp::kMacroList.left + 60, mp::kMacroList.top + kListItemHeight * i + kListItemHeight / 2); }

std::string Bytes(const void* data, size_t size) { return std::string(static_cast<const char*>(data), size); }

MacroEntry Macro(uint32_t id, std::u16string_view name, std::initializer_list<MacroEvent> events) {
  MacroEntry e{};
  e.entrySize = kMacroEntryHeaderSize + 4 * uint32_t(events.size());
  e.entrySignature = kMacroEntrySignature;
  e.macroId = id;
  e.repeatCount = 1;
  for (MacroEvent ev : events) e.macroEvents[e.eventCount++] = ev;
  std::memcpy(e.macroName, name.data(), name.size() * sizeof(char16_t));
  return e;
}

// The listed macros of a Macro.cfg image.
std::vector<MacroEntry> Listed(const std::string& image) {
  auto library = std::make_unique<MacroLibrary>();
  LoadMacroLibraryImage({reinterpret_cast<const uint8_t*>(image.data()), image.size()}, *library);
  std::vector<MacroEntry> listed;
  for (const MacroEntry& e : *library)
    if (IsListed(e)) listed.push_back(e);
  return listed;
}
std::optional<MacroEntry> ListedNamed(const std::string& image, std::u16string_view name) {
  for (const MacroEntry& e : Listed(image))
    if (MacroName(e) == name) return e;
  return std::nullopt;
}

class MacroPage : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(BuildFiles::Driver().empty()) << "NX7Driver.exe is not part of this build";
    ASSERT_TRUE(WaitUntil([] { return ProcessesNamed(L"NX7Driver.exe").empty(); }, milliseconds(10000)))
        << "an NX7Driver.exe from elsewhere is running";
    program_ = folder_.AddDriver();
    // Profile 1 plays "Fire" on the right button: the block says macro, the slot names the id.
    SettingsBlock block{};
    FillWithDefaults(block, false);
    block.buttons[kRightButton].type = 6;
    block.buttons[kRightButton].macroId = int32_t(kFire);
    const auto image = SerialiseSettingsBlock(block);
    std::filesystem::create_directories(folder_.Path() / "Profile");
    std::ofstream(folder_.Path() / "Profile" / "Profile1.cfg", std::ios::binary)
        << std::string(image.begin(), image.end());
    ProfileSlotTable slots{};
    slots[0].active = 1;
    slots[0].macroIds[kRightButton] = int32_t(kFire);
    const auto table = SerialiseSlotTable(slots);
    WriteRegistryBinary(HKEY_LOCAL_MACHINE, kKey, L"ConfigInfo", std::vector<BYTE>(table.begin(), table.end()));
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, kKey, L"DefaultSetting");
    auto library = std::make_unique<MacroLibrary>();
    (*library)[0] = Macro(kFire, u"Fire", {MakeMacroEvent(MacroEventType::Press, 'F'), MakeMacroEvent(MacroEventType::Release, 'F')});
    std::ofstream(folder_.Path() / "Macro.cfg", std::ios::binary) << Bytes(library->data(), kMacroLibrarySize);
    SetLanguage(kEnglish);
  }
  void TearDown() override {
    if (reopened_) std::printf("category menu opened again after closing at once: %d time(s)\n", reopened_);
    if (process_.Running()) process_.Kill();
  }

  static void SetLanguage(int id) { WriteRegistryBinary(HKEY_LOCAL_MACHINE, kLanguageKey, L"Language", {BYTE(id), 0, 0, 0}); }

  HWND StartAndShow() {
    return StartAndShowProgram(process_, folder_, program_, {L"--virtual", L"--trace", TraceFile().wstring()});
  }
  void Click(HWND main, POINT client, int settleMs = 200) {
    ClickClient(main, client);
    std::this_thread::sleep_for(milliseconds(settleMs));
  }
  // The control of the macro page at a page point (the page is the shown page dialog).
  static HWND PageControl(HWND main, const layout::Rect& r) {
    const POINT at = OnPage(r);
    HWND page = ChildWindowFromPointEx(main, at, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    POINT inPage = at;
    MapWindowPoints(main, page, &inPage, 1);
    return ChildWindowFromPointEx(page, inPage, CWP_SKIPINVISIBLE);
  }
  static std::wstring CategoryCaption(HWND main) { return TitleOf(PageControl(main, mp::kCategoryButton)); }
  static int MacroSelection(HWND main) { return int(SendMessageW(MacroListBox(main), LB_GETCURSEL, 0, 0)); }
  static HWND MacroListBox(HWND main) {
    HWND frame = PageControl(main, mp::kMacroList);
    HWND list = nullptr;
    EnumChildWindows(
        frame,
        [](HWND w, LPARAM l) -> BOOL {
          if (ClassOf(w) == L"ListBox") {
            *reinterpret_cast<HWND*>(l) = w;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&list));
    return list;
  }
  static int MacroCount(HWND main) {
    // The list sits in its scroll frame's clipping child.
    HWND frame = PageControl(main, mp::kMacroList);
    HWND list = nullptr;
    EnumChildWindows(
        frame,
        [](HWND w, LPARAM l) -> BOOL {
          if (ClassOf(w) == L"ListBox") {
            *reinterpret_cast<HWND*>(l) = w;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&list));
    return list ? int(SendMessageW(list, LB_GETCOUNT, 0, 0)) : -1;
  }
  HWND Menu(milliseconds timeout) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
          for (HWND w : FindWindows({.className = kMenuClass, .processId = process_.Id()})) found = w;
          return found != nullptr;
        },
        timeout);
    return found;
  }
  // Opens the category menu by a click on its button. The menu takes the activation while it is
  // open; without a window manager, Wine may hand the activation of a menu that closed a moment
  // ago to another program some time later, and a menu opened in between takes that for the user
  // leaving the program and closes. Such a menu is opened again (at most twice).
  HWND OpenMenu(HWND main) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      Click(main, OnPage(mp::kCategoryButton));
      HWND menu = Menu(milliseconds(3000));
      if (!menu) return nullptr;
      std::this_thread::sleep_for(milliseconds(500));
      if (IsWindow(menu) && IsWindowVisible(menu)) return menu;
      ++reopened_;
    }
    return nullptr;
  }
  // Opens the category menu and clicks entry `index` (0 to 20).
  void ChooseCategory(HWND main, int index) {
    HWND menu = OpenMenu(main);
    ASSERT_NE(menu, nullptr) << "no category menu";
    RECT r{};
    GetWindowRect(menu, &r);
    ClickScreen({r.left + 60, r.top + kMenuItemHeight * index + kMenuItemHeight / 2});
    std::this_thread::sleep_for(milliseconds(300));
    EXPECT_TRUE(WaitUntil([&] { return FindWindows({.className = kMenuClass, .processId = process_.Id()}).empty(); },
                          milliseconds(2000)))
        << "the menu stayed open after a choice";
  }
  // After a menu or a message box had the activation, the keys typed next go to the main window only once it has
  // it back, which a person's desktop does and this does.
  static void TakeBackActivation(HWND main) {
    std::this_thread::sleep_for(milliseconds(600));
    ActivateWindow(main);
    std::this_thread::sleep_for(milliseconds(300));
  }
  int reopened_ = 0;

  // Presses and lets go of a key: the keyboard hook sees it as a person's key.
  static void Tap(WORD vk) {
    PressChord({vk});
    std::this_thread::sleep_for(milliseconds(120));
  }

  std::filesystem::path TraceFile() const { return folder_.Path() / "trace.txt"; }
  std::vector<std::string> SettledTrace() const { return SettledLines(TraceFile(), milliseconds(100)); }
  // Macro.cfg once `ready` holds for it, or as it is after three seconds. Read at a slow pace: the
  // program replaces the file on every change, and a replace fails while another program has it
  // open.
  std::string MacroFileWhen(const std::function<bool(const std::string&)>& ready) const {
    std::string image;
    for (int i = 0; i < 10; ++i) {
      std::this_thread::sleep_for(milliseconds(300));
      image = folder_.Read("Macro.cfg");
      if (ready(image)) break;
    }
    return image;
  }
  // The Windows message box the program shows when a file cannot be written.
  std::vector<HWND> FileMessageBoxes() const { return FindWindows({.title = L"Info", .processId = process_.Id()}); }
  std::vector<HWND> InfoBoxes() const { return FindWindows({.title = kInfoTitle, .processId = process_.Id()}); }

  void ApplyThroughProgressDialog(HWND main) {
    ClickClient(main, kApply);
    HWND progress = WaitForWindow({.title = kProgressTitle, .processId = process_.Id()}, milliseconds(5000));
    ASSERT_NE(progress, nullptr) << "no progress dialog after APPLY";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(progress); }, milliseconds(15000))) << "the progress dialog did not close";
    std::this_thread::sleep_for(milliseconds(300));
  }
  // The reports nx7ctl apply sends for the saved profile 1 with the program's macro file and the
  // slot's macro ids.
  // What nx7ctl sends for profile 1 with kFire on the right button.
  std::vector<std::string> Nx7ctlApplyReports() const {
    char ids[64];
    std::snprintf(ids, sizeof ids, "0,0,0x%08X,0,0,0,0", unsigned(kFire));
    return e2e::Nx7ctlApplyReports(folder_, std::filesystem::path("Profile") / "Profile1.cfg",
                                   std::wstring(ids, ids + std::strlen(ids)));
  }

  ProgramFolder folder_;
  std::filesystem::path program_;
  Process process_;
};

TEST_F(MacroPage, CategoriesNewRenameDeleteRecordRepeatApplyAndRestart) {
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  Click(main, kTab[2], 400);
  // At start: the custom category with its one macro, "Fire", selected.
  EXPECT_EQ(CategoryCaption(main), L"Customisze");
  EXPECT_EQ(MacroCount(main), 1);
  EXPECT_TRUE(SaveScreenshot(main, L"macro_page_en").saved);

  // The category menu: a choice, back, then a click outside that chooses nothing.
  ChooseCategory(main, 4);
  EXPECT_EQ(CategoryCaption(main), L"Team Fortress 2");
  EXPECT_EQ(MacroCount(main), 0);
  ChooseCategory(main, 20);
  EXPECT_EQ(CategoryCaption(main), L"Customisze");
  ASSERT_EQ(MacroCount(main), 1);
  HWND menu = OpenMenu(main);
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(SaveScreenshot(main, L"macro_page_menu_en").saved);
  {
    // The menu as the screen shows it, below the category button.
    RECT r{};
    GetWindowRect(menu, &r);
    EXPECT_GE(r.bottom - r.top, 21 * kMenuItemHeight);
    RECT button{};
    GetWindowRect(PageControl(main, mp::kCategoryButton), &button);
    EXPECT_EQ(r.left, button.left + 1);
    EXPECT_EQ(r.top, button.bottom + 1);
  }
  Click(main, OnPage(480, 30));  // the page's background
  EXPECT_TRUE(WaitUntil([&] { return FindWindows({.className = kMenuClass, .processId = process_.Id()}).empty(); },
                        milliseconds(2000)))
      << "an outside click left the menu open";
  EXPECT_EQ(CategoryCaption(main), L"Customisze");
  EXPECT_EQ(MacroCount(main), 1);
  TakeBackActivation(main);

  // New, named by typing; the name is taken when the editor loses the focus.
  Click(main, OnPage(mp::kNewMacroButton));
  EXPECT_EQ(MacroCount(main), 2);
  for (int i = 0; i < 12; ++i) PressChord({VK_BACK});
  TypeText(L"Dash");
  Click(main, OnPage(480, 380));  // the (empty) event list takes the focus
  // Recorded from the keyboard, through the hook.
  Click(main, OnPage(mp::kRecordButton));
  Tap('D');
  Tap('S');
  Click(main, OnPage(mp::kRecordButton));
  std::optional<MacroEntry> dash;
  dash = ListedNamed(MacroFileWhen([](const std::string& f) { return ListedNamed(f, u"Dash").has_value(); }), u"Dash");
  EXPECT_TRUE(dash) << "the new macro was not stored under its name";
  if (dash) {
    const std::span<const MacroEvent> events = MacroEvents(*dash);
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(events.front(), MakeMacroEvent(MacroEventType::Press, 'D'));
    EXPECT_EQ(events.back(), MakeMacroEvent(MacroEventType::Release, 'S'));
    EXPECT_EQ(dash->macroId >> 24, 21u);
  }

  // "Fire" is assigned to the right button: deleting it is refused with the message box.
  Click(main, MacroItem(0));
  Click(main, OnPage(mp::kDeleteMacroButton));
  HWND box = WaitForWindow({.title = kInfoTitle, .processId = process_.Id()}, milliseconds(3000));
  ASSERT_NE(box, nullptr) << "no refusal";
  EXPECT_TRUE(SaveScreenshot(box, L"macro_page_delete_refused_en").saved);
  PostMessageW(box, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return InfoBoxes().empty(); }, milliseconds(3000)));
  // The box had the activation: the repeat count below is typed into the main window.
  TakeBackActivation(main);
  EXPECT_EQ(MacroCount(main), 2);
  EXPECT_TRUE(ListedNamed(folder_.Read("Macro.cfg"), u"Fire"));

  // "Fire" recorded anew, with a repeat count of 7.
  Click(main, OnPage(mp::kRecordButton));
  Tap('Q');
  Tap('W');
  Click(main, OnPage(mp::kRecordButton));
  Click(main, OnPage(mp::kRepeatEdit));
  PressChord({VK_END});
  for (int i = 0; i < 6; ++i) PressChord({VK_BACK});
  TypeText(L"7");
  std::optional<MacroEntry> fire = ListedNamed(MacroFileWhen([](const std::string& f) {
                                                 const auto e = ListedNamed(f, u"Fire");
                                                 return e && e->repeatCount == 7;
                                               }),
                                               u"Fire");
  ASSERT_TRUE(fire);
  EXPECT_EQ(fire->macroId, kFire);
  {
    wchar_t shown[16] = {};
    SendMessageW(PageControl(main, mp::kRepeatEdit), WM_GETTEXT, 16, LPARAM(shown));
    EXPECT_EQ(fire->repeatCount, 7u) << "the edit shows \"" << std::string(shown, shown + wcslen(shown))
                                     << "\"; the main window is " << (GetForegroundWindow() == main ? "" : "not ")
                                     << "in front; macro selection " << MacroSelection(main);
  }
  {
    const std::span<const MacroEvent> events = MacroEvents(*fire);
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(events.front(), MakeMacroEvent(MacroEventType::Press, 'Q'));
    EXPECT_EQ(events.back(), MakeMacroEvent(MacroEventType::Release, 'W'));
  }

  // "Dash" is nobody's: deleted.
  Click(main, MacroItem(1));
  Click(main, OnPage(mp::kDeleteMacroButton));
  EXPECT_TRUE(InfoBoxes().empty());
  EXPECT_EQ(MacroCount(main), 1);
  EXPECT_FALSE(ListedNamed(MacroFileWhen([](const std::string& f) { return !ListedNamed(f, u"Dash"); }), u"Dash"));
  EXPECT_TRUE(FileMessageBoxes().empty()) << "a file could not be written";

  // APPLY (from the performance page): the upload is what the saved files give.
  Click(main, kTab[0], 400);
  const size_t before = SettledTrace().size();
  ApplyThroughProgressDialog(main);
  EXPECT_TRUE(InfoBoxes().empty()) << "a failure was shown";
  const std::vector<std::string> sent = Reports(SettledTrace(), before);
  std::vector<std::string> expected;
  WaitUntil(
      [&] {
        expected = Nx7ctlApplyReports();
        return expected == sent;
      },
      milliseconds(5000));
  EXPECT_EQ(sent, expected);
  for (size_t i = 0; i < std::min(sent.size(), expected.size()); ++i) {
    if (sent[i] == expected[i]) continue;
    ADD_FAILURE() << "first difference: " << sent[i] << " / " << expected[i];
    break;
  }
  // The download did carry a macro: output reports beyond the key matrix and lighting.
  EXPECT_TRUE(std::any_of(sent.begin(), sent.end(), [](const std::string& r) { return r.rfind("OUTPUT", 0) == 0; }));

  // A restart keeps the macro file and shows "Fire" again.
  const std::string saved = folder_.Read("Macro.cfg");
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(process_.WaitForExit(milliseconds(10000)).has_value());
  main = StartAndShow();
  ASSERT_NE(main, nullptr);
  Click(main, kTab[2], 400);
  EXPECT_EQ(MacroCount(main), 1);
  EXPECT_EQ(folder_.Read("Macro.cfg"), saved);
  fire = ListedNamed(saved, u"Fire");
  ASSERT_TRUE(fire);
  EXPECT_EQ(fire->repeatCount, 7u);
}

TEST_F(MacroPage, ChineseLayoutAndMenu) {
  SetLanguage(kChinese);
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  Click(main, kTab[2], 400);
  EXPECT_EQ(CategoryCaption(main), L"玩家自定义");
  EXPECT_TRUE(SaveScreenshot(main, L"macro_page_zh").saved);
  ASSERT_NE(OpenMenu(main), nullptr);
  EXPECT_TRUE(SaveScreenshot(main, L"macro_page_menu_zh").saved);
  PressChord({VK_ESCAPE});
  Click(main, OnPage(480, 30));
  EXPECT_TRUE(WaitUntil([&] { return FindWindows({.className = kMenuClass, .processId = process_.Id()}).empty(); },
                        milliseconds(2000)));
  ChooseCategory(main, 12);
  EXPECT_EQ(CategoryCaption(main), L"远古遗迹守卫2（Dota 2）");
}

TEST_F(MacroPage, WithoutMenuExTheCategoryButtonSaysWhyAndThePageStays) {
  std::filesystem::remove(folder_.Path() / "MenuEx.dll");
  HWND main = StartAndShow();
  ASSERT_NE(main, nullptr);
  Click(main, kTab[2], 400);
  Click(main, OnPage(mp::kCategoryButton));
  EXPECT_NE(CategoryCaption(main), L"Customisze");
  EXPECT_NE(CategoryCaption(main).find(L"MenuEx.dll"), std::wstring::npos) << CategoryCaption(main).size();
  EXPECT_TRUE(FindWindows({.className = kMenuClass, .processId = process_.Id()}).empty());
  EXPECT_TRUE(process_.Running());
  // Still the macro page, in its place, and it still works.
  EXPECT_EQ(MacroCount(main), 1);
  Click(main, OnPage(mp::kNewMacroButton));
  EXPECT_EQ(MacroCount(main), 2);
  EXPECT_TRUE(SaveScreenshot(main, L"macro_page_without_menuex_en").saved);
}

}  // namespace
}  // namespace nx7::e2e
