#include "store/settings_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/bytes.h"

namespace nx7 {
namespace {

constexpr size_t kDisplayNameOffset = 548;
size_t ButtonOffset(size_t i) { return 4 + 3148 * i; }

// The default image built from byte offsets alone, independent of the record's declaration.
std::vector<uint8_t> ExpectedEnglishDefaultImage() {
  std::vector<uint8_t> image(22252, 0);
  const struct {
    size_t offset;
    uint32_t value;
  } ints[] = {
      {0, 0x80800265},
      {22040, 750}, {22044, 1250}, {22048, 1500}, {22052, 2000}, {22056, 2500}, {22060, 3500}, {22064, 4000},
      {22160, 15}, {22164, 1}, {22168, 5}, {22172, 0},
      {22176, 0xFF}, {22180, 0xFF}, {22184, 0xFF}, {22188, 0xFF},
      {22192, 1}, {22196, 1}, {22200, 1}, {22204, 1},
      {22224, 1}, {22228, 0}, {22232, 10}, {22236, 5}, {22240, 3}, {22244, 4}, {22248, 3},
  };
  for (const auto& f : ints) WriteLe32(&image[f.offset], f.value);
  const struct {
    uint32_t type;
    const char* name;
  } buttons[] = {{1, "Click"}, {4, "Middle"}, {2, "Menu"}, {8, "Forward"}, {16, "Back"}, {11, "Scroll up"}, {22, "Scroll"}};
  for (size_t i = 0; i < 7; ++i) {
    WriteLe32(&image[ButtonOffset(i)], buttons[i].type);
    const char* name = buttons[i].name;
    for (size_t k = 0; name[k]; ++k) WriteLe16(&image[ButtonOffset(i) + kDisplayNameOffset + 2 * k], uint16_t(name[k]));
  }
  return image;
}

TEST(SettingsBlock, DefaultImageMatchesTheFileFormatByteForByte) {
  SettingsBlock block;
  std::memset(&block, 0xA5, sizeof block);  // every byte the defaults do not write must be cleared
  FillWithDefaults(block, false);
  const auto image = SerialiseSettingsBlock(block);
  ASSERT_EQ(image.size(), 22252u);
  const uint8_t head[] = {0x65, 0x02, 0x80, 0x80};
  const uint8_t tail[] = {0x03, 0x00, 0x00, 0x00};
  EXPECT_EQ(0, std::memcmp(image.data(), head, 4));
  EXPECT_EQ(0, std::memcmp(image.data() + 22248, tail, 4));
  const auto expected = ExpectedEnglishDefaultImage();
  for (size_t i = 0; i < image.size(); ++i) ASSERT_EQ(image[i], expected[i]) << "offset " << i;
}

TEST(SettingsBlock, OnlyTheButtonNamesDependOnTheDisplayLanguage) {
  SettingsBlock chinese1, chinese2, english;
  FillWithDefaults(chinese1, true);
  FillWithDefaults(chinese2, true);
  FillWithDefaults(english, false);
  const auto a = SerialiseSettingsBlock(chinese1);
  EXPECT_EQ(a, SerialiseSettingsBlock(chinese2));
  const auto b = SerialiseSettingsBlock(english);
  size_t differing = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] == b[i]) continue;
    ++differing;
    const size_t inButton = (i - 4) % 3148;
    EXPECT_TRUE(i >= 4 && i < 22040 && inButton >= kDisplayNameOffset && inButton < kDisplayNameOffset + 520)
        << "offset " << i;
  }
  EXPECT_GT(differing, 0u);
  // Input 0 in Chinese: "单击" and its terminator.
  EXPECT_EQ(ReadLe16(&a[ButtonOffset(0) + kDisplayNameOffset]), 0x5355);
  EXPECT_EQ(ReadLe16(&a[ButtonOffset(0) + kDisplayNameOffset + 2]), 0x51FB);
  EXPECT_EQ(ReadLe16(&a[ButtonOffset(0) + kDisplayNameOffset + 4]), 0);
}

TEST(SettingsBlock, UnusualDpiValuesSurviveTheImageUnchanged) {
  SettingsBlock block;
  FillWithDefaults(block, true);
  const int32_t levels[7] = {0, 260, 4500, -1, 250, 7000, 0x7FFFFFFF};
  std::memcpy(block.dpiLevels, levels, sizeof levels);
  SettingsBlock reloaded;
  const auto image = SerialiseSettingsBlock(block);
  ASSERT_EQ(DeserialiseSettingsBlock(image, reloaded), 22252u);
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(reloaded.dpiLevels[i], levels[i]);
  EXPECT_EQ(ReadLe32(&image[22040 + 8]), 4500u);
  EXPECT_EQ(SerialiseSettingsBlock(reloaded), image);
}

TEST(SettingsBlock, DeserialiseClearsFirstAndReadsAtMostOneBlock) {
  SettingsBlock defaults;
  FillWithDefaults(defaults, true);
  const auto image = SerialiseSettingsBlock(defaults);

  // A short image: the bytes it has, zero after them, whatever the block held before.
  SettingsBlock block;
  std::memset(&block, 0xEE, sizeof block);
  EXPECT_EQ(DeserialiseSettingsBlock(std::span(image.data(), 10), block), 10u);
  const auto shortResult = SerialiseSettingsBlock(block);
  EXPECT_EQ(0, std::memcmp(shortResult.data(), image.data(), 10));
  for (size_t i = 10; i < shortResult.size(); ++i) ASSERT_EQ(shortResult[i], 0) << "offset " << i;

  // A long image: the first 22252 bytes only.
  std::vector<uint8_t> longer(image.begin(), image.end());
  longer.resize(30000, 0x77);
  EXPECT_EQ(DeserialiseSettingsBlock(longer, block), 22252u);
  EXPECT_EQ(SerialiseSettingsBlock(block), image);

  // An empty image gives an all-zero block.
  EXPECT_EQ(DeserialiseSettingsBlock({}, block), 0u);
  const auto empty = SerialiseSettingsBlock(block);
  for (uint8_t b : empty) ASSERT_EQ(b, 0);
}

TEST(SettingsBlock, OverlayKeepsWhatTheImageDoesNotCover) {
  SettingsBlock block;
  FillWithDefaults(block, true);
  const uint8_t image[] = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(OverlaySettingsBlock(image, block), 8u);
  EXPECT_EQ(block.magic, 0x04030201u);
  EXPECT_EQ(block.buttons[0].type, 0x08070605);
  EXPECT_EQ(block.wheelLines, 3);
  EXPECT_EQ(block.dpiLevels[0], 750);
}

}  // namespace
}  // namespace nx7
