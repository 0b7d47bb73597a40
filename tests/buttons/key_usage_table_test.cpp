#include "buttons/key_usage_table.h"

#include <gtest/gtest.h>

namespace nx7 {
namespace {

TEST(KeyUsageTable, ConvertsBothWays) {
  struct Case {
    uint32_t virtualKey;
    uint8_t usage;
  } cases[] = {
      {27, 0x29},  {112, 0x3A}, {123, 0x45}, {'A', 0x04}, {'Z', 0x1D}, {'1', 0x1E}, {'9', 0x26},
      {'0', 0x27}, {9, 0x2B},   {20, 0x39},  {8, 0x2A},   {32, 0x2C},  {219, 0x2F}, {220, 0x31},
      {192, 0x35}, {187, 0x2E}, {189, 0x2D}, {44, 0x46},  {19, 0x48},  {34, 0x4E},  {38, 0x52},
      {40, 0x51},  {37, 0x50},  {39, 0x4F},  {97, 0x59},  {105, 0x61}, {96, 0x62},  {107, 0x57},
      {109, 0x56}, {106, 0x55}, {111, 0x54}, {144, 0x53}, {110, 0x63}, {162, 0xE0}, {160, 0xE1},
      {164, 0xE2}, {91, 0xE3},  {163, 0xE4}, {92, 0xE7},  {93, 0x65},  {1, 0xF0},   {2, 0xF1},
      {4, 0xF2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UsageFromVirtualKey(c.virtualKey), c.usage) << c.virtualKey;
    EXPECT_EQ(VirtualKeyFromUsage(c.usage), c.virtualKey) << int(c.usage);
  }
}

TEST(KeyUsageTable, EnterTakesTheMainUsageAndKeypadEnterStillNamesAKey) {
  EXPECT_EQ(UsageFromVirtualKey(13), 0x28);
  EXPECT_EQ(VirtualKeyFromUsage(0x28), 13);
  EXPECT_EQ(VirtualKeyFromUsage(0x58), 13);
}

TEST(KeyUsageTable, UnknownCodesConvertToNoKey) {
  for (uint32_t virtualKey : {0u, 124u /* F13 */, 108u, 0x100u + 'A', 0xFFFFFFFFu})
    EXPECT_EQ(UsageFromVirtualKey(virtualKey), 0) << virtualKey;
  for (uint32_t usage : {0u, 0x32u, 0x64u, 0x66u, 0xE8u, 0x104u})
    EXPECT_EQ(VirtualKeyFromUsage(usage), 0) << usage;
}

TEST(KeyUsageTable, EveryPairButKeypadEnterRoundTrips) {
  int oneWay = 0;
  for (const auto& pair : KeyUsageTable) {
    EXPECT_EQ(VirtualKeyFromUsage(pair.usage), pair.virtualKey) << int(pair.usage);
    if (UsageFromVirtualKey(pair.virtualKey) != pair.usage) ++oneWay;
  }
  EXPECT_EQ(oneWay, 1);
}

}  // namespace
}  // namespace nx7
