#pragma once
// CListBoxEx: the owner-drawn list of the macro page and the button settings dialog. Each item
// has a kind (list_box_rules.h) that chooses a small state icon drawn before its text, and
// 32-bit item data packing the kind with the owner's value. Items can be renamed in place: an
// edit field over the item, committed with Enter or when it loses the focus, cancelled with Esc.
//
// Notifications, posted to the notify target when one is set, else to the window that was the
// list's parent when it was created (its owner, also after SkinWndScroll has moved it into a
// frame):
//   WM_LIST_SELCHANGE (0x465)   wParam the list's control id, lParam the selected index; when the
//                               user changes the selection (mouse or keys), as LBN_SELCHANGE.
//   WM_LIST_ITEM_EDITED (0x470) wParam the list's control id, lParam the renamed item's index.
//
// Only one in-place edit exists in the process at a time (the user-interface thread's).
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "framework/gdiplus_image.h"
#include "framework/handles.h"
#include "framework/window_class.h"
#include "framework/wnd.h"
#include "skin/list_box_rules.h"
#include "skin/skin_look_win32.h"

namespace nx7::win32 {

class CListBoxEx;

// The edit field of an in-place rename; its list commits or cancels it.
class CListInPlaceEdit : public WindowClass<CListInPlaceEdit, CWnd> {
 public:
  ~CListInPlaceEdit() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

 private:
  friend class CListBoxEx;
  UINT OnGetDlgCode(WPARAM, LPARAM) { return DLGC_WANTALLKEYS; }
  LRESULT OnKeyDown(WPARAM key, LPARAM);
  LRESULT OnKeyUp(WPARAM key, LPARAM);
  LRESULT OnChar(WPARAM key, LPARAM);
  void OnKillFocus(HWND gettingFocus);
};

class CListBoxEx : public WindowClass<CListBoxEx, CWnd> {
 public:
  CListBoxEx();
  ~CListBoxEx() override;
  static std::span<const MessageEntry> MessageEntries();

  // Creates the list (owner-drawn with fixed item height and strings, notifying, with a
  // vertical scroll bar) at `rect` of `parent` with control id `id`; `extraStyle` is added
  // (WS_BORDER, WS_HSCROLL, ...).
  bool Create(const RECT& rect, HWND parent, UINT id, DWORD extraStyle = 0);

  // Appends an item of `kind` with `text` and the owner's `value`, packed into its item data,
  // and selects it. Closes an open in-place edit without keeping its text first. Makes the list
  // show icons when `kind` is non-zero and not when it is 0. With `editNow` the new item's
  // in-place edit opens at once. Returns the item's index, or -1 (the selection then cleared).
  int AddItem(int kind, const std::u16string& text, uint32_t value, bool editNow = false);
  // Inserts at `index` (-1: at the end) and selects the item; the icon setting is left alone.
  int InsertItem(int index, int kind, const std::u16string& text, uint32_t value);
  // Deletes the item at `index` and inserts the new one in its place, selected.
  int ReplaceItem(int index, int kind, const std::u16string& text, uint32_t value);
  bool DeleteItem(int index);
  void DeleteAllItems();
  int GetCount() const;
  int GetCurSel() const;
  // Selects `index` (-1: none) without notifying, as a program's own change.
  void SetCurSel(int index);
  uint32_t GetItemData(int index) const;
  std::u16string GetItemText(int index) const;
  int GetTopIndex() const;

  // Opens the in-place edit over item `index`; false when there is no such item.
  bool EditItem(int index);
  // Commits or cancels the open in-place edit of this list (nothing when none).
  void CommitEdit();
  void CancelEdit();
  bool IsEditing() const { return editIndex_ >= 0; }
  int EditIndex() const { return editIndex_; }
  HWND EditWindow() const { return edit_.GetSafeHwnd(); }
  // Double-clicking an item opens its in-place edit (off by default).
  void SetRenameOnDoubleClick(bool rename) { renameOnDoubleClick_ = rename; }

  // The look whose list font the items and the in-place edit use (the English look unless set).
  void SetLook(const SkinLook& look);
  void SetNotifyTarget(HWND target, bool use);
  void SetColors(COLORREF background, COLORREF selectedBackground);
  // The items' text colours (the system's window and highlight text unless set).
  void SetTextColors(COLORREF normal, COLORREF selected);
  void SetItemHeight(int height);
  int ItemHeight() const { return itemHeight_; }
  bool ShowsIcons() const { return showsIcons_; }
  // The folder the icon files are found in below "skins\" (with its trailing backslash); the
  // executable's folder unless set.
  void SetProgramFolder(const std::u16string& folderWithBackslash);
  const std::u16string& ProgramFolder() const { return programFolder_; }

 private:
  friend class CListInPlaceEdit;
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  void OnMeasureItem(MEASUREITEMSTRUCT& item);
  HBRUSH OnCtlColor(HDC dc, HWND);
  void OnUserInput(UINT, POINT) { TrackSelection(); }
  LRESULT OnKey(WPARAM, LPARAM);
  void OnDoubleClick(UINT flags, POINT point);
  void OnDestroy();
  // Runs the default processing and notifies when the selection changed under it.
  void TrackSelection();
  void Notify(UINT message, LPARAM l) const;
  HWND NotifyWindow() const;
  Gdiplus::GpImage* Icon(int kind, bool selected);
  // Ends the in-place edit; with `commit` the item takes the edit's text.
  void EndEdit(bool commit);
  // Where the last in-place edit ended (the process-wide state).
  static CListBoxEx* editingList;

  int itemHeight_ = listbox::kDefaultItemHeight;
  const SkinLook* look_ = &SkinLook::Default();
  COLORREF textColor_;
  COLORREF selectedTextColor_;
  COLORREF selectedBackground_;
  Brush background_;
  Brush disabledBackground_;
  bool showsIcons_ = false;
  std::u16string programFolder_;
  HWND notifyTarget_ = nullptr;
  bool useNotifyTarget_ = false;
  HWND owner_ = nullptr;
  UINT id_ = 0;
  bool renameOnDoubleClick_ = false;
  CListInPlaceEdit edit_;
  int editIndex_ = -1;
  bool ending_ = false;
  // Icons by kind (2 to 4) and look (normal, selected), loaded on first use.
  std::array<std::array<GdiplusImage, 2>, 3> icons_;
  std::array<std::array<bool, 2>, 3> iconTried_{};
};

}  // namespace nx7::win32
