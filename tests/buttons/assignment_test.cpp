#include "buttons/assignment.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "common/text.h"
#include "macros/macro_entry_fixture.h"
#include "platform/virtual/us_keyboard_layout.h"

namespace nx7 {
namespace {

const std::u16string kLeftClickEnglish = u"At least one button must be configured as 'Left click'!";
const std::u16string kLeftClickChinese = u"请保留至少一个键为\"单击\"功能!";
const std::u16string kSniperEnglish = u"This key can not use the sniper function!";
const std::u16string kSniperChinese = u"此按键不可使用狙击功能!";

NewFunction Base(int32_t type) { return {FunctionKind::kBaseFunction, uint32_t(type)}; }
NewFunction Launch(int row, std::u16string path) { return {FunctionKind::kSoftwareLaunch, 0x00C30006, row, std::move(path)}; }

class AssignmentTest : public ::testing::Test {
 protected:
  AssignmentTest() {
    FillWithDefaults(*block, false);  // English names
    (*library)[2] = testing::StoredMacro(0x15001234, u"Reload", {testing::Press('R'), testing::Release('R')});
  }
  const ButtonAssignment& Button(size_t i) const { return block->buttons[i]; }
  std::u16string DisplayName(size_t i) const { return TextFromField(Button(i).displayName, kTextFieldLength); }

