#include "stats/statistics.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace nx7 {

namespace {

// Upper bounds (exclusive) of levels 0 to 11; 10,000,000 and more is level 12.
constexpr std::array<uint32_t, kTopTrophyLevel> kLevelBounds{100000,  500000,  1000000, 1500000, 2000000, 2500000,
                                                             3000000, 4000000, 5000000, 6000000, 8000000, 10000000};

std::u16string Ascii(const char* text) { return std::u16string(text, text + std::char_traits<char>::length(text)); }

uint32_t LittleEndian(const std::vector<uint8_t>& bytes) {
  uint32_t value = 0;
  for (size_t i = 0; i < bytes.size() && i < 4; ++i) value |= uint32_t(bytes[i]) << (8 * i);
  return value;
}

// Reads one value into `counter`: of at most 4 bytes and, when `binaryOnly`, of type REG_BINARY.
bool ReadCounter(Registry& registry, std::u16string_view name, bool binaryOnly, uint32_t& counter) {
  RegistryValue value;
  if (registry.ReadValue(kStatisticsKey, name, 4, value) != RegistryStatus::Ok) return false;
  if (binaryOnly && value.type != RegistryType::Binary) return false;
  counter = LittleEndian(value.data);
  return true;
}

}  // namespace

std::u16string_view ResetQuestionText(bool chineseText) {
  return chineseText ? u"确定要重置奖杯和统计数据么？" : u"Do you want to reset trophy data ?";
}

int TrophyLevelOf(uint32_t total) {
  for (size_t level = 0; level < kLevelBounds.size(); ++level)
    if (total < kLevelBounds[level]) return int(level);
  return kTopTrophyLevel;
}

int LevelBarWidth(int level) {
  const int lit = level + 1 < kTrophyLampCount ? level + 1 : kTrophyLampCount;
  return int(double(lit) / kTrophyLampCount * kLevelBarFullWidth);
}

std::u16string CountText(uint32_t count) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", int32_t(count));
  return Ascii(text);
}

std::u16string DistanceText(uint32_t distance) {
  char text[32];
  std::snprintf(text, sizeof text, "%0.2f", double(distance) * 0.0001);
  return Ascii(text);
}

StatsCounters LoadStatistics(Registry& registry) {
  StatsCounters c;
  if (registry.OpenKey(kStatisticsKey) != RegistryStatus::Ok) return c;
  uint32_t* const first[] = {&c.leftClicks, &c.middleClicks, &c.rightClicks, &c.wheelUp};
  for (size_t i = 0; i < 4; ++i)
    if (!ReadCounter(registry, kStatsValueNames[i], true, *first[i])) return c;
  if (ReadCounter(registry, kStatsValueNames[4], false, c.wheelDown))
    ReadCounter(registry, kStatsValueNames[5], false, c.distance);
  return c;
}

StatsSave SaveStatistics(Registry& registry, const StatsCounters& c) {
  if (registry.OpenKey(kStatisticsKey) != RegistryStatus::Ok &&
      registry.CreateKey(kStatisticsKey) != RegistryStatus::Ok)
    return StatsSave::KeyFailed;
  const uint32_t values[] = {c.leftClicks, c.middleClicks, c.rightClicks, c.wheelUp, c.wheelDown, c.distance};
  for (size_t i = 0; i < kStatsValueNames.size(); ++i) {
    const uint8_t bytes[4] = {uint8_t(values[i]), uint8_t(values[i] >> 8), uint8_t(values[i] >> 16),
                              uint8_t(values[i] >> 24)};
    registry.WriteBinary(kStatisticsKey, kStatsValueNames[i], bytes);
  }
  return StatsSave::Saved;
}

void Statistics::Load() {
  counters_ = LoadStatistics(registry_);
  changed_ = false;
}

bool Statistics::Count(MouseEventCode code) {
  uint32_t* counter = nullptr;
  switch (code) {
    case kMouseLeftPress: counter = &counters_.leftClicks; break;
    case kMouseRightPress: counter = &counters_.rightClicks; break;
    case kMouseMiddlePress: counter = &counters_.middleClicks; break;
    case kMouseWheelForward: counter = &counters_.wheelUp; break;
    case kMouseWheelBackward: counter = &counters_.wheelDown; break;
    default: return false;
  }
  ++*counter;
  changed_ = true;
  return true;
}

void Statistics::MoveCursor(CursorPoint sample) {
  // Differences in 64 bits: screens far apart on a large desktop must not overflow.
  const uint64_t step = uint64_t(std::llabs(int64_t(sample.x) - last_.x)) + uint64_t(std::llabs(int64_t(sample.y) - last_.y));
  if (step != 0) {
    counters_.distance += uint32_t(step);
    changed_ = true;
  }
  last_ = sample;
}

TrophyDisplay Statistics::UpdateTrophyDisplay() {
  const int reached = std::max(TrophyLevelOf(counters_.Clicks()), TrophyLevelOf(counters_.Scrolls()));
  if (reached > level_) level_ = reached;
  TrophyDisplay d;
  d.level = level_;
  if (level_ != shownLevel_) {
    d.reloadPicture = true;
    for (int i = 0; i < kTrophyLampCount; ++i) d.lampsOn[size_t(i)] = i <= level_;
    shownLevel_ = level_;
  }
  d.barWidth = LevelBarWidth(level_);
  return d;
}

StatsSave Statistics::Save() {
  const StatsSave result = SaveStatistics(registry_, counters_);
  if (result == StatsSave::Saved) changed_ = false;
  return result;
}

std::optional<StatsSave> Statistics::SaveIfChanged() {
  if (!changed_) return std::nullopt;
  return Save();
}

StatsSave Statistics::Reset() {
  counters_ = {};
  level_ = 0;
  shownLevel_ = kNoTrophyShown;
  return Save();
}

}  // namespace nx7
