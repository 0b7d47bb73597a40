#include "framework/handles.h"

#include <gtest/gtest.h>

#include "framework/ui_test_support.h"

namespace nx7::win32 {
namespace {

bool Alive(HGDIOBJ object) { return ::GetObjectType(object) != 0; }

TEST(Handles, OwningHandlesFreeWhatTheyHoldAndBorrowingOnesNever) {
  HBITMAP first = ::CreateBitmap(4, 4, 1, 32, nullptr);
  HBITMAP second = ::CreateBitmap(4, 4, 1, 32, nullptr);
  HBITMAP kept = nullptr;
  {
    Bitmap owner(first);
    BitmapRef borrowed = owner;
    { BitmapRef copy = borrowed; }
    EXPECT_TRUE(Alive(first));
    owner.Attach(second);  // frees the first
    EXPECT_FALSE(Alive(first));
    kept = owner.Detach();
    EXPECT_FALSE(owner);
  }
  EXPECT_TRUE(Alive(kept));  // given up by Detach
  {
    Bitmap moved(kept);
    Bitmap target = std::move(moved);
    EXPECT_FALSE(moved);
    EXPECT_EQ(target.Get(), kept);
  }
  EXPECT_FALSE(Alive(kept));
}

TEST(Handles, ScopeObjectsUndoTheirCalls) {
  ClientDc screen(nullptr);
  MemoryDc dc(::CreateCompatibleDC(screen));
  Bitmap target = test::MakeSolidBitmap(8, 8, RGB(0, 0, 0));
  HGDIOBJ original = ::GetCurrentObject(dc.Get(), OBJ_BITMAP);
  {
    SelectGuard select(dc.Get(), target.Get());
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), target.Get());
    {
      SavedDcState state(dc.Get());
      ::SetTextColor(dc.Get(), RGB(1, 2, 3));
    }
    EXPECT_NE(::GetTextColor(dc.Get()), RGB(1, 2, 3));
    {
      // Drawing goes off screen and arrives in one piece when the buffer closes.
      BufferedDc buffer(dc.Get(), RECT{2, 2, 6, 6});
      Brush red(::CreateSolidBrush(RGB(255, 0, 0)));
      RECT area{2, 2, 6, 6};
      ::FillRect(buffer, &area, red.Get());
      EXPECT_EQ(::GetPixel(dc.Get(), 3, 3), RGB(0, 0, 0));
    }
    EXPECT_EQ(::GetPixel(dc.Get(), 3, 3), RGB(255, 0, 0));
    EXPECT_EQ(::GetPixel(dc.Get(), 1, 1), RGB(0, 0, 0));
  }
  EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), original);
}

}  // namespace
}  // namespace nx7::win32
