#include "buttons/device_key_code.h"

#include "buttons/function_types.h"
#include "buttons/inputs.h"

namespace nx7 {

std::optional<uint32_t> CatalogueKeyCode(const ButtonAssignment& button, size_t index) {
  if (index >= kInputCount) return std::nullopt;
  switch (button.type) {
    case kTypeKeyCombination:
      return button.keyCode;
    case kTypeMacro:
      return std::nullopt;
    case kTypeSoftwareLaunch:
      return FindFunctionType(DefaultType(index))->deviceKeyCode;
    default:
      if (const FunctionTypeRow* row = FindFunctionType(button.type)) return row->deviceKeyCode;
      return std::nullopt;
  }
}

}  // namespace nx7
