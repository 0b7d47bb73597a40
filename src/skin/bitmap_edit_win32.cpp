#include "skin/bitmap_edit_win32.h"

#include "framework/ui_init.h"

namespace nx7::win32 {

std::span<const MessageEntry> CBitmapEdit::MessageEntries() {
  static constexpr auto entries = Entries(
      On<kReflect + WM_CTLCOLOREDIT, &CBitmapEdit::OnCtlColor>(),
      On<kReflect + WM_CTLCOLORSTATIC, &CBitmapEdit::OnCtlColor>());
  return entries;
}

void CBitmapEdit::PreCreateWindow(CREATESTRUCTW& cs) {
  cs.style &= ~static_cast<LONG>(WS_BORDER | WS_TABSTOP);
  cs.dwExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
  cs.dwExStyle |= WS_EX_NOPARENTNOTIFY;
}

bool CBitmapEdit::Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
  if (!CreateEx(0, L"EDIT", L"", style, rect, parent, id)) return false;
  Send(EM_LIMITTEXT, kTextLimit);
  const SkinLook& look = look_ ? *look_ : SkinLook::Default();
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(look.EditFont(fontHeight_)), TRUE);
  ModifyStyle(WS_BORDER | WS_TABSTOP, 0);
  return true;
}

void CBitmapEdit::SetBackground(int x, int y, int width, int height, Gdiplus::GpImage* pageImage) {
  if (!pageImage || width <= 0 || height <= 0 || !InitUserInterface()) return;
  Gdiplus::GpBitmap* clone = nullptr;
  if (Gdiplus::DllExports::GdipCloneBitmapAreaI(x, y, width, height, PixelFormat32bppARGB,
                                                 reinterpret_cast<Gdiplus::GpBitmap*>(pageImage),
                                                 &clone) != Gdiplus::Ok ||
      !clone) {
    return;
  }
  GdiplusImage piece(reinterpret_cast<Gdiplus::GpImage*>(clone));
  HBITMAP converted = nullptr;
  if (Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap(clone, &converted, 0xFF000000) != Gdiplus::Ok) return;
  Bitmap bitmap(converted);
  HBRUSH brush = ::CreatePatternBrush(bitmap.Get());
  if (!brush) return;
  piece_ = std::move(piece);
  pattern_ = std::move(bitmap);
  brush_.Attach(brush);
  if (GetSafeHwnd()) Invalidate();
}

HBRUSH CBitmapEdit::OnCtlColor(HDC dc, HWND control) {
  ::SetTextColor(dc, kTextColor);
  ::SetBkMode(dc, TRANSPARENT);
  return brush_ ? brush_.Get() : static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

}  // namespace nx7::win32
