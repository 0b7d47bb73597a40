#pragma once
// The four pages of the button settings dialog: modeless child dialogs on templates 109 to 112,
// each drawing its skin picture, carrying out its rules (buttons/setting_pages.h) and filling the
// SettingResult when the dialog's "OK" asks it.
#include <array>

#include "app/skin_page_win32.h"
#include "buttons/setting_pages.h"
#include "platform/keyboard_layout.h"
#include "platform/shell.h"
#include "skin/gdi_bitmap_btn_win32.h"
#include "skin/list_box_win32.h"

namespace nx7::win32 {

// The key combination page: four modifier check boxes and the captured key, fed by the input
// hooks' WM_MACRO_INPUT while the page is their target and recording is on.
class CSetting_SingleComboDlg : public WindowClass<CSetting_SingleComboDlg, CSkinPage> {
 public:
  CSetting_SingleComboDlg(AppContext& app, KeyboardLayout& layout);
  ~CSetting_SingleComboDlg() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  void FillResult(SettingResult& result) const { rules_.FillResult(result); }
  const CombinationPage& Rules() const { return rules_; }
  // The text drawn in the key name area.
  std::u16string KeyNameText() const;
  HWND ModifierBox(Modifier m) const { return boxes_[size_t(m)].GetSafeHwnd(); }
  bool ModifierBoxChecked(Modifier m) const { return boxes_[size_t(m)].GetCheck(); }

 protected:
  BOOL OnInitDialog() override;
  void PaintOver(HDC dc) override;

 private:
  LRESULT OnMacroInput(WPARAM virtualKey, LPARAM flags);
  void OnCommand(UINT code, UINT id, HWND control);
  void ShowBoxes();

  KeyboardLayout& layout_;
  CombinationPage rules_;
  std::array<CGDIBitmapBtn, kModifierCount> boxes_;
};

// The macro page: the game categories and the macros of the chosen one.
class CSetting_MacroDlg : public WindowClass<CSetting_MacroDlg, CSkinPage> {
 public:
  static constexpr UINT kCategoryListId = 10001;
  static constexpr UINT kMacroListId = 10002;

  explicit CSetting_MacroDlg(AppContext& app);
  ~CSetting_MacroDlg() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  void FillResult(SettingResult& result) const;
  CListBoxEx& CategoryList() { return categories_; }
  CListBoxEx& MacroList() { return macros_; }

 protected:
  BOOL OnInitDialog() override;

 private:
  LRESULT OnListSelChange(WPARAM listId, LPARAM selection);
  void ShowMacros();

  MacroChoicePage rules_;
  CListBoxEx categories_, macros_;
};

// The basic-function page: the list of the 24 basic functions.
class CSetting_BaseDlg : public WindowClass<CSetting_BaseDlg, CSkinPage> {
 public:
  static constexpr UINT kListId = 101;

  explicit CSetting_BaseDlg(AppContext& app);
  ~CSetting_BaseDlg() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  void FillResult(SettingResult& result) const { FillBaseResult(list_.GetCurSel(), result); }
  CListBoxEx& List() { return list_; }

 protected:
  BOOL OnInitDialog() override;

 private:
  CListBoxEx list_;
};

// A launch row's path box: shows the path; a double-click (not a single click) opens the row's
// chooser, reported to the page as BN_DOUBLECLICKED.
class CLaunchPathBox : public WindowClass<CLaunchPathBox, CGDIBitmapBtn> {
 public:
  ~CLaunchPathBox() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

 private:
  void OnLButtonDown(UINT, POINT) {}
  void OnLButtonUp(UINT, POINT) {}
  void OnLButtonDblClk(UINT flags, POINT point);
};

// The advanced page: four launch rows (sound, program, file, folder).
class CSetting_AdvanceDlg : public WindowClass<CSetting_AdvanceDlg, CSkinPage> {
 public:
  CSetting_AdvanceDlg(AppContext& app, Shell& shell, int buttonIndex);
  ~CSetting_AdvanceDlg() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  void FillResult(SettingResult& result) const { rules_.FillResult(result); }
  const LaunchPage& Rules() const { return rules_; }
  HWND Radio(int row) const { return radios_[size_t(row)].GetSafeHwnd(); }
  HWND PathBox(int row) const { return paths_[size_t(row)].GetSafeHwnd(); }
  const std::u16string& PathText(int row) const { return paths_[size_t(row)].GetText(); }
  bool RadioChecked(int row) const { return radios_[size_t(row)].GetCheck(); }
  HWND BrowseButton(int row) const { return browse_[size_t(row)].GetSafeHwnd(); }

 protected:
  BOOL OnInitDialog() override;
  void PaintOver(HDC dc) override;

 private:
  void OnCommand(UINT code, UINT id, HWND control);
  void Browse(int row);
  void ShowRows();

  Shell& shell_;
  LaunchPage rules_;
  std::array<CGDIBitmapBtn, kLaunchRowCount> radios_;
  std::array<CLaunchPathBox, kLaunchRowCount> paths_;
  std::array<CGDIBitmapBtn, kLaunchRowCount> browse_;
};

}  // namespace nx7::win32
