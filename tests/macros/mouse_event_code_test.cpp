#include "buttons/inputs.h"

#include <gtest/gtest.h>

namespace nx7 {
namespace {

TEST(MouseEventCode, NamesTheSevenButtonsBothWays) {
  const MouseEventCode byButton[] = {0x201, 0x207, 0x204, 0x2020B, 0x1020B, 0x20A01, 0x20A00};
  for (int button = 0; button < 7; ++button) {
    EXPECT_EQ(MouseEventCodeOfButton(button), byButton[button]);
    EXPECT_EQ(ButtonOfMouseEventCode(byButton[button]), button);
  }
  EXPECT_EQ(MouseEventCodeOfButton(-1), std::nullopt);
  EXPECT_EQ(MouseEventCodeOfButton(7), std::nullopt);
  for (MouseEventCode other : {0u, 1u, 0x202u, 0x20Bu, 0x20Au}) EXPECT_EQ(ButtonOfMouseEventCode(other), std::nullopt);
}

}  // namespace
}  // namespace nx7
