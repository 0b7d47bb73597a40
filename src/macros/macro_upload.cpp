#include "macros/macro_upload.h"

namespace nx7 {

MacroPayload EncodeMacroPayload(const MacroEntry& entry) {
  return EncodeMacroPayload(entry.repeatCount, MacroEvents(entry));
}

}  // namespace nx7
