#pragma once
// How `nx7ctl apply` resolves each input's device key code during the pass: the button
// catalogue's DeviceKeyCode over the profile, the macro ids and the macro library.
#include <memory>
#include <optional>
#include <string>

#include "device/download_pass.h"
#include "store/settings_block.h"

namespace nx7 {
class CUSBDriver;
class Clock;
class InputHooks;
}  // namespace nx7

namespace nx7::ctl {

class ApplyKeyCodes {
 public:
  // Throws CommandError when the macro library cannot be read.
  ApplyKeyCodes(const std::optional<std::string>& macroLibraryPath, const SettingsBlock& block,
                const ButtonMacroIds& macroIds, InputHooks& hooks, CUSBDriver& mouse, Clock& clock);
  ~ApplyKeyCodes();

  KeyCodeResolver Resolver();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace nx7::ctl
