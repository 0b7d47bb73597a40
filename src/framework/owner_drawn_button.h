#pragma once
// Mix-in for owner-drawn push buttons that draw themselves (their DrawItem, also reached by
// reflection): WM_PAINT calls DrawItem directly with what the button control would have put in
// its WM_DRAWITEM. The control's own painting adds nothing for an owner-drawn button but asks,
// under Wine, the server for the button's theme twice per paint; a page shows dozens of buttons.
// Pressing and releasing still repaint through the control and WM_DRAWITEM.
//
//   class CColorBtn : public WindowClass<CColorBtn, CWnd, OwnerDrawnButtonPaint<CColorBtn>> {
//     friend OwnerDrawnButtonPaint<CColorBtn>;
//     void DrawItem(const DRAWITEMSTRUCT& item);
//   };
#include <windows.h>

#include "framework/handles.h"
#include "framework/message_table.h"

namespace nx7::win32 {

// The state an owner-drawn button reports in DRAWITEMSTRUCT::itemState.
inline UINT OwnerDrawnButtonState(HWND button) {
  const auto state = static_cast<UINT>(::SendMessageW(button, BM_GETSTATE, 0, 0));
  UINT itemState = 0;
  if (state & BST_PUSHED) itemState |= ODS_SELECTED;
  if (state & BST_FOCUS) itemState |= ODS_FOCUS;
  if (!::IsWindowEnabled(button)) itemState |= ODS_DISABLED;
  return itemState;
}

template <class Derived>
class OwnerDrawnButtonPaint {
 public:
  static const MessageTable& Table() {
    static constexpr MessageEntry entries[] = {
        On<WM_PAINT, &OwnerDrawnButtonPaint::OnOwnerDrawnPaint, Derived>(),
    };
    static const MessageTable table{entries, {}};
    return table;
  }

 private:
  Derived& Self() { return static_cast<Derived&>(*this); }
  void OnOwnerDrawnPaint() {
    const HWND button = Self().GetSafeHwnd();
    PaintDc dc(button);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(::GetDlgCtrlID(button));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = OwnerDrawnButtonState(button);
    item.hwndItem = button;
    item.hDC = dc;
    ::GetClientRect(button, &item.rcItem);
    Self().DrawItem(item);
  }
};

}  // namespace nx7::win32
