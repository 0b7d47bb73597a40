#include "buttons/setting_result.h"

#include "buttons/inputs.h"
#include "common/text.h"

namespace nx7 {

void SetLaunchPath(SettingResult& result, std::u16string_view path) {
  result.launchPath.fill(u'\0');
  CopyToField(path, result.launchPath.data(), result.launchPath.size());
}

std::u16string LaunchPathOf(const SettingResult& result) {
  return TextFromField(result.launchPath.data(), result.launchPath.size());
}

NewFunction FunctionOf(const SettingResult& result) {
  const uint32_t value = uint32_t(result.value);
  switch (result.category) {
    case kSettingDisabled: return {FunctionKind::kDisable, value};
    case kSettingCombination: return {FunctionKind::kKeyCombination, value};
    case kSettingMacro: return {FunctionKind::kMacro, value};
    case kSettingLaunch: return {FunctionKind::kSoftwareLaunch, value, result.launchRow, LaunchPathOf(result)};
    default: return {FunctionKind::kBaseFunction, value};
  }
}

AppliedSetting ApplySettingResult(ButtonRecords& records, const SettingResult& result, bool ok) {
  AppliedSetting applied;
  const size_t index = size_t(result.buttonIndex);
  if (ok && index < kInputCount) {
    const NewFunction function = FunctionOf(result);
    const AssignmentCheck check = CheckAssignment(records.block, index, function, records.chinese);
    if (!check.accepted) {
      applied.refusal = check.refusal;
    } else {
      applied.changed = Assign(records, index, function);
    }
  }
  if (index < kInputCount) applied.tabMarked = records.block.buttons[index].type != DefaultType(index);
  return applied;
}

}  // namespace nx7
