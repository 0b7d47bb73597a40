#include "store/settings_block.h"

#include <bit>
#include <cstring>

#include "buttons/function_types.h"
#include "common/text.h"

namespace nx7 {

// The block is copied to and from files as raw memory; its image is little-endian.
static_assert(std::endian::native == std::endian::little);

void FillWithDefaults(SettingsBlock& block, bool chinese) {
  static constexpr int32_t kDefaultDpi[kDpiLevelCount] = {750, 1250, 1500, 2000, 2500, 3500, 4000};
  std::memset(&block, 0, sizeof block);
  block.magic = kSettingsMagic;
  std::memcpy(block.dpiLevels, kDefaultDpi, sizeof kDefaultDpi);
  block.pointerSpeed = 10;
  block.enhancePrecision = 0;
  block.sheightLevel = 15;
  block.reportRate = 1;
  block.wheelLines = 3;
  for (size_t i = 0; i < kInputCount; ++i) {
    ButtonAssignment& button = block.buttons[i];
    button.type = DefaultType(i);
    CopyToField(FunctionName(button.type, chinese), button.displayName, kTextFieldLength);
    button.macroId = 0;
  }
  block.ledMode = 5;
  block.ledSymphonySpeed = 4;
  block.ledSubMode = 0;
  block.bodyLight = 1;
  block.ledFrequency = 3;
  block.ledBrightness = 5;
  for (size_t k = 0; k < kLedColorCount; ++k) {
    block.ledColorCustom[k] = 1;
    block.ledColors[k] = 0x000000FF;
  }
}

std::array<uint8_t, kSettingsBlockSize> SerialiseSettingsBlock(const SettingsBlock& block) {
  std::array<uint8_t, kSettingsBlockSize> image;
  std::memcpy(image.data(), &block, kSettingsBlockSize);
  return image;
}

size_t DeserialiseSettingsBlock(std::span<const uint8_t> image, SettingsBlock& block) {
  std::memset(&block, 0, sizeof block);
  return OverlaySettingsBlock(image, block);
}

size_t OverlaySettingsBlock(std::span<const uint8_t> image, SettingsBlock& block) {
  const size_t n = image.size() < kSettingsBlockSize ? image.size() : kSettingsBlockSize;
  if (n > 0) std::memcpy(&block, image.data(), n);
  return n;
}

}  // namespace nx7
