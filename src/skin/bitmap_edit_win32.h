#pragma once
// CBitmapEdit: an edit field drawn over the page artwork. Its background is a piece of the
// page's image (SetBackground) used as the brush the field answers its colour request with;
// the text is RGB(88,95,103) on a transparent background. The owner chooses the style bits
// (centred, numbers only, ...) and the control id.
#include <windows.h>

#include "framework/gdiplus_image.h"
#include "framework/handles.h"
#include "framework/window_class.h"
#include "framework/wnd.h"
#include "skin/skin_look_win32.h"

namespace nx7::win32 {

class CBitmapEdit : public WindowClass<CBitmapEdit, CWnd> {
 public:
  ~CBitmapEdit() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  static constexpr COLORREF kTextColor = SkinLook::kEditText;
  static constexpr int kTextLimit = 256;

  // Before Create: the height of the field's font (12 by default).
  void SetFontHeight(int height) { fontHeight_ = height; }
  // Before Create: the look whose edit font the field takes; without one, the current layout's.
  void SetLook(const SkinLook& look) { look_ = &look; }
  // Creates the edit; border and tab-stop styles are removed, the text limit and font set.
  bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);
  // Takes (x, y, width, height) of the page image as the field's background (replacing any
  // earlier one). A missing image or an empty area leaves the field without a background.
  void SetBackground(int x, int y, int width, int height, Gdiplus::GpImage* pageImage);
  HBRUSH BackgroundBrush() const { return brush_.Get(); }

 protected:
  void PreCreateWindow(CREATESTRUCTW& cs) override;

 private:
  HBRUSH OnCtlColor(HDC dc, HWND control);

  int fontHeight_ = 12;
  const SkinLook* look_ = nullptr;
  GdiplusImage piece_;
  Bitmap pattern_;
  Brush brush_;
};

}  // namespace nx7::win32
