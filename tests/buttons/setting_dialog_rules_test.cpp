#include "buttons/setting_dialog_rules.h"

#include <gtest/gtest.h>

#include <memory>

#include "buttons/setting_pages.h"
#include "common/text.h"
#include "macros/macro_entry_fixture.h"
#include "platform/virtual/us_keyboard_layout.h"

namespace nx7 {
namespace {

using Recording = SettingDialogRules::Recording;

TEST(SettingDialogRules, TabsShowTheirPageAndOnlyTheCombinationPageRecords) {
  SettingDialogRules rules(3);
  EXPECT_EQ(rules.SelectedTab(), -1);
  EXPECT_EQ(rules.SelectTab(SettingPage::kCombination), Recording::kOn);
  EXPECT_EQ(rules.VisiblePage(), 0);
  EXPECT_EQ(rules.SelectTab(SettingPage::kMacro), Recording::kOff);
  EXPECT_EQ(rules.VisiblePage(), 1);
  EXPECT_EQ(rules.SelectTab(SettingPage::kBasic), Recording::kOff);
  EXPECT_EQ(rules.SelectTab(SettingPage::kLaunch), Recording::kOff);
  EXPECT_EQ(rules.SelectedTab(), 3);
  EXPECT_EQ(SettingDialogRules::kOnClose, Recording::kOff);
}

TEST(SettingDialogRules, DisableHidesEveryPageLeavesRecordingAndWinsOverThePage) {
  SettingDialogRules rules(1);
  rules.SelectTab(SettingPage::kBasic);
  EXPECT_EQ(rules.ToggleDisable(), Recording::kUnchanged);
  EXPECT_TRUE(rules.Disabled());
  EXPECT_EQ(rules.VisiblePage(), -1);
  EXPECT_EQ(rules.SelectTab(SettingPage::kMacro), Recording::kUnchanged);
  EXPECT_EQ(rules.VisiblePage(), -1);
  bool pageAsked = false;
  EXPECT_TRUE(rules.Ok([&](SettingPage, SettingResult& r) {
    pageAsked = true;
    r.value = 81;
  }));
  EXPECT_FALSE(pageAsked);
  EXPECT_EQ(rules.Result().value, 7);
  EXPECT_EQ(rules.Result().category, kSettingDisabled);

  // Clearing the box shows the combination page again, recording on.
  EXPECT_EQ(rules.ToggleDisable(), Recording::kOn);
  EXPECT_FALSE(rules.Disabled());
  EXPECT_EQ(rules.VisiblePage(), int(SettingPage::kCombination));
}

TEST(SettingDialogRules, OkTakesTheVisiblePageAndClosesAsCancelledWithNothingChosen) {
  struct Case {
    SettingPage page;
    int32_t pageValue;
    bool closesWithOk;
  } cases[] = {
      {SettingPage::kCombination, 0x00040100, true},
      {SettingPage::kMacro, 0, false},
      {SettingPage::kBasic, 125, true},
      {SettingPage::kLaunch, 0, false},
  };
  for (const Case& c : cases) {
    SettingDialogRules rules(2);
    rules.SelectTab(c.page);
    SettingPage asked{};
    EXPECT_EQ(rules.Ok([&](SettingPage p, SettingResult& r) {
      asked = p;
      r.value = c.pageValue;
    }), c.closesWithOk);
    EXPECT_EQ(asked, c.page);
    EXPECT_EQ(rules.Result().value, c.pageValue);
    EXPECT_EQ(rules.Result().buttonIndex, 2);
  }
}

TEST(SettingDialogRules, RestoreGivesTheInputsDefaultType) {
  struct Case {
    int input;
    int32_t type;
  } cases[] = {{0, 1}, {1, 4}, {2, 2}, {3, 8}, {4, 16}, {5, 11}, {6, 22}};
  for (const Case& c : cases) {
    SettingDialogRules rules(c.input);
    rules.SelectTab(SettingPage::kMacro);
    rules.Restore();
    EXPECT_EQ(rules.Result().value, c.type) << c.input;
    EXPECT_EQ(rules.Result().category, kSettingBasic) << c.input;
  }
}

// Applying a closed dialog's result to the settings block being edited.
class ApplySetting : public ::testing::Test {
 protected:
  ApplySetting() {
    FillWithDefaults(*block, false);
    (*library)[5] = testing::StoredMacro(0x15000077, u"Reload", {testing::Press('R')});
  }
  SettingResult Result(int input, int32_t category, int32_t value) {
    SettingResult r;
    r.buttonIndex = input;
    r.category = category;
    r.value = value;
    return r;
  }
  std::u16string DisplayName(size_t i) const { return TextFromField(block->buttons[i].displayName, kTextFieldLength); }

