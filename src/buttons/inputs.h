#pragma once
// The seven programmable inputs of the mouse, by index: the position of the input's
// ButtonAssignment in the settings block. Every per-input fact lives in the one table below:
// its default function, the MouseEventCode under which the hooks report it, its place in the
// key matrix and the default name a fresh profile shows for it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace nx7 {

// MouseEventCode: the numbers naming mouse events between the hooks, the main window, the
// statistics and the download.
using MouseEventCode = uint32_t;

inline constexpr MouseEventCode kMouseLeftPress = 0x201;
inline constexpr MouseEventCode kMouseMiddlePress = 0x207;
inline constexpr MouseEventCode kMouseRightPress = 0x204;
inline constexpr MouseEventCode kMouseExtra2Press = 0x2020B;  // second extra button
inline constexpr MouseEventCode kMouseExtra1Press = 0x1020B;  // first extra button
inline constexpr MouseEventCode kMouseWheelForward = 0x20A01;
inline constexpr MouseEventCode kMouseWheelBackward = 0x20A00;

inline constexpr size_t kInputCount = 7;
inline constexpr int kMouseButtonCount = int(kInputCount);

// The built-in name of an input's default function as the hint line rewrites it between the
// two languages.
struct DefaultButtonName {
  std::u16string_view chinese;
  std::u16string_view english;
};

struct InputRow {
  int32_t defaultType;            // what a fresh profile and "Restore" assign
  MouseEventCode mouseEventCode;  // how the mouse hook reports (and intercepts) a press of the input
  int tablePosition;              // where the input's device key code goes in the 16-entry button table
  DefaultButtonName defaultName;
};

// Left, middle, right, forward side, back side, wheel forward, wheel backward.
inline constexpr std::array<InputRow, kInputCount> kInputs{{
    {1, kMouseLeftPress, 0, {u"单击", u"Click"}},
    {4, kMouseMiddlePress, 2, {u"中键", u"Middle"}},
    {2, kMouseRightPress, 1, {u"菜单", u"Menu"}},
    {8, kMouseExtra2Press, 5, {u"前进", u"Forward"}},
    {16, kMouseExtra1Press, 4, {u"后退", u"Back"}},
    {11, kMouseWheelForward, 14, {u"滚轮前滚", u"Scroll up"}},
    {22, kMouseWheelBackward, 15, {u"滚轮后滚", u"Scroll down"}},
}};

// The MouseEventCode of each input, in input order.
inline constexpr std::array<MouseEventCode, kInputCount> kMouseEventCodes = [] {
  std::array<MouseEventCode, kInputCount> codes{};
  for (size_t i = 0; i < kInputCount; ++i) codes[i] = kInputs[i].mouseEventCode;
  return codes;
}();

// 1, 4, 2, 8, 16, 11, 22 for inputs 0 to 6; 0 (no function) for any other index.
constexpr int32_t DefaultType(size_t index) { return index < kInputCount ? kInputs[index].defaultType : 0; }

// The MouseEventCode under which the mouse hook reports input `index` and, while the input is
// assigned a software launch, intercepts it; 0 for any other index.
constexpr uint32_t InterceptEvent(size_t index) { return index < kInputCount ? kInputs[index].mouseEventCode : 0; }

// The code of input `index`, nothing for an index outside 0 to 6.
constexpr std::optional<MouseEventCode> MouseEventCodeOfButton(int index) {
  if (index < 0 || index >= kMouseButtonCount) return std::nullopt;
  return kInputs[size_t(index)].mouseEventCode;
}

// The input a code names, nothing for any other number.
constexpr std::optional<int> ButtonOfMouseEventCode(MouseEventCode code) {
  for (size_t i = 0; i < kInputCount; ++i)
    if (kInputs[i].mouseEventCode == code) return int(i);
  return std::nullopt;
}

}  // namespace nx7
