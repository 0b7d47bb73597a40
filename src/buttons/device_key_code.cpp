#include "buttons/device_key_code.h"

#include "buttons/function_types.h"
#include "buttons/inputs.h"
#include "macros/input_hooks.h"
#include "macros/macro_upload.h"
#include "platform/clock.h"

namespace nx7 {
namespace {

uint32_t MacroKeyCode(int slot, uint32_t wordCount) {
  return 0x09u | (uint32_t(slot & 0xFF) << 16) | ((wordCount & 0xFF) << 24);
}

}  // namespace

std::optional<uint32_t> DeviceKeyCode(const KeyCodeSources& sources, size_t index, int& nextMacroSlot) {
  if (index >= kInputCount) return std::nullopt;
  sources.hooks.SetMouseIntercept(InterceptEvent(index), true);
  const ButtonAssignment& button = sources.block.buttons[index];
  switch (button.type) {
    case kTypeKeyCombination:
      return button.keyCode;
    case kTypeMacro: {
      const std::optional<size_t> found = FindMacroById(sources.library, uint32_t(sources.macroIds[index]));
      if (!found || !IsPlayable(sources.library[*found]) || MacroEvents(sources.library[*found]).empty())
        return kMissingMacroCode;
      const int slot = nextMacroSlot;
      const uint32_t wordCount = UploadMacro(sources.session, slot, sources.library[*found]);
      sources.clock.Sleep(50);
      ++nextMacroSlot;
      return MacroKeyCode(slot, wordCount);
    }
    case kTypeSoftwareLaunch:
      sources.hooks.SetMouseIntercept(InterceptEvent(index), false);
      return FindFunctionType(DefaultType(index))->deviceKeyCode;
    default:
      if (const FunctionTypeRow* row = FindFunctionType(button.type)) return row->deviceKeyCode;
      return std::nullopt;
  }
}

}  // namespace nx7
