#pragma once
// The 32-bit code the mouse receives for an input during a download.
#include <cstdint>
#include <optional>

#include "macros/macro_library.h"
#include "store/settings_block.h"

namespace nx7 {

class CUSBDriver;
class Clock;
class InputHooks;

// Device key code of an input whose macro cannot be played (no entry with its id, a free one,
// or one without events): the input does nothing, rather than something the user never chose,
// and no on-board slot is spent on it.
inline constexpr uint32_t kMissingMacroCode = 0x00000007;

// What resolving a code reads, and where it uploads macros and marks launches.
struct KeyCodeSources {
  const SettingsBlock& block;
  const ButtonMacroIds& macroIds;  // the download plays these ids, not the records' macroId
  const MacroLibrary& library;
  InputHooks& hooks;
  CUSBDriver& session;
  Clock& clock;
};

// The code for input `index` from its current assignment, or no code for a type the mouse does
// not know (and for an index outside 0 to 6). On the way: the input's intercept entry is removed,
// and added back for a software launch, which keeps its default function on the mouse; a macro
// is uploaded into on-board slot `nextMacroSlot` (then 50 ms pass and the slot advances) and the
// code names that slot and the macro's length.
std::optional<uint32_t> DeviceKeyCode(const KeyCodeSources& sources, size_t index, int& nextMacroSlot);

}  // namespace nx7
