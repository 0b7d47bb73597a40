// The skinned scroll bars on a real desktop: a list longer than its view wrapped by
// SkinWndScroll and scrolled with the skinned bar as a person does it (arrow clicks, holding the
// track, dragging the thumb, the wheel, the keys), and the bar's pixels against the skin cells.
#include "skin/scroll_bar_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/messages.h"
#include "platform/win32/wide.h"
#include "skin/layout.h"
#include "skin/list_box_win32.h"
#include "skin_test_support.h"

namespace nx7::win32 {
namespace {

using test::PumpMessages;
using test::PumpUntil;

constexpr RECT kParent{100, 100, 500, 420};
constexpr RECT kList{20, 20, 220, 220};  // in the parent: ten items of 20 pixels
constexpr UINT kId = 1401;
constexpr int k = layout::art::kScrollCell;

void Mouse(DWORD flags, DWORD data = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  in.mi.mouseData = data;
  ::SendInput(1, &in, sizeof(INPUT));
}
void MoveTo(int x, int y) {
  ::SetCursorPos(kParent.left + x, kParent.top + y);
  Mouse(MOUSEEVENTF_MOVE);
}
void Key(WORD vk) {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, in, sizeof(INPUT));
}
bool ButtonUp() { return !(::GetAsyncKeyState(VK_LBUTTON) & 0x8000); }

class ScrollBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    skin = SharedResourceBitmap(layout::resource::kScrollSkin);
    ASSERT_TRUE(skin && *skin);
    ASSERT_EQ(skin->width, layout::art::kScrollSkin.width);
    ASSERT_EQ(skin->height, layout::art::kScrollSkin.height);
    ASSERT_TRUE(parent.Open(kParent));
    ::SetForegroundWindow(parent);
  }
  void TearDown() override {
    Mouse(MOUSEEVENTF_LEFTUP);
    PumpMessages();
  }
  // A list of `count` items wrapped in skinned bars.
  void Fill(int count, DWORD extraStyle = 0) {
    ASSERT_TRUE(list.Create(kList, parent, kId, extraStyle));
    for (int i = 0; i < count; ++i) list.AddItem(listbox::kPlain, u"Item " + FromWide(std::to_wstring(i)), i);
    list.SetCurSel(0);
    frame = SkinWndScroll(list, skin);
    ASSERT_NE(frame, nullptr);
    PumpMessages();
  }
  CSkinScrollBar& Bar() { return frame->VerticalBar(); }
  // A point on the vertical bar `along` pixels from its top, in the parent.
  POINT OnBar(int along) { return POINT{kList.right - k / 2, kList.top + along}; }
  void Press(int along) {
    const POINT p = OnBar(along);
    MoveTo(p.x, p.y);
    Mouse(MOUSEEVENTF_LEFTDOWN);
  }
  int Top() { return list.GetTopIndex(); }

  SharedSkinBitmap skin;
  test::RecordingWindow parent;
  CListBoxEx list;
  CSkinScrollWnd* frame = nullptr;
};

// Nothing looks at a hidden list (its page, or the program in the tray); its first paint when
// shown again brings the bar up to date and the looking back.
TEST_F(ScrollBarTest, TheBarFollowsTheListOnlyWhileItIsShown) {
  Fill(5);
  ASSERT_TRUE(frame->IsSyncing());
  ::ShowWindow(parent, SW_HIDE);
  ASSERT_TRUE(PumpUntil([&] { return !frame->IsSyncing(); }));
  for (int i = 5; i < 30; ++i) list.AddItem(listbox::kPlain, u"Item " + FromWide(std::to_wstring(i)), i);
  ::ShowWindow(parent, SW_SHOW);
  ASSERT_TRUE(PumpUntil([&] { return frame->IsSyncing() && ::IsWindowVisible(Bar()) && Bar().State().max == 29; }));
}

