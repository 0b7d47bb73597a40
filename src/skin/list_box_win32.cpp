#include "skin/list_box_win32.h"

#include <string>
#include <vector>

#include "app/messages.h"  // WM_LIST_SELCHANGE, WM_LIST_ITEM_EDITED
#include "platform/win32/program_folder_win32.h"
#include "platform/win32/wide.h"
#include "skin/gdiplus_draw_win32.h"

namespace nx7::win32 {
namespace {

namespace GP = Gdiplus::DllExports;

constexpr int kEditTextMax = 2048;

// Draws `image` scaled into `target`.
void DrawImageScaled(HDC dc, Gdiplus::GpImage* image, const layout::Rect& target) {
  if (!image) return;
  Gdiplus::GpGraphics* graphics = nullptr;
  if (GP::GdipCreateFromHDC(dc, &graphics) != Gdiplus::Ok || !graphics) return;
  GP::GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeHighQualityBicubic);
  GP::GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHalf);
  GP::GdipDrawImageRectI(graphics, image, target.left, target.top, target.width(), target.height());
  GP::GdipDeleteGraphics(graphics);
}

}  // namespace

CListBoxEx* CListBoxEx::editingList = nullptr;

// ---------------------------------------------------------------------------------------------
// The in-place edit.

std::span<const MessageEntry> CListInPlaceEdit::MessageEntries() {
  static constexpr auto entries = Entries(
      On<WM_GETDLGCODE, &CListInPlaceEdit::OnGetDlgCode>(),
      On<WM_KEYDOWN, &CListInPlaceEdit::OnKeyDown>(),
      On<WM_KEYUP, &CListInPlaceEdit::OnKeyUp>(),
      On<WM_CHAR, &CListInPlaceEdit::OnChar>(),
      On<WM_KILLFOCUS, &CListInPlaceEdit::OnKillFocus>());
  return entries;
}

LRESULT CListInPlaceEdit::OnKeyDown(WPARAM key, LPARAM) {
  if (key == VK_ESCAPE) {
    if (CListBoxEx::editingList) CListBoxEx::editingList->CancelEdit();
    return 0;
  }
  if (key == VK_RETURN) return 0;  // commits on release
  return Default();
}

LRESULT CListInPlaceEdit::OnKeyUp(WPARAM key, LPARAM) {
  if (key == VK_RETURN) {
    if (CListBoxEx::editingList) CListBoxEx::editingList->CommitEdit();
    return 0;
  }
  return Default();
}

LRESULT CListInPlaceEdit::OnChar(WPARAM key, LPARAM) {
  // A single-line edit beeps at these; they end the edit instead.
  if (key == L'\r' || key == 0x1B) return 0;
  return Default();
}

void CListInPlaceEdit::OnKillFocus(HWND) {
  Default();
  if (CListBoxEx::editingList) CListBoxEx::editingList->CommitEdit();
}

// ---------------------------------------------------------------------------------------------
// The list.

CListBoxEx::CListBoxEx()
    : textColor_(::GetSysColor(COLOR_WINDOWTEXT)),
      selectedTextColor_(::GetSysColor(COLOR_HIGHLIGHTTEXT)),
      selectedBackground_(::GetSysColor(COLOR_HIGHLIGHT)),
      background_(::CreateSolidBrush(::GetSysColor(COLOR_WINDOW))),
      disabledBackground_(::CreateSolidBrush(::GetSysColor(COLOR_INACTIVEBORDER))),
      programFolder_(win32::ProgramFolder() + u"\\") {}

CListBoxEx::~CListBoxEx() {
  if (editingList == this) editingList = nullptr;
  DestroyWindow();
}

std::span<const MessageEntry> CListBoxEx::MessageEntries() {
  static constexpr auto entries = Entries(
      On<kReflect + WM_DRAWITEM, &CListBoxEx::OnDrawItem>(),
      On<kReflect + WM_MEASUREITEM, &CListBoxEx::OnMeasureItem>(),
      On<kReflect + WM_CTLCOLORLISTBOX, &CListBoxEx::OnCtlColor>(),
      On<WM_LBUTTONDOWN, &CListBoxEx::OnUserInput>(),
      On<WM_MOUSEMOVE, &CListBoxEx::OnUserInput>(),
      On<WM_LBUTTONUP, &CListBoxEx::OnUserInput>(),
      On<WM_KEYDOWN, &CListBoxEx::OnKey>(),
      On<WM_CHAR, &CListBoxEx::OnKey>(),
      On<WM_LBUTTONDBLCLK, &CListBoxEx::OnDoubleClick>(),
      On<WM_DESTROY, &CListBoxEx::OnDestroy>());
  return entries;
}

