#include "skin/irr_button_win32.h"

#include <gtest/gtest.h>

#include "skin_test_support.h"

namespace nx7::win32 {
namespace {

using test::PumpMessages;
using test::PumpUntil;

enum Tag { kNormal = 1, kDown = 2, kOver = 3, kDisabled = 4 };
// A slanted tab: its right edge runs from (189,85) down to (210,121).
constexpr POINT kTab[] = {{30, 85}, {189, 85}, {210, 121}, {30, 121}};
constexpr RECT kParent{100, 100, 500, 400};
constexpr COLORREF kMarker = RGB(1, 2, 3);

class IrrButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent.Open(kParent));
    button.SetBitmaps(test::SharedCoordinatePicture(400, 300, kNormal), test::SharedCoordinatePicture(400, 300, kDown),
                      test::SharedCoordinatePicture(400, 300, kOver),
                      test::SharedCoordinatePicture(400, 300, kDisabled));
    Region shape = MakePolygonRegion(kTab, std::size(kTab));
    ASSERT_TRUE(shape);
    ASSERT_TRUE(button.Create(u"", WS_CHILD | WS_VISIBLE, shape.Get(), parent, 0));
    PumpMessages();
    parent.Clear();
  }
  void TearDown() override { ::ReleaseCapture(); }

  // The picture shown inside the shape, -1 when any pixel inside is wrong or any pixel
  // outside the shape was painted.
  int Shown() {
    const test::Pixels pixels = test::RenderClient(button, kMarker);
    Region shape(::CreateRectRgn(0, 0, 0, 0));
    ::GetWindowRgn(button, shape.Get());
    const RECT& box = button.BoundingBox();
    int tag = -1;
    for (int y = 0; y < pixels.height; ++y) {
      for (int x = 0; x < pixels.width; ++x) {
        const COLORREF c = pixels.At(x, y);
        if (!::PtInRegion(shape.Get(), x, y)) {
          if (c != kMarker) return -1;
          continue;
        }
        if (tag < 0) tag = GetBValue(c);
        if (c != test::CoordinateColor(box.left + x, box.top + y, tag)) return -1;
      }
    }
    return tag;
  }
  // Client point of the button for a point of the parent.
  LPARAM At(int parentX, int parentY) {
    return MAKELPARAM(parentX - button.BoundingBox().left, parentY - button.BoundingBox().top);
  }
  void Hover() {
    button.Send(WM_MOUSEMOVE, 0, At(100, 100));
    ASSERT_TRUE(button.IsHovering());
  }
  void Unhover() { button.Send(WM_MOUSEMOVE, 0, At(205, 88)); }

  test::RecordingWindow parent;
  CIrrButton button;
};

TEST_F(IrrButtonTest, TakesTheShapesBoundingBoxAndTheShapeAsItsRegion) {
  RECT r{};
  ::GetWindowRect(button, &r);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_TRUE(::EqualRect(&r, &button.BoundingBox()));
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.top, 85);
  EXPECT_NEAR(r.right, 210, 1);
  EXPECT_NEAR(r.bottom, 121, 1);
  EXPECT_EQ(::GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  const struct {
    int x, y;
    bool on;
  } points[] = {{100, 100, true}, {31, 86, true}, {188, 86, true}, {205, 88, false}, {200, 95, false}, {205, 119, true}};
  for (const auto& p : points) {
    POINT client{p.x - 30, p.y - 85};
    EXPECT_EQ(button.HitTest(client), p.on) << p.x << "," << p.y;
  }
}

TEST_F(IrrButtonTest, PicksThePictureByModeAndState) {
  struct Case {
    const char* name;
    bool radio, checked, hover, held, disabled;
    int expected;
  };
  const Case cases[] = {
      {"normal", false, false, false, false, false, kNormal},
      {"hover", false, false, true, false, false, kOver},
      {"held", false, false, true, true, false, kDown},
      {"disabled", false, false, false, false, true, kDisabled},
      {"checked means nothing outside radio mode", false, true, false, false, false, kNormal},
      {"radio checked hovered", true, true, true, false, false, kDown},
      {"radio checked disabled", true, true, false, false, true, kDown},
      {"radio unchecked hovered", true, false, true, false, false, kOver},
      {"radio unchecked disabled", true, false, false, false, true, kNormal},
      {"radio unchecked held", true, false, false, true, false, kNormal},
  };
  for (const Case& c : cases) {
    ::EnableWindow(button, TRUE);
    button.SetRadioMode(c.radio);
    button.SetCheck(c.checked);
    Unhover();
    ASSERT_FALSE(button.IsHovering());
    if (c.hover) Hover();
    button.Send(BM_SETSTATE, c.held);
    ::EnableWindow(button, !c.disabled);
    EXPECT_EQ(Shown(), c.expected) << c.name;
    button.Send(BM_SETSTATE, FALSE);
  }
}

TEST_F(IrrButtonTest, SetCheckUnderThePointerDropsTheHighlightAtOnce) {
  button.SetRadioMode(true);
  Hover();
  EXPECT_EQ(::GetCapture(), button.GetSafeHwnd());
  button.SetCheck(true);
  EXPECT_FALSE(button.IsHovering());
  EXPECT_NE(::GetCapture(), button.GetSafeHwnd());
  EXPECT_EQ(Shown(), kDown);
  Hover();
  button.SetCheck(false);
  EXPECT_FALSE(button.IsHovering());
  EXPECT_EQ(Shown(), kNormal);
}

