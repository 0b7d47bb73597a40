#pragma once
// CPngHProgressBar: shows a value between a minimum and a maximum by drawing the left part of a
// "filled" picture over an "empty" one, both unscaled. The progress dialog gives it the bar's
// area of its two dialog pictures, range 0..100, and makes it read-only.
#include <windows.h>

#include "framework/gdiplus_image.h"
#include "framework/window_class.h"
#include "framework/wnd.h"
#include "skin/slider_rules.h"

namespace nx7::win32 {

class CPngHProgressBar : public WindowClass<CPngHProgressBar, CWnd> {
 public:
  ~CPngHProgressBar() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  // A visible child (style 0x50010000) at (left, top)-(right, bottom) of `parent`'s client area.
  bool Create(int left, int top, int right, int bottom, HWND parent, int controlId);
  // Each picture becomes a copy of the area (x, y, width, height) of the image given, or none
  // when none is given.
  void SetImages(int x, int y, int width, int height, Gdiplus::GpImage* emptyImage, Gdiplus::GpImage* filledImage);
  void SetRange(int min, int max) { range_ = slider::Range{min, max}; }
  slider::Range GetRange() const { return range_; }
  // A value out of range counts as the minimum; the bar repaints at once.
  void SetPos(int value);
  int GetPos() const { return value_; }
  // A read-only bar never reacts to the mouse: presses reach the window beneath.
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool IsReadOnly() const { return readOnly_; }
  bool HasImages() const { return empty_ || filled_; }

 private:
  void OnPaint();
  BOOL OnEraseBkgnd(HDC) { return TRUE; }
  void OnPrintClient(HDC dc) { Paint(dc); }
  UINT OnNcHitTest(POINT screenPoint);
  void OnClose();
  void Paint(HDC dc);

  slider::Range range_{0, 10};
  int value_ = 0;
  bool readOnly_ = false;
  GdiplusImage empty_, filled_;
};

}  // namespace nx7::win32