TEST_F(ScrollBarTest, TheWrapperPutsASkinnedBarOverTheListsOwn) {
  Fill(30);
  ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(Bar()) && Bar().State().max == 29; }));
  EXPECT_EQ(CSkinScrollWnd::FromControl(list), frame);
  EXPECT_EQ(::GetParent(list), frame->Limit());
  EXPECT_EQ(::GetParent(frame->GetSafeHwnd()), parent.GetSafeHwnd());
  EXPECT_EQ(::GetDlgCtrlID(frame->GetSafeHwnd()), static_cast<int>(kId));
  EXPECT_EQ(Bar().State().page, 10);
  EXPECT_TRUE(::IsWindowEnabled(Bar()));
  EXPECT_FALSE(::IsWindowVisible(frame->HorizontalBar()));
  RECT bar{};
  ::GetWindowRect(Bar(), &bar);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bar), 2);
  EXPECT_EQ(bar.left, kList.right - k);
  EXPECT_EQ(bar.right, kList.right);
  EXPECT_EQ(bar.top, kList.top);
  EXPECT_EQ(bar.bottom, kList.bottom);
  // The list's items reach up to the skinned bar; the clip ends there too.
  EXPECT_EQ(list.GetClientRect().right, kList.right - kList.left - k);
  RECT clip{};
  ::GetClientRect(frame->Limit(), &clip);
  EXPECT_EQ(clip.right, kList.right - kList.left - k);
  EXPECT_EQ(clip.bottom, kList.bottom - kList.top);
  // The list's owner still gets the list's notifications.
  RECT item{};
  list.Send(LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item));
  MoveTo(kList.left + 40, kList.top + item.top + 5);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  Mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !parent.Received(WM_LIST_SELCHANGE).empty(); }));
  EXPECT_EQ(parent.Received(WM_LIST_SELCHANGE)[0].l, 3);
}

TEST_F(ScrollBarTest, ArrowsDragWheelAndKeysScrollTheList) {
  Fill(30);  // positions 0 to 20; a 54-pixel thumb moving over 110 pixels
  ASSERT_TRUE(PumpUntil([&] { return Bar().State().max == 29; }));
  // One click on the down arrow: one line.
  Press(kList.bottom - kList.top - 5);
  Mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return Top() == 1 && ButtonUp(); }));
  ::Sleep(700);  // past the repeat pause: the released arrow does not repeat
  PumpMessages();
  EXPECT_EQ(Top(), 1);
  EXPECT_EQ(Bar().State().position, 1);
  // Drag the thumb: 55 pixels are 10 positions; far past the end stops at the last one.
  const scroll::Geometry g = Bar().Geometry();
  ASSERT_EQ(g.thumbLength, 54);
  const int grab = g.thumbStart + 20;
  Press(grab);
  ASSERT_TRUE(PumpUntil([&] { return Bar().IsDragging(); }));
  MoveTo(OnBar(grab).x, OnBar(grab + 55).y);
  ASSERT_TRUE(PumpUntil([&] { return Top() == 11; }));
  EXPECT_EQ(Bar().State().tracking, 11);
  MoveTo(OnBar(grab).x, kParent.bottom - kParent.top - 2);
  ASSERT_TRUE(PumpUntil([&] { return Top() == 20; }));
  Mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !Bar().IsDragging(); }));
  PumpMessages();
  EXPECT_EQ(Bar().State().position, 20);
  EXPECT_EQ(Bar().State().tracking, -1);
  EXPECT_EQ(Bar().Geometry().thumbStart + 54, kList.bottom - kList.top - k);
  // The wheel over the list scrolls it back up, and the bar follows.
  ::SetFocus(list);
  MoveTo(kList.left + 50, kList.top + 100);
  Mouse(MOUSEEVENTF_WHEEL, WHEEL_DELTA);
  ASSERT_TRUE(PumpUntil([&] { return Top() < 20; }));
  ASSERT_TRUE(PumpUntil([&] { return Bar().State().position == Top(); }));
  // The wheel over the bar does the same (where the system sends the wheel to the window under
  // the pointer; this one sends it to the focus).
  const int before = Top();
  const POINT onBar{kParent.left + OnBar(100).x, kParent.top + OnBar(100).y};
  Bar().Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(onBar.x, onBar.y));
  ASSERT_TRUE(PumpUntil([&] { return Top() < before; }));
  ASSERT_TRUE(PumpUntil([&] { return Bar().State().position == Top(); }));
  // Keys: Home and End.
  Key(VK_HOME);
  ASSERT_TRUE(PumpUntil([&] { return Top() == 0 && Bar().State().position == 0; }));
  Key(VK_END);
  ASSERT_TRUE(PumpUntil([&] { return Top() == 20 && Bar().State().position == 20; }));
  EXPECT_EQ(list.GetCurSel(), 29);
}

