#pragma once
// MouseEventCode: the numbers naming mouse events between the hooks, the main window, the
// statistics and the download. Buttons are numbered as in the settings block (0 left .. 6 wheel
// backward).
#include <cstdint>
#include <optional>

namespace nx7 {

using MouseEventCode = uint32_t;

inline constexpr MouseEventCode kMouseLeftPress = 0x201;
inline constexpr MouseEventCode kMouseMiddlePress = 0x207;
inline constexpr MouseEventCode kMouseRightPress = 0x204;
inline constexpr MouseEventCode kMouseExtra2Press = 0x2020B;  // second extra button
inline constexpr MouseEventCode kMouseExtra1Press = 0x1020B;  // first extra button
inline constexpr MouseEventCode kMouseWheelForward = 0x20A01;
inline constexpr MouseEventCode kMouseWheelBackward = 0x20A00;

inline constexpr int kMouseButtonCount = 7;

// The code of settings-block button `index` (0 to 6).
inline constexpr MouseEventCode kMouseEventCodes[kMouseButtonCount] = {
    kMouseLeftPress,   kMouseMiddlePress,  kMouseRightPress,    kMouseExtra2Press,
    kMouseExtra1Press, kMouseWheelForward, kMouseWheelBackward,
};

// The code of button `index`, nothing for an index outside 0 to 6.
constexpr std::optional<MouseEventCode> MouseEventCodeOfButton(int index) {
  if (index < 0 || index >= kMouseButtonCount) return std::nullopt;
  return kMouseEventCodes[index];
}

// The settings-block button a code names, nothing for any other number.
constexpr std::optional<int> ButtonOfMouseEventCode(MouseEventCode code) {
  for (int i = 0; i < kMouseButtonCount; ++i) {
    if (kMouseEventCodes[i] == code) return i;
  }
  return std::nullopt;
}

}  // namespace nx7
