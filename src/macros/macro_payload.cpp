#include "macros/macro_payload.h"

#include <algorithm>

namespace nx7 {

const std::array<VkUsageRow, 113> VkToUsageTable = {{
    {0x00, 0x00}, {0x00, 0x01}, {0x00, 0x02}, {0x00, 0x03},
    {'A', 0x04}, {'B', 0x05}, {'C', 0x06}, {'D', 0x07}, {'E', 0x08}, {'F', 0x09}, {'G', 0x0A},
    {'H', 0x0B}, {'I', 0x0C}, {'J', 0x0D}, {'K', 0x0E}, {'L', 0x0F}, {'M', 0x10}, {'N', 0x11},
    {'O', 0x12}, {'P', 0x13}, {'Q', 0x14}, {'R', 0x15}, {'S', 0x16}, {'T', 0x17}, {'U', 0x18},
    {'V', 0x19}, {'W', 0x1A}, {'X', 0x1B}, {'Y', 0x1C}, {'Z', 0x1D},
    {'1', 0x1E}, {'2', 0x1F}, {'3', 0x20}, {'4', 0x21}, {'5', 0x22},
    {'6', 0x23}, {'7', 0x24}, {'8', 0x25}, {'9', 0x26}, {'0', 0x27},
    {0x0D, 0x28}, {0x1B, 0x29}, {0x08, 0x2A}, {0x09, 0x2B}, {0x20, 0x2C},
    {0xBD, 0x2D}, {0xBB, 0x2E}, {0xDB, 0x2F}, {0xDD, 0x30}, {0xDC, 0x31}, {0x00, 0x32},
    {0xBA, 0x33}, {0xDE, 0x34}, {0xC0, 0x35}, {0xBC, 0x36}, {0xBE, 0x37}, {0xBF, 0x38},
    {0x14, 0x39},
    {0x70, 0x3A}, {0x71, 0x3B}, {0x72, 0x3C}, {0x73, 0x3D}, {0x74, 0x3E}, {0x75, 0x3F},
    {0x76, 0x40}, {0x77, 0x41}, {0x78, 0x42}, {0x79, 0x43}, {0x7A, 0x44}, {0x7B, 0x45},
    {0x2C, 0x46}, {0x91, 0x47}, {0x13, 0x48}, {0x2D, 0x49}, {0x24, 0x4A}, {0x21, 0x4B},
    {0x2E, 0x4C}, {0x23, 0x4D}, {0x22, 0x4E},
    {0x27, 0x4F}, {0x25, 0x50}, {0x28, 0x51}, {0x26, 0x52},
    {0x90, 0x53}, {0x6F, 0x54}, {0x6A, 0x55}, {0x6D, 0x56}, {0x6B, 0x57}, {0x0D, 0x58},
    {0x61, 0x59}, {0x62, 0x5A}, {0x63, 0x5B}, {0x64, 0x5C}, {0x65, 0x5D},
    {0x66, 0x5E}, {0x67, 0x5F}, {0x68, 0x60}, {0x69, 0x61}, {0x60, 0x62}, {0x6E, 0x63},
    {0x00, 0x64}, {0x5D, 0x65},
    {0xA2, 0xE0}, {0xA0, 0xE1}, {0xA4, 0xE2}, {0x5B, 0xE3},
    {0xA3, 0xE4}, {0xA1, 0xE5}, {0xA5, 0xE6}, {0x5C, 0xE7},
    {0x01, 0xF0}, {0x02, 0xF1}, {0x04, 0xF2},
}};

uint8_t MacroKeyUsage(uint32_t keyCode) {
  for (const auto& row : VkToUsageTable)
    if (row.keyCode == keyCode) return row.usage;
  return 0;
}

namespace {

constexpr uint8_t kEventDelay = 0xA0;
constexpr uint8_t kEventPress = 0xC0;
constexpr uint8_t kEventRelease = 0xE0;

constexpr uint8_t kItemPress = 0x01;
constexpr uint8_t kItemRelease = 0x81;
constexpr uint8_t kUnit20ms = 1, kUnit50ms = 2, kUnit100ms = 3;
// The first byte of a press or release item holds the release flag (0x80) and, in its other seven
// bits, 1 plus the delay that follows the key in 10 ms units: at most 126 units (1260 ms).
constexpr uint8_t kShortDelayField = 0x7F;

class PayloadWriter {
 public:
  explicit PayloadWriter(MacroPayload& payload) : payload_(payload) {}