TEST_F(ScrollBarTest, HoldingTheTrackPagesAfterAPauseAndStopsUnderThePointer) {
  Fill(100);  // positions 0 to 90; a 16-pixel thumb over 148 pixels
  ASSERT_TRUE(PumpUntil([&] { return Bar().State().max == 99; }));
  const int pointer = 150;
  Press(pointer);
  ASSERT_TRUE(PumpUntil([&] { return Top() == 10; }));  // the first page at once
  ::Sleep(300);
  PumpMessages();
  EXPECT_EQ(Top(), 10);  // then a pause of 500 ms
  // Then a page every 100 ms until the thumb is under the pointer: position 80, thumb [149, 165).
  ASSERT_TRUE(PumpUntil([&] { return Top() == 80; }, 5000));
  ::Sleep(500);
  PumpMessages();
  EXPECT_EQ(Top(), 80);
  EXPECT_TRUE(scroll::PartSpan(Bar().Geometry(), scroll::kThumb).Contains(pointer));
  EXPECT_EQ(Bar().PressedPart(), scroll::kTrackAfter);
  Mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return Bar().PressedPart() == scroll::kNoPart; }));
  EXPECT_NE(::GetCapture(), Bar().GetSafeHwnd());
}

// The pixels of `bar` from `along` to `along + count` against rows of one skin cell.
struct CellCheck {
  int along;
  int count;
  scroll::Part part;
  scroll::Look look;
  int cellRow;  // the cell's row (pixel) matching `along`; following pixels follow it
};
int Mismatches(const test::Pixels& bar, const test::Pixels& skin, const CellCheck& c) {
  const layout::Rect cell = scroll::Cell(scroll::CellColumn(true, c.part), c.look, k);
  int wrong = 0;
  for (int i = 0; i < c.count; ++i) {
    for (int x = 0; x < k; ++x) {
      if (bar.At(x, c.along + i) != skin.At(cell.left + x, cell.top + c.cellRow + i)) ++wrong;
    }
  }
  return wrong;
}

TEST_F(ScrollBarTest, TheBarIsDrawnFromTheSkinCellsInItsStates) {
  Fill(30);
  ASSERT_TRUE(PumpUntil([&] { return Bar().State().max == 29; }));
  list.Send(LB_SETTOPINDEX, 5);
  ASSERT_TRUE(PumpUntil([&] { return Bar().State().position == 5; }));
  const test::Pixels skinPixels = test::ReadBitmap(skin->bitmap.Get());
  const scroll::Geometry g = Bar().Geometry();
  const int length = kList.bottom - kList.top;
  ASSERT_EQ(g.thumbStart, 18 + 5 * 110 / 20);
  const int thumbEnd = g.thumbStart + g.thumbLength;
  const int middle = g.thumbLength - 2 * scroll::kThumbCap;
  const int tile = k - 2 * scroll::kThumbCap;
  auto check = [&](scroll::Look arrowLook, scroll::Look thumbLook, const char* what) {
    const test::Pixels bar = test::RenderClient(Bar());
    ASSERT_EQ(bar.width, k);
    ASSERT_EQ(bar.height, length);
    const CellCheck checks[] = {
        {0, k, scroll::kFirstArrow, arrowLook, 0},
        {length - k, k, scroll::kSecondArrow, scroll::Look::Normal, 0},
        // The track tiled from its start, before and after the thumb.
        {k, k, scroll::kTrackBefore, scroll::Look::Normal, 0},
        {2 * k, g.thumbStart - 2 * k, scroll::kTrackBefore, scroll::Look::Normal, 0},
        {thumbEnd, k, scroll::kTrackAfter, scroll::Look::Normal, 0},
        // The thumb's ends come from the ends of its cell, the middle tiles the cell's middle.
        {g.thumbStart, scroll::kThumbCap, scroll::kThumb, thumbLook, 0},
        {thumbEnd - scroll::kThumbCap, scroll::kThumbCap, scroll::kThumb, thumbLook, k - scroll::kThumbCap},
        {g.thumbStart + scroll::kThumbCap, tile, scroll::kThumb, thumbLook, scroll::kThumbCap},
        {g.thumbStart + scroll::kThumbCap + tile, tile, scroll::kThumb, thumbLook, scroll::kThumbCap},
    };
    ASSERT_GE(middle, 2 * tile);
    for (const CellCheck& c : checks) {
      EXPECT_EQ(Mismatches(bar, skinPixels, c), 0) << what << ": part " << c.part << " at " << c.along;
    }
  };
  check(scroll::Look::Normal, scroll::Look::Normal, "normal");
  // The pointer over the up arrow lights it; holding it presses it (at position 5 it scrolls).
  const POINT arrow = OnBar(5);
  MoveTo(arrow.x, arrow.y);
  ASSERT_TRUE(PumpUntil([&] { return Bar().HighlightedPart() == scroll::kFirstArrow; }));
  check(scroll::Look::Highlighted, scroll::Look::Normal, "hovered arrow");
  Mouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return Bar().PressedPart() == scroll::kFirstArrow && list.GetTopIndex() == 4; }));
  ::KillTimer(Bar(), CSkinScrollBar::kFirstRepeatTimer);  // hold it still for the picture
  PumpMessages();
  {
    const test::Pixels bar = test::RenderClient(Bar());
    EXPECT_EQ(Mismatches(bar, skinPixels, {0, k, scroll::kFirstArrow, scroll::Look::Pressed, 0}), 0);
  }
  // Leaving the pressed arrow with the button held draws it unpressed.
  MoveTo(arrow.x, OnBar(100).y);
  ASSERT_TRUE(PumpUntil([&] {
    const test::Pixels bar = test::RenderClient(Bar());
    return Mismatches(bar, skinPixels, {0, k, scroll::kFirstArrow, scroll::Look::Normal, 0}) == 0;
  }));
  Mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return Bar().PressedPart() == scroll::kNoPart; }));
}

