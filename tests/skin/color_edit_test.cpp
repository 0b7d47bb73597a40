#include <gtest/gtest.h>

#include "skin/bitmap_edit_win32.h"
#include "skin/color_btn_win32.h"
#include "skin_test_support.h"

namespace nx7::win32 {
namespace {

TEST(ColorBtn, FillsItsWholeAreaWithItsColour) {
  test::RecordingWindow parent;
  ASSERT_TRUE(parent.Open(RECT{100, 100, 300, 200}));
  CColorBtn swatch;
  ASSERT_TRUE(swatch.Create(parent, RECT{10, 10, 34, 30}));
  for (COLORREF color : {RGB(255, 255, 255), RGB(0x12, 0x34, 0x56), RGB(255, 0, 0)}) {
    if (color != RGB(255, 255, 255)) swatch.SetColor(color);  // white until set
    const test::Pixels pixels = test::RenderClient(swatch);
    ASSERT_EQ(pixels.width, 24);
    for (COLORREF c : pixels.data) ASSERT_EQ(c, color);
  }
}

TEST(BitmapEdit, ShowsThePageArtworkBehindItsText) {
  test::RecordingWindow parent;
  ASSERT_TRUE(parent.Open(RECT{100, 100, 400, 300}));
  CBitmapEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_CENTER, RECT{30, 40, 130, 60}, parent, 77));
  const LONG_PTR style = ::GetWindowLongPtrW(edit, GWL_STYLE);
  EXPECT_FALSE(style & (WS_BORDER | WS_TABSTOP));
  EXPECT_TRUE(style & ES_CENTER);
  EXPECT_EQ(::GetDlgCtrlID(edit), 77);
  EXPECT_EQ(edit.Send(EM_GETLIMITTEXT), 256);

  Bitmap page = test::MakeCoordinateBitmap(300, 200, 6);
  Gdiplus::GpBitmap* image = nullptr;
  ASSERT_EQ(Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(page.Get(), nullptr, &image), Gdiplus::Ok);
  GdiplusImage pageImage(reinterpret_cast<Gdiplus::GpImage*>(image));
  edit.SetBackground(30, 40, 100, 20, pageImage.Get());
  ASSERT_NE(edit.BackgroundBrush(), nullptr);

  // Colour request answered by the edit itself.
  ClientDc dc(edit);
  const auto brush = reinterpret_cast<HBRUSH>(parent.Send(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.Get()),
                                                          reinterpret_cast<LPARAM>(edit.GetSafeHwnd())));
  EXPECT_EQ(brush, edit.BackgroundBrush());
  EXPECT_EQ(::GetTextColor(dc), CBitmapEdit::kTextColor);
  EXPECT_EQ(::GetBkMode(dc), TRANSPARENT);

  // Empty, the field shows exactly the page piece under it.
  EXPECT_EQ(test::PieceTag(test::RenderClient(edit), 30, 40), 6);
}

}  // namespace
}  // namespace nx7::win32
