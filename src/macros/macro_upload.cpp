#include "macros/macro_upload.h"

#include "device/usb_driver.h"

namespace nx7 {

MacroPayload EncodeMacroPayload(const MacroEntry& entry) {
  return EncodeMacroPayload(entry.repeatCount, MacroEvents(entry));
}

uint32_t UploadMacro(CUSBDriver& session, int slot, const MacroEntry& entry) {
  const MacroPayload payload = EncodeMacroPayload(entry);
  if (slot >= 0 && slot <= 7) session.SendMacro(slot, payload.bytes.data(), payload.bytes.size());
  return payload.wordCount;
}

}  // namespace nx7
