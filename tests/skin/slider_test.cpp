// The picture slider and progress bar on a real desktop: clicks and drags injected with
// SendInput, the values the parent receives, where the thumb goes, and what the controls draw.
#include "skin/slider_win32.h"

#include <gtest/gtest.h>

#include "app/messages.h"
#include "platform/win32/wide.h"
#include "skin/gdiplus_draw_win32.h"
#include "skin/progress_bar_win32.h"
#include "skin_test_support.h"

namespace nx7::win32 {
namespace {

using test::PumpMessages;
using test::PumpUntil;

constexpr RECT kParent{100, 100, 500, 300};
constexpr RECT kTrack{40, 40, 240, 52};  // in the parent
constexpr int kId = 2560;

// <build>: the test program sits in <build>/tests/skin.
std::u16string BuildFolder() {
  wchar_t path[MAX_PATH];
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  for (int i = 0; i < 3; ++i) folder.resize(folder.find_last_of(L"\\/"));
  return FromWide(folder);
}
std::u16string ThumbPng() { return BuildFolder() + u"\\skins\\Slider.png"; }

void Mouse(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  ::SendInput(1, &in, sizeof(INPUT));
}
// Moves the pointer to a point of the parent's client area (the parent is a borderless popup).
void MoveTo(int x, int y) {
  ::SetCursorPos(kParent.left + x, kParent.top + y);
  Mouse(MOUSEEVENTF_MOVE);
}

// A GDI+ picture of CoordinateColor pixels.
GdiplusImage CoordinateImage(int width, int height, int tag) {
  Bitmap bitmap = test::MakeCoordinateBitmap(width, height, tag);
  Gdiplus::GpBitmap* image = nullptr;
  Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(bitmap.Get(), nullptr, &image);
  GdiplusImage owned(image);
  return CopyImageArea(owned.Get(), 0, 0, width, height);
}
GdiplusImage SolidImage(int width, int height, COLORREF colour) {
  Bitmap bitmap = test::MakeSolidBitmap(width, height, colour);
  Gdiplus::GpBitmap* image = nullptr;
  Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(bitmap.Get(), nullptr, &image);
  GdiplusImage owned(image);
  return CopyImageArea(owned.Get(), 0, 0, width, height);
}

class SliderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent.Open(kParent));
    ASSERT_TRUE(slider.Create(ThumbPng(), kTrack.left, kTrack.top, kTrack.right, kTrack.bottom, parent, kId));
    ::SetForegroundWindow(parent);
    PumpMessages();
  }
  void TearDown() override {
    Mouse(MOUSEEVENTF_LEFTUP);
    PumpMessages();
  }
  // The thumb's rectangle in the track.
  RECT Thumb() {
    RECT r{};
    ::GetWindowRect(slider.Thumb(), &r);
    ::MapWindowPoints(nullptr, slider, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  std::vector<int> Values() {
    std::vector<int> values;
    for (const auto& m : parent.Received(WM_SLIDER_VALUE)) {
      EXPECT_EQ(m.l, kId);
      values.push_back(static_cast<int>(m.w));
    }
    return values;
  }
  void Click(int x, int y) {
    MoveTo(x, y);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
  }
  test::RecordingWindow parent;
  CPngHSliderBar slider;
};

TEST_F(SliderTest, TheThumbIsThePictureBottomAlignedAtTheMinimum) {
  const SIZE size = slider.Thumb().ThumbSize();
  EXPECT_EQ(size.cx, layout::art::kSliderThumb.width);
  EXPECT_EQ(size.cy, layout::art::kSliderThumb.height);
  slider.SetRange(1, 20);
  slider.SetPos(7);
  slider.SetPos(21);  // above the maximum: back at the minimum
  EXPECT_EQ(slider.GetPos(), 1);
  const RECT thumb = Thumb();
  EXPECT_EQ(thumb.left, 0);
  EXPECT_EQ(thumb.bottom, kTrack.bottom - kTrack.top);
  EXPECT_EQ(thumb.right - thumb.left, size.cx);
}

TEST_F(SliderTest, TheThumbIsCutToItsOutline) {
  // The artwork's corners are transparent, its middle is not.
  Region region(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(slider.Thumb(), region.Get()), ERROR);
  const SIZE size = slider.Thumb().ThumbSize();
  EXPECT_FALSE(::PtInRegion(region.Get(), 0, 0));
  EXPECT_FALSE(::PtInRegion(region.Get(), size.cx - 1, size.cy - 1));
  EXPECT_TRUE(::PtInRegion(region.Get(), size.cx / 2, size.cy / 2));
}

TEST_F(SliderTest, ClicksOnTheTrackSnapAndPostTheValue) {
  struct Case {
    int areaLeft, areaRight;
    int min, max;
    int clickX;  // in the parent
    int expected;
  } cases[] = {
      {40, 140, 1, 5, 40 + 95, 5},   // f = 4.8
      {40, 140, 1, 5, 40 + 94, 5},   // f = 4.76
      {40, 140, 1, 5, 40 + 93, 4},   // f = 4.72
      {40, 140, 1, 20, 40 + 99, 19}, // no snapping for 1..20
      {40, 140, 1, 20, 200, 20},     // right of the click area
      {80, 180, 1, 5, 70, 1},        // left of the click area
      {40, 140, 1, 10, 40 + 98, 10},
  };
  for (const Case& c : cases) {
    slider.SetRange(c.min, c.max);
    slider.SetClickArea(c.areaLeft, kTrack.top, c.areaRight, kTrack.bottom);
    slider.SetPos(c.min);  // the thumb at the left end, out of the clicks' way
    PumpMessages();
    parent.Clear();
    Click(c.clickX, kTrack.top + 3);
    ASSERT_TRUE(PumpUntil([&] { return !parent.Received(WM_SLIDER_VALUE).empty(); })) << "click at " << c.clickX;
    PumpMessages();
    EXPECT_EQ(Values(), std::vector<int>{c.expected}) << "click at " << c.clickX;
    EXPECT_EQ(slider.GetPos(), c.expected);
    const int travelRight = kTrack.right - kTrack.left;
    EXPECT_EQ(Thumb().left, slider::ThumbLeft(c.expected, {c.min, c.max}, 0, travelRight, slider.Thumb().ThumbSize().cx))
        << "click at " << c.clickX;
  }
}

TEST_F(SliderTest, DraggingPastEitherEndStopsAtTheLimit) {
  slider.SetRange(1, 5);
  slider.SetClickArea(kTrack.left, kTrack.top, kTrack.right, kTrack.bottom);
  slider.SetPos(1);
  const SIZE size = slider.Thumb().ThumbSize();
  const int y = kTrack.bottom - size.cy / 2;
  MoveTo(kTrack.left + size.cx / 2, y);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return slider.Thumb().IsDragging(); }));
  EXPECT_EQ(::GetCapture(), slider.Thumb().GetSafeHwnd());
  // Half way, then far beyond the right end: values go up to the maximum and stop there.
  MoveTo(kTrack.left + size.cx / 2 + 95, y);
  ASSERT_TRUE(PumpUntil([&] { return !parent.Received(WM_SLIDER_VALUE).empty(); }));
  MoveTo(kParent.right - kParent.left - 2, y);
  ASSERT_TRUE(PumpUntil([&] { return !Values().empty() && Values().back() == 5; }));
  EXPECT_EQ(Values().front(), 3);
  EXPECT_EQ(Thumb().right, kTrack.right - kTrack.left);
  // Far beyond the left end: the minimum.
  parent.Clear();
  MoveTo(2, y);
  ASSERT_TRUE(PumpUntil([&] { return !Values().empty() && Values().back() == 1; }));
  EXPECT_EQ(Thumb().left, 0);
  Mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !slider.Thumb().IsDragging(); }));
  EXPECT_NE(::GetCapture(), slider.Thumb().GetSafeHwnd());
  EXPECT_EQ(slider.GetPos(), 1);
  // After the release, moves change nothing.
  parent.Clear();
  MoveTo(kTrack.left + 150, y);
  PumpMessages();
  EXPECT_TRUE(Values().empty());
}

