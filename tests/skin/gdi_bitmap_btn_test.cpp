#include "skin/gdi_bitmap_btn_win32.h"

#include <gtest/gtest.h>

#include "skin_test_support.h"

namespace nx7::win32 {
namespace {

using test::PumpMessages;

enum Tag { kNormal = 1, kOver = 2, kDown = 3, kDisabled = 4 };
constexpr RECT kButton{50, 60, 150, 100};

class BitmapButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent.Open(RECT{100, 100, 500, 400}));
    for (int tag : {kNormal, kOver, kDown, kDisabled}) pages[tag] = test::MakeCoordinateBitmap(400, 300, tag);
    ASSERT_TRUE(button.Create(parent, kButton));
    button.SetSkin(kButton.left, kButton.top, kButton.right, kButton.bottom, pages[kNormal].Get(), pages[kOver].Get(),
                   pages[kDown].Get(), pages[kDisabled].Get());
    PumpMessages();
    parent.Clear();
  }
  void TearDown() override { ::ReleaseCapture(); }

  // The picture the button shows now.
  int Shown() { return test::PieceTag(test::RenderClient(button), kButton.left, kButton.top); }
  void Hover() {
    ::ReleaseCapture();
    button.Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    ASSERT_TRUE(button.IsHovering());
  }

  test::RecordingWindow parent;
  Bitmap pages[5];
  CGDIBitmapBtn button;
};

TEST_F(BitmapButtonTest, IsAChildButtonWithControlIdZeroAndNoTabStop) {
  const LONG_PTR style = ::GetWindowLongPtrW(button, GWL_STYLE);
  EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | BS_TYPEMASK), WS_CHILD | WS_VISIBLE | BS_OWNERDRAW);
  EXPECT_FALSE(style & (WS_TABSTOP | WS_BORDER));
  EXPECT_EQ(::GetDlgCtrlID(button), 0);
  RECT r{};
  ::GetWindowRect(button, &r);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_TRUE(::EqualRect(&r, &kButton));
}

TEST_F(BitmapButtonTest, PicksThePictureByPrecedence) {
  struct Case {
    const char* name;
    bool checkMode, checked, hover, held, disabled;
    int expected;
  };
  const Case cases[] = {
      {"normal", false, false, false, false, false, kNormal},
      {"hover", false, false, true, false, false, kOver},
      {"held beats hover", false, false, true, true, false, kDown},
      {"disabled", false, false, false, false, true, kDisabled},
      {"hover beats disabled", false, false, true, false, true, kOver},
      {"checked outside check mode", false, true, false, false, false, kNormal},
      {"check mode: checked beats hover", true, true, true, false, false, kDown},
      {"check mode: unchecked hovered", true, false, true, false, false, kOver},
      {"check mode: held but unchecked", true, false, false, true, false, kNormal},
      {"check mode: checked and disabled", true, true, false, false, true, kDown},
  };
  for (const Case& c : cases) {
    button.SetCheckMode(c.checkMode, false);
    button.SetCheck(c.checked);
    ::EnableWindow(button, TRUE);
    ::ReleaseCapture();
    button.Send(WM_KILLFOCUS);  // clears hovering
    ASSERT_FALSE(button.IsHovering());
    if (c.hover) Hover();
    button.Send(BM_SETSTATE, c.held);
    ::EnableWindow(button, !c.disabled);
    EXPECT_EQ(Shown(), c.expected) << c.name;
    button.Send(BM_SETSTATE, FALSE);
  }
}

TEST_F(BitmapButtonTest, TogglePressFlipsTheCheckEachPress) {
  button.SetCheckMode(true, true);
  const struct {
    int presses;
    bool checked;
  } cases[] = {{1, true}, {2, false}, {3, true}, {4, false}};
  for (const auto& c : cases) {
    button.SetCheck(false);
    for (int i = 0; i < c.presses; ++i) {
      button.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      button.Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    EXPECT_EQ(button.GetCheck(), c.checked) << c.presses;
    EXPECT_EQ(Shown(), c.checked ? kDown : (button.IsHovering() ? kOver : kNormal)) << c.presses;
  }
}

TEST_F(BitmapButtonTest, AClickNotifiesTheParentWithTheButtonHandle) {
  button.SetPressNotify(true);
  button.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  button.Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpMessages();
  const auto handle = reinterpret_cast<LPARAM>(button.GetSafeHwnd());
  const auto mouse = parent.Received(WM_BUTTON_MOUSE);
  ASSERT_EQ(mouse.size(), 2u);
  EXPECT_EQ(mouse[0].w, static_cast<WPARAM>(WM_LBUTTONDOWN));
  EXPECT_EQ(mouse[1].w, static_cast<WPARAM>(WM_LBUTTONUP));
  EXPECT_EQ(mouse[0].l, handle);
  EXPECT_EQ(mouse[1].l, handle);
  const auto commands = parent.Received(WM_COMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].w, MAKEWPARAM(0, BN_CLICKED));
  EXPECT_EQ(commands[0].l, handle);
}

