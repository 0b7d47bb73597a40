#include "buttons/assignment.h"

#include "buttons/function_types.h"
#include "buttons/key_names.h"
#include "common/text.h"
#include "i18n/chinese_text.h"
#include "macros/macro_library.h"

namespace nx7 {

int32_t TypeOf(const NewFunction& function) {
  switch (function.kind) {
    case FunctionKind::kBaseFunction: return int32_t(function.value);
    case FunctionKind::kDisable: return kTypeDisable;
    case FunctionKind::kKeyCombination: return kTypeKeyCombination;
    case FunctionKind::kMacro: return kTypeMacro;
    case FunctionKind::kSoftwareLaunch: return kTypeSoftwareLaunch;
  }
  return 0;
}

int32_t LaunchKindOfRow(int row) { return row >= 0 && row <= 3 ? 0xC0 + 0x10 * row : 0; }

AssignmentCheck CheckAssignment(const SettingsBlock& block, size_t index, const NewFunction& function, bool chinese) {
  if (index >= kInputCount) return {false, {}};
  const int32_t type = TypeOf(function);
  if (type != kTypeClick) {
    bool clickElsewhere = false;
    for (size_t i = 0; i < kInputCount; ++i) clickElsewhere |= i != index && block.buttons[i].type == kTypeClick;
    if (!clickElsewhere) {
      return {false, std::u16string(BilingualText(chinese, u"请保留至少一个键为\"单击\"功能!",
                                                  u"At least one button must be configured as 'Left click'!"))};
    }
  }
  if (type == kTypeSnipe && (index == 5 || index == 6)) {
    return {false, std::u16string(BilingualText(chinese, u"此按键不可使用狙击功能!", u"This key can not use the sniper function!"))};
  }
  return {};
}

bool Assign(ButtonRecords& records, size_t index, const NewFunction& function) {
  if (index >= kInputCount) return false;
  if (function.kind == FunctionKind::kSoftwareLaunch && LaunchKindOfRow(function.launchRow) == 0) return false;
  ButtonAssignment& button = records.block.buttons[index];
  records.macroIds[index] = 0;
  const int32_t type = TypeOf(function);
  button.type = type;
  switch (function.kind) {
    case FunctionKind::kBaseFunction:
    case FunctionKind::kDisable:
      CopyToField(FunctionName(type, records.chinese), button.displayName, kTextFieldLength);
      break;
    case FunctionKind::kKeyCombination:
      button.keyCode = function.value;
      CopyToField(CombinationText(function.value, records.layout), button.displayName, kTextFieldLength);
      break;
    case FunctionKind::kMacro: {
      records.macroIds[index] = int32_t(function.value);
      button.macroId = int32_t(function.value);
      const std::optional<size_t> found = FindMacroById(records.library, function.value);
      CopyToField(found ? MacroName(records.library[*found]) : std::u16string(), button.displayName, kTextFieldLength);
      break;
    }
    case FunctionKind::kSoftwareLaunch:
      button.launchCode = function.value;
      CopyToField(function.launchPath, button.launchPath, kTextFieldLength);
      CopyToField(function.launchPath, button.displayName, kTextFieldLength);
      button.launchKind = LaunchKindOfRow(function.launchRow);
      break;
  }
  return true;
}

}  // namespace nx7
