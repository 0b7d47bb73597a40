#pragma once
// CDlgMacro: the macro page (template 105). Its controls sit at the places of the layout tables;
// clicks and list notifications go to the page's rules (macros/macro_page.h) and recorder, and
// the page carries out what they ask through MacroPageView. The category menu is MenuEx.dll's;
// without the library the category button says why and the page stays.
#include <array>
#include <memory>

#include "app/skin_page_win32.h"
#include "framework/timer_source.h"
#include "macros/macro_page.h"
#include "skin/gdi_bitmap_btn_win32.h"
#include "skin/list_box_win32.h"

namespace nx7::win32 {

class CDlgMacro : public WindowClass<CDlgMacro, CSkinPage>, private MacroPageView {
 public:
  static constexpr SkinPageFiles kPictures{u"Macro_normal.bmp", u"Macro_down.bmp", u"Macro_over.bmp"};
  static constexpr UINT kMacroListId = 0x100;
  static constexpr UINT kEventListId = 0x101;
  static constexpr UINT_PTR kRepeatCheckTimer = 0x99;
  static constexpr UINT kRepeatCheckPeriodMs = 4000;
  static constexpr COLORREF kPageColour = 0x0F0F0F;
  static constexpr COLORREF kEditText = 0xB98C15;

  explicit CDlgMacro(AppContext& app, TimerSource& timers = WindowTimers());
  ~CDlgMacro() override;
  static std::span<const MessageEntry> MessageEntries();

  // Fills the macro list with the macros of `category` (at start: 21).
  void FillMacroList(uint32_t category);
  // Whether the page records keys from the keyboard hook now.
  bool Recording() const;
  // The record button's toggle: starts or stops recording.
  void ToggleRecord();
  // Takes a macro name still being typed into the library before a download.
  void CommitPendingEdit();
  // Closes the category menu if it is open.
  void CloseCategoryMenu();
  // Gives the buttons their tooltips and captions in the current language.
  void RefreshToolTips();

  // For tests: the rules, the category button's caption and the two lists.
  const MacroPage* Rules() const { return rules_.get(); }
  std::u16string CategoryCaptionShown() const { return category_.GetText(); }
  const CListBoxEx& MacroList() const { return macroList_; }
  const CListBoxEx& EventList() const { return eventList_; }

 protected:
  BOOL OnInitDialog() override;

 private:
  void OnCommand(UINT code, UINT id, HWND control);
  LRESULT OnListSelChange(WPARAM list, LPARAM index);
  LRESULT OnListItemEdited(WPARAM list, LPARAM index);
  LRESULT OnMacroInput(WPARAM vk, LPARAM flags);
  LRESULT OnButtonMouse(WPARAM action, LPARAM pad);
  LRESULT OnMenuExSelect(WPARAM, LPARAM id);
  void OnTimer(UINT_PTR id);
  void OnMouseMove(UINT flags, POINT point);
  void OnLButtonDown(UINT flags, POINT point);
  HBRUSH OnCtlColorEdit(HDC dc, HWND edit);
  void OnDestroy();
  void OpenCategoryMenu();
  // The caption drawn on a button, also its window text (read by accessibility tools).
  static void SetCaption(CGDIBitmapBtn& button, std::u16string_view caption);
  void PlaceEdit(HWND edit, const layout::Rect& r, int limit, bool digitsOnly);
  HWND Edit(EditorEdit edit) const;
  HWND Control(EditorControl control) const;

  // MacroPageView
  void ClearMacros() override;
  void AddMacro(const MacroListItem& item, bool editName) override;
  void DeleteMacro(int index) override;
  void SetMacroListRedraw(bool redraw) override;
  void SetCategoryCaption(std::u16string_view caption) override;
  void ShowPageMessage(std::u16string_view text) override;
  void ClearEvents() override;
  void AddEvent(const EventItem& item) override;
  void InsertEvent(int index, const EventItem& item) override;
  void ReplaceEvent(int index, const EventItem& item) override;
  void DeleteEvent(int index) override;
  void SetEventListRedraw(bool redraw) override;
  void ShowControl(EditorControl control, bool shown) override;
  void SetChoiceChecked(EditorControl choice, bool checked) override;
  void EnableEditButtons(bool enabled) override;
  void SetEditText(EditorEdit edit, std::u16string_view text) override;
  void FocusEdit(EditorEdit edit) override;
  void MoveCaretToEnd(EditorEdit edit) override;
  void SetRecordCaption(RecordCaption caption) override;
  void ShowMessage(RecorderMessage message) override;
  void ShowStoreOutcome(const StoreOutcome& outcome) override;
  void DebugMessage(std::string_view text) override;
  int MacroSelection() override;
  std::optional<MacroListItem> MacroAt(int index) override;

  TimerSource& timers_;
  std::unique_ptr<MacroPage> rules_;
  Brush pageBrush_;
  CGDIBitmapBtn category_;
  CListBoxEx macroList_, eventList_;
  CGDIBitmapBtn newMacro_, deleteMacro_, insert_, deleteEvent_, modify_;
  CGDIBitmapBtn record_, delayToggle_;
  CGDIBitmapBtn leftPad_, middlePad_, rightPad_;
  CGDIBitmapBtn keyChoice_, keyConfirm_, delayChoice_, delayConfirm_;
  CategoryMenuRecords menuRecords_{};
};

}  // namespace nx7::win32
