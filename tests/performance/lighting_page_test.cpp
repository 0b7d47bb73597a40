#include "performance/lighting_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "download/download_plan.h"

namespace nx7 {
namespace {

SettingsBlock Defaults() {
  SettingsBlock block{};
  FillWithDefaults(block, false);
  return block;
}

using Bytes = std::array<uint8_t, 3>;
using Colours = std::array<uint32_t, kLedColorCount>;

Colours ColoursOf(const SettingsBlock& block) {
  Colours c{};
  std::copy(std::begin(block.ledColors), std::end(block.ledColors), c.begin());
  return c;
}
void SetColours(SettingsBlock& block, const Colours& c) { std::copy(c.begin(), c.end(), block.ledColors); }

// Each mode button with its parameter slider moved: the fields the block holds, the effect bytes
// the download sends for them, and which colour the palette then edits.
TEST(LightingPage, EachModeWritesItsFieldsAndTheDownloadSendsTheirEffectBytes) {
  const struct {
    int mode;
    int sliderId;  // 0: the mode has no parameter
    int sliderValue;
    Bytes effect;
    int slot;
    bool frequency, brightness, symphony, palette;
  } cases[] = {
      {1, kBrightnessSliderId, 8, {1, 8, 1}, 3, false, true, false, true},
      {2, kFrequencySliderId, 2, {2, 2, 1}, 3, true, false, false, true},
      {3, 0, 0, {3, 2, 3}, kNoColourSlot, false, false, false, false},
      {4, 0, 0, {4, 10, 2}, kNoColourSlot, false, false, false, false},
      {5, kSpeedSliderId, 3, {5, 6, 0}, kNoColourSlot, false, false, true, false},
      {6, 0, 0, {0, 0, 0}, kNoColourSlot, false, false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("mode " + std::to_string(c.mode));
    SettingsBlock block = Defaults();
    block.ledMode = c.mode == 1 ? 2 : 1;  // another mode before the click
    LightingPage page(block);
    page.Reload();
    page.ChooseMode(c.mode);
    if (c.sliderId) page.SliderMoved(c.sliderId, c.sliderValue);
    EXPECT_EQ(block.ledMode, c.mode);
    EXPECT_EQ(LightingEffectBytes(block), c.effect);
    EXPECT_EQ(page.SelectedSlot(), c.slot);
    const LightingView& v = page.View();
    for (int m = 1; m <= 6; ++m) EXPECT_EQ(v.modeChecked[size_t(m - 1)], m == c.mode) << m;
    EXPECT_EQ(v.frequencyEnabled, c.frequency);
    EXPECT_EQ(v.brightnessEnabled, c.brightness);
    EXPECT_EQ(v.symphonyEnabled, c.symphony);
    EXPECT_EQ(v.paletteEnabled, c.palette);
    EXPECT_EQ(v.colourSlidersEnabled, c.palette);
    EXPECT_EQ(page.Editing(), c.palette);
  }
}

// What one download of the page's block carries for the lighting: colour 3, the three-colour table
// only in mode 5 with the check box on, the body light.
TEST(LightingPage, TheDownloadPlanCarriesThePageColours) {
  const struct {
    int mode;
    bool check;
    bool table;
  } cases[] = {{1, false, false}, {5, false, false}, {5, true, true}, {6, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE("mode " + std::to_string(c.mode) + (c.check ? " checked" : ""));
    SettingsBlock block = Defaults();
    LightingPage page(block);
    page.Reload();
    page.ChooseMode(1);
    page.ChoosePalette(5);  // colour 3
    page.ChooseMode(5);
    page.ToggleColourCheck();
    page.ChooseSwatch(1);
    page.ChoosePalette(9);  // colour 1
    page.ToggleColourCheck();
    if (c.check) page.ToggleColourCheck();
    page.ChooseMode(c.mode);
    page.SetBodyLight(false);
    const auto library = std::make_unique<MacroLibrary>();
    const DownloadPlan plan = PlanDownload(block, ButtonMacroIds{}, *library);
    EXPECT_EQ(plan.lightingColor, 0x00F927u);
    EXPECT_EQ(plan.colorTable.has_value(), c.table);
    if (c.table) {
      const std::array<uint8_t, 9> rgb = {0xFF, 0, 0, 0x01, 0xC1, 0xFA, 0xFF, 0, 0};
      EXPECT_TRUE(std::equal(rgb.begin(), rgb.end(), plan.colorTable->begin()));
    }
    EXPECT_EQ(plan.bodyLight, 0);
    EXPECT_EQ(plan.lightingEffect, LightingEffectBytes(block));
  }
}

TEST(LightingPage, SliderRanges) {
  const struct {
    int id;
    std::optional<SliderRange> range;
  } cases[] = {{kFrequencySliderId, SliderRange{1, 5}}, {kBrightnessSliderId, SliderRange{1, 10}},
               {kSpeedSliderId, SliderRange{1, 3}},      {kRedSliderId, SliderRange{0, 255}},
               {kGreenSliderId, SliderRange{0, 255}},    {kBlueSliderId, SliderRange{0, 255}},
               {kRedNumberId, std::nullopt},             {776, std::nullopt}};
  for (const auto& c : cases) {
    const auto range = LightingSliderRange(c.id);
    ASSERT_EQ(range.has_value(), c.range.has_value()) << c.id;
    if (range) {
      EXPECT_EQ(range->min, c.range->min) << c.id;
      EXPECT_EQ(range->max, c.range->max) << c.id;
    }
  }
}

TEST(LightingPage, ThePaletteOfTwentySix) {
  EXPECT_EQ(PaletteColour(0), 0x7E05FAu);
  EXPECT_EQ(PaletteColour(5), 0x00F927u);
  EXPECT_EQ(PaletteColour(13), 0xE3185Au);
  EXPECT_EQ(PaletteColour(25), 0xB95401u);
  EXPECT_EQ(PaletteColour(26), 0u);
  EXPECT_EQ(PaletteColour(-1), 0u);
}

TEST(LightingPage, PaletteThenRedSliderForColourThree) {
  SettingsBlock block = Defaults();
  LightingPage page(block);
  page.Reload();
  page.ChooseMode(1);
  page.ChoosePalette(5);
  EXPECT_EQ(block.ledColors[3], 0x00F927u);
  EXPECT_EQ(block.ledPaletteIndex[3], 5);
  EXPECT_EQ(block.ledColorCustom[3], 0);
  EXPECT_EQ(page.View().paletteChecked, 5);
  EXPECT_EQ(page.View().rgb, (std::array<int, 3>{0x27, 0xF9, 0x00}));
  EXPECT_EQ(page.View().swatches[3], 0x00F927u);

  page.SliderMoved(kRedSliderId, 16);
  EXPECT_EQ(block.ledColors[3], 0x00F910u);
  EXPECT_EQ(block.ledColorCustom[3], 1);
  EXPECT_EQ(page.View().paletteChecked, -1);
  EXPECT_EQ(page.View().rgb, (std::array<int, 3>{16, 0xF9, 0}));
  EXPECT_EQ(page.View().swatches[3], 0x00F910u);
  // The other colours stay.
  EXPECT_EQ(block.ledColors[0], 0xFFu);

  page.SliderMoved(kBlueSliderId, 0x80);
  EXPECT_EQ(block.ledColors[3], 0x80F910u);
  page.SliderMoved(kGreenSliderId, 1);
  EXPECT_EQ(block.ledColors[3], 0x800110u);
}

TEST(LightingPage, TheColourSlidersClearTheTopByte) {
  SettingsBlock block = Defaults();
  block.ledMode = 2;
  block.ledColors[3] = 0xAB123456;
  LightingPage page(block);
  page.Reload();
  page.SliderMoved(kGreenSliderId, 0x99);
  EXPECT_EQ(block.ledColors[3], 0x129956u);
}

TEST(LightingPage, SymphonyColoursFollowTheCheckBoxAndSwatches) {
  SettingsBlock block = Defaults();  // mode 5, check box off
  LightingPage page(block);
  page.Reload();
  EXPECT_EQ(page.SelectedSlot(), kNoColourSlot);
  EXPECT_FALSE(page.View().paletteEnabled);
  page.ChoosePalette(3);  // disabled: nothing can be picked
  page.SliderMoved(kRedSliderId, 7);
  EXPECT_EQ(ColoursOf(block), (Colours{0xFF, 0xFF, 0xFF, 0xFF}));

  page.ToggleColourCheck();
  EXPECT_EQ(block.ledSubMode, 1);
  EXPECT_TRUE(page.View().colourChecked);
  EXPECT_EQ(page.SelectedSlot(), 0);
  EXPECT_TRUE(page.View().paletteEnabled);

  page.ChooseSwatch(2);
  EXPECT_EQ(page.SelectedSlot(), 2);
  page.ChoosePalette(7);
  EXPECT_EQ(block.ledColors[2], 0x93E713u);
  EXPECT_EQ(block.ledColors[0], 0xFFu);
  EXPECT_EQ(page.View().paletteChecked, 7);
  // A reload keeps swatch 2 chosen.
  page.Reload();
  EXPECT_EQ(page.SelectedSlot(), 2);

  page.ToggleColourCheck();
  EXPECT_EQ(block.ledSubMode, 0);
  EXPECT_EQ(page.SelectedSlot(), kNoColourSlot);
  EXPECT_FALSE(page.View().paletteEnabled);
  EXPECT_EQ(page.View().paletteChecked, -1);
  EXPECT_EQ(page.View().rgb, (std::array<int, 3>{0, 0, 0}));
  // Choosing mode 5 again with the box on starts at colour 0.
  page.ToggleColourCheck();
  page.ChooseMode(1);
  page.ChooseMode(5);
  EXPECT_EQ(page.SelectedSlot(), 0);
}

TEST(LightingPage, SwatchesAndCheckBoxDoNothingOutsideModeFive) {
  SettingsBlock block = Defaults();
  block.ledMode = 1;
  LightingPage page(block);
  page.Reload();
  page.ToggleColourCheck();
  page.ChooseSwatch(1);
  EXPECT_EQ(block.ledSubMode, 0);
  EXPECT_EQ(page.SelectedSlot(), kSingleColourSlot);
}

TEST(LightingPage, SpeedSliderStoresTwiceItsPosition) {
  SettingsBlock block = Defaults();
  LightingPage page(block);
  page.Reload();
  page.SliderMoved(kSpeedSliderId, 3);
  EXPECT_EQ(block.ledSymphonySpeed, 6);
  block.ledSymphonySpeed = 5;
  page.Reload();
  EXPECT_EQ(page.View().speed, 2);
  page.SliderMoved(776, 9);  // not a slider of the page
  EXPECT_EQ(block.ledSymphonySpeed, 5);
}

TEST(LightingPage, ReloadShowsTheBlock) {
  SettingsBlock block = Defaults();
  block.ledMode = 2;
  block.ledFrequency = 4;
  block.ledBrightness = 9;
  block.ledSymphonySpeed = 2;
  block.bodyLight = 0;
  SetColours(block, {0x010203, 0x040506, 0x070809, 0x0A0B0C});
  LightingPage page(block);
  page.Reload();
  const LightingView& v = page.View();
  EXPECT_EQ(v.frequency, 4);
  EXPECT_EQ(v.brightness, 9);
  EXPECT_EQ(v.speed, 1);
  EXPECT_FALSE(v.bodyLightOn);
  EXPECT_EQ(v.swatches, ColoursOf(block));
  EXPECT_EQ(v.rgb, (std::array<int, 3>{0x0C, 0x0B, 0x0A}));  // colour 3, custom
  EXPECT_EQ(v.paletteChecked, -1);
  page.SetBodyLight(true);
  EXPECT_EQ(block.bodyLight, 1);
  EXPECT_TRUE(page.View().bodyLightOn);
}

TEST(LightingPage, AnOutOfRangePaletteIndexShowsAsEntryZeroAndIsRewritten) {
  SettingsBlock block = Defaults();
  block.ledMode = 5;
  block.ledSubMode = 0;
  block.ledColorCustom[1] = 0;
  block.ledPaletteIndex[1] = 40;
  block.ledColorCustom[2] = 0;
  block.ledPaletteIndex[2] = -3;
  LightingPage page(block);
  page.Reload();
  EXPECT_EQ(block.ledPaletteIndex[1], 40);  // not the selected colour yet
  page.ToggleColourCheck();
  page.ChooseSwatch(1);
  EXPECT_EQ(block.ledPaletteIndex[1], 0);
  EXPECT_EQ(page.View().paletteChecked, 0);
  page.ChooseSwatch(2);
  EXPECT_EQ(block.ledPaletteIndex[2], 0);
}

TEST(LightingPage, ModeSixKeepsColoursAndParameters) {
  SettingsBlock block = Defaults();
  SetColours(block, {1, 2, 3, 4});
  LightingPage page(block);
  page.Reload();
  const SettingsBlock before = block;
  page.ChooseMode(6);
  EXPECT_EQ(ColoursOf(block), ColoursOf(before));
  EXPECT_EQ(block.ledBrightness, before.ledBrightness);
  EXPECT_EQ(block.ledFrequency, before.ledFrequency);
  EXPECT_EQ(block.ledSymphonySpeed, before.ledSymphonySpeed);
  EXPECT_EQ(block.ledSubMode, before.ledSubMode);
}

TEST(LightingPage, AnUnknownModeLeavesTheButtonsAsTheyWere) {
  SettingsBlock block = Defaults();
  block.ledMode = 1;
  LightingPage page(block);
  page.Reload();
  block.ledMode = 9;
  block.ledBrightness = 7;
  page.Reload();
  EXPECT_TRUE(page.View().modeChecked[0]);
  EXPECT_TRUE(page.View().brightnessEnabled);
  EXPECT_EQ(page.SelectedSlot(), kSingleColourSlot);
  EXPECT_EQ(page.View().brightness, 7);
}

// The wheel: the colour taken is the pixel the page shows at the press, only inside the ellipse
// inscribed in 771,264-891,383 and only while a colour is edited.
TEST(LightingPage, WheelPickTakesThePixelShownInsideTheEllipse) {
  const struct {
    layout::Point at;
    uint32_t pixel;
    int mode;
    bool taken;
  } cases[] = {
      {{831, 323}, 0xF0F0F0, 1, true},     // the centre
      {{772, 323}, 0x0000FF, 1, true},     // the left end of the middle row
      {{770, 323}, 0x0000FF, 1, false},    // left of the rectangle
      {{831, 264}, 0x00FF00, 2, true},     // the top
      {{831, 383}, 0x00FF00, 2, false},    // below the rectangle
      {{775, 268}, 0x123456, 1, false},    // in the rectangle's corner, outside the ellipse
      {{831, 323}, 0xFF102030, 1, true},   // the top byte is not a colour
      {{831, 323}, 0x102030, 3, false},    // no colour edited in mode 3
      {{831, 323}, 0x102030, 5, false},    // nor in mode 5 with the check box off
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.at.x) + "," + std::to_string(c.at.y) + " mode " + std::to_string(c.mode));
    SettingsBlock block = Defaults();
    block.ledMode = c.mode;
    block.ledColorCustom[3] = 0;
    block.ledPaletteIndex[3] = 2;
    block.ledColors[3] = PaletteColour(2);
    LightingPage page(block);
    page.Reload();
    const SettingsBlock before = block;
    EXPECT_EQ(page.PickFromWheel(c.at, c.pixel), c.taken);
    if (c.taken) {
      const uint32_t colour = c.pixel & 0xFFFFFF;
      EXPECT_EQ(block.ledColors[3], colour);
      EXPECT_EQ(block.ledColorCustom[3], 1);
      EXPECT_EQ(page.View().swatches[3], colour);
      EXPECT_EQ(page.View().rgb, (std::array<int, 3>{int(colour & 0xFF), int(colour >> 8 & 0xFF), int(colour >> 16)}));
    } else {
      EXPECT_EQ(0, std::memcmp(&block, &before, sizeof block));
    }
  }
}

TEST(LightingPage, WheelPickEditsTheChosenSymphonyColour) {
  SettingsBlock block = Defaults();
  LightingPage page(block);
  page.Reload();
  page.ToggleColourCheck();
  page.ChooseSwatch(1);
  EXPECT_TRUE(page.WheelCursorAt({831, 323}));
  EXPECT_FALSE(page.WheelCursorAt({700, 323}));
  EXPECT_TRUE(page.PickFromWheel({800, 300}, 0x3399CC));
  EXPECT_EQ(ColoursOf(block), (Colours{0xFF, 0x3399CC, 0xFF, 0xFF}));
  page.ToggleColourCheck();
  EXPECT_FALSE(page.WheelCursorAt({831, 323}));
}

TEST(LightingPage, HintsOfTheControlsWidenedByOnePixel) {
  const struct {
    layout::Point at;
    bool chinese;
    std::vector<int> hints;
  } cases[] = {
      {{196, 28}, false, {26}},   // mode 4, top left corner (English)
      {{195, 27}, false, {26}},   // one pixel outside: widened
      {{194, 27}, false, {}},
      {{407, 47}, false, {26}},   // right and bottom edges: widened by one
      {{408, 48}, false, {}},
      {{200, 40}, true, {26}},    // mode 4 (Chinese)
      {{600, 36}, true, {28}},    // mode 6
      {{400, 40}, true, {27}},    // mode 3
      {{220, 70}, true, {29}},    // mode 2
      {{500, 70}, true, {30}},    // frequency slider
      {{220, 95}, true, {31}},    // mode 1
      {{500, 95}, true, {32}},    // brightness slider
      {{220, 125}, true, {33}},   // mode 5
      {{350, 120}, true, {34}},   // colour check box, unchecked
      {{700, 127}, true, {36}},   // speed slider
      {{220, 150}, true, {37}},   // body light on
      {{350, 150}, true, {38}},   // body light off
      {{600, 280}, true, {39}},   // red slider
      {{600, 325}, true, {39}},   // green
      {{600, 360}, true, {39}},   // blue
      {{443, 120}, true, {}},     // swatch 0: no hint
      {{831, 323}, true, {}},     // the wheel: no hint
  };
  SettingsBlock block = Defaults();
  LightingPage page(block);
  page.Reload();
  for (const auto& c : cases) {
    EXPECT_EQ(page.HintsAt(c.at, c.chinese), c.hints) << c.at.x << "," << c.at.y << (c.chinese ? " zh" : " en");
  }
  page.ToggleColourCheck();
  EXPECT_EQ(page.HintsAt({350, 120}, true), std::vector<int>{35});
}

}  // namespace
}  // namespace nx7
