#include "performance/performance_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "download/download_plan.h"

namespace nx7 {
namespace {

using Levels = std::array<int32_t, kDpiLevelCount>;

SettingsBlock Defaults() {
  SettingsBlock block{};
  FillWithDefaults(block, false);
  return block;
}

Levels LevelsOf(const SettingsBlock& block) {
  Levels l{};
  std::copy(std::begin(block.dpiLevels), std::end(block.dpiLevels), l.begin());
  return l;
}

size_t DpiButton(int value) {
  const auto& values = layout::performance_page::kDpiValues;
  return size_t(std::find(values.begin(), values.end(), value) - values.begin());
}

// A block whose levels are exactly `values` (as the page would write them), reloaded.
void SetLevels(SettingsBlock& block, PerformancePage& page, std::initializer_list<int32_t> values) {
  std::fill(std::begin(block.dpiLevels), std::end(block.dpiLevels), 0);
  std::copy(values.begin(), values.end(), block.dpiLevels);
  page.Reload();
}

TEST(PerformancePage, DpiClicksKeepOneToSevenLevelsAscendingWithZerosAfter) {
  const struct {
    const char* name;
    std::initializer_list<int32_t> before;
    std::initializer_list<int> clicks;
    Levels after;
  } cases[] = {
      {"clicked in any order", {500}, {5000, 750, 1250, 500}, {750, 1250, 5000, 0, 0, 0, 0}},
      {"the only one stays", {2000}, {2000}, {2000, 0, 0, 0, 0, 0, 0}},
      {"seven: an eighth is refused", {750, 1250, 1500, 2000, 2500, 3500, 4000}, {7000}, {750, 1250, 1500, 2000, 2500, 3500, 4000}},
      {"seven: a checked one goes", {750, 1250, 1500, 2000, 2500, 3500, 4000}, {1500}, {750, 1250, 2000, 2500, 3500, 4000, 0}},
      {"seven, one off, then another on", {750, 1250, 1500, 2000, 2500, 3500, 4000}, {750, 7000}, {1250, 1500, 2000, 2500, 3500, 4000, 7000}},
      {"a value outside the table is dropped by a click", {1750, 500}, {6000}, {500, 6000, 0, 0, 0, 0, 0}},
      {"two off to one", {500, 1000}, {500, 1000}, {1000, 0, 0, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SettingsBlock block = Defaults();
    std::memset(block.reserved22068, 0xAB, sizeof(block.reserved22068));
    PerformancePage page(block);
    SetLevels(block, page, c.before);
    for (int value : c.clicks) page.ClickDpi(DpiButton(value));
    EXPECT_EQ(LevelsOf(block), c.after);
    EXPECT_TRUE(std::all_of(std::begin(block.reserved22068), std::end(block.reserved22068), [](uint8_t b) { return b == 0; }))
        << "the reserved bytes after the levels were not cleared";
    // The buttons show what the block holds.
    for (size_t b = 0; b < kDpiButtonCount; ++b) {
      const int value = layout::performance_page::kDpiValues[b];
      EXPECT_EQ(page.View().dpiChecked[b], std::count(c.after.begin(), c.after.end(), value) == 1) << value;
    }
  }
}

TEST(PerformancePage, ReloadChecksOnlyWhatTheTablesHold) {
  SettingsBlock block = Defaults();
  PerformancePage page(block);
  SetLevels(block, page, {1750, 3250, 9999, 7000});
  std::array<bool, kDpiButtonCount> expected{};
  expected[DpiButton(3250)] = expected[DpiButton(7000)] = true;
  EXPECT_EQ(page.View().dpiChecked, expected);
  EXPECT_EQ(LevelsOf(block), (Levels{1750, 3250, 9999, 7000, 0, 0, 0})) << "a reload changes the block";

  const struct {
    int reportRate;
    std::array<bool, 4> checked;
  } rates[] = {{8, {true, false, false, false}}, {4, {false, true, false, false}}, {2, {false, false, true, false}},
               {1, {false, false, false, true}}, {3, {}}, {0, {}}, {16, {}}};
  for (const auto& r : rates) {
    block.reportRate = r.reportRate;
    page.Reload();
    EXPECT_EQ(page.View().reportRateChecked, r.checked) << r.reportRate;
    EXPECT_EQ(block.reportRate, r.reportRate);
  }

  const struct {
    int32_t stored;
    bool shown;
  } precision[] = {{0, false}, {1, true}, {2, false}, {-1, false}};
  for (const auto& p : precision) {
    block.enhancePrecision = p.stored;
    page.Reload();
    EXPECT_EQ(page.View().precisionChecked, p.shown) << p.stored;
  }
}

TEST(PerformancePage, ReportRateButtonsStoreTheReportInterval) {
  const int expected[] = {8, 4, 2, 1};
  for (size_t b = 0; b < 4; ++b) {
    SettingsBlock block = Defaults();
    PerformancePage page(block);
    page.Reload();
    page.ChooseReportRate(b);
    EXPECT_EQ(block.reportRate, expected[b]);
    for (size_t o = 0; o < 4; ++o) EXPECT_EQ(page.View().reportRateChecked[o], o == b) << b << " " << o;
    EXPECT_EQ(ReportRateButton(expected[b]), b);
  }
  EXPECT_EQ(ReportRateButton(3), std::nullopt);
  EXPECT_EQ(ReportRateOfButton(4), 0);
}

TEST(PerformancePage, SlidersAndPrecisionWriteOnlyTheirOwnFields) {
  const struct {
    const char* name;
    void (*act)(PerformancePage&);
    void (*expect)(SettingsBlock&);  // sets the expected fields on a copy of the defaults
  } cases[] = {
      {"pointer speed", [](PerformancePage& p) { p.SliderMoved(kPointerSpeedSliderId, 17); },
       [](SettingsBlock& b) { b.pointerSpeed = 17; }},
      {"second slider", [](PerformancePage& p) { p.SliderMoved(kSecondSliderId, 29); },
       [](SettingsBlock& b) { b.sheightLevel = 29; }},
      {"another id", [](PerformancePage& p) { p.SliderMoved(2561, 5); }, [](SettingsBlock&) {}},
      {"precision on", [](PerformancePage& p) { p.TogglePrecision(); }, [](SettingsBlock& b) { b.enhancePrecision = 1; }},
      {"precision on and off", [](PerformancePage& p) { p.TogglePrecision(); p.TogglePrecision(); },
       [](SettingsBlock& b) { b.enhancePrecision = 0; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SettingsBlock block = Defaults();
    SettingsBlock expected = block;
    PerformancePage page(block);
    page.Reload();
    c.act(page);
    c.expect(expected);
    EXPECT_EQ(std::memcmp(&block, &expected, sizeof block), 0);
  }
  EXPECT_EQ(PerformanceSliderRange(kPointerSpeedSliderId)->max, 20);
  EXPECT_EQ(PerformanceSliderRange(kSecondSliderId)->max, 30);
  EXPECT_FALSE(PerformanceSliderRange(2561));
}

// What the download sends for the page's choices: the DPI table's device codes in the order the
// levels are stored, and the report interval; the second slider changes nothing it sends.
TEST(PerformancePage, TheDownloadSendsThePagesDpiLevelsAndReportRate) {
  const struct {
    std::initializer_list<int> clicks;  // DPI buttons clicked after all but 500 were removed
    size_t rateButton;
    std::array<uint8_t, 7> codes;
    int reportRate;
  } cases[] = {
      {{5000, 750, 1250}, 0, {0x02, 0x03, 0x05, 0x2A, 0x80, 0x80, 0x80}, 8},
      {{7000, 3250}, 3, {0x02, 0x0D, 0x2E, 0x80, 0x80, 0x80, 0x80}, 1},
      {{500}, 2, {0x02, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}, 2},  // the only one stays
  };
  const auto library = std::make_unique<MacroLibrary>();
  for (const auto& c : cases) {
    SettingsBlock block = Defaults();
    PerformancePage page(block);
    SetLevels(block, page, {500});
    for (int value : c.clicks) page.ClickDpi(DpiButton(value));
    page.ChooseReportRate(c.rateButton);
    const DownloadPlan plan = PlanDownload(block, ButtonMacroIds{}, *library);
    EXPECT_TRUE(std::equal(c.codes.begin(), c.codes.end(), plan.dpiTable.begin())) << int(plan.dpiTable[1]);
    EXPECT_TRUE(std::equal(c.codes.begin(), c.codes.end(), plan.dpiTable.begin() + 8)) << int(plan.dpiTable[9]);
    EXPECT_EQ(plan.reportRate, c.reportRate);

    page.SliderMoved(kSecondSliderId, 29);
    const DownloadPlan after = PlanDownload(block, ButtonMacroIds{}, *library);
    EXPECT_EQ(after.dpiTable, plan.dpiTable);
    EXPECT_EQ(after.reportRate, plan.reportRate);
    EXPECT_EQ(after.keyMatrix, plan.keyMatrix);
    EXPECT_EQ(after.lightingEffect, plan.lightingEffect);
  }
}

TEST(PerformancePage, WheelLinesCommitNormalisesTheBoxText) {
  const struct {
    std::u16string typed;
    std::u16string shown;
    int stored;
  } cases[] = {
      {u"007", u"7", 7},  {u"45", u"30", 30},   {u"", u"1", 1},         {u"000", u"1", 1},  {u"30", u"30", 30},
      {u"1", u"1", 1},    {u"12", u"12", 12},   {u"99999999999999", u"30", 30}, {u"abc", u"1", 1}, {u"0x5", u"1", 1},
      {u"5x", u"5", 5},
  };
  for (const auto& c : cases) {
    SettingsBlock block = Defaults();
    PerformancePage page(block);
    page.Reload();
    EXPECT_EQ(page.CommitWheelLines(c.typed), c.shown) << std::string(c.typed.begin(), c.typed.end());
    EXPECT_EQ(block.wheelLines, c.stored);
    EXPECT_EQ(page.View().wheelNumber, c.stored);
  }
}

TEST(PerformancePage, WheelOptionsAndArrows) {
  SettingsBlock block = Defaults();
  PerformancePage page(block);
  page.Reload();
  EXPECT_TRUE(page.View().linesChecked);
  EXPECT_EQ(page.View().wheelNumber, 3);

  // The arrows stop at 1 and 30.
  for (int i = 0; i < 5; ++i) page.LinesDown();
  EXPECT_EQ(block.wheelLines, 1);
  EXPECT_EQ(page.View().wheelNumber, 1);
  for (int i = 0; i < 40; ++i) page.LinesUp();
  EXPECT_EQ(block.wheelLines, 30);
  page.LinesDown();
  EXPECT_EQ(block.wheelLines, 29);

  page.ChooseScreen();
  EXPECT_EQ(block.wheelLines, -1);
  EXPECT_TRUE(page.View().screenChecked);
  EXPECT_FALSE(page.View().linesChecked);
  EXPECT_FALSE(page.View().linesEnabled);
  page.ChooseLines();
  EXPECT_EQ(block.wheelLines, 29) << "the lines option takes the number shown";

  // A block in screen mode shows 1 in the disabled box; the lines option then stores 1.
  block.wheelLines = -1;
  page.Reload();
  EXPECT_TRUE(page.View().screenChecked);
  EXPECT_FALSE(page.View().linesEnabled);
  EXPECT_EQ(page.View().wheelNumber, 1);
  page.ChooseLines();
  EXPECT_EQ(block.wheelLines, 1);
  EXPECT_TRUE(page.View().linesEnabled);
}

TEST(PerformancePage, TabsAreMarkedWhereTheFunctionIsNotTheDefault) {
  SettingsBlock block = Defaults();
  PerformancePage page(block);
  page.Reload();
  EXPECT_EQ(page.View().tabMarked, (std::array<bool, kInputCount>{}));
  block.buttons[2].type = 1;  // right button as a left click
  block.buttons[6].type = 0;
  page.MarkTabs();
  EXPECT_EQ(page.View().tabMarked, (std::array<bool, kInputCount>{false, false, true, false, false, false, true}));
  block.buttons[2].type = DefaultType(2);
  page.Reload();
  EXPECT_EQ(page.View().tabMarked, (std::array<bool, kInputCount>{false, false, false, false, false, false, true}));
}

TEST(PerformancePage, HintsOfTheControlsUnderThePointer) {
  SettingsBlock block = Defaults();
  PerformancePage page(block);
  const struct {
    layout::Point at;
    bool chinese;
    std::vector<int> hints;
  } cases[] = {
      {{69, 66}, false, {12}},         {{68, 65}, false, {12}},  // widened by one pixel
      {{66, 64}, false, {}},           {{200, 170}, false, {13}}, {{100, 210}, false, {14}},
      {{500, 170}, true, {15}},        {{300, 310}, false, {16}}, {{600, 340}, false, {17}},
      {{600, 340}, true, {}},          {{600, 380}, false, {18}}, {{50, 420}, false, {19}},
      {{640, 430}, false, {25}},       {{100, 410}, false, {19, 20}},  // the tabs' boxes overlap
  };
  for (const auto& c : cases) {
    EXPECT_EQ(page.HintsAt(c.at, c.chinese), c.hints) << c.at.x << "," << c.at.y << (c.chinese ? " zh" : " en");
  }
}

}  // namespace
}  // namespace nx7
