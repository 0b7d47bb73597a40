#pragma once
// The performance page without its window: the DPI levels, report rate, the two sliders, the
// pointer-precision switch and the wheel scrolling of the settings block, edited by the page's
// clicks, and the state every control of the page shows. The page window maps its controls'
// clicks to these calls and shows `View()`; every change is written into the block at once.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "buttons/inputs.h"
#include "skin/layout.h"
#include "store/settings_block.h"

namespace nx7 {

inline constexpr int kPointerSpeedSliderId = 2560;
inline constexpr int kSecondSliderId = 2562;
inline constexpr int kWheelLinesEditId = 2563;
inline constexpr int kWheelLinesTimerId = 152;
inline constexpr unsigned kWheelLinesTimerMs = 4000;
inline constexpr int kWheelLinesMax = 30;
inline constexpr int kWheelScreen = -1;  // `wheelLines` for one screen per notch

inline constexpr size_t kDpiButtonCount = layout::performance_page::kDpiValues.size();
inline constexpr size_t kReportRateButtonCount = layout::performance_page::kReportRateValues.size();

struct SliderLimits {
  int min;
  int max;
};
// Pointer speed 1..20, the second slider 1..30; nothing for another id.
std::optional<SliderLimits> PerformanceSliderRange(int controlId);

// `reportRate` of report-rate button `button` (0 to 3: 125, 250, 500, 1000 Hz): the report
// interval in milliseconds, 8, 4, 2, 1; 0 for another index.
int ReportRateOfButton(size_t button);
// The button standing for `reportRate`; nothing for a value no button stands for.
std::optional<size_t> ReportRateButton(int reportRate);

// The wheel-lines box after a commit: the text it shows and the number stored.
struct CommittedLines {
  std::u16string text;
  int number;
};
// Leading zeros dropped; nothing left (or no digit to read) shows "1" and gives 1; otherwise the
// leading digits' decimal value, at most 30.
CommittedLines NormaliseWheelLines(std::u16string_view text);

// HintIds of the page's controls.
inline constexpr int kHintDpi = 12;
inline constexpr int kHintPointerSpeed = 13;
inline constexpr int kHintPrecision = 14;
inline constexpr int kHintSecondSlider = 15;
inline constexpr int kHintReportRate = 16;
inline constexpr int kHintLinesOption = 17;
inline constexpr int kHintScreenOption = 18;
inline constexpr int kHintFirstInputTab = 19;  // tab i: 19 + i

// What the page's controls show.
struct PerformanceView {
  std::array<bool, kDpiButtonCount> dpiChecked{};
  int pointerSpeed = 10;
  int secondSlider = 15;
  bool precisionChecked = false;
  std::array<bool, kReportRateButtonCount> reportRateChecked{};
  bool linesChecked = false;
  bool screenChecked = false;
  bool linesEnabled = true;  // the edit box and both arrows
  int wheelNumber = 1;       // the number the edit box shows
  std::array<bool, kInputCount> tabMarked{};
};

class PerformancePage {
 public:
  // Edits `block`, which outlives the page.
  explicit PerformancePage(SettingsBlock& block) : block_(block) {}

  // Brings the view in line with the block (at start and whenever the block is replaced).
  void Reload();

  // A click on DPI button `button` (0 to 13, table order). Keeps one to seven checked and writes
  // the checked values ascending into `dpiLevels`, zeros after them and in the reserved bytes.
  void ClickDpi(size_t button);
  // Slider `controlId` reports `value` (message 0x800); other ids are ignored.
  void SliderMoved(int controlId, int value);
  void TogglePrecision();
  void ChooseReportRate(size_t button);
  void ChooseLines();
  void ChooseScreen();
  void LinesUp();
  void LinesDown();
  // Takes the edit box's `text` into `wheelLines`; returns what the box shows from now on.
  std::u16string CommitWheelLines(std::u16string_view text);
  // Marks the tabs of the inputs whose function is not their default (after the button settings
  // dialog may have changed one).
  void MarkTabs();

  // The HintIds of the controls whose rectangle, widened by one pixel on every side, holds `p`
  // (client coordinates of the page in the layout `chineseLayout`).
  std::vector<int> HintsAt(layout::Point p, bool chineseLayout) const;

  const PerformanceView& View() const { return view_; }

 private:
  void WriteDpiLevels();

  SettingsBlock& block_;
  PerformanceView view_;
};

}  // namespace nx7