TEST_F(ScrollBarTest, AShortListDisablesTheBarAndBothBarsMeetAtTheCorner) {
  Fill(3, WS_HSCROLL | LBS_DISABLENOSCROLL);
  list.Send(LB_SETHORIZONTALEXTENT, 600);
  ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(Bar()) && ::IsWindowVisible(frame->HorizontalBar()); }));
  // Maximum 2 is below the page of 9 items: nothing to scroll.
  ASSERT_TRUE(PumpUntil([&] { return !::IsWindowEnabled(Bar()); }));
  EXPECT_EQ(Bar().Geometry().thumbLength, 0);
  EXPECT_EQ(frame->CornerMode(), CSkinScrollWnd::kCornerRight);
  const test::Pixels frameShot = test::RenderClient(*frame);
  const test::Pixels skinPixels = test::ReadBitmap(skin->bitmap.Get());
  const layout::Rect corner = scroll::Cell(scroll::kCornerColumn, scroll::Look::Normal, k);
  int wrong = 0;
  for (int y = 0; y < k; ++y) {
    for (int x = 0; x < k; ++x) {
      if (frameShot.At(frameShot.width - k + x, frameShot.height - k + y) != skinPixels.At(corner.left + x, corner.top + y)) {
        ++wrong;
      }
    }
  }
  EXPECT_EQ(wrong, 0);
  // The horizontal bar: its arrows and track from the horizontal cells, k pixels high.
  CSkinScrollBar& across = frame->HorizontalBar();
  const test::Pixels h = test::RenderClient(across);
  ASSERT_EQ(h.height, k);
  ASSERT_EQ(h.width, kList.right - kList.left - k);
  const layout::Rect left = scroll::Cell(scroll::CellColumn(false, scroll::kFirstArrow), scroll::Look::Normal, k);
  const layout::Rect right = scroll::Cell(scroll::CellColumn(false, scroll::kSecondArrow), scroll::Look::Normal, k);
  const scroll::Geometry g = across.Geometry();
  ASSERT_GT(g.thumbLength, 0);
  const int trackAt = g.thumbStart + g.thumbLength;  // the track after the thumb starts its tiles here
  const layout::Rect track = scroll::Cell(scroll::CellColumn(false, scroll::kTrackAfter), scroll::Look::Normal, k);
  wrong = 0;
  for (int y = 0; y < k; ++y) {
    for (int x = 0; x < k; ++x) {
      if (h.At(x, y) != skinPixels.At(left.left + x, left.top + y)) ++wrong;
      if (h.At(h.width - k + x, y) != skinPixels.At(right.left + x, right.top + y)) ++wrong;
      if (x < h.width - k - trackAt && h.At(trackAt + x, y) != skinPixels.At(track.left + x, track.top + y)) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
  // Clicks on a disabled bar do nothing.
  Press(kList.bottom - kList.top - k - 5);
  Mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil(ButtonUp));
  PumpMessages();
  EXPECT_EQ(Bar().PressedPart(), scroll::kNoPart);
  EXPECT_EQ(list.GetTopIndex(), 0);
}