  std::unique_ptr<SettingsBlock> block = std::make_unique<SettingsBlock>();
  ButtonMacroIds macroIds{};
  std::unique_ptr<MacroLibrary> library = std::make_unique<MacroLibrary>();
  UsKeyboardLayout layout;
  ButtonRecords records{*block, macroIds, *library, layout, false};
};

TEST_F(ApplySetting, EachCategoryIsAssignedAndMarksTheTab) {
  struct Case {
    SettingResult result;
    int32_t type;
    std::u16string displayName;
  } cases[] = {
      {Result(2, kSettingBasic, 81), 81, u""},
      {Result(2, kSettingDisabled, 7), 121, u""},
      {Result(2, kSettingCombination, 0x00040100), 5, u"Ctrl + A"},
      {Result(2, kSettingMacro, 0x15000077), 6, u"Reload"},
  };
  for (const Case& c : cases) {
    const AppliedSetting applied = ApplySettingResult(records, c.result, true);
    EXPECT_TRUE(applied.changed) << c.type;
    EXPECT_TRUE(applied.refusal.empty()) << c.type;
    EXPECT_TRUE(applied.tabMarked) << c.type;
    EXPECT_EQ(block->buttons[2].type, c.type);
    if (!c.displayName.empty()) {
      EXPECT_EQ(DisplayName(2), c.displayName);
    }
  }
  EXPECT_EQ(macroIds[2], 0x15000077);
  EXPECT_EQ(block->buttons[2].macroId, 0x15000077);

  SettingResult launch = Result(2, kSettingLaunch, LaunchCode(1, 2));
  launch.launchRow = 1;
  SetLaunchPath(launch, u"C:\\Games\\game.exe");
  EXPECT_TRUE(ApplySettingResult(records, launch, true).changed);
  EXPECT_EQ(block->buttons[2].type, 19);
  EXPECT_EQ(block->buttons[2].launchKind, 0xD0);
  EXPECT_EQ(block->buttons[2].launchCode, 0x00D20006u);
  EXPECT_EQ(DisplayName(2), u"C:\\Games\\game.exe");
  EXPECT_EQ(macroIds[2], 0) << "the macro id goes with the macro";

  // Restore: back to the default type, the tab unmarked.
  const AppliedSetting restored = ApplySettingResult(records, Result(2, kSettingBasic, 2), true);
  EXPECT_TRUE(restored.changed);
  EXPECT_FALSE(restored.tabMarked);
  EXPECT_EQ(block->buttons[2].type, 2);
}

TEST_F(ApplySetting, RefusalsKeepTheAssignmentAndCarryTheirMessage) {
  struct Case {
    SettingResult result;
    std::u16string refusal;
  } cases[] = {
      {Result(0, kSettingDisabled, 7), u"At least one button must be configured as 'Left click'!"},
      {Result(0, kSettingCombination, 0x00040100), u"At least one button must be configured as 'Left click'!"},
      {Result(5, kSettingBasic, 142), u"This key can not use the sniper function!"},
      {Result(6, kSettingBasic, 142), u"This key can not use the sniper function!"},
  };
  for (const Case& c : cases) {
    const size_t input = size_t(c.result.buttonIndex);
    const int32_t before = block->buttons[input].type;
    const AppliedSetting applied = ApplySettingResult(records, c.result, true);
    EXPECT_FALSE(applied.changed);
    EXPECT_EQ(applied.refusal, c.refusal);
    EXPECT_EQ(block->buttons[input].type, before);
    EXPECT_FALSE(applied.tabMarked) << "still the default";
  }
}

TEST_F(ApplySetting, RestoreOnTheOnlyClickInputPassesTheClickRule) {
  SettingDialogRules rules(0);
  rules.SelectTab(SettingPage::kCombination);
  rules.Restore();
  const AppliedSetting applied = ApplySettingResult(records, rules.Result(), true);
  EXPECT_TRUE(applied.refusal.empty());
  EXPECT_TRUE(applied.changed);
  EXPECT_EQ(block->buttons[0].type, 1);
  EXPECT_FALSE(applied.tabMarked);
}

TEST_F(ApplySetting, CancelChangesNothingButStillMarksTheTabByTheType) {
  block->buttons[4].type = 81;  // changed in an earlier opening
  const AppliedSetting cancelled = ApplySettingResult(records, Result(4, kSettingBasic, 2), false);
  EXPECT_FALSE(cancelled.changed);
  EXPECT_EQ(block->buttons[4].type, 81);
  EXPECT_TRUE(cancelled.tabMarked);
  EXPECT_FALSE(ApplySettingResult(records, Result(3, kSettingBasic, 0), false).tabMarked);
}

}  // namespace
}  // namespace nx7
