#pragma once
// The picture slider: CPngHSliderBar, the track, shows a piece of its page's artwork and takes
// clicks; CPngHSlider, the thumb, is a PNG cut to its own outline that the user drags. Both
// report the chosen value to the track's parent by posting WM_SLIDER_VALUE (0x800) with wParam
// the value and lParam the track's control id, after every click on the track and every thumb
// move while dragging. The rules (snapping, drag limits, thumb places) are slider_rules.h.
//
// Mouse moves over the track and the thumb are posted to the track's parent in its client
// coordinates, as the picture buttons do, so the page's hint line sees moves over its sliders.
#include <windows.h>

#include <string>

#include "framework/gdiplus_image.h"
#include "framework/window_class.h"
#include "framework/wnd.h"
#include "skin/slider_rules.h"

namespace nx7::win32 {

class CPngHSlider : public WindowClass<CPngHSlider, CWnd> {
 public:
  ~CPngHSlider() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  // A child of `track` showing the PNG at `pngPath` (0 x 0 when missing), moving between
  // `leftLimit` and `rightLimit` of the track and bottom-aligned in `trackHeight`. With
  // `withOutline` the window is cut to the picture's outline.
  bool Create(const std::u16string& pngPath, int leftLimit, int rightLimit, int trackHeight, HWND track, int controlId,
              bool withOutline);
  void SetRange(int min, int max);
  slider::Range GetRange() const { return range_; }
  // Moves the thumb to the place of `value` (a value out of range counts as the minimum).
  void SetPos(int value);
  int GetPos() const { return value_; }
  void SetClickArea(const RECT& area) { clickArea_ = area; }
  void SetDraggable(bool draggable) { draggable_ = draggable; }
  void SetDisabled(bool disabled);
  bool IsDragging() const { return dragging_; }
  SIZE ThumbSize() const { return SIZE{width_, height_}; }

 private:
  void Paint();
  BOOL OnEraseBkgnd(HDC) { return TRUE; }
  void OnPrintClient(HDC dc);
  void OnLButtonDown(UINT flags, POINT point);
  void OnMouseMove(UINT flags, POINT point);
  void OnLButtonUp(UINT flags, POINT point);
  void OnCaptureChanged(HWND newCapture);
  void OnDestroy();
  void MoveToValue();
  void StopDragging();

  GdiplusImage png_;
  int width_ = 0;
  int height_ = 0;
  int leftLimit_ = 0;
  int rightLimit_ = 0;
  int trackHeight_ = 0;
  slider::Range range_{1, 10};
  int value_ = 1;
  int controlId_ = 0;
  RECT clickArea_{};
  bool draggable_ = false;
  bool dragging_ = false;
  POINT press_{};
  bool disabled_ = false;
};

class CPngHSliderBar : public WindowClass<CPngHSliderBar, CWnd> {
 public:
  ~CPngHSliderBar() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  // Creates the track (a visible child, style 0x50000000) at (left, top)-(right, bottom) of
  // `parent`'s client area, and in it the draggable thumb from the PNG at `thumbPngPath`, at the
  // minimum.
  bool Create(const std::u16string& thumbPngPath, int left, int top, int right, int bottom, HWND parent, int controlId);
  // The part of the parent's client area that maps onto the range for clicks.
  void SetClickArea(int left, int top, int right, int bottom);
  void SetRange(int min, int max);
  // Replaces the background by a copy of the area (x, y, width, height) of the page's image.
  void SetBackground(int x, int y, int width, int height, Gdiplus::GpImage* pageImage);
  // Moves the thumb to `value` (out of range: the minimum) and repaints.
  void SetPos(int value);
  int GetPos() const { return thumb_.GetPos(); }
  // Disabled sliders ignore clicks and drags and post nothing. Returns true.
  virtual bool Enable(bool enable);
  bool IsDisabled() const { return disabled_; }
  int ControlId() const { return controlId_; }
  slider::Range GetRange() const { return range_; }
  const RECT& ClickArea() const { return clickArea_; }
  CPngHSlider& Thumb() { return thumb_; }

 private:
  void OnPaint();
  BOOL OnEraseBkgnd(HDC) { return TRUE; }
  void OnPrintClient(HDC dc);
  void Paint(HDC dc);
  void OnLButtonDown(UINT flags, POINT point);
  void OnMouseMove(UINT flags, POINT point);
  LRESULT OnThumbValue(WPARAM value, LPARAM);
  void RedrawWithThumb();

  int controlId_ = 0;
  RECT clickArea_{};
  slider::Range range_{0, 10};
  GdiplusImage background_;
  bool disabled_ = false;
  CPngHSlider thumb_;
};

}  // namespace nx7::win32
