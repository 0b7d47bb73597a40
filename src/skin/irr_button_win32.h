#pragma once
// CIrrButton: a button of any outline (the slanted tabs and buttons). Its shape is a region
// given by its owner and becomes the window's region, so presses outside the shape reach the
// window beneath. Its pictures are whole-window images of the owner, one per state, of which it
// shows the part under its shape. Pictures are shared: every button showing the same resource
// holds the same loaded bitmap.
//
// Notification: a left press inside the shape posts WM_COMMAND (wParam 0, lParam the button's
// handle) to the owner (the parent when there is no owner) at once, not on release.
#include <windows.h>

#include <string>

#include "framework/handles.h"
#include "framework/owner_drawn_button.h"
#include "framework/tooltip.h"
#include "framework/window_class.h"
#include "framework/wnd.h"
#include "skin/skin_images_win32.h"

namespace nx7::win32 {

// The region of a polygon given by its corners in order, built as a path (the way owners shape
// their region buttons). Empty when fewer than three corners are given.
Region MakePolygonRegion(const POINT* corners, size_t count);

class CIrrButton : public WindowClass<CIrrButton, CWnd, OwnerDrawnButtonPaint<CIrrButton>> {
  friend OwnerDrawnButtonPaint<CIrrButton>;

 public:
  ~CIrrButton() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  // Loads four bitmap resources of the program (normal, down, over, disabled).
  void LoadBitmaps(UINT normalId, UINT downId, UINT overId, UINT disabledId);
  // Takes four pictures already loaded (shared with whoever else shows them).
  void SetBitmaps(SharedSkinBitmap normal, SharedSkinBitmap down, SharedSkinBitmap over, SharedSkinBitmap disabled);
  // `region` is in the parent's client coordinates; the button keeps its own copy, so the owner
  // may delete `region` afterwards. The owner-draw style is added here.
  bool Create(const std::u16string& text, DWORD style, HRGN region, HWND parent, UINT id);
  void SetRadioMode(bool radio) { radioMode_ = radio; }
  bool GetRadioMode() const { return radioMode_; }
  void SetCheck(bool checked);
  bool GetCheck() const { return checked_; }
  void SetToolTipText(const std::u16string& text, bool activate);

  bool IsHovering() const { return hovering_; }
  bool HoldsCapture() const { return holdsCapture_; }
  // The shape's bounding box in the parent's client coordinates.
  const RECT& BoundingBox() const { return box_; }
  // True when `clientPoint` (button client coordinates) lies on the shape.
  bool HitTest(POINT clientPoint) const;
  const ToolTip& GetToolTip() const { return tooltip_; }

 protected:
  void PreCreateWindow(CREATESTRUCTW& cs) override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);
  void OnMouseMove(UINT flags, POINT point);
  void OnLButtonDown(UINT flags, POINT point);
  void OnLButtonDblClk(UINT flags, POINT point);
  void OnLButtonUp(UINT flags, POINT point);
  void OnCaptureChanged(HWND newCapture);
  BOOL OnEraseBkgnd(HDC) { return TRUE; }
  void OnDestroy();
  void TrackPointer(POINT point);
  void RedrawNow();
  // Replaces the pictures by their pieces at the button's place (box_).
  void CutPieces();

  ToolTip tooltip_;
  SharedSkinBitmap normal_, down_, over_, disabled_;
  RECT box_{};
  bool piecesCut_ = false;  // the pictures are the button's own pieces, drawn from their origin
  Region shape_;  // the window region's shape, in client coordinates
  bool hovering_ = false;
  bool holdsCapture_ = false;
  bool checked_ = false;
  bool radioMode_ = false;
};

}  // namespace nx7::win32
