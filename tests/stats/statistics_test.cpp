#include "stats/statistics.h"

#include <gtest/gtest.h>

#include "platform/virtual/virtual_registry.h"

namespace nx7 {
namespace {

std::vector<uint8_t> Le(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }

// A registry holding the six values as the program writes them: 1, 2, 3, 4, 5, 6.
VirtualRegistry SavedRegistry() {
  VirtualRegistry r;
  r.CreateKey(kStatisticsKey);
  for (size_t i = 0; i < kStatsValueNames.size(); ++i)
    r.WriteValue(kStatisticsKey, kStatsValueNames[i], RegistryType::Binary, Le(uint32_t(i + 1)));
  return r;
}

TEST(TrophyLevel, EdgesOfTheTable) {
  const struct {
    uint32_t total;
    int level;
  } cases[] = {
      {0, 0},         {99999, 0},     {100000, 1},    {499999, 1},    {500000, 2},     {999999, 2},
      {1000000, 3},   {1499999, 3},   {1500000, 4},   {2000000, 5},   {2500000, 6},    {3000000, 7},
      {3999999, 7},   {4000000, 8},   {5000000, 9},   {6000000, 10},  {7999999, 10},   {8000000, 11},
      {9999999, 11},  {10000000, 12}, {0xFFFFFFFF, 12},
  };
  for (const auto& c : cases) EXPECT_EQ(TrophyLevelOf(c.total), c.level) << c.total;
}

TEST(TrophyLevel, BarWidthsFromLevelZeroToTwelve) {
  const int widths[13] = {21, 42, 63, 84, 105, 126, 147, 168, 189, 210, 231, 252, 273};
  for (int level = 0; level <= 12; ++level) EXPECT_EQ(LevelBarWidth(level), widths[level]) << level;
}

TEST(Figures, CountsAndDistanceAsThePageWritesThem) {
  const struct {
    uint32_t value;
    const char16_t* count;
    const char16_t* distance;
  } cases[] = {
      {0, u"0", u"0.00"},
      {1, u"1", u"0.00"},
      {99, u"99", u"0.01"},
      {20000, u"20000", u"2.00"},
      {123456, u"123456", u"12.35"},
      {0x7FFFFFFF, u"2147483647", u"214748.36"},
      {0x80000000, u"-2147483648", u"214748.36"},  // the distance is read as unsigned, counts as "%d"
      {0xFFFFFFFF, u"-1", u"429496.73"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CountText(c.value), c.count) << c.value;
    EXPECT_EQ(DistanceText(c.value), c.distance) << c.value;
  }
}

TEST(Counting, EachPressCodeCountsItsOwnCounterAndNothingElse) {
  VirtualRegistry r;
  Statistics s(r);
  const struct {
    MouseEventCode code;
    StatsCounters after;
  } cases[] = {
      {kMouseLeftPress, {1, 0, 0, 0, 0, 0}},    {kMouseMiddlePress, {1, 1, 0, 0, 0, 0}},
      {kMouseRightPress, {1, 1, 1, 0, 0, 0}},   {kMouseWheelForward, {1, 1, 1, 1, 0, 0}},
      {kMouseWheelBackward, {1, 1, 1, 1, 1, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(s.Count(c.code)) << std::hex << c.code;
    EXPECT_EQ(s.Counters(), c.after) << std::hex << c.code;
  }
  EXPECT_EQ(s.Counters().Clicks(), 3u);
  EXPECT_EQ(s.Counters().Scrolls(), 2u);
  for (MouseEventCode ignored : {kMouseExtra1Press, kMouseExtra2Press, MouseEventCode(0x202), MouseEventCode(1)})
    EXPECT_FALSE(s.Count(ignored)) << std::hex << ignored;
  EXPECT_EQ(s.Counters(), (StatsCounters{1, 1, 1, 1, 1, 0}));
}

TEST(Counting, CountersWrapAt32Bits) {
  VirtualRegistry r = SavedRegistry();
  r.WriteValue(kStatisticsKey, u"LeftClickCount", RegistryType::Binary, Le(0xFFFFFFFF));
  Statistics s(r);
  s.Load();
  s.Count(kMouseLeftPress);
  EXPECT_EQ(s.Counters().leftClicks, 0u);
}

TEST(Distance, AddsTheStepsBetweenSamples) {
  VirtualRegistry r;
  Statistics s(r);
  s.SetLastCursor({100, 100});
  s.MoveCursor({130, 60});    // 30 + 40
  s.MoveCursor({130, 60});    // no step
  s.MoveCursor({-20, 1060});  // 150 + 1000, onto a screen left of the first
  EXPECT_EQ(s.Counters().distance, 1220u);
}

TEST(Load, ReadsTheSixValues) {
  VirtualRegistry r = SavedRegistry();
  EXPECT_EQ(LoadStatistics(r), (StatsCounters{1, 2, 3, 4, 5, 6}));
}

// Each case changes one value of the saved registry; the first four must be REG_BINARY of at
// most four bytes, and the reading stops at the first that is not.
TEST(Load, StopsAtTheFirstBadValueInOrder) {
  const struct {
    const char16_t* name;
    std::optional<RegistryValue> value;  // none: the value is missing
    StatsCounters loaded;
  } cases[] = {
      {u"LeftClickCount", RegistryValue{RegistryType::Dword, Le(7)}, {0, 0, 0, 0, 0, 0}},
      {u"LeftClickCount", std::nullopt, {0, 0, 0, 0, 0, 0}},
      {u"MidClickCount", RegistryValue{RegistryType::Binary, {1, 2, 3, 4, 5}}, {1, 0, 0, 0, 0, 0}},
      {u"RightClickCount", std::nullopt, {1, 2, 0, 0, 0, 0}},
      {u"ScrollUpCount", RegistryValue{RegistryType::String, {0x31, 0, 0, 0}}, {1, 2, 3, 0, 0, 0}},
      // The last two may be of any type.
      {u"ScrollDownCount", RegistryValue{RegistryType::Dword, Le(0x01020304)}, {1, 2, 3, 4, 0x01020304, 6}},
      {u"ScrollDownCount", std::nullopt, {1, 2, 3, 4, 0, 0}},
      {u"ScrollDownCount", RegistryValue{RegistryType::Binary, {1, 2, 3, 4, 5, 6, 7, 8}}, {1, 2, 3, 4, 0, 0}},
      {u"Distance", RegistryValue{RegistryType::Dword, Le(20000)}, {1, 2, 3, 4, 5, 20000}},
      {u"Distance", std::nullopt, {1, 2, 3, 4, 5, 0}},
      // A value shorter than four bytes fills the low bytes.
      {u"RightClickCount", RegistryValue{RegistryType::Binary, {0x34, 0x12}}, {1, 2, 0x1234, 4, 5, 6}},
  };
  for (const auto& c : cases) {
    VirtualRegistry r = SavedRegistry();
    if (c.value) r.WriteValue(kStatisticsKey, c.name, c.value->type, c.value->data);
    else r.DeleteValue(kStatisticsKey, c.name);
    EXPECT_EQ(LoadStatistics(r), c.loaded) << std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name));
  }
}

TEST(Load, AKeyThatCannotBeOpenedGivesZeros) {
  VirtualRegistry missing;
  EXPECT_EQ(LoadStatistics(missing), StatsCounters{});
  VirtualRegistry denied = SavedRegistry();
  denied.DenyAccess(true);
  EXPECT_EQ(LoadStatistics(denied), StatsCounters{});
}

TEST(Save, WritesSixBinaryValuesCreatingTheKey) {
  VirtualRegistry r;
  const StatsCounters c{0x01020304, 2, 3, 4, 5, 0xFFFFFFFF};
  EXPECT_EQ(SaveStatistics(r, c), StatsSave::Saved);
  const uint32_t expected[] = {0x01020304, 2, 3, 4, 5, 0xFFFFFFFF};
  for (size_t i = 0; i < kStatsValueNames.size(); ++i) {
    const auto v = r.Value(kStatisticsKey, kStatsValueNames[i]);
    ASSERT_TRUE(v.has_value()) << i;
    EXPECT_EQ(v->type, RegistryType::Binary) << i;
    EXPECT_EQ(v->data, Le(expected[i])) << i;
  }
  EXPECT_EQ(LoadStatistics(r), c);
}

TEST(Save, ADwordLeftCountLoadsNothingAndTheNextSaveRewritesAllAsBinary) {
  VirtualRegistry r = SavedRegistry();
  r.WriteValue(kStatisticsKey, u"LeftClickCount", RegistryType::Dword, Le(9));
  Statistics s(r);
  s.Load();
  EXPECT_EQ(s.Counters(), StatsCounters{});
  s.Count(kMouseRightPress);
  EXPECT_EQ(s.Save(), StatsSave::Saved);
  for (std::u16string_view name : kStatsValueNames) EXPECT_EQ(r.Value(kStatisticsKey, name)->type, RegistryType::Binary);
  EXPECT_EQ(LoadStatistics(r), (StatsCounters{0, 0, 1, 0, 0, 0}));
}

TEST(Save, AKeyThatCanBeNeitherOpenedNorCreatedFails) {
  VirtualRegistry r;
  r.DenyAccess(true);
  EXPECT_EQ(SaveStatistics(r, StatsCounters{1, 1, 1, 1, 1, 1}), StatsSave::KeyFailed);
  EXPECT_EQ(r.WriteCount(), 0);
}

TEST(PeriodicSave, SavesOnlyWhenTheCountersChanged) {
  VirtualRegistry r = SavedRegistry();
  Statistics s(r);
  s.Load();
  const int writes = r.WriteCount();
  EXPECT_FALSE(s.SaveIfChanged().has_value()) << "nothing changed since the load";
  EXPECT_EQ(r.WriteCount(), writes);

  s.Count(kMouseLeftPress);
  EXPECT_EQ(s.SaveIfChanged(), StatsSave::Saved);
  EXPECT_EQ(r.WriteCount(), writes + 6);
  EXPECT_EQ(LoadStatistics(r).leftClicks, 2u);
  EXPECT_FALSE(s.SaveIfChanged().has_value());

  s.Count(kMouseExtra1Press);  // not counted: no change
  s.SetLastCursor({5, 5});
  s.MoveCursor({5, 5});  // no step: no change
  EXPECT_FALSE(s.SaveIfChanged().has_value());
  EXPECT_EQ(r.WriteCount(), writes + 6);

  s.MoveCursor({6, 5});
  EXPECT_EQ(s.SaveIfChanged(), StatsSave::Saved);
  EXPECT_EQ(LoadStatistics(r).distance, 7u);
}

TEST(PeriodicSave, AFailedSaveIsTriedAgainAtTheNextPeriod) {
  VirtualRegistry r = SavedRegistry();
  Statistics s(r);
  s.Load();
  s.Count(kMouseWheelForward);
  r.DenyAccess(true);
  EXPECT_EQ(s.SaveIfChanged(), StatsSave::KeyFailed);
  EXPECT_TRUE(s.ChangedSinceSave());
  r.DenyAccess(false);
  EXPECT_EQ(s.SaveIfChanged(), StatsSave::Saved);
  EXPECT_EQ(LoadStatistics(r).wheelUp, 5u);
}

TEST(TrophyDisplay, TheLevelRisesWithEitherTotalAndThePictureFollowsOnce) {
  VirtualRegistry r = SavedRegistry();
  r.WriteValue(kStatisticsKey, u"LeftClickCount", RegistryType::Binary, Le(99994));  // with 2 middle and 3 right: 99999 clicks
  Statistics s(r);
  s.Load();
  EXPECT_EQ(s.ShownLevel(), kNoTrophyShown);
  TrophyDisplay d = s.UpdateTrophyDisplay();
  EXPECT_EQ(d.level, 0);
  EXPECT_TRUE(d.reloadPicture) << "the first paint loads the picture of level 0";
  EXPECT_EQ(d.lampsOn, (std::array<bool, 13>{true}));
  EXPECT_EQ(d.barWidth, 21);
  EXPECT_FALSE(s.UpdateTrophyDisplay().reloadPicture);

  s.Count(kMouseLeftPress);  // clicks 100000
  d = s.UpdateTrophyDisplay();
  EXPECT_EQ(d.level, 1);
  EXPECT_TRUE(d.reloadPicture);
  EXPECT_EQ(d.lampsOn, (std::array<bool, 13>{true, true}));
  EXPECT_EQ(d.barWidth, 42);

  // 9,999,999 scrolls reach level 11 with few clicks.
  r.WriteValue(kStatisticsKey, u"ScrollUpCount", RegistryType::Binary, Le(9999999 - 5));
  s.Load();
  d = s.UpdateTrophyDisplay();
  EXPECT_EQ(d.level, 11);
  EXPECT_EQ(d.lampsOn, (std::array<bool, 13>{true, true, true, true, true, true, true, true, true, true, true, true, false}));
  EXPECT_EQ(d.barWidth, 252);
}

TEST(TrophyDisplay, TheLevelNeverFallsExceptByReset) {
  VirtualRegistry r = SavedRegistry();
  r.WriteValue(kStatisticsKey, u"LeftClickCount", RegistryType::Binary, Le(10000000));
  Statistics s(r);
  s.Load();
  EXPECT_EQ(s.UpdateTrophyDisplay().level, 12);
  r.WriteValue(kStatisticsKey, u"LeftClickCount", RegistryType::Binary, Le(0));
  s.Load();  // totals back under level 1
  const TrophyDisplay d = s.UpdateTrophyDisplay();
  EXPECT_EQ(d.level, 12);
  EXPECT_FALSE(d.reloadPicture);
  EXPECT_EQ(d.barWidth, 273);
}

TEST(Reset, ZeroesSavesAndReloadsTheLevelZeroPictureEvenFromLevelZero) {
  VirtualRegistry r = SavedRegistry();
  Statistics s(r);
  s.Load();
  s.UpdateTrophyDisplay();  // level 0 shown
  s.Count(kMouseLeftPress);
  EXPECT_EQ(s.Reset(), StatsSave::Saved);
  EXPECT_EQ(s.Counters(), StatsCounters{});
  EXPECT_EQ(LoadStatistics(r), StatsCounters{});
  EXPECT_EQ(s.Level(), 0);
  EXPECT_EQ(s.ShownLevel(), kNoTrophyShown);
  const TrophyDisplay d = s.UpdateTrophyDisplay();
  EXPECT_TRUE(d.reloadPicture) << "the shown level 800 forces the reload";
  EXPECT_EQ(d.lampsOn, (std::array<bool, 13>{true}));
  EXPECT_FALSE(s.ChangedSinceSave());
}

TEST(Reset, FromLevelTwelveBackToZero) {
  VirtualRegistry r = SavedRegistry();
  r.WriteValue(kStatisticsKey, u"ScrollDownCount", RegistryType::Binary, Le(10000000));
  Statistics s(r);
  s.Load();
  EXPECT_EQ(s.UpdateTrophyDisplay().level, 12);
  s.Reset();
  const TrophyDisplay d = s.UpdateTrophyDisplay();
  EXPECT_EQ(d.level, 0);
  EXPECT_EQ(d.barWidth, 21);
}

TEST(Reset, QuestionInBothLanguages) {
  EXPECT_EQ(ResetQuestionText(false), u"Do you want to reset trophy data ?");
  EXPECT_EQ(ResetQuestionText(true), u"确定要重置奖杯和统计数据么？");
}

}  // namespace
}  // namespace nx7
