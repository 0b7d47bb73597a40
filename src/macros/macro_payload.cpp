#include "macros/macro_payload.h"

#include <algorithm>

#include "buttons/key_usage_table.h"

namespace nx7 {

uint8_t MacroKeyUsage(uint32_t keyCode) { return UsageFromVirtualKey(keyCode); }

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