TEST_F(ScrollBarTest, TheWrapperGoesWithTheControl) {
  Fill(30);
  HWND frameWindow = frame->GetSafeHwnd();
  ASSERT_TRUE(::IsWindow(frameWindow));
  list.DestroyWindow();
  ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(frameWindow); }));
  EXPECT_EQ(CWnd::CaughtExceptions(), 0u);
}

TEST_F(ScrollBarTest, ABarShorterThanTwoCellsShowsTwoHalfArrows) {
  CSkinScrollBar bar;
  ASSERT_TRUE(bar.Create(SBS_VERT | WS_VISIBLE, RECT{300, 20, 300 + k, 50}, parent, 7));
  bar.SetBitmap(skin);
  SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 40, 0};
  ::SetScrollInfo(bar, SB_CTL, &info, TRUE);
  EXPECT_EQ(bar.State().position, 40);
  SCROLLINFO read{sizeof(read), SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(::GetScrollInfo(bar, SB_CTL, &read));
  EXPECT_EQ(read.nMax, 99);
  EXPECT_EQ(read.nPage, 10u);
  EXPECT_EQ(read.nPos, 40);
  const scroll::Geometry g = bar.Geometry();
  EXPECT_EQ(g.arrow, 15);
  EXPECT_EQ(g.track, 0);
  // Each half arrow is its whole cell squeezed: its first and last rows are the cell's.
  const test::Pixels pixels = test::RenderClient(bar);
  const test::Pixels skinPixels = test::ReadBitmap(skin->bitmap.Get());
  const layout::Rect up = scroll::Cell(0, scroll::Look::Normal, k);
  const layout::Rect down = scroll::Cell(1, scroll::Look::Normal, k);
  for (int x = 0; x < k; ++x) {
    EXPECT_EQ(pixels.At(x, 0), skinPixels.At(up.left + x, up.top));
    EXPECT_EQ(pixels.At(x, 29), skinPixels.At(down.left + x, down.bottom - 1));
  }
  // A click on the lower half asks the parent for a line down.
  parent.Clear();
  MoveTo(300 + k / 2, 20 + 25);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  Mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return bar.PressedPart() == scroll::kNoPart && ButtonUp(); }));
  PumpMessages();
  const auto requests = parent.Received(WM_VSCROLL);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(LOWORD(requests[0].w), SB_LINEDOWN);
  EXPECT_EQ(reinterpret_cast<HWND>(requests[0].l), bar.GetSafeHwnd());
}

TEST_F(ScrollBarTest, DraggingPastTheEndStopsAtTheLastPositionAndReleaseSendsItOnce) {
  CSkinScrollBar bar;
  ASSERT_TRUE(bar.Create(SBS_VERT | WS_VISIBLE, RECT{300, 20, 300 + k, 220}, parent, 8));
  bar.SetBitmap(skin);
  SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
  ::SetScrollInfo(bar, SB_CTL, &info, TRUE);  // a 16-pixel thumb at [18, 34), 148 pixels to move
  PumpMessages();
  parent.Clear();
  MoveTo(300 + k / 2, 20 + 25);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return bar.IsDragging(); }));
  MoveTo(300 + k / 2, 20 + 25 + 74);  // half the way: position 45
  ASSERT_TRUE(PumpUntil([&] { return bar.State().tracking == 45; }));
  MoveTo(300 + k / 2, kParent.bottom - kParent.top - 2);  // far past the end
  ASSERT_TRUE(PumpUntil([&] { return bar.State().tracking == 90; }));
  Mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !bar.IsDragging(); }));
  PumpMessages();
  std::vector<int> tracked;
  int finals = 0;
  for (const auto& m : parent.Received(WM_VSCROLL)) {
    EXPECT_EQ(reinterpret_cast<HWND>(m.l), bar.GetSafeHwnd());
    if (LOWORD(m.w) == SB_THUMBTRACK) tracked.push_back(HIWORD(m.w));
    if (LOWORD(m.w) == SB_THUMBPOSITION) {
      ++finals;
      EXPECT_EQ(HIWORD(m.w), 90);
    }
  }
  EXPECT_EQ(finals, 1);
  ASSERT_GE(tracked.size(), 2u);
  EXPECT_EQ(tracked.front(), 45);
  EXPECT_EQ(tracked.back(), 90);
  EXPECT_TRUE(std::is_sorted(tracked.begin(), tracked.end()));
  EXPECT_EQ(bar.State().position, 90);
  EXPECT_EQ(bar.State().tracking, -1);
}

}  // namespace
}  // namespace nx7::win32

