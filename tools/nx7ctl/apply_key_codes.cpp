#include "apply_key_codes.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "buttons/device_key_code.h"
#include "command.h"
#include "macros/macro_library.h"

namespace nx7::ctl {

struct ApplyKeyCodes::State {
  std::unique_ptr<MacroLibrary> library;
  KeyCodeSources sources;
};

ApplyKeyCodes::ApplyKeyCodes(const std::optional<std::string>& macroLibraryPath, const SettingsBlock& block,
                             const ButtonMacroIds& macroIds, InputHooks& hooks, CUSBDriver& mouse, Clock& clock) {
  auto library = std::make_unique<MacroLibrary>();  // all entries free
  if (macroLibraryPath) {
    std::ifstream in(*macroLibraryPath, std::ios::binary);
    if (!in) throw CommandError("cannot open " + *macroLibraryPath);
    const std::vector<uint8_t> image(std::istreambuf_iterator<char>(in), {});
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
