#pragma once
// The statistics page's model: the usage counters (left, middle and right presses, wheel steps up
// and down, cursor distance), the trophy level they earn and what the page shows of it (trophy
// picture, 13 lamps, level bar, figures), and the six registry values the counters live in
// between runs. No window here: the page (dlg_sts_win32.h) carries out what this decides.
//
// Threads: everything is used on the user-interface thread; the cursor sampling thread only
// hands samples over (cursor_sampler.h).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "buttons/inputs.h"
#include "platform/registry.h"

namespace nx7 {

// Unsigned 32-bit counters that wrap, as stored.
struct StatsCounters {
  uint32_t leftClicks = 0;
  uint32_t middleClicks = 0;
  uint32_t rightClicks = 0;
  uint32_t wheelUp = 0;
  uint32_t wheelDown = 0;
  uint32_t distance = 0;  // pointer travel in screen pixels
  uint32_t Clicks() const { return leftClicks + middleClicks + rightClicks; }
  uint32_t Scrolls() const { return wheelUp + wheelDown; }
  bool operator==(const StatsCounters&) const = default;
};

// The registry values, in the order they are read and written.
inline constexpr std::array<std::u16string_view, 6> kStatsValueNames{
    u"LeftClickCount", u"MidClickCount", u"RightClickCount", u"ScrollUpCount", u"ScrollDownCount", u"Distance"};

// What a save that can neither open nor create the key shows, in the Windows message box.
inline constexpr std::u16string_view kStatsSaveFailedText = u"Reg_SaveData Create key failed";
inline constexpr std::u16string_view kStatsSaveFailedCaption = u"Error";

// The reset button's question (program message box, OK and Cancel).
std::u16string_view ResetQuestionText(bool chineseText);

inline constexpr int kTopTrophyLevel = 12;
inline constexpr int kTrophyLampCount = 13;
// The shown level of a page that has loaded no trophy picture yet.
inline constexpr int kNoTrophyShown = 800;
inline constexpr int kLevelBarFullWidth = 273;

// The level 0 to 12 a total earns.
int TrophyLevelOf(uint32_t total);
// The level bar's width in pixels: (min(level + 1, 13) / 13) x 273, truncated.
int LevelBarWidth(int level);
// A count as the page writes it ("%d": a count above 2^31 - 1 shows negative).
std::u16string CountText(uint32_t count);
// The distance as the page writes it: "%0.2f" of the pixels (unsigned) x 0.0001.
std::u16string DistanceText(uint32_t distance);

// The counters as stored in the registry. A key that cannot be opened gives zeros. The first
// four values must each be REG_BINARY of at most 4 bytes; reading stops at the first that is
// missing, longer or of another type. Only when all four were read are ScrollDownCount and then
// Distance read, of any type up to 4 bytes. Values not read stay 0; a value shorter than 4 bytes
// fills the low bytes.
StatsCounters LoadStatistics(Registry& registry);

enum class StatsSave {
  Saved,      // the six values were written (write errors are not reported)
  KeyFailed,  // the key could be neither opened nor created: nothing was written
};
// Writes the six values in table order, each REG_BINARY of 4 bytes, creating the key when it
// cannot be opened. Each value is replaced whole by the registry, so a process killed during a
// save leaves every value either old or new, never torn.
StatsSave SaveStatistics(Registry& registry, const StatsCounters& counters);

struct CursorPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const CursorPoint&) const = default;
};

// What the page's trophy display does at a paint, after the figures are drawn.
struct TrophyDisplay {
  int level = 0;
  // The level changed since the picture was loaded: load trophy<level>Down.bmp into the trophy
  // picture, switch the lamps to `lampsOn` and repaint the whole page.
  bool reloadPicture = false;
  std::array<bool, kTrophyLampCount> lampsOn{};  // lamps 0 to level
  int barWidth = 0;  // the bar at (631, 62), 15 high, shown switched on
};

class Statistics {
 public:
  explicit Statistics(Registry& registry) : registry_(registry) {}

  // Replaces the counters with the stored ones (page creation).
  void Load();
  const StatsCounters& Counters() const { return counters_; }

  // Counts one hooked press: left, right, middle, wheel up or down. Other codes (the two side
  // buttons among them) are not counted; returns whether the code was.
  bool Count(MouseEventCode code);
  // Where the cursor was when counting began.
  void SetLastCursor(CursorPoint point) { last_ = point; }
  // A cursor sample: distance += |dx| + |dy| since the last one.
  void MoveCursor(CursorPoint sample);

  // The trophy level reached: it rises with the totals at each paint and falls only by a reset.
  int Level() const { return level_; }
  int ShownLevel() const { return shownLevel_; }
  // The paint's trophy steps: raise the level to the totals' level; when it differs from the
  // shown one, the picture and lamps follow; the bar always.
  TrophyDisplay UpdateTrophyDisplay();

  // Saves the counters now (shut-down, session end, reset).
  StatsSave Save();
  // The periodic save: saves only when the counters changed since they were loaded or last
  // saved; nothing (no registry access) otherwise.
  std::optional<StatsSave> SaveIfChanged();
  bool ChangedSinceSave() const { return changed_; }

  // The reset after the user confirmed: all counters 0, level 0, no picture shown, saved.
  StatsSave Reset();

 private:
  Registry& registry_;
  StatsCounters counters_;
  CursorPoint last_;
  int level_ = 0;
  int shownLevel_ = kNoTrophyShown;
  bool changed_ = false;
};

}  // namespace nx7
