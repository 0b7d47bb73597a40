#include "apply_key_codes.h"

#include <vector>

#include "buttons/device_key_code.h"
#include "command.h"
#include "command_files.h"
#include "common/text.h"
#include "macros/macro_library.h"
#include "platform/file_system.h"

namespace nx7::ctl {

struct ApplyKeyCodes::State {
  std::unique_ptr<MacroLibrary> library;
  KeyCodeSources sources;
};

ApplyKeyCodes::ApplyKeyCodes(const std::optional<std::string>& macroLibraryPath, const SettingsBlock& block,
                             const ButtonMacroIds& macroIds, InputHooks& hooks, CUSBDriver& mouse, Clock& clock) {
  auto library = std::make_unique<MacroLibrary>();  // all entries free
  if (macroLibraryPath) {
    std::vector<uint8_t> image;
    const auto fs = MakeHostFileSystem();
    if (fs->ReadWholeFile(PathArgument(*macroLibraryPath), kMacroLibrarySize, image) != FileStatus::Ok)
      throw CommandError("reading " + *macroLibraryPath + " failed: " + fs->LastErrorText());
    LoadMacroLibraryImage(image, *library);
  }
  MacroLibrary& loaded = *library;
  state_.reset(new State{std::move(library), KeyCodeSources{block, macroIds, loaded, hooks, mouse, clock}});
}

ApplyKeyCodes::~ApplyKeyCodes() = default;

KeyCodeResolver ApplyKeyCodes::Resolver() {
  return [s = state_.get()](size_t index, int& nextMacroSlot) {
    return DeviceKeyCode(s->sources, index, nextMacroSlot);
  };
}

}  // namespace nx7::ctl