TEST_F(BitmapButtonTest, WithoutPressNotificationOnlyTheClickArrives) {
  button.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  button.Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpMessages();
  EXPECT_TRUE(parent.Received(WM_BUTTON_MOUSE).empty());
  EXPECT_EQ(parent.Received(WM_COMMAND).size(), 1u);
}

TEST_F(BitmapButtonTest, MovesAreForwardedInTheParentsCoordinates) {
  button.Send(WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(7, 9));
  PumpMessages();
  const auto moves = parent.Received(WM_MOUSEMOVE);
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves.back().w, static_cast<WPARAM>(MK_SHIFT));
  EXPECT_EQ(moves.back().l, MAKELPARAM(kButton.left + 7, kButton.top + 9));
}

TEST_F(BitmapButtonTest, DraggingInWithTheButtonHeldNeitherHighlightsNorForwards) {
  ::ReleaseCapture();
  button.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(7, 9));
  PumpMessages();
  EXPECT_FALSE(button.IsHovering());
  EXPECT_TRUE(parent.Received(WM_MOUSEMOVE).empty());
  EXPECT_EQ(Shown(), kNormal);
}

TEST_F(BitmapButtonTest, SetCheckRepaintsOnlyOnChange) {
  for (bool value : {false, true, true, false}) {
    const bool before = button.GetCheck();
    ::ValidateRect(button, nullptr);
    button.SetCheck(value);
    EXPECT_EQ(::GetUpdateRect(button, nullptr, FALSE) != FALSE, before != value) << value;
  }
}

TEST_F(BitmapButtonTest, LosingTheFocusDropsTheHighlight) {
  Hover();
  button.Send(WM_KILLFOCUS);
  EXPECT_FALSE(button.IsHovering());
  EXPECT_EQ(Shown(), kNormal);
}

TEST_F(BitmapButtonTest, WithoutPicturesNothingIsDrawn) {
  CGDIBitmapBtn bare;
  ASSERT_TRUE(bare.Create(parent, RECT{200, 200, 240, 230}));
  bare.SetSkin(200, 200, 240, 230, nullptr, nullptr, nullptr, nullptr);
  const test::Pixels pixels = test::RenderClient(bare, RGB(9, 8, 7));
  for (COLORREF c : pixels.data) ASSERT_EQ(c, RGB(9, 8, 7));
}

TEST_F(BitmapButtonTest, ATooLongCaptionEndsInsideTheTextRectangle) {
  const COLORREF back = RGB(10, 10, 10);
  CGDIBitmapBtn captioned;
  const RECT r{200, 200, 260, 230};
  ASSERT_TRUE(captioned.Create(parent, r));
  Bitmap plain = test::MakeSolidBitmap(400, 300, back);
  captioned.SetSkin(r.left, r.top, r.right, r.bottom, plain.Get(), plain.Get(), plain.Get(), plain.Get());
  captioned.SetTextColors(RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255));
  captioned.SetText(u"WWWWWWWWWWWWWWWWWWWWWWWW");
  const test::Pixels pixels = test::RenderClient(captioned);
  int inside = 0, outside = 0;
  for (int y = 0; y < pixels.height; ++y) {
    for (int x = 0; x < pixels.width; ++x) {
      if (pixels.At(x, y) == back) continue;
      (x >= 8 && x < pixels.width - 5 ? inside : outside)++;
    }
  }
  EXPECT_GT(inside, 0);
  EXPECT_EQ(outside, 0);  // centred without the ellipsis it would spill over both sides
}

TEST_F(BitmapButtonTest, TooltipIsMadeOnFirstUseAndCarriesTheText) {
  button.SetToolTipText(u"Profile 1", true);
  ASSERT_NE(button.GetToolTip().Handle(), nullptr);
  EXPECT_EQ(button.GetToolTip().Text(button), u"Profile 1");
  EXPECT_TRUE(button.GetToolTip().IsActive());
  button.SetToolTipText(u"Profile 2", false);
  EXPECT_EQ(button.GetToolTip().Text(button), u"Profile 2");
  EXPECT_FALSE(button.GetToolTip().IsActive());
}

}  // namespace
}  // namespace nx7::win32
