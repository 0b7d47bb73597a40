#pragma once
// The rules of the four pages of the button settings dialog, free of any window: what each page
// holds, how keyboard events and clicks change it, and how it fills the SettingResult on "OK".
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "buttons/setting_result.h"
#include "i18n/string_keys.h"
#include "macros/macro_library.h"
#include "platform/shell.h"

namespace nx7 {

// ---- Key combination page ----------------------------------------------------------------------

// The four modifier check boxes, in their order on the page.
enum class Modifier { kCtrl, kAlt, kShift, kWin };
inline constexpr size_t kModifierCount = 4;

// The modifier a virtual key is (left, right or either Shift, Ctrl, Alt; either Win key).
std::optional<Modifier> ModifierOfKey(uint32_t virtualKey);
// Whether the low-level keyboard flags of an event mark a press (a release carries 0x80).
bool IsKeyPressFlags(uint32_t flags);

class CombinationPage {
 public:
  enum class Change { kNone, kModifier, kKey };
  // A keyboard event from the hook: a modifier's press toggles its box (its release does
  // nothing); any other key, pressed or released, becomes the captured key.
  Change OnKeyEvent(uint32_t virtualKey, uint32_t flags);
  // A click on a check box.
  void Toggle(Modifier modifier);
  bool Checked(Modifier modifier) const { return checked_[size_t(modifier)]; }
  uint32_t CapturedKey() const { return key_; }
  // category 5; value from the boxes and the key's usage (0 when nothing usable was chosen).
  void FillResult(SettingResult& result) const;

 private:
  std::array<bool, kModifierCount> checked_{};
  uint32_t key_ = 0;
};

// ---- Macro page ---------------------------------------------------------------------------------

inline constexpr int kSettingCategoryCount = 21;
// The name of category list item `item` (0 to 20, category item + 1); empty outside.
std::u16string_view SettingCategoryName(int item, bool chinese);

struct MacroRow {
  std::u16string name;
  uint32_t macroId;
};
// The listed entries of `category`, in library order.
std::vector<MacroRow> MacrosOfCategory(const MacroLibrary& library, uint32_t category);

class MacroChoicePage {
 public:
  // The category list's selection became `selection`; true when it differs from the category
  // shown, which it now is, so the macro list must be filled again.
  bool OnCategorySelected(int selection);
  // The category whose macros are shown: selection + 1, 0 (none) before any selection.
  uint32_t ShownCategory() const { return uint32_t(shown_ + 1); }

 private:
  int shown_ = -1;
};

// With a macro row selected (its item data), category 6 and the macro id; otherwise value 0.
void FillMacroResult(std::optional<uint32_t> selectedMacroId, SettingResult& result);

// ---- Basic-function page -----------------------------------------------------------------------

struct BaseFunctionRow {
  StringKey text;
  int32_t type;
};
extern const std::array<BaseFunctionRow, 24> kBaseFunctionRows;

// The type of row `selectedRow`, or value 0 with no (or no such) row; category untouched.
void FillBaseResult(int selectedRow, SettingResult& result);

// ---- Advanced page ------------------------------------------------------------------------------

inline constexpr int kLaunchRowCount = 4;
// The text keys of the rows' labels: sound, program, file, folder.
extern const std::array<StringKey, kLaunchRowCount> kLaunchRowLabels;

// 6 + ((0xC0 + 0x10 * row + buttonIndex) << 16).
int32_t LaunchCode(int row, int buttonIndex);

// The chooser a row's "Browse" opens: the folder browser for row 3, a file-open dialog else.
struct LaunchChooser {
  bool folder = false;
  FileDialogOptions options{};
};
LaunchChooser ChooserOfRow(int row);

class LaunchPage {
 public:
  explicit LaunchPage(int buttonIndex);
  // Checks `row`'s radio button, unchecking the others.
  void Check(int row);
  int CheckedRow() const { return checked_; }  // -1 none
  const std::u16string& Path(int row) const { return paths_[size_t(row)]; }
  void SetPath(int row, std::u16string path) { paths_[size_t(row)] = std::move(path); }
  int32_t CodeOfRow(int row) const { return codes_[size_t(row)]; }
  // "Browse" or a double-click on a path box: checks the row and asks `shell` for a file or
  // folder; a confirmed choice becomes the row's path. True when the path changed.
  bool Browse(int row, Shell& shell, WindowHandle owner);
  // The checked row, when its path is not empty, gives category 19 and its code; else value 0.
  void FillResult(SettingResult& result) const;

 private:
  int checked_ = -1;
  std::array<std::u16string, kLaunchRowCount> paths_;
  std::array<int32_t, kLaunchRowCount> codes_{};
};

}  // namespace nx7
