#pragma once
// Writing a macro of the library into one of the mouse's on-board macro slots.
#include <cstdint>

#include "macros/macro_library.h"
#include "macros/macro_payload.h"

namespace nx7 {

class CUSBDriver;

// The payload of `entry`: its repeat count and its valid events (at most 1000).
MacroPayload EncodeMacroPayload(const MacroEntry& entry);

// Encodes `entry` and sends it to on-board slot `slot` (1 to 7) with the macro command. Returns
// the payload's word count whatever happens to the command: nothing is sent for a slot outside
// 0 to 7, and a closed or failing session leaves the mouse's slot as it was.
uint32_t UploadMacro(CUSBDriver& session, int slot, const MacroEntry& entry);

}  // namespace nx7
