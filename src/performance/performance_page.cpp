#include "performance/performance_page.h"

#include <algorithm>
#include <cstring>

namespace nx7 {

namespace pp = layout::performance_page;

namespace {
constexpr std::array<int, kReportRateButtonCount> kReportRates{8, 4, 2, 1};
}  // namespace

std::optional<SliderLimits> PerformanceSliderRange(int controlId) {
  switch (controlId) {
    case kPointerSpeedSliderId: return SliderLimits{1, 20};
    case kSecondSliderId: return SliderLimits{1, 30};
  }
  return std::nullopt;
}

int ReportRateOfButton(size_t button) { return button < kReportRates.size() ? kReportRates[button] : 0; }

std::optional<size_t> ReportRateButton(int reportRate) {
  for (size_t b = 0; b < kReportRates.size(); ++b)
    if (kReportRates[b] == reportRate) return b;
  return std::nullopt;
}

CommittedLines NormaliseWheelLines(std::u16string_view text) {
  while (!text.empty() && text.front() == u'0') text.remove_prefix(1);
  int number = 0;
  size_t digits = 0;
  for (; digits < text.size() && text[digits] >= u'0' && text[digits] <= u'9'; ++digits)
    number = std::min(number * 10 + int(text[digits] - u'0'), kWheelLinesMax);
  // Text the box cannot hold by typing (pasted letters) reads as nothing, like an empty box.
  if (digits == 0) return {u"1", 1};
  const std::string shown = std::to_string(number);
  return {std::u16string(shown.begin(), shown.end()), number};
}

void PerformancePage::Reload() {
  view_.dpiChecked = {};
  for (int32_t level : block_.dpiLevels)
    for (size_t b = 0; b < kDpiButtonCount; ++b)
      if (pp::kDpiValues[b] == level) view_.dpiChecked[b] = true;
  view_.pointerSpeed = block_.pointerSpeed;
  view_.secondSlider = block_.sheightLevel;
  view_.precisionChecked = block_.enhancePrecision == 1;
  view_.reportRateChecked = {};
  if (const auto b = ReportRateButton(block_.reportRate)) view_.reportRateChecked[*b] = true;
  const bool screen = block_.wheelLines == kWheelScreen;
  view_.screenChecked = screen;
  view_.linesChecked = !screen;
  view_.linesEnabled = !screen;
  view_.wheelNumber = screen ? 1 : block_.wheelLines;
  MarkTabs();
}

void PerformancePage::ClickDpi(size_t button) {
  if (button >= kDpiButtonCount) return;
  const auto checked = size_t(std::count(view_.dpiChecked.begin(), view_.dpiChecked.end(), true));
  bool& on = view_.dpiChecked[button];
  if (checked == kDpiLevelCount) {
    if (on) on = false;
  } else if (!on) {
    on = true;
  } else if (checked > 1) {
    on = false;
  }
  WriteDpiLevels();
}

void PerformancePage::WriteDpiLevels() {
  // The area is 14 slots: the seven levels and the 28 reserved bytes after them.
  static_assert(sizeof(block_.dpiLevels) + sizeof(block_.reserved22068) == kDpiButtonCount * sizeof(int32_t));
  std::memset(block_.dpiLevels, 0, sizeof(block_.dpiLevels));
  std::memset(block_.reserved22068, 0, sizeof(block_.reserved22068));
  size_t next = 0;
  for (size_t b = 0; b < kDpiButtonCount && next < kDpiLevelCount; ++b)
    if (view_.dpiChecked[b]) block_.dpiLevels[next++] = pp::kDpiValues[b];
}

void PerformancePage::SliderMoved(int controlId, int value) {
  if (controlId == kPointerSpeedSliderId) {
    block_.pointerSpeed = value;
    view_.pointerSpeed = value;
  } else if (controlId == kSecondSliderId) {
    block_.sheightLevel = value;
    view_.secondSlider = value;
  }
}

void PerformancePage::TogglePrecision() {
  view_.precisionChecked = !view_.precisionChecked;
  block_.enhancePrecision = view_.precisionChecked ? 1 : 0;
}

void PerformancePage::ChooseReportRate(size_t button) {
  if (button >= kReportRateButtonCount) return;
  for (size_t b = 0; b < kReportRateButtonCount; ++b) view_.reportRateChecked[b] = b == button;
  block_.reportRate = ReportRateOfButton(button);
}

void PerformancePage::ChooseLines() {
  view_.linesChecked = true;
  view_.screenChecked = false;
  view_.linesEnabled = true;
  block_.wheelLines = view_.wheelNumber;
}

void PerformancePage::ChooseScreen() {
  view_.screenChecked = true;
  view_.linesChecked = false;
  view_.linesEnabled = false;
  block_.wheelLines = kWheelScreen;
}

void PerformancePage::LinesUp() {
  view_.wheelNumber = std::min(view_.wheelNumber + 1, kWheelLinesMax);
  block_.wheelLines = view_.wheelNumber;
}

void PerformancePage::LinesDown() {
  view_.wheelNumber = std::max(view_.wheelNumber - 1, 1);
  block_.wheelLines = view_.wheelNumber;
}

std::u16string PerformancePage::CommitWheelLines(std::u16string_view text) {
  CommittedLines committed = NormaliseWheelLines(text);
  view_.wheelNumber = committed.number;
  block_.wheelLines = committed.number;
  return std::move(committed.text);
}

void PerformancePage::MarkTabs() {
  for (size_t i = 0; i < kInputCount; ++i) view_.tabMarked[i] = block_.buttons[i].type != DefaultType(i);
}

std::vector<int> PerformancePage::HintsAt(layout::Point p, bool chineseLayout) const {
  std::vector<int> hints;
  auto test = [&](const layout::Rect& r, int hint) {
    const layout::Rect widened{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1};
    if (widened.contains(p)) hints.push_back(hint);
  };
  for (const layout::Rect& r : pp::kDpiButtons) test(r, kHintDpi);
  test(pp::kPointerSpeedSlider, kHintPointerSpeed);
  test(pp::kPrecisionSwitch, kHintPrecision);
  test(pp::kSecondSlider, kHintSecondSlider);
  for (const layout::Rect& r : pp::kReportRateButtons) test(r, kHintReportRate);
  test(pp::kLinesOption.pick(chineseLayout), kHintLinesOption);
  test(pp::kScreenOption.pick(chineseLayout), kHintScreenOption);
  for (size_t i = 0; i < pp::kInputTabs.size(); ++i) test(pp::kInputTabs[i].bounds(), kHintFirstInputTab + int(i));
  return hints;
}

}  // namespace nx7
