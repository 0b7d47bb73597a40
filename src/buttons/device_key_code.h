#pragma once
// The 32-bit code the mouse receives for an input, from the function catalogue. Pure: the
// download plan (download/download_plan.h) asks for it; macros are encoded and uploaded there.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "store/settings_block.h"

namespace nx7 {

// Device key code of an input whose macro cannot be played (no entry with its id, a free one,
// or one without events): the input does nothing, rather than something the user never chose,
// and no on-board slot is spent on it.
inline constexpr uint32_t kMissingMacroCode = 0x00000007;

// The code of input `index` assigned `button`, for every type but a macro (which the plan
// builds with MacroKeyCode): a catalogue row's fixed code, a key combination's stored code, and
// for a software launch the code of the input's default type (the program intercepts its
// presses). No code for a type the mouse does not know, for a macro, and for an index outside
// 0 to 6.
std::optional<uint32_t> CatalogueKeyCode(const ButtonAssignment& button, size_t index);

// A macro input's code: kind 09, the on-board slot, the low 8 bits of the payload's word count.
constexpr uint32_t MacroKeyCode(int slot, uint32_t wordCount) {
  return 0x09u | (uint32_t(slot & 0xFF) << 16) | ((wordCount & 0xFF) << 24);
}

}  // namespace nx7
