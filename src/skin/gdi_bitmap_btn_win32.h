#pragma once
// CGDIBitmapBtn: the three-state picture button every skinned window uses. Its pictures are cut
// from the page's whole-window images at the button's own rectangle, so it shows exactly the
// artwork beneath it: normal, highlighted while the pointer is over it, pressed while held down
// (or, in check mode, while checked), and a disabled look.
//
// Notifications: a click reaches the parent as WM_COMMAND/BN_CLICKED with control id 0 and the
// button's handle; with press notification on, WM_BUTTON_MOUSE is also posted on press and
// release; every mouse move over the button is posted to the parent in its client coordinates.
#include <windows.h>

#include <string>

#include "app/messages.h"  // WM_BUTTON_MOUSE
#include "framework/handles.h"
#include "framework/owner_drawn_button.h"
#include "framework/tooltip.h"
#include "framework/window_class.h"
#include "framework/wnd.h"
#include "skin/skin_look_win32.h"

namespace nx7::win32 {

class CGDIBitmapBtn : public WindowClass<CGDIBitmapBtn, CWnd, OwnerDrawnButtonPaint<CGDIBitmapBtn>> {
  friend OwnerDrawnButtonPaint<CGDIBitmapBtn>;

 public:
  ~CGDIBitmapBtn() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  static constexpr COLORREF kDisabledTextColor = SkinLook::kButtonText.disabled;

  // A child button, style WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, empty caption, control id 0;
  // the tab-stop style is never set.
  bool Create(HWND parent, const RECT& rect, DWORD style = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW);

  // Cuts (left, top, right, bottom) out of each of the four page images.
  void SetSkin(int left, int top, int right, int bottom, HBITMAP normalImage, HBITMAP overImage, HBITMAP downImage,
               HBITMAP disabledImage);
  // Takes four ready pictures (the button owns them from now on).
  void SetBitmaps(Bitmap normal, Bitmap over, Bitmap down, Bitmap disabled);

  // The look the caption is drawn with (its font); without one, the current layout's.
  void SetLook(const SkinLook& look) { look_ = &look; }
  const SkinLook& Look() const { return look_ ? *look_ : SkinLook::Default(); }
  void SetText(const std::u16string& text);
  const std::u16string& GetText() const { return caption_; }
  void SetCheck(bool checked);
  bool GetCheck() const { return checked_; }
  void SetCheckMode(bool checkMode, bool toggleOnPress);
  void SetTextColors(COLORREF normal, COLORREF hover, COLORREF pressed);
  void SetTag(int tag) { tag_ = tag; }
  int GetTag() const { return tag_; }
  void SetToolTipText(const std::u16string& text, bool activate);
  void SetPressNotify(bool notify) { pressNotify_ = notify; }
  void SetHoverEnabled(bool enabled) { hoverEnabled_ = enabled; }
  bool IsHovering() const { return hovering_; }
  const ToolTip& GetToolTip() const { return tooltip_; }

 protected:
  void PreCreateWindow(CREATESTRUCTW& cs) override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);
  void OnMouseMove(UINT flags, POINT point);
  void OnLButtonDown(UINT flags, POINT point);
  void OnLButtonDblClk(UINT flags, POINT point);
  void Press();
  void OnLButtonUp(UINT flags, POINT point);
  void OnKillFocus(HWND gettingFocus);
  void OnCaptureChanged(HWND newCapture);
  BOOL OnEraseBkgnd(HDC) { return TRUE; }
  void OnDestroy();

  ToolTip tooltip_;
  bool checkMode_ = false;
  bool checked_ = false;
  bool toggleOnPress_ = false;
  bool hoverEnabled_ = true;
  bool hovering_ = false;
  int tag_ = 0;
  std::u16string caption_;
  Bitmap normal_, over_, down_, disabled_;
  COLORREF normalText_ = SkinLook::kButtonText.normal;
  COLORREF hoverText_ = SkinLook::kButtonText.hover;
  COLORREF pressedText_ = SkinLook::kButtonText.pressed;
  bool pressNotify_ = false;
  const SkinLook* look_ = nullptr;
};

// Shared by the skinned controls: the hover scheme of the bitmap buttons. Returns true when the
// hovering state changed. `forward` is false when the move must be ignored entirely.
struct HoverStep {
  bool changed = false;
  bool forward = true;
};
HoverStep TrackHover(HWND button, bool& hovering, UINT flags);
// Posts a mouse move to the parent of `control` in the parent's client coordinates.
void ForwardMouseMove(HWND control, WPARAM flags, POINT clientPoint);

}  // namespace nx7::win32
