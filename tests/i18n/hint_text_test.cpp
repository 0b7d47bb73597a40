#include "i18n/hint_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "common/text.h"
#include "i18n/string_catalogue.h"
#include "i18n/xml_reader.h"
#include "platform/file_path.h"
#include "store/settings_block.h"

namespace nx7 {
namespace {

TEST(HintKey, MapsHintIdsToTheirCatalogueKeys) {
  const struct {
    HintId id;
    std::optional<StringKey> key;
  } cases[] = {
      {1, StringKey::str_main},       {11, StringKey::str_ok},
      {13, StringKey::str_mouseSpeed}, {18, StringKey::str_rollerScreen},
      {26, StringKey::str_ledspe},    {34, StringKey::str_led_changeClolor},
      {35, StringKey::str_led_setColor}, {39, StringKey::str_led_custom},
      {45, StringKey::str_macro_start}, {48, StringKey::str_macro_loop},
      {54, StringKey::str_cups},      {60, StringKey::str_defaultname},
      {0, std::nullopt},  {19, std::nullopt}, {25, std::nullopt}, {61, std::nullopt}, {-1, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(HintKey(c.id), c.key);
  }
}

std::u16string Field(const char16_t (&field)[kTextFieldLength]) { return TextFromField(field, kTextFieldLength); }

TEST(RewriteDefaultButtonName, SwapsOnlyTheOtherLanguagesDefaultOfTheSameButton) {
  const struct {
    size_t input;
    const char16_t* stored;
    bool chinese;
    const char16_t* shown;
  } cases[] = {
      {0, u"单击", false, u"Click"},
      {0, u"Click", true, u"单击"},
      {2, u"菜单", false, u"Menu"},
      {5, u"Scroll up", true, u"滚轮前滚"},
      {6, u"滚轮后滚", false, u"Scroll down"},
      {6, u"Scroll down", true, u"滚轮后滚"},
      {6, u"Scroll", true, u"Scroll"},  // the function name of a fresh English profile is not in the table
      {0, u"单击", true, u"单击"},       // already in the current language
      {1, u"Click", true, u"Click"},     // default of another button
      {3, u"Forward ", false, u"Forward "},
      {4, u"My macro", false, u"My macro"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Utf8FromUtf16(c.stored));
    char16_t field[kTextFieldLength] = {};
    CopyToField(c.stored, field, kTextFieldLength);
    EXPECT_EQ(RewriteDefaultButtonName(c.input, field, c.chinese), std::u16string(c.stored) != c.shown);
    EXPECT_EQ(Field(field), c.shown);
  }
}

TEST(RewriteDefaultButtonName, LeavesAnUnterminatedFieldAlone) {
  char16_t field[kTextFieldLength];
  std::fill(std::begin(field), std::end(field), u'x');
  EXPECT_FALSE(RewriteDefaultButtonName(0, field, true));
  EXPECT_EQ(Field(field), std::u16string(kTextFieldLength, u'x'));
  EXPECT_FALSE(RewriteDefaultButtonName(7, field, true));
}

class HintTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadStringCatalogue(catalogue_, reader_, PathFromText(u"" NX7_SOURCE_DIR "/Language/en.xml"));
    ASSERT_EQ(catalogue_[StringKey::str_ok], u"Apply: write these settings to the mouse");
    settings_ = std::make_unique<SettingsBlock>();
    std::memset(settings_.get(), 0, sizeof(SettingsBlock));
  }
  CXmlReader reader_;
  StringCatalogue catalogue_;
  std::unique_ptr<SettingsBlock> settings_;
};

TEST_F(HintTextTest, CatalogueHintsShowTheirText) {
  EXPECT_EQ(HintText(11, catalogue_, *settings_, false), u"Apply: write these settings to the mouse");
  EXPECT_EQ(HintText(39, catalogue_, *settings_, false), u"Mix a custom colour from red, green and blue");
  EXPECT_EQ(HintText(60, catalogue_, *settings_, true), u"Restore the default settings");
  EXPECT_EQ(HintText(0, catalogue_, *settings_, false), u"");
  EXPECT_EQ(HintText(61, catalogue_, *settings_, false), u"");
}

TEST_F(HintTextTest, ButtonHintsShowTheDisplayNameAndKeepTheRewrite) {
  CopyToField(u"单击", settings_->buttons[0].displayName, kTextFieldLength);
  CopyToField(u"Macro 7", settings_->buttons[6].displayName, kTextFieldLength);
  EXPECT_EQ(HintText(19, catalogue_, *settings_, false), u"Click");
  EXPECT_EQ(Field(settings_->buttons[0].displayName), u"Click");  // saved with the profile as such
  EXPECT_EQ(HintText(25, catalogue_, *settings_, false), u"Macro 7");
  EXPECT_EQ(HintText(20, catalogue_, *settings_, false), u"");
}

}  // namespace
}  // namespace nx7
