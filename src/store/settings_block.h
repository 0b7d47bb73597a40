#pragma once
// The settings block: the fixed-layout record of one whole profile. Its byte image (22252 bytes,
// little-endian, no header beyond `magic`) is the profile file format and the registry value
// DefaultSetting, so the layout below is checked byte for byte and never changes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "buttons/inputs.h"

namespace nx7 {

inline constexpr size_t kTextFieldLength = 260;  // UTF-16 code units, terminator included

// One input's function (3148 bytes). Fields that the current `type` does not use may hold stale
// values from an earlier assignment; only the fields of the current type mean anything.
struct ButtonAssignment {
  int32_t type;
  int32_t macroId;     // type 6: the assigned macro's id
  int32_t launchKind;  // type 19: 0xC0 sound, 0xD0 program, 0xE0 file, 0xF0 folder
  uint8_t reserved12[4];
  uint32_t keyCode;     // type 5: device key code of the key combination
  uint32_t launchCode;  // type 19: 6 + ((launchKind + input index) << 16); written, never read
  char16_t launchPath[kTextFieldLength];   // type 19: NUL-terminated
  uint8_t reserved544[4];
  char16_t displayName[kTextFieldLength];  // NUL-terminated: the input's function as shown
  uint8_t reserved1068[2080];
};

inline constexpr uint32_t kSettingsMagic = 0x80800265;  // bytes 65 02 80 80
inline constexpr size_t kDpiLevelCount = 7;
inline constexpr size_t kLedColorCount = 4;

struct SettingsBlock {
  uint32_t magic;
  ButtonAssignment buttons[kInputCount];
  int32_t dpiLevels[kDpiLevelCount];  // counts per inch; 0 = level not in use
  uint8_t reserved22068[28];          // cleared together with dpiLevels
  uint8_t reserved22096[64];
  int32_t sheightLevel;      // 1..30, kept in the profile only
  int32_t reportRate;        // 8 = 125, 4 = 250, 2 = 500, 1 = 1000 reports per second
  int32_t ledMode;           // 1..6, 6 = lights off
  int32_t ledSubMode;        // mode 5: 1 = the three custom colours are used
  uint32_t ledColors[kLedColorCount];  // 0x00BBGGRR; 0..2 mode 5, 3 modes 1 and 2
  int32_t ledColorCustom[kLedColorCount];   // 1 = set with sliders/wheel, 0 = from the palette
  int32_t ledPaletteIndex[kLedColorCount];  // palette entry 0..25 last picked
  int32_t bodyLight;         // 1 = on
  int32_t enhancePrecision;  // 1 = Windows enhanced pointer precision on
  int32_t pointerSpeed;      // Windows pointer speed 1..20
  int32_t ledBrightness;     // mode 1 parameter 1..10
  int32_t ledFrequency;      // mode 2 parameter 1..5
  int32_t ledSymphonySpeed;  // mode 5 parameter 2, 4 or 6
  int32_t wheelLines;        // 1..30, or -1 for one screen per notch
};

inline constexpr size_t kButtonAssignmentSize = 3148;
inline constexpr size_t kSettingsBlockSize = 22252;

static_assert(sizeof(ButtonAssignment) == kButtonAssignmentSize);
static_assert(offsetof(ButtonAssignment, macroId) == 4);
static_assert(offsetof(ButtonAssignment, launchKind) == 8);
static_assert(offsetof(ButtonAssignment, keyCode) == 16);
static_assert(offsetof(ButtonAssignment, launchCode) == 20);
static_assert(offsetof(ButtonAssignment, launchPath) == 24);
static_assert(offsetof(ButtonAssignment, displayName) == 548);
static_assert(offsetof(ButtonAssignment, reserved1068) == 1068);

static_assert(sizeof(SettingsBlock) == kSettingsBlockSize);
static_assert(offsetof(SettingsBlock, buttons) == 4);
static_assert(offsetof(SettingsBlock, dpiLevels) == 22040);
static_assert(offsetof(SettingsBlock, reserved22068) == 22068);
static_assert(offsetof(SettingsBlock, reserved22096) == 22096);
static_assert(offsetof(SettingsBlock, sheightLevel) == 22160);
static_assert(offsetof(SettingsBlock, reportRate) == 22164);
static_assert(offsetof(SettingsBlock, ledMode) == 22168);
static_assert(offsetof(SettingsBlock, ledSubMode) == 22172);
static_assert(offsetof(SettingsBlock, ledColors) == 22176);
static_assert(offsetof(SettingsBlock, ledColorCustom) == 22192);
static_assert(offsetof(SettingsBlock, ledPaletteIndex) == 22208);
static_assert(offsetof(SettingsBlock, bodyLight) == 22224);
static_assert(offsetof(SettingsBlock, enhancePrecision) == 22228);
static_assert(offsetof(SettingsBlock, pointerSpeed) == 22232);
static_assert(offsetof(SettingsBlock, ledBrightness) == 22236);
static_assert(offsetof(SettingsBlock, ledFrequency) == 22240);
static_assert(offsetof(SettingsBlock, ledSymphonySpeed) == 22244);
static_assert(offsetof(SettingsBlock, wheelLines) == 22248);

// Per input: the macro id it plays when its type is 6, else 0. Kept beside the block and saved
// in the profile slot, never in the profile file.
using ButtonMacroIds = std::array<int32_t, kInputCount>;

// Clears the whole block and writes every default; the button names are FunctionName of each
// input's default type, Chinese or English. The macro ids are not touched.
void FillWithDefaults(SettingsBlock& block, bool chinese);

// The block's byte image, unchanged.
std::array<uint8_t, kSettingsBlockSize> SerialiseSettingsBlock(const SettingsBlock& block);

// Clears the block, then copies the image over it: a shorter image leaves the rest zero, bytes
// beyond 22252 are ignored. Nothing but the bytes is examined. Returns the number of bytes used.
size_t DeserialiseSettingsBlock(std::span<const uint8_t> image, SettingsBlock& block);

// Copies the image over the start of the block without clearing it first (at most 22252 bytes).
size_t OverlaySettingsBlock(std::span<const uint8_t> image, SettingsBlock& block);

}  // namespace nx7