namespace nx7::win32 {
namespace {

// <build>\screenshots\<name>: the test program sits in <build>/tests/skin.
std::wstring ScreenshotPath(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  for (int i = 0; i < 3; ++i) folder.resize(folder.find_last_of(L"\\/"));
  return folder + L"\\screenshots\\" + name;
}

// A macro's events as the macro page shows them, scrolled part way, saved as a picture; what the
// screen shows of the bar is what the bar draws (the list's own bar is nowhere to be seen).
TEST_F(ScrollBarTest, AMacroListOnTheScreen) {
  ASSERT_TRUE(list.Create(kList, parent, kId));
  wchar_t exe[MAX_PATH];
  ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring folder(exe);
  for (int i = 0; i < 3; ++i) folder.resize(folder.find_last_of(L"\\/"));
  list.SetProgramFolder(FromWide(folder) + u"\\");
  list.SetColors(RGB(236, 240, 244), RGB(42, 111, 184));
  const char16_t* keys[] = {u"A", u"S", u"D", u"F", u"Space", u"Enter"};
  for (int i = 0; i < 6; ++i) {
    list.AddItem(listbox::kDown, std::u16string(keys[i]) + u" down", 0x41);
    list.AddItem(listbox::kDelay, u"Delay " + FromWide(std::to_wstring(20 + 15 * i)) + u" ms", 20 + 15 * i);
    list.AddItem(listbox::kUp, std::u16string(keys[i]) + u" up", 0x41);
  }
  frame = SkinWndScroll(list, skin);
  ASSERT_NE(frame, nullptr);
  list.Send(LB_SETTOPINDEX, 4);
  list.SetCurSel(6);
  ASSERT_TRUE(PumpUntil([&] { return Bar().State().position == 4; }));
  ::RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessages();
  ::GdiFlush();
  Bitmap shot = test::CaptureScreen(RECT{kParent.left, kParent.top, kParent.left + 240, kParent.top + 240});
  EXPECT_TRUE(test::SavePng(shot.Get(), ScreenshotPath(L"list_box.png")));
  const test::Pixels screen = test::ReadBitmap(shot.Get());
  const test::Pixels drawn = test::RenderClient(Bar());
  int wrong = 0;
  for (int y = 0; y < drawn.height; ++y) {
    for (int x = 0; x < drawn.width; ++x) {
      if (screen.At(kList.right - k + x, kList.top + y) != drawn.At(x, y)) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
  // Renaming an item: the edit field lies over it, the rest of the list unchanged.
  ASSERT_TRUE(list.EditItem(7));
  ::RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessages();
  ::GdiFlush();
  Bitmap renaming = test::CaptureScreen(RECT{kParent.left, kParent.top, kParent.left + 240, kParent.top + 240});
  EXPECT_TRUE(test::SavePng(renaming.Get(), ScreenshotPath(L"list_box_rename.png")));
  const test::Pixels during = test::ReadBitmap(renaming.Get());
  const int editTop = kList.top + (7 - 4) * 20;
  int changedInside = 0, changedOutside = 0;
  for (int y = 0; y < during.height; ++y) {
    for (int x = 0; x < during.width; ++x) {
      if (during.At(x, y) == screen.At(x, y)) continue;
      (y >= editTop && y < editTop + 20 && x >= kList.left && x < kList.right - k ? changedInside : changedOutside)++;
    }
  }
  EXPECT_GT(changedInside, 100);
  EXPECT_EQ(changedOutside, 0);
  list.CancelEdit();
}

}  // namespace
}  // namespace nx7::win32