TEST_F(SliderTest, ADisabledSliderIgnoresClicksAndDrags) {
  slider.SetRange(1, 5);
  slider.SetClickArea(kTrack.left, kTrack.top, kTrack.right, kTrack.bottom);
  slider.SetPos(1);
  EXPECT_TRUE(slider.Enable(false));
  parent.Clear();
  Click(kTrack.left + 150, kTrack.top + 3);
  const SIZE size = slider.Thumb().ThumbSize();
  const int y = kTrack.bottom - size.cy / 2;
  MoveTo(kTrack.left + size.cx / 2, y);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  MoveTo(kTrack.left + 120, y);
  Mouse(MOUSEEVENTF_LEFTUP);
  // Wait until the last injected input has arrived before looking.
  ASSERT_TRUE(PumpUntil([&] { return !parent.Received(WM_MOUSEMOVE).empty() && !(::GetAsyncKeyState(VK_LBUTTON) & 0x8000); }));
  PumpMessages();
  EXPECT_TRUE(Values().empty());
  EXPECT_EQ(Thumb().left, 0);
  EXPECT_EQ(slider.GetPos(), 1);
  // Enabled again, the same click works.
  EXPECT_TRUE(slider.Enable(true));
  Click(kTrack.left + 150, kTrack.top + 3);
  ASSERT_TRUE(PumpUntil([&] { return !Values().empty(); }));
  EXPECT_EQ(Values().back(), 4);  // 150 of 200 pixels over 1..5
}