  std::unique_ptr<SettingsBlock> block = std::make_unique<SettingsBlock>();
  ButtonMacroIds macroIds{};
  std::unique_ptr<MacroLibrary> library = std::make_unique<MacroLibrary>();
  UsKeyboardLayout layout;
  ButtonRecords records{*block, macroIds, *library, layout, false};
};

TEST_F(AssignmentTest, TheLastClickStaysAndSnipeStaysOffTheWheel) {
  struct Case {
    size_t index;
    NewFunction function;
    std::u16string refusal;  // empty: accepted
  } cases[] = {
      {0, Base(1), u""},  // "Restore" on the only Click input
      {0, Base(2), kLeftClickEnglish},
      {0, {FunctionKind::kDisable}, kLeftClickEnglish},
      {0, {FunctionKind::kKeyCombination, 0x00040100}, kLeftClickEnglish},
      {0, {FunctionKind::kMacro, 0x15001234}, kLeftClickEnglish},
      {0, Launch(1, u"C:\\a.exe"), kLeftClickEnglish},
      {0, Base(142), kLeftClickEnglish},  // the Click rule is checked first
      {1, Base(2), u""},
      {1, {FunctionKind::kDisable}, u""},
      {3, Base(142), u""},
      {4, Base(142), u""},
      {5, Base(142), kSniperEnglish},
      {6, Base(142), kSniperEnglish},
      {5, Base(143), u""},
  };
  for (const auto& c : cases) {
    const AssignmentCheck check = CheckAssignment(*block, c.index, c.function, false);
    EXPECT_EQ(check.accepted, c.refusal.empty()) << c.index << " " << TypeOf(c.function);
    EXPECT_EQ(check.refusal, c.refusal) << c.index << " " << TypeOf(c.function);
  }
  EXPECT_FALSE(CheckAssignment(*block, 7, Base(1), false).accepted);
}

TEST_F(AssignmentTest, RefusalsFollowTheDisplayLanguage) {
  EXPECT_EQ(CheckAssignment(*block, 0, Base(4), true).refusal, kLeftClickChinese);
  EXPECT_EQ(CheckAssignment(*block, 6, Base(142), true).refusal, kSniperChinese);
}

TEST_F(AssignmentTest, AnotherClickInputFreesTheFirst) {
  ASSERT_TRUE(Assign(records, 2, Base(1)));
  EXPECT_TRUE(CheckAssignment(*block, 0, Base(2), false).accepted);
  ASSERT_TRUE(Assign(records, 0, Base(2)));
  EXPECT_FALSE(CheckAssignment(*block, 2, Base(4), false).accepted) << "input 2 now holds the last Click";
}

TEST_F(AssignmentTest, EachKindWritesItsFields) {
  ASSERT_TRUE(Assign(records, 1, {FunctionKind::kKeyCombination, 0x00040300}));
  EXPECT_EQ(Button(1).type, 5);
  EXPECT_EQ(Button(1).keyCode, 0x00040300u);
  EXPECT_EQ(DisplayName(1), u"Shift + Ctrl + A");

  ASSERT_TRUE(Assign(records, 2, {FunctionKind::kMacro, 0x15001234}));
  EXPECT_EQ(Button(2).type, 6);
  EXPECT_EQ(Button(2).macroId, 0x15001234);
  EXPECT_EQ(macroIds[2], 0x15001234);
  EXPECT_EQ(DisplayName(2), u"Reload");

  ASSERT_TRUE(Assign(records, 3, Launch(3, u"D:\\Games")));
  EXPECT_EQ(Button(3).type, 19);
  EXPECT_EQ(Button(3).launchKind, 0xF0);
  EXPECT_EQ(Button(3).launchCode, 0x00C30006u);
  EXPECT_EQ(TextFromField(Button(3).launchPath, kTextFieldLength), u"D:\\Games");
  EXPECT_EQ(DisplayName(3), u"D:\\Games");

  ASSERT_TRUE(Assign(records, 4, {FunctionKind::kDisable}));
  EXPECT_EQ(Button(4).type, 121);
  EXPECT_EQ(DisplayName(4), u"Disable key");
  records.chinese = true;
  ASSERT_TRUE(Assign(records, 5, Base(32)));
  EXPECT_EQ(Button(5).type, 32);
  EXPECT_EQ(DisplayName(5), u"播放/暂停");
}

TEST_F(AssignmentTest, LaunchRowsGiveTheLaunchKinds) {
  const int32_t kinds[] = {0xC0, 0xD0, 0xE0, 0xF0};
  for (int row = 0; row < 4; ++row) {
    ASSERT_TRUE(Assign(records, 1, Launch(row, u"x")));
    EXPECT_EQ(Button(1).launchKind, kinds[row]);
  }
}

TEST_F(AssignmentTest, OnlyTheNewKindsFieldsChange) {
  ASSERT_TRUE(Assign(records, 2, {FunctionKind::kMacro, 0x15001234}));
  ASSERT_TRUE(Assign(records, 2, Launch(0, u"C:\\ding.wav")));
  EXPECT_EQ(macroIds[2], 0) << "the id beside the block follows the current kind";
  EXPECT_EQ(Button(2).macroId, 0x15001234) << "the record keeps its stale id";

  ASSERT_TRUE(Assign(records, 2, Base(4)));
  EXPECT_EQ(Button(2).type, 4);
  EXPECT_EQ(DisplayName(2), u"Middle");
  EXPECT_EQ(TextFromField(Button(2).launchPath, kTextFieldLength), u"C:\\ding.wav");
  EXPECT_EQ(Button(2).launchKind, 0xC0);

  // Everything but type and name is as the launch left it; other inputs are untouched.
  SettingsBlock before = *block;
  ASSERT_TRUE(Assign(records, 2, Base(8)));
  before.buttons[2].type = 8;
  CopyToField(u"Forward", before.buttons[2].displayName, kTextFieldLength);
  EXPECT_EQ(std::memcmp(&before, block.get(), sizeof before), 0);
}

TEST_F(AssignmentTest, TextsAreCutToTheirFields) {
  const std::u16string longPath = u"C:\\" + std::u16string(400, u'p');
  ASSERT_TRUE(Assign(records, 1, Launch(1, longPath)));
  EXPECT_EQ(TextFromField(Button(1).launchPath, kTextFieldLength), longPath.substr(0, 259));
  EXPECT_EQ(Button(1).launchPath[259], u'\0');
  EXPECT_EQ(DisplayName(1), longPath.substr(0, 259));
}

TEST_F(AssignmentTest, InvalidRequestsChangeNothing) {
  const SettingsBlock before = *block;
  macroIds[1] = 77;
  EXPECT_FALSE(Assign(records, 7, Base(2)));
  EXPECT_FALSE(Assign(records, 1, Launch(4, u"x")));
  EXPECT_FALSE(Assign(records, 1, Launch(-1, u"x")));
  EXPECT_EQ(std::memcmp(&before, block.get(), sizeof before), 0);
  EXPECT_EQ(macroIds[1], 77);
}

TEST_F(AssignmentTest, AMacroWithoutAnEntryGetsAnEmptyName) {
  ASSERT_TRUE(Assign(records, 1, {FunctionKind::kMacro, 0x15009999}));
  EXPECT_EQ(macroIds[1], 0x15009999);
  EXPECT_EQ(DisplayName(1), u"");
}

}  // namespace
}  // namespace nx7
