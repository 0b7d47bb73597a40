#include "performance/lighting_page.h"

namespace nx7 {

namespace lp = layout::lighting_page;

std::optional<SliderRange> LightingSliderRange(int controlId) {
  switch (controlId) {
    case kFrequencySliderId: return SliderRange{1, 5};
    case kBrightnessSliderId: return SliderRange{1, 10};
    case kSpeedSliderId: return SliderRange{1, 3};
    case kRedSliderId:
    case kGreenSliderId:
    case kBlueSliderId: return SliderRange{0, 255};
  }
  return std::nullopt;
}

uint32_t PaletteColour(int k) { return k >= 0 && k < kPaletteCount ? lp::kPaletteColours[size_t(k)] : 0; }

bool InColourWheel(layout::Point p) {
  const layout::Rect r = lp::kColourWheel;
  // Twice the distances, so the centre of an odd-sized rectangle stays an integer.
  const int64_t dx = 2 * int64_t(p.x) + 1 - (r.left + r.right);
  const int64_t dy = 2 * int64_t(p.y) + 1 - (r.top + r.bottom);
  const int64_t w = r.width(), h = r.height();
  return dx * dx * h * h + dy * dy * w * w <= w * w * h * h;
}

void LightingPage::ShowColour(uint32_t colour) {
  view_.rgb = {int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF)};
}

void LightingPage::Reload() {
  const int mode = block_.ledMode;
  // An unknown mode leaves the mode buttons, enables and the colour editing as they were.
  if (mode >= 1 && mode <= 6) {
    for (int m = 1; m <= 6; ++m) view_.modeChecked[size_t(m - 1)] = m == mode;
    view_.frequencyEnabled = mode == 2;
    view_.brightnessEnabled = mode == 1;
    view_.symphonyEnabled = mode == 5;
    if (mode == 1 || mode == 2) {
      selectedSlot_ = kSingleColourSlot;
      editing_ = true;
    } else if (mode == 5 && block_.ledSubMode == 1) {
      // The three colours: the one chosen before stays, else the first.
      if (selectedSlot_ == kSingleColourSlot || selectedSlot_ == kNoColourSlot) selectedSlot_ = 0;
      editing_ = true;
    } else {
      selectedSlot_ = kNoColourSlot;
      editing_ = false;
    }
    view_.paletteChecked = -1;
    if (editing_) {
      view_.paletteEnabled = true;
      ShowColour(block_.ledColors[size_t(selectedSlot_)]);
      view_.colourSlidersEnabled = true;
    } else {
      view_.paletteEnabled = false;
      view_.rgb = {0, 0, 0};
      view_.colourSlidersEnabled = false;
    }
  }
  view_.bodyLightOn = block_.bodyLight != 0;
  view_.frequency = block_.ledFrequency;
  view_.brightness = block_.ledBrightness;
  view_.speed = block_.ledSymphonySpeed / 2;

  view_.paletteChecked = -1;
  if (SlotSelected()) {
    const size_t s = size_t(selectedSlot_);
    if (block_.ledColorCustom[s] == 0) {
      if (uint32_t(block_.ledPaletteIndex[s]) >= uint32_t(kPaletteCount)) block_.ledPaletteIndex[s] = 0;
      view_.paletteChecked = block_.ledPaletteIndex[s];
      ShowColour(block_.ledColors[s]);
    }
  }
  view_.colourChecked = block_.ledSubMode == 1;
  for (size_t k = 0; k < kLedColorCount; ++k) view_.swatches[k] = block_.ledColors[k];
}

void LightingPage::ChooseMode(int mode) {
  if (mode < 1 || mode > 6) return;
  block_.ledMode = mode;
  if (mode == 1 || mode == 2) selectedSlot_ = kSingleColourSlot;
  else if (mode == 5 && view_.colourChecked) selectedSlot_ = 0;
  else selectedSlot_ = kNoColourSlot;
  Reload();
}

void LightingPage::ToggleColourCheck() {
  if (!view_.symphonyEnabled) return;  // disabled outside mode 5
  view_.colourChecked = !view_.colourChecked;
  block_.ledSubMode = view_.colourChecked ? 1 : 0;
  Reload();
}

void LightingPage::ChooseSwatch(int swatch) {
  if (!view_.symphonyEnabled || swatch < 0 || swatch > 2) return;
  selectedSlot_ = swatch;
  Reload();
}

void LightingPage::SetBodyLight(bool on) {
  block_.bodyLight = on ? 1 : 0;
  Reload();
}

void LightingPage::ChoosePalette(int k) {
  if (!view_.paletteEnabled || k < 0 || k >= kPaletteCount) return;
  if (SlotSelected()) {
    const size_t s = size_t(selectedSlot_);
    block_.ledColors[s] = PaletteColour(k);
    block_.ledPaletteIndex[s] = k;
    block_.ledColorCustom[s] = 0;
  }
  Reload();
}

void LightingPage::SliderMoved(int controlId, int value) {
  switch (controlId) {
    case kFrequencySliderId:
      block_.ledFrequency = value;
      view_.frequency = value;
      return;
    case kBrightnessSliderId:
      block_.ledBrightness = value;
      view_.brightness = value;
      return;
    case kSpeedSliderId:
      block_.ledSymphonySpeed = 2 * value;
      view_.speed = value;
      return;
    case kRedSliderId:
    case kGreenSliderId:
    case kBlueSliderId: break;
    default: return;
  }
  const int channel = controlId - kRedSliderId;
  view_.rgb[size_t(channel)] = value;
  if (!SlotSelected()) return;
  const size_t s = size_t(selectedSlot_);
  const int shift = 8 * channel;
  const uint32_t kept = block_.ledColors[s] & 0x00FFFFFFu & ~(0xFFu << shift);
  block_.ledColors[s] = kept | (uint32_t(value & 0xFF) << shift);
  block_.ledColorCustom[s] = 1;
  view_.swatches[s] = block_.ledColors[s];
  ShowColour(block_.ledColors[s]);
  view_.paletteChecked = -1;
}

bool LightingPage::PickFromWheel(layout::Point p, uint32_t pixel) {
  if (!InColourWheel(p) || !SlotSelected()) return false;
  const size_t s = size_t(selectedSlot_);
  block_.ledColorCustom[s] = 1;
  block_.ledColors[s] = pixel & 0x00FFFFFFu;
  view_.swatches[s] = block_.ledColors[s];
  ShowColour(block_.ledColors[s]);
  return true;
}

std::vector<int> LightingPage::HintsAt(layout::Point p, bool chineseLayout) const {
  struct Area {
    const layout::LangRect& rect;
    int hint;
  };
  const Area areas[] = {
      {lp::kModeButtons[3], 26},     {lp::kModeButtons[2], 27},     {lp::kModeButtons[5], 28},
      {lp::kModeButtons[1], 29},     {lp::kFrequencySlider, 30},    {lp::kModeButtons[0], 31},
      {lp::kBrightnessSlider, 32},   {lp::kModeButtons[4], 33},     {lp::kColourCheck, view_.colourChecked ? 35 : 34},
      {lp::kSpeedSlider, 36},        {lp::kBodyLightOn, 37},        {lp::kBodyLightOff, 38},
      {lp::kColourSliders[0], 39},   {lp::kColourSliders[1], 39},   {lp::kColourSliders[2], 39},
  };
  std::vector<int> hints;
  for (const Area& a : areas) {
    const layout::Rect r = a.rect.pick(chineseLayout);
    const layout::Rect widened{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1};
    if (widened.contains(p)) hints.push_back(a.hint);
  }
  return hints;
}

}  // namespace nx7
