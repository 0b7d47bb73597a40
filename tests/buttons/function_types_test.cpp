#include "buttons/function_types.h"

#include <gtest/gtest.h>

#include <set>

#include "buttons/inputs.h"

namespace nx7 {
namespace {

TEST(FunctionName, FollowsTheDisplayLanguage) {
  const struct {
    int32_t type;
    std::u16string english;
    std::u16string chinese;
  } cases[] = {
      {1, u"Click", u"单击"},
      {11, u"Scroll up", u"滚轮前滚"},
      {22, u"Scroll", u"滚轮后滚"},
      {126, u"sreen zoom in", u"放大"},
      {32, u"Play/Pause", u"播放/暂停"},
      {121, u"Disable key", u"禁用按键"},
      {143, u"FIRE", u"火力"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FunctionName(c.type, false), c.english) << c.type;
    EXPECT_EQ(FunctionName(c.type, true), c.chinese) << c.type;
  }
}

TEST(FunctionName, IsEmptyForTypesWithoutARow) {
  for (bool chinese : {false, true}) {
    for (int32_t type : {0, 5, 6, 19, 36, -1, 144, 0x7FFFFFFF}) EXPECT_EQ(FunctionName(type, chinese), u"") << type;
  }
}

TEST(FunctionTypes, TableRowsAreDistinctAndCoded) {
  std::set<int32_t> types;
  for (const auto& row : kFunctionTypes) {
    EXPECT_TRUE(types.insert(row.type).second) << "duplicate type " << row.type;
    EXPECT_EQ(FindFunctionType(row.type), &row);
  }
  EXPECT_EQ(FindFunctionType(1)->deviceKeyCode, 0x00F00001u);
  EXPECT_EQ(FindFunctionType(142)->deviceKeyCode, 0x08040007u);
  EXPECT_EQ(FindFunctionType(40)->catalogueKey, "str_player");
  EXPECT_EQ(FindFunctionType(22)->catalogueKey, "");
  EXPECT_EQ(CatalogueKey(*FindFunctionType(40)), StringKey::str_player);
  EXPECT_EQ(CatalogueKey(*FindFunctionType(22)), std::nullopt);
}

TEST(Inputs, DefaultTypes) {
  const int32_t expected[] = {1, 4, 2, 8, 16, 11, 22};
  for (size_t i = 0; i < kInputCount; ++i) {
    EXPECT_EQ(DefaultType(i), expected[i]);
    EXPECT_NE(FindFunctionType(DefaultType(i)), nullptr);
  }
  EXPECT_EQ(DefaultType(7), 0);
}

TEST(Inputs, InterceptEventsAreTheHooksCodesInInputOrder) {
  const uint32_t expected[] = {0x201, 0x207, 0x204, 0x2020B, 0x1020B, 0x20A01, 0x20A00};
  for (size_t i = 0; i < kInputCount; ++i) {
    EXPECT_EQ(InterceptEvent(i), expected[i]);
    EXPECT_EQ(InterceptEvent(i), kMouseEventCodes[i]);
  }
  EXPECT_EQ(InterceptEvent(7), 0u);
}

}  // namespace
}  // namespace nx7
