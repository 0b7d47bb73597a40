#pragma once
// The macro page without its window: the game categories and their menu, the macro list of the
// chosen category, new, rename, delete (refused for a macro some input uses) and the hand-over
// of everything about the selected macro's events to the recorder (macro_recorder.h).
//
// The page window implements MacroPageView: its macro list box mirrors what it is told, its
// category button shows the caption it is given, and the rest of MacroRecorderView is the
// recorder's. Everything runs on the user-interface thread.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "macros/macro_recorder.h"
#include "skin/layout.h"
#include "skin/menuex/menu_ex_item.h"
#include "store/profile_slots.h"
#include "store/settings_block.h"

namespace nx7 {

// A game category: the top byte of every id of its macros.
struct GameCategory {
  uint32_t id;
  // The menu shows the menu texts; the category button shows the caption after the choice.
  std::u16string_view englishMenu;
  std::u16string_view englishCaption;
  std::u16string_view chineseMenu;
  std::u16string_view chineseCaption;
};

inline constexpr uint32_t kCustomCategory = 21;  // shown at start
extern const std::array<GameCategory, 21> GameCategoryTable;

// The category's menu text or caption; empty text for an id outside 1 to 21.
std::u16string_view CategoryMenuText(uint32_t id, bool chinese);
std::u16string_view CategoryCaption(uint32_t id, bool chinese);

// The records handed to the menu library: 200, zero-filled, the first 21 the categories at the
// top level with their menu texts. The menu is opened with kCategoryMenuCount of them.
inline constexpr size_t kCategoryMenuRecords = 200;
inline constexpr int kCategoryMenuCount = 21;
using CategoryMenuRecords = std::array<menuex::MenuExItem, kCategoryMenuRecords>;
void FillCategoryMenu(CategoryMenuRecords& records, bool chinese);

// The name a new macro starts with, and the refusal to delete a macro in use.
std::u16string_view NewMacroName(bool chinese);
std::u16string_view MacroInUseText(bool chinese);
// The in-place editor of the macro list takes at most this many characters.
inline constexpr int kMacroNameEditLimit = 20;

// The HintIds of the page's controls whose rectangle, widened by one pixel on every side, holds
// `p` (page coordinates); the record button's hint tells whether a recording runs.
std::vector<int> MacroPageHintsAt(layout::Point p, bool chineseLayout, bool recording);

class MacroPageView : public MacroRecorderView {
 public:
  // The macro list box. AddMacro appends and selects the item; with `editName` its in-place
  // editor opens at once.
  virtual void ClearMacros() = 0;
  virtual void AddMacro(const MacroListItem& item, bool editName) = 0;
  virtual void DeleteMacro(int index) = 0;
  virtual void SetMacroListRedraw(bool redraw) = 0;
  virtual void SetCategoryCaption(std::u16string_view caption) = 0;
  // The program's message box with one OK button.
  virtual void ShowPageMessage(std::u16string_view text) = 0;
};

// What the page reads beside the library: whether a macro is assigned anywhere.
struct MacroUse {
  const ProfileSlotTable& slots;
  const SettingsBlock& block;
};

class MacroPage {
 public:
  // `page` receives WM_MACRO_INPUT (the recorder's hook target). Everything given must outlive
  // the page.
  MacroPage(MacroPageView& view, InputHooks& hooks, MessagePoster& poster, WindowHandle page, Clock& clock,
            const MacroLibrary& library, MacroStore& store, MacroUse use, const bool& chinese);

  // Fills the macro list with the listed macros of `category` in library order; the last one
  // ends selected and shown.
  void FillMacroList(uint32_t category);
  // WM_MENUEX_SELECT: the category in the low 16 bits of `lParam`.
  void CategoryChosen(uint32_t lParam);
  uint32_t Category() const { return category_; }

  // The new-macro button: a list item named NewMacroName with a new id of the current category,
  // selected with its name editor open. It is stored with its first events.
  void NewMacro();
  // WM_LIST_ITEM_EDITED: the item's id and its new text.
  void MacroRenamed(const MacroListItem& item);
  // The delete-macro button.
  void DeleteMacro();
  // WM_LIST_SELCHANGE from the macro list.
  void MacroSelectionChanged(int index);

  MacroRecorder& Recorder() { return recorder_; }
  const MacroRecorder& Recorder() const { return recorder_; }

 private:
  void ShowOutcome(const StoreOutcome& outcome);

  MacroPageView& view_;
  Clock& clock_;
  const MacroLibrary& library_;
  MacroStore& store_;
  MacroUse use_;
  const bool& chinese_;
  MacroRecorder recorder_;
  uint32_t category_ = kCustomCategory;
};

}  // namespace nx7
