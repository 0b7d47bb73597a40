#include "macros/macro_payload.h"

#include <gtest/gtest.h>

#include <vector>

#include "buttons/key_usage_table.h"

namespace nx7 {
namespace {

uint32_t Press(uint32_t vk) { return 0xC0000000u | vk; }
uint32_t Release(uint32_t vk) { return 0xE0000000u | vk; }
uint32_t Delay(uint32_t ms) { return 0xA0000000u | ms; }

struct Case {
  const char* what;
  std::vector<uint32_t> events;
  std::vector<uint8_t> items;  // bytes from offset 2; everything after them is zero
  uint32_t wordCount;
};

void ExpectPayload(const Case& c) {
  const MacroPayload p = EncodeMacroPayload(1, c.events);
  std::vector<uint8_t> expected(kMacroPayloadSize, 0);
  expected[1] = 1;
  std::copy(c.items.begin(), c.items.end(), expected.begin() + 2);
  EXPECT_EQ(std::vector<uint8_t>(p.bytes.begin(), p.bytes.end()), expected) << c.what;
  EXPECT_EQ(p.wordCount, c.wordCount) << c.what;
}

TEST(MacroPayload, EncodesKeysAndDelays) {
  const uint32_t A = 'A';
  const Case cases[] = {
      {"nothing", {}, {}, 1},
      {"short delay rides on the press", {Press(A), Delay(50), Release(A)}, {0x06, 0x04, 0x81, 0x04}, 3},
      {"2000 ms in 20 ms units", {Press(A), Delay(2000), Release(A)},
       {0x01, 0x04, 0x00, 0x01, 0x00, 0x64, 0x81, 0x04}, 5},
      {"short delay on a release", {Press(A), Release(A), Delay(120)}, {0x01, 0x04, 0x8D, 0x04}, 3},
      {"key without a usage", {Press(0x6C), Release(0x6C)}, {0x01, 0x00, 0x81, 0x00}, 3},
      {"mouse buttons and modifiers", {Press(1), Press(4), Release(0xA5), Release(0x5C)},
       {0x01, 0xF0, 0x01, 0xF2, 0x81, 0xE6, 0x81, 0xE7}, 5},
      {"1260 ms fills the delay field", {Press(A), Delay(1260), Release(A), Delay(1269)},
       {0x7F, 0x04, 0xFF, 0x04}, 3},
      {"1271 ms", {Press(A), Delay(1271)}, {0x01, 0x04, 0x00, 0x01, 0x00, 0x3F}, 4},
      {"1310700 ms", {Press(A), Delay(1310700)}, {0x01, 0x04, 0x00, 0x01, 0xFF, 0xFF}, 4},
      {"1310701 ms", {Press(A), Delay(1310701)}, {0x01, 0x04, 0x00, 0x02, 0x66, 0x66}, 4},
      {"3276750 ms", {Press(A), Delay(3276750)}, {0x01, 0x04, 0x00, 0x02, 0xFF, 0xFF}, 4},
      {"3276751 ms", {Press(A), Delay(3276751)}, {0x01, 0x04, 0x00, 0x03, 0x7F, 0xFF}, 4},
      {"6553500 ms", {Press(A), Delay(6553500)}, {0x01, 0x04, 0x00, 0x03, 0xFF, 0xFF}, 4},
      {"7000000 ms is an empty item", {Press(A), Delay(7000000), Release(A)},
       {0x01, 0x04, 0x00, 0x00, 0x81, 0x04}, 4},
      {"leading delay in 100 ms units", {Delay(500), Press(A)}, {0x00, 0x03, 0x00, 0x05, 0x01, 0x04}, 4},
      {"leading delay of 70 s", {Delay(70000)}, {0x00, 0x03, 0x02, 0xBC}, 3},
      {"longest leading delay", {Delay(0xFFFFFF)}, {0x00, 0x03, 0xFF, 0xFF}, 3},
      {"unknown event type", {Press(A), 0x50000041, Release(A)}, {0x01, 0x04, 0x00, 0x00, 0x81, 0x04}, 4},
      // A byte of 0x01 + 127 would read as a release, 0x81 + 127 as a long-delay item.
      {"1270 ms after a press", {Press(A), Delay(1270)}, {0x01, 0x04, 0x00, 0x01, 0x00, 0x3F}, 4},
      {"1270 ms after a release", {Release(A), Delay(1270)}, {0x81, 0x04, 0x00, 0x01, 0x00, 0x3F}, 4},
      {"short delays in a row overflowing the field", {Press(A), Delay(1000), Delay(500)},
       {0x65, 0x04, 0x00, 0x01, 0x00, 0x19}, 4},
      {"short delays in a row within the field", {Press(A), Delay(100), Delay(200)}, {0x1F, 0x04}, 2},
      {"short delay after a long one keeps the long one", {Press(A), Delay(2000), Delay(50)},
       {0x01, 0x04, 0x00, 0x01, 0x00, 0x64, 0x00, 0x01, 0x00, 0x02}, 6},
      {"short delay after an empty item", {0x50000000, Delay(100)}, {0x00, 0x00, 0x00, 0x01, 0x00, 0x05}, 4},
      {"delay below 10 ms after an empty item takes nothing", {0x50000000, Delay(9)}, {0x00, 0x00}, 2},
  };
  for (const auto& c : cases) ExpectPayload(c);
}

TEST(MacroPayload, RepeatCountHighByteFirst) {
  const uint32_t counts[][3] = {{1, 0x00, 0x01}, {0xFFFE, 0xFF, 0xFE}, {65533, 0xFF, 0xFD}, {0x1234, 0x12, 0x34}};
  for (const auto& c : counts) {
    const MacroPayload p = EncodeMacroPayload(c[0], {});
    EXPECT_EQ(p.bytes[0], c[1]) << c[0];
    EXPECT_EQ(p.bytes[1], c[2]) << c[0];
  }
}

TEST(MacroPayload, StopsAtTheFirstItemThatDoesNotFitAndKeepsTheCountInOneByte) {
  std::vector<uint32_t> keys;
  for (int i = 0; i < 150; ++i) {
    keys.insert(keys.end(), {Press('A' + i % 26), Delay(30), Release('A' + i % 26), Delay(40)});
  }
  const MacroPayload full = EncodeMacroPayload(1, keys);
  EXPECT_EQ(full.wordCount, 255u);
  EXPECT_EQ(full.bytes[2 * 254], 0x81 + 4);  // slot 254: release of the 127th key, 40 ms
  EXPECT_EQ(full.bytes[2 * 254 + 1], 0x04 + 126 % 26);
  EXPECT_EQ(full.bytes[510], 0);
  EXPECT_EQ(full.bytes[511], 0);

  // 253 keys leave one slot: a long delay does not fit and ends the encoding, so the key after it
  // is left out too; a short delay still rides on the last key.
  std::vector<uint32_t> events(253, Press('B'));
  events.insert(events.end(), {Delay(50), Delay(5000), Press('C')});
  const MacroPayload cut = EncodeMacroPayload(1, events);
  EXPECT_EQ(cut.wordCount, 254u);
  EXPECT_EQ(cut.bytes[2 * 253], 0x06);
  EXPECT_EQ(cut.bytes[2 * 254], 0);
  EXPECT_EQ(cut.bytes[2 * 254 + 1], 0);
}

TEST(VkToUsageTable, AgreesWithTheKeyUsageTableForEveryKey) {
  EXPECT_EQ(MacroKeyUsage(0), 0);
  for (uint32_t vk = 1; vk <= 0x1FF; ++vk) EXPECT_EQ(MacroKeyUsage(vk), UsageFromVirtualKey(vk)) << vk;
  EXPECT_EQ(MacroKeyUsage(0x0D), 0x28);
  EXPECT_EQ(MacroKeyUsage(0xFFFFFF), 0);
}

}  // namespace
}  // namespace nx7
