#pragma once
// The macro library: 500 fixed-size entries kept in memory for the whole run and stored whole as
// "<program folder>\Macro.cfg" (2,052,000 bytes, no header). Every change rewrites the file.
// Buttons refer to macros by their 32-bit id; the top byte of an id is its game category.
// The file is untrusted: every reader goes through the bounded accessors below.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "store/profile_slots.h"
#include "store/settings_block.h"
#include "store/store_outcome.h"

namespace nx7 {

// An event word: the type in bits 24-31, the value in bits 0-23.
using MacroEvent = uint32_t;
enum class MacroEventType : uint8_t { Delay = 0xA0, Press = 0xC0, Release = 0xE0 };

constexpr MacroEvent MakeMacroEvent(MacroEventType type, uint32_t value) {
  return (uint32_t(type) << 24) | (value & 0xFFFFFF);
}
constexpr uint8_t MacroEventTypeOf(MacroEvent event) { return uint8_t(event >> 24); }
constexpr uint32_t MacroEventValue(MacroEvent event) { return event & 0xFFFFFF; }

inline constexpr size_t kMacroEventCapacity = 1000;
inline constexpr size_t kMacroNameLength = 40;  // UTF-16 code units, terminator included
inline constexpr uint32_t kMacroEntrySignature = 0xE8E80010;
inline constexpr uint32_t kMacroEntryHeaderSize = 4100;  // entrySize = 4100 + 4 x list items

struct MacroEntry {
  uint32_t entrySize;       // 0 when free
  uint32_t entrySignature;  // 0xE8E80010 in use, 0 free
  uint32_t macroId;         // 0 in a free entry
  uint32_t reserved;
  uint32_t repeatCount;  // 1..65533, or 0xFFFE for a single press
  uint32_t eventCount;   // valid words of macroEvents (a file may claim more than 1000)
  MacroEvent macroEvents[kMacroEventCapacity];
  char16_t macroName[kMacroNameLength];
};

inline constexpr size_t kMacroEntrySize = 4104;
inline constexpr size_t kMacroEntryCount = 500;
inline constexpr size_t kMacroLibrarySize = kMacroEntrySize * kMacroEntryCount;  // 2,052,000
static_assert(sizeof(MacroEntry) == kMacroEntrySize);
static_assert(offsetof(MacroEntry, repeatCount) == 16);
static_assert(offsetof(MacroEntry, eventCount) == 20);
static_assert(offsetof(MacroEntry, macroEvents) == 24);
static_assert(offsetof(MacroEntry, macroName) == 4024);

using MacroLibrary = std::array<MacroEntry, kMacroEntryCount>;
static_assert(sizeof(MacroLibrary) == kMacroLibrarySize);

// Entry states as the parts of the program test them.
bool IsListed(const MacroEntry& entry);    // shown in the macro lists, renamable
bool IsStorable(const MacroEntry& entry);  // accepted by StoreMacroEntry
bool IsPlayable(const MacroEntry& entry);  // uploaded by a download
bool IsFree(const MacroEntry& entry);      // a target for a new macro

// The valid events (eventCount cut to 1000) and the name (cut at 40 units when unterminated).
std::span<const MacroEvent> MacroEvents(const MacroEntry& entry);
std::u16string MacroName(const MacroEntry& entry);

// "delay 50", "press 0x41", "release 0x01", or the raw word for another type.
std::string MacroEventText(MacroEvent event);

// Clears the library and copies the image over it (a short image leaves the rest zero, bytes past
// 2,052,000 are ignored); event counts above 1000 are clamped. Returns the bytes used.
size_t LoadMacroLibraryImage(std::span<const uint8_t> image, MacroLibrary& library);

// Index of the first entry with `id`, whatever its state.
std::optional<size_t> FindMacroById(const MacroLibrary& library, uint32_t id);

// True when a slot of any profile or a type 6 button of `block` refers to `id`.
bool IsMacroInUse(uint32_t id, const ProfileSlotTable& slots, const SettingsBlock& block);

// (category << 24) | low 24 bits of the tick count. Not checked for uniqueness.
uint32_t NewMacroId(uint32_t category, Clock& clock);

// The operations that change the library and rewrite Macro.cfg at once.
class MacroStore {
 public:
  // What the operations show is added to the outcome they are given (or returned).
  MacroStore(FileSystem& files, Clock& clock, std::u16string programFolder, MacroLibrary& library);

  std::u16string Path() const { return programFolder_ + u"\\Macro.cfg"; }

  // Reads Macro.cfg over the cleared library; a missing file is reported and leaves it as it was.
  bool LoadMacroLibrary(StoreOutcome& outcome);
  // Writes the whole library crash-safely; false when the file could not be written.
  bool SaveMacroLibrary(StoreOutcome& outcome);
  // Stores `record` into the entry with its id, else into the first free entry, and saves.
  // False (nothing stored or saved) for an absent or unstorable record or a full library.
  bool StoreMacroEntry(const MacroEntry* record, StoreOutcome& outcome);
  // Clears the first entry with `id` (if any) and saves in any case.
  void DeleteMacroEntry(uint32_t id, StoreOutcome& outcome);
  // Renames every listed entry with `id` whose name differs, storing each.
  void RenameMacro(uint32_t id, std::u16string_view name, StoreOutcome& outcome);

 private:
  FileSystem& files_;
  Clock& clock_;
  std::u16string programFolder_;
  MacroLibrary& library_;
};

}  // namespace nx7
