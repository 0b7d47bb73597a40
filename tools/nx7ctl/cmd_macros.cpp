#include <cstdio>
#include <memory>
#include <ostream>

#include <nlohmann/json.hpp>

#include "command.h"
#include "command_files.h"
#include "common/text.h"
#include "macros/macro_library.h"
#include "platform/file_system.h"

namespace nx7::ctl {
namespace {

int Run(const Invocation& call) {
  const ParsedArgs args = ParseArgs(call.args, {}, 1, 1);
  const std::string& path = args.positional[0];
  const std::vector<uint8_t> image = ReadInputFile(path, kMacroLibrarySize);
  auto library = std::make_unique<MacroLibrary>();
  LoadMacroLibraryImage(image, *library);
  size_t listed = 0;
  for (size_t i = 0; i < library->size(); ++i) {
    const MacroEntry& entry = (*library)[i];
    if (!IsListed(entry)) continue;
    ++listed;
    char head[64];
    std::snprintf(head, sizeof head, "%zu id 0x%08X category %u", i, unsigned(entry.macroId),
                  unsigned(entry.macroId >> 24));
    // Quoted and escaped: a name holding a quote or a line break cannot forge a line of the listing.
    call.out << head << " name "
             << nlohmann::json(Utf8FromUtf16(MacroName(entry))).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << " repeat " << entry.repeatCount << ":";
    const char* separator = " ";
    for (MacroEvent event : MacroEvents(entry)) {
      call.out << separator << MacroEventText(event);
      separator = ", ";
    }
    call.out << "\n";
  }
  call.out << listed << " macro" << (listed == 1 ? "" : "s") << "\n";
  return 0;
}

}  // namespace

extern const Command kMacrosCommand{
    "macros", "list the macros of a macro file",
    "macros MACRO.CFG\n"
    "Lists every macro of the file that the program's macro lists show: its entry index, id,\n"
    "game category, name, repeat count and events, then the number of macros.\n",
    &Run};

}  // namespace nx7::ctl
