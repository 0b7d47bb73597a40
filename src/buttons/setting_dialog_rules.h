#pragma once
// The rules of the button settings dialog around its pages: which tab is selected and which page
// shown, when keyboard recording goes on and off, and what "Restore", "OK" and the disable check
// box put into the SettingResult.
#include <functional>

#include "buttons/setting_result.h"

namespace nx7 {

// The dialog's tabs and pages, in tab order.
enum class SettingPage { kCombination, kMacro, kBasic, kLaunch };
inline constexpr int kSettingPageCount = 4;

class SettingDialogRules {
 public:
  // What a step asks of the input hooks' keyboard recording.
  enum class Recording { kUnchanged, kOn, kOff };

  explicit SettingDialogRules(int buttonIndex);

  // Tab `page` is clicked (and at the start, with the combination page). With the disable box
  // checked every tab shows unselected and every page hidden, and recording stays as it is.
  Recording SelectTab(SettingPage page);
  // Toggles the disable box, then selects the combination tab.
  Recording ToggleDisable();
  bool Disabled() const { return disabled_; }
  // The tab shown selected and the page shown; none (-1) while disabled.
  int SelectedTab() const { return selected_; }
  int VisiblePage() const { return selected_; }

  // "Restore": the input's default type, category 0. The dialog closes with OK.
  void Restore();
  // "OK": the disabled function when the box is checked, else what `fillFromPage` puts in for
  // the visible page. True to close with OK (something was chosen), false to close as cancelled.
  bool Ok(const std::function<void(SettingPage, SettingResult&)>& fillFromPage);

  // Every way of closing switches recording off.
  static constexpr Recording kOnClose = Recording::kOff;

  const SettingResult& Result() const { return result_; }

 private:
  SettingResult result_;
  bool disabled_ = false;
  int selected_ = -1;
};

}  // namespace nx7