bool CListBoxEx::Create(const RECT& rect, HWND parent, UINT id, DWORD extraStyle) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                      LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | extraStyle;
  if (!CreateEx(0, L"LISTBOX", L"", style, rect, parent, id)) return false;
  owner_ = parent;
  id_ = id;
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(look_->ListFont()), FALSE);
  // The measuring during creation reached the parent before this object was attached.
  Send(LB_SETITEMHEIGHT, 0, itemHeight_);
  return true;
}

int CListBoxEx::AddItem(int kind, const std::u16string& text, uint32_t value, bool editNow) {
  EndEdit(false);
  showsIcons_ = kind != listbox::kPlain;
  const LRESULT index = Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text)));
  if (index < 0) {
    SetCurSel(-1);
    return -1;
  }
  Send(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(listbox::PackItemData(kind, value)));
  SetCurSel(static_cast<int>(index));
  if (editNow) EditItem(static_cast<int>(index));
  return static_cast<int>(index);
}

int CListBoxEx::InsertItem(int index, int kind, const std::u16string& text, uint32_t value) {
  const LRESULT at = Send(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(Wide(text)));
  if (at < 0) return -1;
  Send(LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(listbox::PackItemData(kind, value)));
  SetCurSel(static_cast<int>(at));
  return static_cast<int>(at);
}

int CListBoxEx::ReplaceItem(int index, int kind, const std::u16string& text, uint32_t value) {
  if (index < 0 || index >= GetCount()) return -1;
  Send(LB_DELETESTRING, static_cast<WPARAM>(index));
  return InsertItem(index, kind, text, value);
}

bool CListBoxEx::DeleteItem(int index) {
  if (editIndex_ >= 0) EndEdit(false);
  return Send(LB_DELETESTRING, static_cast<WPARAM>(index)) != LB_ERR;
}

void CListBoxEx::DeleteAllItems() {
  if (editIndex_ >= 0) EndEdit(false);
  Send(LB_RESETCONTENT);
}

int CListBoxEx::GetCount() const { return static_cast<int>(Send(LB_GETCOUNT)); }
int CListBoxEx::GetCurSel() const { return static_cast<int>(Send(LB_GETCURSEL)); }
void CListBoxEx::SetCurSel(int index) { Send(LB_SETCURSEL, static_cast<WPARAM>(index)); }
int CListBoxEx::GetTopIndex() const { return static_cast<int>(Send(LB_GETTOPINDEX)); }

uint32_t CListBoxEx::GetItemData(int index) const {
  return static_cast<uint32_t>(Send(LB_GETITEMDATA, static_cast<WPARAM>(index)));
}

std::u16string CListBoxEx::GetItemText(int index) const {
  const LRESULT length = Send(LB_GETTEXTLEN, static_cast<WPARAM>(index));
  if (length <= 0) return {};
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
  Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  return FromWide(text.data());
}

void CListBoxEx::SetLook(const SkinLook& look) {
  look_ = &look;
  if (!GetSafeHwnd()) return;
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(look_->ListFont()), FALSE);
  if (edit_.GetSafeHwnd()) edit_.Send(WM_SETFONT, reinterpret_cast<WPARAM>(look_->ListFont()), FALSE);
  Invalidate();
}

void CListBoxEx::SetNotifyTarget(HWND target, bool use) {
  notifyTarget_ = target;
  useNotifyTarget_ = use;
}

void CListBoxEx::SetTextColors(COLORREF normal, COLORREF selected) {
  textColor_ = normal;
  selectedTextColor_ = selected;
  if (GetSafeHwnd()) Invalidate();
}

void CListBoxEx::SetColors(COLORREF background, COLORREF selectedBackground) {
  background_.Attach(::CreateSolidBrush(background));
  selectedBackground_ = selectedBackground;
  if (GetSafeHwnd()) Invalidate();
}

void CListBoxEx::SetItemHeight(int height) {
  itemHeight_ = height;
  if (GetSafeHwnd()) Send(LB_SETITEMHEIGHT, 0, height);
}

void CListBoxEx::SetProgramFolder(const std::u16string& folderWithBackslash) {
  programFolder_ = folderWithBackslash;
  for (auto& looks : icons_) {
    for (auto& icon : looks) icon.Reset();
  }
  iconTried_ = {};
  if (GetSafeHwnd()) Invalidate();
}

HWND CListBoxEx::NotifyWindow() const { return useNotifyTarget_ && notifyTarget_ ? notifyTarget_ : owner_; }

void CListBoxEx::Notify(UINT message, LPARAM l) const {
  if (HWND target = NotifyWindow()) ::PostMessageW(target, message, id_, l);
}

void CListBoxEx::TrackSelection() {
  const int before = GetCurSel();
  Default();
  const int after = GetCurSel();
  if (after != before) Notify(WM_LIST_SELCHANGE, after);
}

LRESULT CListBoxEx::OnKey(WPARAM, LPARAM) {
  TrackSelection();
  return 0;
}

