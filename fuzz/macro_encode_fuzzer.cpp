// Loads the input as a Macro.cfg image and encodes every entry a download would upload. The
// payload must stay within its bounds whatever the file holds: at most 255 words, and nothing
// written past the slots the word count names.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "fuzz_check.h"
#include "macros/macro_library.h"
#include "macros/macro_upload.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto library = std::make_unique<nx7::MacroLibrary>();
  nx7::LoadMacroLibraryImage(std::span<const uint8_t>(data, size), *library);
  for (const nx7::MacroEntry& entry : *library) {
    if (!nx7::IsPlayable(entry)) continue;
    const nx7::MacroPayload payload = nx7::EncodeMacroPayload(entry);
    FUZZ_CHECK(payload.wordCount >= 1 && payload.wordCount <= 255);
    FUZZ_CHECK(payload.bytes[0] == uint8_t(entry.repeatCount >> 8) && payload.bytes[1] == uint8_t(entry.repeatCount));
    for (size_t i = 2 * payload.wordCount; i < payload.bytes.size(); ++i) FUZZ_CHECK(payload.bytes[i] == 0);
  }
  return 0;
}
