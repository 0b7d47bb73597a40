#pragma once
// The seven programmable inputs of the mouse, by index: the position of the input's
// ButtonAssignment in the settings block.
#include <array>
#include <cstddef>
#include <cstdint>

namespace nx7 {

inline constexpr size_t kInputCount = 7;

struct InputRow {
  int32_t defaultType;      // what a fresh profile and "Restore" assign
  uint32_t mouseEventCode;  // how the mouse hook reports (and intercepts) a press of the input
  int tablePosition;        // where the input's device key code goes in the 16-entry button table
};

// Left, middle, right, forward side, back side, wheel forward, wheel backward.
inline constexpr std::array<InputRow, kInputCount> kInputs{{
    {1, 0x00000201, 0},
    {4, 0x00000207, 2},
    {2, 0x00000204, 1},
    {8, 0x0002020B, 5},
    {16, 0x0001020B, 4},
    {11, 0x00020A01, 14},
    {22, 0x00020A00, 15},
}};

// 1, 4, 2, 8, 16, 11, 22 for inputs 0 to 6; 0 (no function) for any other index.
constexpr int32_t DefaultType(size_t index) { return index < kInputCount ? kInputs[index].defaultType : 0; }

// The MouseEventCode under which the mouse hook reports input `index` and, while the input is
// assigned a software launch, intercepts it; 0 for any other index.
constexpr uint32_t InterceptEvent(size_t index) { return index < kInputCount ? kInputs[index].mouseEventCode : 0; }

}  // namespace nx7
