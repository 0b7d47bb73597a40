#include "buttons/setting_pages.h"

#include <gtest/gtest.h>

#include <memory>

#include "buttons/key_names.h"
#include "macros/macro_entry_fixture.h"
#include "platform/virtual/recording_shell.h"
#include "platform/virtual/us_keyboard_layout.h"

namespace nx7 {
namespace {

constexpr uint32_t kPress = 0, kRelease = 0x80;
constexpr uint32_t VK_A = 'A', VK_CTRL = 17, VK_LSHIFT = 160, VK_RMENU = 165, VK_LWIN = 91, VK_F13 = 124;

SettingResult Filled(const CombinationPage& page) {
  SettingResult r;
  page.FillResult(r);
  return r;
}

TEST(CombinationPage, KeyEventsOfTheHookGiveTheDeviceKeyCode) {
  struct Event {
    uint32_t vk, flags;
  };
  struct Case {
    const char* name;
    std::vector<Event> events;
    int32_t value;
  } cases[] = {
      {"Ctrl then A", {{VK_CTRL, kPress}, {VK_CTRL, kRelease}, {VK_A, kPress}, {VK_A, kRelease}}, 0x00040100},
      {"A alone", {{VK_A, kPress}}, 0x00040000},
      {"Shift alone", {{VK_LSHIFT, kPress}, {VK_LSHIFT, kRelease}}, 0x00E10000},
      {"Ctrl alone", {{VK_CTRL, kPress}}, 0x00E00000},
      {"right Alt alone (extended flag)", {{VK_RMENU, 1}}, 0x00E20000},
      {"Win alone, injected", {{VK_LWIN, 16}}, 0x00E30000},
      {"Ctrl and Alt without a key", {{VK_CTRL, kPress}, {18, 32}}, 0},
      {"Ctrl pressed twice", {{VK_CTRL, kPress}, {VK_CTRL, kRelease}, {VK_CTRL, kPress}, {VK_A, kPress}}, 0x00040000},
      {"Ctrl+Shift+Alt+Win+A", {{VK_CTRL, 0}, {VK_LSHIFT, 0}, {164, 0}, {92, 0}, {VK_A, 0}}, 0x00040F00},
      {"a release captures too", {{VK_A, kRelease}}, 0x00040000},
      {"the last key counts", {{VK_A, kPress}, {'B', kPress}}, 0x00050000},
      {"F13 is no key", {{VK_F13, kPress}}, 0},
      {"Shift with F13 is Shift", {{VK_LSHIFT, kPress}, {VK_F13, kPress}}, 0x00E10000},
      {"Shift + Ctrl with F13 is nothing", {{VK_LSHIFT, kPress}, {VK_CTRL, kPress}, {VK_F13, kPress}}, 0},
      {"a modifier release with other flags", {{VK_CTRL, 0x81}, {VK_CTRL, 2}}, 0},
      {"nothing", {}, 0},
  };
  for (const Case& c : cases) {
    CombinationPage page;
    for (const Event& e : c.events) page.OnKeyEvent(e.vk, e.flags);
    const SettingResult r = Filled(page);
    EXPECT_EQ(r.value, c.value) << c.name;
    EXPECT_EQ(r.category, kSettingCombination) << c.name;
  }
}

TEST(CombinationPage, CtrlTogglesOnEachPressOnlyAndTheKeyNameIsOfTheCapturedKey) {
  CombinationPage page;
  EXPECT_EQ(page.OnKeyEvent(VK_CTRL, kPress), CombinationPage::Change::kModifier);
  EXPECT_TRUE(page.Checked(Modifier::kCtrl));
  EXPECT_EQ(page.OnKeyEvent(VK_CTRL, kRelease), CombinationPage::Change::kNone);
  EXPECT_TRUE(page.Checked(Modifier::kCtrl));
  EXPECT_EQ(page.OnKeyEvent(163, kPress), CombinationPage::Change::kModifier);  // right Ctrl
  EXPECT_FALSE(page.Checked(Modifier::kCtrl));
  EXPECT_FALSE(page.Checked(Modifier::kAlt));
  EXPECT_EQ(page.OnKeyEvent(VK_A, kPress), CombinationPage::Change::kKey);
  EXPECT_EQ(page.CapturedKey(), VK_A);
  UsKeyboardLayout layout;
  EXPECT_EQ(KeyName(page.CapturedKey(), layout), u"A");
  // A click on a box toggles it like the key does.
  page.Toggle(Modifier::kWin);
  EXPECT_TRUE(page.Checked(Modifier::kWin));
  EXPECT_EQ(Filled(page).value, 0x00040800);
}

TEST(MacroChoicePage, TheListFollowsTheSelectedCategory) {
  auto library = std::make_unique<MacroLibrary>();
  (*library)[0] = testing::StoredMacro(0x01000010, u"Sprint", {testing::Press('W')});
  (*library)[3] = testing::StoredMacro(0x15000020, u"Mine", {testing::Press('M')});
  (*library)[4] = testing::StoredMacro(0x01000030, u"Crouch", {testing::Press('C')});
  (*library)[7] = testing::StoredMacro(0x15000040, u"Build", {testing::Press('B')});
  MacroEntry unlisted = testing::StoredMacro(0x15000050, u"Gone", {});
  unlisted.entrySignature = 0;
  (*library)[9] = unlisted;

  MacroChoicePage page;
  EXPECT_EQ(page.ShownCategory(), 0u);
  EXPECT_TRUE(MacrosOfCategory(*library, page.ShownCategory()).empty());

  EXPECT_TRUE(page.OnCategorySelected(20));  // the last row: the user's own macros
  EXPECT_EQ(page.ShownCategory(), 21u);
  const std::vector<MacroRow> own = MacrosOfCategory(*library, page.ShownCategory());
  ASSERT_EQ(own.size(), 2u);
  EXPECT_EQ(own[0].name, u"Mine");
  EXPECT_EQ(own[0].macroId, 0x15000020u);
  EXPECT_EQ(own[1].name, u"Build");
  EXPECT_FALSE(page.OnCategorySelected(20));  // the same row again: no refill
  EXPECT_TRUE(page.OnCategorySelected(0));
  const std::vector<MacroRow> first = MacrosOfCategory(*library, page.ShownCategory());
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[1].name, u"Crouch");
}

TEST(MacroChoicePage, ASelectedRowGivesItsIdAndNoSelectionGivesNothing) {
  SettingResult r;
  FillMacroResult(0x15000020u, r);
  EXPECT_EQ(r.category, kSettingMacro);
  EXPECT_EQ(uint32_t(r.value), 0x15000020u);
  SettingResult none;
  none.value = 99;
  FillMacroResult(std::nullopt, none);
  EXPECT_EQ(none.value, 0);
  EXPECT_EQ(none.category, kSettingBasic);
}

TEST(MacroChoicePage, CategoryNamesInBothLanguages) {
  EXPECT_EQ(SettingCategoryName(0, false), u"Battlefield 3");
  EXPECT_EQ(SettingCategoryName(12, true), u"远古遗迹守卫2（Dota 2） ");
  EXPECT_EQ(SettingCategoryName(12, false), u"Dota 2 ");
  EXPECT_EQ(SettingCategoryName(20, true), u"玩家自定义");
  EXPECT_EQ(SettingCategoryName(20, false), u"Customisze");
  EXPECT_TRUE(SettingCategoryName(21, false).empty());
  EXPECT_TRUE(SettingCategoryName(-1, true).empty());
}

TEST(BasePage, RowsStandForTheirTypes) {
  struct Case {
    int row;
    int32_t value;
  } cases[] = {{0, 81}, {4, 123}, {9, 1}, {15, 32}, {19, 38}, {20, 37}, {22, 142}, {23, 143}, {-1, 0}, {24, 0}};
  for (const Case& c : cases) {
    SettingResult r;
    r.value = 5;
    FillBaseResult(c.row, r);
    EXPECT_EQ(r.value, c.value) << c.row;
    EXPECT_EQ(r.category, kSettingBasic) << c.row;
  }
  EXPECT_EQ(kBaseFunctionRows[0].text, StringKey::str_close);
  EXPECT_EQ(kBaseFunctionRows[23].text, StringKey::str_fire);
}

TEST(LaunchPage, CodesFollowTheRowAndTheInput) {
  EXPECT_EQ(LaunchCode(0, 0), 0x00C00006);
  EXPECT_EQ(LaunchCode(1, 3), 0x00D30006);
  EXPECT_EQ(LaunchCode(3, 6), 0x00F60006);
  const LaunchPage page(4);
  EXPECT_EQ(page.CodeOfRow(2), 0x00E40006);
}

TEST(LaunchPage, TheCheckedRowWithAPathIsTheResultCutTo259) {
  LaunchPage page(2);
  SettingResult r;
  r.buttonIndex = 2;
  page.FillResult(r);
  EXPECT_EQ(r.value, 0) << "no row checked";

  page.Check(1);
  page.FillResult(r);
  EXPECT_EQ(r.value, 0) << "checked row without a path";

  page.SetPath(0, u"C:\\Windows\\Media\\ding.wav");
  page.FillResult(r);
  EXPECT_EQ(r.value, 0) << "the path is on another row";

  const std::u16string longPath = u"C:\\" + std::u16string(297, u'p');
  ASSERT_EQ(longPath.size(), 300u);
  page.SetPath(1, longPath);
  page.FillResult(r);
  EXPECT_EQ(r.value, 0x00D20006);
  EXPECT_EQ(r.category, kSettingLaunch);
  EXPECT_EQ(r.launchRow, 1);
  EXPECT_EQ(LaunchPathOf(r), longPath.substr(0, 259));

  page.Check(0);  // checking one row unchecks the other
  EXPECT_EQ(page.CheckedRow(), 0);
  page.FillResult(r);
  EXPECT_EQ(r.launchRow, 0);
  EXPECT_EQ(LaunchPathOf(r), u"C:\\Windows\\Media\\ding.wav");
}

TEST(LaunchPage, BrowseAsksTheRowsChooserAndKeepsThePathOnCancel) {
  RecordingShell shell;
  LaunchPage page(0);
  WindowHandle owner = reinterpret_cast<WindowHandle>(0x1234);
  shell.QueueFileChoice(u"C:\\Games\\game.exe");
  EXPECT_TRUE(page.Browse(1, shell, owner));
  EXPECT_EQ(page.CheckedRow(), 1);
  EXPECT_EQ(page.Path(1), u"C:\\Games\\game.exe");
  shell.QueueFileChoice(std::nullopt);
  EXPECT_FALSE(page.Browse(1, shell, owner));
  EXPECT_EQ(page.Path(1), u"C:\\Games\\game.exe");
  shell.QueueFileChoice(u"D:\\Music");
  EXPECT_TRUE(page.Browse(3, shell, owner));
  EXPECT_EQ(page.CheckedRow(), 3);
  EXPECT_EQ(page.Path(3), u"D:\\Music");

  const std::vector<ShellRequest> asked = shell.Take();
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[0].kind, ShellRequest::Kind::ChooseFile);
  EXPECT_EQ(asked[0].dialog, FileDialogKind::Open);
  EXPECT_EQ(asked[0].owner, owner);
  EXPECT_EQ(asked[0].options.filter, u"(*.exe)|*.exe||");
  EXPECT_EQ(asked[0].options.defaultExtension, u".exe");
  EXPECT_EQ(asked[0].options.initialFileName, u"*.exe");
  EXPECT_EQ(asked[0].options.initialFolder, u"c:\\Program Files");
  EXPECT_TRUE(asked[0].options.hideReadOnly);
  EXPECT_TRUE(asked[0].options.overwritePrompt);
  EXPECT_EQ(asked[2].kind, ShellRequest::Kind::ChooseFolder);
  EXPECT_EQ(asked[2].owner, owner);
}

TEST(LaunchPage, ChoosersOfTheRows) {
  struct Case {
    int row;
    const char16_t *extension, *name, *filter, *folder;
  } cases[] = {
      {0, u".wav*", u"*.wav*", u"(*.wav*)|*.wav*||", u"c:\\Windows\\Media"},
      {1, u".exe", u"*.exe", u"(*.exe)|*.exe||", u"c:\\Program Files"},
      {2, u".", u"*.*", u"(*.*)|*.*||", u"D:\\"},
  };
  for (const Case& c : cases) {
    const LaunchChooser chooser = ChooserOfRow(c.row);
    EXPECT_FALSE(chooser.folder);
    EXPECT_EQ(chooser.options.defaultExtension, c.extension);
    EXPECT_EQ(chooser.options.initialFileName, c.name);
    EXPECT_EQ(chooser.options.filter, c.filter);
    EXPECT_EQ(chooser.options.initialFolder, c.folder);
  }
  EXPECT_TRUE(ChooserOfRow(3).folder);
}

}  // namespace
}  // namespace nx7
