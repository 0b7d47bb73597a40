#pragma once
// The one rule for values of a settings block outside their documented ranges, applied before a
// download sends anything to the mouse or to Windows. A damaged or hand-made profile file can
// hold anything after a valid signature; the pages only ever write values inside the ranges.
//
// | field              | allowed          | outside becomes                                      |
// |--------------------|------------------|------------------------------------------------------|
// | pointerSpeed       | 1 to 20          | the nearer end                                       |
// | wheelLines         | 1 to 30, or -1   | below -1: -1 (a screen per notch); 0: 1; above 30: 30 |
// | ledMode            | 1 to 6           | 6, lights off (the effect bytes already treat it so) |
// | ledSubMode         | 0 or 1           | 0 (only 1 sends the custom colours)                  |
// | ledBrightness      | 1 to 10          | the nearer end                                       |
// | ledFrequency       | 1 to 5           | the nearer end                                       |
// | ledSymphonySpeed   | 2, 4 or 6        | the nearer end, an odd value the even one above       |
// | bodyLight          | 0 or 1           | 0 (only 1 switches the body light on)                |
//
// The report rate is left alone: the mouse's command already sends any unknown code as 2. DPI
// levels too: a value the mouse does not know marks its level as not in use.
#include <cstdint>
#include <vector>

#include "store/settings_block.h"

namespace nx7 {

struct RangeAdjustment {
  const char* field;  // the settings block's field name
  int32_t from;
  int32_t to;
};

// Brings every field of the table into its range; returns what changed, in table order.
std::vector<RangeAdjustment> ClampToDocumentedRanges(SettingsBlock& block);

}  // namespace nx7
