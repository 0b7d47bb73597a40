#pragma once
// What the button settings dialog produces for one input, and how that choice is written into the
// settings block after the dialog closed: the two assignment rules first, then the record.
#include <array>
#include <cstdint>
#include <string>

#include "buttons/assignment.h"

namespace nx7 {

// SettingResult.category: which way the function was chosen.
inline constexpr int32_t kSettingBasic = 0;  // a basic function or the input's default
inline constexpr int32_t kSettingCombination = 5;
inline constexpr int32_t kSettingMacro = 6;
inline constexpr int32_t kSettingLaunch = 19;
inline constexpr int32_t kSettingDisabled = 121;
// The value a disabled input's result carries.
inline constexpr int32_t kDisabledValue = 7;

inline constexpr size_t kLaunchPathCapacity = 260;  // units, terminator included

struct SettingResult {
  int32_t buttonIndex = 0;  // the input 0 to 6, set before the dialog opens
  // Basic: the function type. Combination: the device key code. Macro: the macro id.
  // Launch: the launch code. Disabled: 7. 0 = nothing chosen.
  int32_t value = 0;
  int32_t category = kSettingBasic;
  int32_t launchRow = 0;  // launch only: 0 sound, 1 program, 2 file, 3 folder
  std::array<char16_t, kLaunchPathCapacity> launchPath{};  // launch only, at most 259 units
};

// Stores `path` as the result's launch path, cut to 259 units.
void SetLaunchPath(SettingResult& result, std::u16string_view path);
std::u16string LaunchPathOf(const SettingResult& result);

// The function a result stands for, as the assignment rules take it.
NewFunction FunctionOf(const SettingResult& result);

struct AppliedSetting {
  bool changed = false;    // the input's record was rewritten
  std::u16string refusal;  // the rule's message when refused, to be shown in the message box
  bool tabMarked = false;  // the input's type now differs from its default type
};

// After the dialog closed: with `ok`, checks the choice against the assignment rules and, when
// accepted, assigns it to input `result.buttonIndex`. Whether OK or cancel, tells whether the
// input's tab is to be marked.
AppliedSetting ApplySettingResult(ButtonRecords& records, const SettingResult& result, bool ok);

}  // namespace nx7