TEST_F(SliderTest, MovesOverTheTrackAndTheThumbReachTheParentInItsCoordinates) {
  parent.Clear();
  MoveTo(kTrack.left + 100, kTrack.top + 2);  // the track
  ASSERT_TRUE(PumpUntil([&] { return !parent.Received(WM_MOUSEMOVE).empty(); }));
  EXPECT_EQ(parent.Received(WM_MOUSEMOVE).back().l, MAKELPARAM(kTrack.left + 100, kTrack.top + 2));
  parent.Clear();
  const SIZE size = slider.Thumb().ThumbSize();
  MoveTo(kTrack.left + size.cx / 2, kTrack.bottom - size.cy / 2);  // the thumb
  ASSERT_TRUE(PumpUntil([&] { return !parent.Received(WM_MOUSEMOVE).empty(); }));
  EXPECT_EQ(parent.Received(WM_MOUSEMOVE).back().l, MAKELPARAM(kTrack.left + size.cx / 2, kTrack.bottom - size.cy / 2));
}

TEST_F(SliderTest, TheTrackShowsItsPieceOfThePageOneToOne) {
  GdiplusImage page = CoordinateImage(300, 100, 7);
  slider.SetBackground(30, 20, kTrack.right - kTrack.left, kTrack.bottom - kTrack.top, page.Get());
  const test::Pixels pixels = test::RenderClient(slider);
  EXPECT_EQ(test::PieceTag(pixels, 30, 20), 7);
}

// ---------------------------------------------------------------------------------------------

class ProgressBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent.Open(kParent));
    ASSERT_TRUE(bar.Create(35, 47, 295, 56, parent, 777));
    empty = SolidImage(330, 80, kEmpty);
    filled = SolidImage(330, 80, kFilled);
    bar.SetImages(35, 47, 260, 9, empty.Get(), filled.Get());
    bar.SetRange(0, 100);
    PumpMessages();
  }
  // The number of filled columns, checking that they are all on the left.
  int FilledColumns() {
    const test::Pixels pixels = test::RenderClient(bar);
    int columns = 0;
    for (int x = 0; x < pixels.width; ++x) {
      const COLORREF top = pixels.At(x, 0);
      for (int y = 0; y < pixels.height; ++y) EXPECT_EQ(pixels.At(x, y), top) << x << "," << y;
      if (top == kFilled) {
        EXPECT_EQ(columns, x) << "filled column after an empty one";
        ++columns;
      } else {
        EXPECT_EQ(top, kEmpty) << "column " << x;
      }
    }
    return columns;
  }
  static constexpr COLORREF kEmpty = RGB(40, 50, 60);
  static constexpr COLORREF kFilled = RGB(200, 120, 20);
  test::RecordingWindow parent;
  CPngHProgressBar bar;
  GdiplusImage empty, filled;
};

TEST_F(ProgressBarTest, FillsTheLeftPartForTheValue) {
  struct Case {
    int value, pos, columns;
  } cases[] = {{0, 0, 0}, {50, 50, 130}, {33, 33, 85}, {100, 100, 260}, {60, 60, 156}, {101, 0, 0}, {-5, 0, 0}};
  for (const Case& c : cases) {
    bar.SetPos(c.value);
    EXPECT_EQ(bar.GetPos(), c.pos) << c.value;
    EXPECT_EQ(FilledColumns(), c.columns) << c.value;
  }
}

TEST_F(ProgressBarTest, AReadOnlyBarLetsPressesThroughToTheWindowBeneath) {
  bar.SetReadOnly(true);
  ::SetForegroundWindow(parent);
  MoveTo(100, 50);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  Mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !parent.Received(WM_LBUTTONUP).empty(); }));
  const auto downs = parent.Received(WM_LBUTTONDOWN);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].l, MAKELPARAM(100, 50));
}

TEST_F(ProgressBarTest, ClosingFreesThePictures) {
  EXPECT_TRUE(bar.HasImages());
  bar.Send(WM_CLOSE);
  EXPECT_FALSE(bar.HasImages());
}

}  // namespace
}  // namespace nx7::win32
