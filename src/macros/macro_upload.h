#pragma once
// What a macro of the library becomes on the mouse: the payload of one on-board macro slot. The
// download plan encodes it; the device session sends it.
#include <cstdint>

#include "macros/macro_library.h"
#include "macros/macro_payload.h"

namespace nx7 {

// The payload of `entry`: its repeat count and its valid events (at most 1000).
MacroPayload EncodeMacroPayload(const MacroEntry& entry);

}  // namespace nx7
