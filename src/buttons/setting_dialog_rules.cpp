#include "buttons/setting_dialog_rules.h"

#include "buttons/inputs.h"

namespace nx7 {

SettingDialogRules::SettingDialogRules(int buttonIndex) { result_.buttonIndex = buttonIndex; }

SettingDialogRules::Recording SettingDialogRules::SelectTab(SettingPage page) {
  if (disabled_) {
    selected_ = -1;
    return Recording::kUnchanged;
  }
  selected_ = int(page);
  // Only the combination page listens to the keyboard; recording off also hands the hooks'
  // posts back to the main window.
  return page == SettingPage::kCombination ? Recording::kOn : Recording::kOff;
}

SettingDialogRules::Recording SettingDialogRules::ToggleDisable() {
  disabled_ = !disabled_;
  return SelectTab(SettingPage::kCombination);
}

void SettingDialogRules::Restore() {
  result_.value = DefaultType(size_t(result_.buttonIndex));
  result_.category = kSettingBasic;
}

bool SettingDialogRules::Ok(const std::function<void(SettingPage, SettingResult&)>& fillFromPage) {
  if (disabled_) {
    result_.value = kDisabledValue;
    result_.category = kSettingDisabled;
  } else if (selected_ >= 0 && fillFromPage) {
    fillFromPage(SettingPage(selected_), result_);
  } else {
    result_.value = 0;
  }
  return result_.value != 0;
}

}  // namespace nx7