void CListBoxEx::OnDoubleClick(UINT flags, POINT point) {
  TrackSelection();
  if (!renameOnDoubleClick_) return;
  const LRESULT hit = Send(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
  if (HIWORD(hit) == 0) EditItem(LOWORD(hit));  // HIWORD 1: outside every item
}

void CListBoxEx::OnDestroy() {
  if (editingList == this) editingList = nullptr;
  editIndex_ = -1;
  Default();
}

HBRUSH CListBoxEx::OnCtlColor(HDC, HWND) {
  return ::IsWindowEnabled(GetSafeHwnd()) ? background_.Get() : disabledBackground_.Get();
}

void CListBoxEx::OnMeasureItem(MEASUREITEMSTRUCT& item) { item.itemHeight = static_cast<UINT>(itemHeight_); }

Gdiplus::GpImage* CListBoxEx::Icon(int kind, bool selected) {
  if (kind < listbox::kUp || kind > listbox::kDelay) return nullptr;
  const size_t k = static_cast<size_t>(kind - listbox::kUp);
  const size_t look = selected ? 1 : 0;
  if (!iconTried_[k][look]) {
    iconTried_[k][look] = true;
    const std::string_view file = listbox::IconFile(kind, selected);
    icons_[k][look] = LoadPngFile(programFolder_ + u"skins\\" + std::u16string(file.begin(), file.end()));
  }
  return icons_[k][look].Get();
}

void CListBoxEx::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (static_cast<int>(item.itemID) < 0) return;
  if (!(item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) return;  // no focus rectangle
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) || !::IsWindowEnabled(GetSafeHwnd());
  const RECT& rc = item.rcItem;
  BufferedDc dc(item.hDC, rc);
  if (selected) {
    Brush fill(::CreateSolidBrush(selectedBackground_));
    ::FillRect(dc, &rc, fill.Get());
  } else {
    ::FillRect(dc, &rc, background_.Get());
  }
  const uint32_t data = static_cast<uint32_t>(item.itemData);
  const int kind = listbox::KindOf(data);
  const listbox::ItemLayout place =
      listbox::LayOutItem(layout::Rect{rc.left, rc.top, rc.right, rc.bottom}, showsIcons_, kind);
  if (place.icon.width() > 0) DrawImageScaled(dc, Icon(kind, selected), place.icon);
  const std::u16string text = GetItemText(static_cast<int>(item.itemID));
  SavedDcState state(dc);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, disabled ? ::GetSysColor(COLOR_BTNSHADOW) : selected ? selectedTextColor_ : textColor_);
  ::SelectObject(dc, look_->ListFont());
  RECT textRect{place.textLeft, rc.top, rc.right, rc.bottom};
  ::DrawTextW(dc, Wide(text), -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP | DT_END_ELLIPSIS | DT_NOPREFIX);
}

bool CListBoxEx::EditItem(int index) {
  if (index < 0 || index >= GetCount()) return false;
  if (editingList && editingList != this) editingList->CommitEdit();
  if (editIndex_ >= 0) EndEdit(true);
  RECT rc{};
  if (Send(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc)) == LB_ERR) return false;
  const std::u16string text = GetItemText(index);
  if (!edit_.CreateEx(0, L"EDIT", Wide(text), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rc, GetSafeHwnd(),
                      0)) {
    return false;
  }
  editIndex_ = index;
  editingList = this;
  edit_.Send(WM_SETFONT, reinterpret_cast<WPARAM>(look_->ListFont()), FALSE);
  edit_.Send(EM_SETLIMITTEXT, listbox::kEditLimit);
  edit_.Send(EM_SETSEL, 0, -1);
  ::SetFocus(edit_);
  return true;
}

void CListBoxEx::CommitEdit() { EndEdit(true); }
void CListBoxEx::CancelEdit() { EndEdit(false); }

void CListBoxEx::EndEdit(bool commit) {
  if (editIndex_ < 0 || ending_) return;
  ending_ = true;
  const int index = editIndex_;
  std::u16string text;
  if (commit) {
    std::vector<wchar_t> buffer(kEditTextMax + 1, L'\0');
    ::GetWindowTextW(edit_, buffer.data(), kEditTextMax + 1);
    text = FromWide(buffer.data());
  }
  editIndex_ = -1;
  if (editingList == this) editingList = nullptr;
  // Enter and Esc leave the focus on the list; a commit from focus loss lets it go on.
  if (::GetFocus() == edit_.GetSafeHwnd()) ::SetFocus(GetSafeHwnd());
  edit_.DestroyWindow();
  if (commit && index < GetCount()) {
    const uint32_t data = GetItemData(index);
    Send(LB_DELETESTRING, static_cast<WPARAM>(index));
    Send(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(Wide(text)));
    Send(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
  }
  SetCurSel(index);
  Invalidate();
  ending_ = false;
  if (commit) Notify(WM_LIST_ITEM_EDITED, index);
}

}  // namespace nx7::win32
