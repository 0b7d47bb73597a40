#pragma once
// The lighting page without its window: the lighting mode, its parameter, the four colours and
// the body light of the settings block, edited by the page's clicks and slider moves, and the
// state every control of the page shows. The page window only maps its controls' clicks to these
// calls and shows `View()`; every change is written into the block at once.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "skin/layout.h"
#include "store/settings_block.h"

namespace nx7 {

// Control ids of the page's sliders and number boxes.
inline constexpr int kRedSliderId = 769;
inline constexpr int kGreenSliderId = 770;
inline constexpr int kBlueSliderId = 771;
inline constexpr int kRedNumberId = 772;
inline constexpr int kGreenNumberId = 773;
inline constexpr int kBlueNumberId = 774;
inline constexpr int kBrightnessSliderId = 777;
inline constexpr int kFrequencySliderId = 778;
inline constexpr int kSpeedSliderId = 779;

// Colour slots: 0 to 2 the three colours of mode 5, 3 the colour of modes 1 and 2.
inline constexpr int kNoColourSlot = 4;
inline constexpr int kSingleColourSlot = 3;
inline constexpr int kPaletteCount = layout::lighting_page::kPaletteCount;

struct SliderRange {
  int min;
  int max;
};
// The range of each slider of the page: frequency 1..5, brightness 1..10, speed 1..3, red,
// green and blue 0..255.
std::optional<SliderRange> LightingSliderRange(int controlId);

// The colour palette entry `k` (0 to 25) stores, 0x00BBGGRR.
uint32_t PaletteColour(int k);

// Whether the client point lies in the colour wheel: the ellipse inscribed in its rectangle.
bool InColourWheel(layout::Point p);

// What the page's controls show. Mode buttons, sliders and palette buttons are indexed as in the
// block: mode `ledMode` at [ledMode - 1].
struct LightingView {
  std::array<bool, 6> modeChecked{};
  bool frequencyEnabled = false;
  bool brightnessEnabled = false;
  // The colour check box, swatches 0 to 2 and the speed slider: mode 5 only.
  bool symphonyEnabled = false;
  bool colourChecked = false;
  bool paletteEnabled = false;
  int paletteChecked = -1;  // the checked palette button, -1 for none
  bool colourSlidersEnabled = false;
  std::array<int, 3> rgb{};  // the red, green and blue sliders and numbers
  bool bodyLightOn = false;
  int frequency = 1;
  int brightness = 1;
  int speed = 1;
  std::array<uint32_t, kLedColorCount> swatches{};
};

class LightingPage {
 public:
  // Edits `block`, which outlives the page. Starts with colour slot 0 selected and editing on,
  // as the page is made; Reload brings it in line with the block.
  explicit LightingPage(SettingsBlock& block) : block_(block) {}

  // Brings the page's state and view in line with the block (the main window calls it whenever
  // the block is replaced; every click below ends with it except the sliders and the wheel).
  void Reload();

  // A click on the button of lighting mode `mode` (1 to 6).
  void ChooseMode(int mode);
  void ToggleColourCheck();
  // A click on swatch 0, 1 or 2.
  void ChooseSwatch(int swatch);
  void SetBodyLight(bool on);
  // A click on palette button `k` (0 to 25).
  void ChoosePalette(int k);
  // Slider `controlId` reports `value` (message 0x800). Other ids are ignored.
  void SliderMoved(int controlId, int value);
  // A left-button press at client point `p` of the page, where the page shows `pixel`
  // (0x00BBGGRR). Returns whether a colour was taken.
  bool PickFromWheel(layout::Point p, uint32_t pixel);
  // Whether the pointer at `p` gets the cross cursor.
  bool WheelCursorAt(layout::Point p) const { return editing_ && InColourWheel(p); }

  // The HintIds of the controls whose rectangle, widened by one pixel on every side, holds `p`
  // (client coordinates of the page in the layout `chineseLayout`).
  std::vector<int> HintsAt(layout::Point p, bool chineseLayout) const;

  const LightingView& View() const { return view_; }
  int SelectedSlot() const { return selectedSlot_; }
  bool Editing() const { return editing_; }

 private:
  bool SlotSelected() const { return selectedSlot_ >= 0 && selectedSlot_ < int(kLedColorCount); }
  void ShowColour(uint32_t colour);

  SettingsBlock& block_;
  int selectedSlot_ = 0;
  bool editing_ = true;
  LightingView view_;
};

}  // namespace nx7
