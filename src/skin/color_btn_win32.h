#pragma once
// CColorBtn: a colour swatch button (lighting page). It fills its whole client area with its
// colour; clicks reach the parent as BN_CLICKED with control id 0, mouse moves are posted to the
// parent in the parent's client coordinates.
#include <windows.h>

#include <string>

#include "framework/owner_drawn_button.h"
#include "framework/tooltip.h"
#include "framework/window_class.h"
#include "framework/wnd.h"

namespace nx7::win32 {

class CColorBtn : public WindowClass<CColorBtn, CWnd, OwnerDrawnButtonPaint<CColorBtn>> {
  friend OwnerDrawnButtonPaint<CColorBtn>;

 public:
  ~CColorBtn() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  bool Create(HWND parent, const RECT& rect, DWORD style = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW);
  void SetColor(COLORREF color);
  COLORREF GetColor() const { return color_; }
  void SetToolTipText(const std::u16string& text, bool activate);
  bool IsHovering() const { return hovering_; }

 protected:
  void PreCreateWindow(CREATESTRUCTW& cs) override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);
  void OnMouseMove(UINT flags, POINT point);
  void OnKillFocus(HWND gettingFocus);
  void OnCaptureChanged(HWND newCapture);
  BOOL OnEraseBkgnd(HDC) { return TRUE; }
  void OnDestroy();

  ToolTip tooltip_;
  COLORREF color_ = RGB(255, 255, 255);
  bool hovering_ = false;
};

}  // namespace nx7::win32