TEST_F(IrrButtonTest, LeavingTheShapeClearsTheHighlight) {
  Hover();
  EXPECT_EQ(Shown(), kOver);
  button.Send(WM_MOUSEMOVE, 0, At(300, 250));  // far outside, seen thanks to the capture
  EXPECT_FALSE(button.IsHovering());
  EXPECT_NE(::GetCapture(), button.GetSafeHwnd());
  EXPECT_EQ(Shown(), kNormal);
}

// A modal dialog opened from the button's command takes the capture (its owner is disabled): the
// pointer then leaves unseen, so the highlight goes with the capture, not on the next pass.
TEST_F(IrrButtonTest, LosingTheCaptureToAnotherWindowClearsTheHighlight) {
  button.SetRadioMode(true);
  Hover();
  ASSERT_EQ(::GetCapture(), button.GetSafeHwnd());
  ::SetCapture(parent);
  EXPECT_FALSE(button.IsHovering());
  EXPECT_EQ(Shown(), kNormal);
  // The owner's own release under the pointer keeps it (the pointer is still there).
  Hover();
  button.Send(WM_LBUTTONUP, 0, At(100, 100));
  EXPECT_TRUE(button.IsHovering());
  EXPECT_EQ(::GetCapture(), button.GetSafeHwnd());
}

TEST_F(IrrButtonTest, ADoubleClickShowsPressedWithoutANotification) {
  button.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, At(100, 100));
  PumpMessages();
  EXPECT_TRUE(parent.Received(WM_COMMAND).empty());
  EXPECT_TRUE(button.Send(BM_GETSTATE) & BST_PUSHED);
  EXPECT_EQ(Shown(), kDown);
  button.Send(WM_LBUTTONUP, 0, At(100, 100));
}

// Real pointer input: where a press lands is decided by the window regions.
void ClickAt(int screenX, int screenY) {
  ::SetCursorPos(screenX, screenY);
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(2, inputs, sizeof(INPUT));
}

TEST_F(IrrButtonTest, APressBesideTheSlantedEdgeReachesTheWindowBeneath) {
  ::SetForegroundWindow(parent);
  ClickAt(kParent.left + 205, kParent.top + 88);
  ASSERT_TRUE(PumpUntil([&] { return !parent.Received(WM_LBUTTONUP).empty(); }));
  const auto downs = parent.Received(WM_LBUTTONDOWN);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].l, MAKELPARAM(205, 88));
  EXPECT_TRUE(parent.Received(WM_COMMAND).empty());
  EXPECT_FALSE(button.IsHovering());
}

TEST_F(IrrButtonTest, APressInsideTheShapeNotifiesOnceAtThePress) {
  ::SetForegroundWindow(parent);
  ::SetCursorPos(kParent.left + 100, kParent.top + 100);
  INPUT down{};
  down.type = INPUT_MOUSE;
  down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  ::SendInput(1, &down, sizeof(INPUT));
  ASSERT_TRUE(PumpUntil([&] { return !parent.Received(WM_COMMAND).empty(); }));
  const auto commands = parent.Received(WM_COMMAND);
  EXPECT_EQ(commands[0].w, 0u);
  EXPECT_EQ(commands[0].l, reinterpret_cast<LPARAM>(button.GetSafeHwnd()));
  EXPECT_TRUE(parent.Received(WM_LBUTTONDOWN).empty());

  INPUT up{};
  up.type = INPUT_MOUSE;
  up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(1, &up, sizeof(INPUT));
  ASSERT_TRUE(PumpUntil([&] { return !(button.Send(BM_GETSTATE) & BST_PUSHED); }));
  PumpMessages();
  EXPECT_EQ(parent.Received(WM_COMMAND).size(), 1u);  // the release adds no second command
  EXPECT_TRUE(button.IsHovering());                    // the pointer is still on it
}

// Buttons showing the same picture load it once, and once placed keep only their own pieces of
// it: the window-sized picture goes with the last holder.
TEST(IrrButtonPictures, PlacedButtonsKeepOnlyTheirPieces) {
  const std::u16string path = test::WriteCoordinateBmp(L"nx7_irr_shared.bmp", 320, 200, 1);
  test::RecordingWindow parent;
  ASSERT_TRUE(parent.Open(RECT{100, 100, 420, 300}));
  const SharedBitmapUsage before = SharedBitmapsInUse();
  CIrrButton buttons[6];
  {
    const SharedSkinBitmap picture = SharedFileBitmap(path);
    for (int i = 0; i < 6; ++i) {
      buttons[i].SetBitmaps(SharedFileBitmap(path), SharedFileBitmap(path), SharedFileBitmap(path),
                            SharedFileBitmap(path));
      EXPECT_EQ(SharedBitmapsInUse().pictures, before.pictures + 1) << "loaded once";
      const POINT corners[] = {{10 + 50 * i, 10}, {50 + 50 * i, 10}, {40 + 50 * i, 40}, {10 + 50 * i, 40}};
      Region shape = MakePolygonRegion(corners, 4);
      ASSERT_TRUE(buttons[i].Create(u"", WS_CHILD | WS_VISIBLE, shape.Get(), parent, 0));
    }
  }
  const SharedBitmapUsage during = SharedBitmapsInUse();
  EXPECT_EQ(during.pictures, before.pictures);
  EXPECT_EQ(during.bytes, before.bytes);
}

}  // namespace
}  // namespace nx7::win32
