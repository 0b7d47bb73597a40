#include "store/settings_ranges.h"

#include <algorithm>

namespace nx7 {

std::vector<RangeAdjustment> ClampToDocumentedRanges(SettingsBlock& b) {
  std::vector<RangeAdjustment> changed;
  auto set = [&](const char* field, int32_t& value, int32_t to) {
    if (value != to) changed.push_back({field, value, to});
    value = to;
  };
  set("pointerSpeed", b.pointerSpeed, std::clamp(b.pointerSpeed, 1, 20));
  set("wheelLines", b.wheelLines, b.wheelLines <= -1 ? -1 : b.wheelLines == 0 ? 1 : std::min(b.wheelLines, 30));
  set("ledMode", b.ledMode, b.ledMode >= 1 && b.ledMode <= 6 ? b.ledMode : 6);
  set("ledSubMode", b.ledSubMode, b.ledSubMode == 1 ? 1 : 0);
  set("ledBrightness", b.ledBrightness, std::clamp(b.ledBrightness, 1, 10));
  set("ledFrequency", b.ledFrequency, std::clamp(b.ledFrequency, 1, 5));
  const int32_t speed = std::clamp(b.ledSymphonySpeed, 2, 6);
  set("ledSymphonySpeed", b.ledSymphonySpeed, speed + (speed & 1));
  set("bodyLight", b.bodyLight, b.bodyLight == 1 ? 1 : 0);
  return changed;
}

}  // namespace nx7
