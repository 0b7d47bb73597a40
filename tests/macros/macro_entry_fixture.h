#pragma once
// Library entries as the macro page stores them, for tests that read the library.
#include <initializer_list>
#include <string_view>

#include "common/text.h"
#include "macros/macro_library.h"

namespace nx7::testing {

inline MacroEntry StoredMacro(uint32_t id, std::u16string_view name, std::initializer_list<MacroEvent> events,
                              uint32_t repeatCount = 1) {
  MacroEntry entry{};
  entry.entrySize = kMacroEntryHeaderSize + 4 * uint32_t(events.size());
  entry.entrySignature = kMacroEntrySignature;
  entry.macroId = id;
  entry.repeatCount = repeatCount;
  for (MacroEvent e : events) entry.macroEvents[entry.eventCount++] = e;
  CopyToField(name, entry.macroName, kMacroNameLength);
  return entry;
}

inline MacroEvent Press(uint32_t vk) { return MakeMacroEvent(MacroEventType::Press, vk); }
inline MacroEvent Release(uint32_t vk) { return MakeMacroEvent(MacroEventType::Release, vk); }
inline MacroEvent Delay(uint32_t ms) { return MakeMacroEvent(MacroEventType::Delay, ms); }

}  // namespace nx7::testing