  uint32_t NextSlot() const { return next_; }

  bool Key(uint8_t kind, uint8_t usage) {
    if (!Fits(1)) return false;
    Put(kind, usage);
    lastIsKey_ = true;
    return true;
  }
  bool LongDelay(uint8_t unit, uint32_t count) {
    if (!Fits(2)) return false;
    Put(0x00, unit);
    Put(uint8_t(count >> 8), uint8_t(count));
    lastIsKey_ = false;
    return true;
  }
  bool Empty() {
    if (!Fits(1)) return false;
    Put(0x00, 0x00);
    lastIsKey_ = false;
    return true;
  }
  // Adds `units` of 10 ms to the key item just written; false when there is none or its delay
  // field cannot take them.
  bool AddToLastKey(uint32_t units) {
    if (!lastIsKey_) return false;
    uint8_t& first = payload_.bytes[2 * (next_ - 1)];
    if ((first & kShortDelayField) + units > kShortDelayField) return false;
    first = uint8_t(first + units);
    return true;
  }

 private:
  bool Fits(uint32_t slots) const { return next_ - 1 + slots <= kMacroPayloadSlots; }
  void Put(uint8_t a, uint8_t b) {
    payload_.bytes[2 * next_] = a;
    payload_.bytes[2 * next_ + 1] = b;
    ++next_;
  }

  MacroPayload& payload_;
  uint32_t next_ = 1;
  bool lastIsKey_ = false;
};

// A delay that does not ride on a key item: the finest unit whose 16-bit count reaches it.
bool WriteLongDelay(PayloadWriter& out, uint32_t ms) {
  if (ms <= 1310700) return out.LongDelay(kUnit20ms, ms / 20);
  if (ms <= 3276750) return out.LongDelay(kUnit50ms, ms / 50);
  if (ms <= 6553500) return out.LongDelay(kUnit100ms, ms / 100);
  return out.Empty();  // longer than the mouse can wait
}

bool WriteEvent(PayloadWriter& out, uint32_t event, bool first) {
  const uint8_t type = uint8_t(event >> 24);
  const uint32_t value = event & 0xFFFFFF;
  switch (type) {
    case kEventPress: return out.Key(kItemPress, MacroKeyUsage(value));
    case kEventRelease: return out.Key(kItemRelease, MacroKeyUsage(value));
    case kEventDelay:
      if (first) return out.LongDelay(kUnit100ms, std::min<uint32_t>(value / 100, 0xFFFF));
      if (value <= 1270) {
        const uint32_t units = value / 10;
        if (units == 0 || out.AddToLastKey(units)) return true;
        // After a non-key item, or too long for the key's delay field (1270 ms, or delays in a
        // row): adding to that byte would turn it into a different item, so it gets its own.
      }
      return WriteLongDelay(out, value);
    default: return out.Empty();
  }
}

}  // namespace

MacroPayload EncodeMacroPayload(uint32_t repeatCount, std::span<const uint32_t> events) {
  MacroPayload payload;
  payload.bytes[0] = uint8_t(repeatCount >> 8);
  payload.bytes[1] = uint8_t(repeatCount);
  PayloadWriter out(payload);
  for (size_t i = 0; i < events.size(); ++i) {
    if (!WriteEvent(out, events[i], i == 0)) break;
  }
  payload.wordCount = out.NextSlot();
  return payload;
}

}  // namespace nx7
