#include "app/gdiplus_text_win32.h"

#include "framework/handles.h"
#include "platform/win32/wide.h"

namespace nx7::win32 {

// Drawn through GDI: under Wine, GDI+ text drawing from a window's paint never returned (the
// fault was swallowed by the message dispatch) and GDI+ finds no font family at all, while GDI
// resolves "MS Shell Dlg" through its substitutes as Windows does.
void DrawGdiplusText(HDC dc, const std::u16string& text, const wchar_t* family, float points, float x, float y,
                     float width, float height, unsigned argb) {
  const int pixels = -::MulDiv(int(points + 0.5f), ::GetDeviceCaps(dc, LOGPIXELSY), 72);
  Font font(::CreateFontW(pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, family ? family : L"MS Shell Dlg"));
  const HGDIOBJ old = ::SelectObject(dc, font.Get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF));
  RECT box{int(x), int(y), int(x + width), int(y + height)};
  ::DrawTextW(dc, Wide(text), int(text.size()), &box, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
  ::SelectObject(dc, old);
}

}  // namespace nx7::win32
