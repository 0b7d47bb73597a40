// Macro.cfg of any content: loaded, listed as the macro page lists it, and every listed macro
// stored into a second library as the editor would store it back.
#include <memory>

#include "fuzz_check.h"
#include "macros/macro_library.h"
#include "platform/virtual/virtual_clock.h"
#include "platform/virtual/virtual_file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nx7;
  const std::u16string folder = u"C:\\NX7";
  VirtualFileSystem fs;
  fs.PutFile(folder + u"\\Macro.cfg", std::vector<uint8_t>(data, data + size));
  StoreOutcome outcome;
  VirtualClock clock;
  auto library = std::make_unique<MacroLibrary>();
  MacroStore store(fs, clock, folder, *library);
  FUZZ_CHECK(store.LoadMacroLibrary(outcome));

  VirtualFileSystem copyFs;
  copyFs.AddFolder(folder);
  auto copy = std::make_unique<MacroLibrary>();
  MacroStore copyStore(copyFs, clock, folder, *copy);
  size_t text = 0;
  int stores = 0;  // each store rewrites the whole 2 MB file: a few per input keep the runs fast
  for (const MacroEntry& entry : *library) {
    FUZZ_CHECK(entry.eventCount <= kMacroEventCapacity);
    if (!IsListed(entry)) continue;
    text += MacroName(entry).size();
    for (MacroEvent event : MacroEvents(entry)) text += MacroEventText(event).size();
    if (!IsStorable(entry) || ++stores > 4) continue;
    if (copyStore.StoreMacroEntry(&entry, outcome)) {
      const auto index = FindMacroById(*copy, entry.macroId);
      FUZZ_CHECK(index && (*copy)[*index].eventCount == entry.eventCount);
    }
  }
  FUZZ_CHECK(text < 500u * (40 + 1000 * 16));
  return 0;
}
