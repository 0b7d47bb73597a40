#include "framework/handles.h"

#include <gtest/gtest.h>

#include <type_traits>

#include "framework/ui_test_support.h"

namespace nx7::win32 {
namespace {

// An owning handle is never copied and never turns into its raw value by itself: `Bitmap b(a)`
// (two owners, one bitmap freed twice) and passing an owner where a raw handle is expected do not
// compile. Borrowing handles copy and convert freely.
static_assert(!std::is_constructible_v<Bitmap, Bitmap&>);
static_assert(!std::is_constructible_v<Bitmap, const Bitmap&>);
static_assert(!std::is_convertible_v<Bitmap, HBITMAP>);
static_assert(!std::is_convertible_v<const Font&, HFONT>);
static_assert(!std::is_convertible_v<HBITMAP, Bitmap>);  // adopting a raw handle is explicit
static_assert(!std::is_constructible_v<Event, Event&>);
static_assert(!std::is_convertible_v<RegistryKey, HKEY>);
static_assert(!std::is_convertible_v<OwnedFile, HANDLE>);
static_assert(std::is_nothrow_move_constructible_v<Bitmap>);
static_assert(std::is_convertible_v<const Bitmap&, BitmapRef>);
static_assert(std::is_convertible_v<BitmapRef, HBITMAP>);
static_assert(!std::is_constructible_v<BitmapRef, Bitmap&&>);  // never borrowed from a temporary

bool Alive(HGDIOBJ object) { return ::GetObjectType(object) != 0; }

TEST(Handles, OwningHandlesFreeWhatTheyHoldAndBorrowingOnesNever) {
  HBITMAP first = ::CreateBitmap(4, 4, 1, 32, nullptr);
  HBITMAP second = ::CreateBitmap(4, 4, 1, 32, nullptr);
  HBITMAP kept = nullptr;
  {
    Bitmap owner(first);
    BitmapRef borrowed = owner;
    { [[maybe_unused]] BitmapRef copy = borrowed; }
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

bool KernelObjectOpen(HANDLE h) {
  DWORD flags = 0;
  return ::GetHandleInformation(h, &flags) != FALSE;
}

TEST(Handles, EveryKindIsFreedByItsOwnCallAndKnowsItsNoneValue) {
  HANDLE rawEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  {
    Event event(rawEvent);
    EXPECT_TRUE(KernelObjectOpen(rawEvent));
  }
  EXPECT_FALSE(KernelObjectOpen(rawEvent));

  // A file's "none" is INVALID_HANDLE_VALUE, not null.
  OwnedFile missing(::CreateFileW(L"Z:\\no\\such\\file.bin", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.Get(), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(OwnedFile());
  EXPECT_FALSE(Event());

  RegistryKey key;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.Put()), ERROR_SUCCESS);
  EXPECT_TRUE(key);
  EXPECT_TRUE(key.Reset());  // RegCloseKey succeeded
  EXPECT_FALSE(key);

  GlobalMemory block(::GlobalAlloc(GMEM_MOVEABLE, 16));
  ASSERT_TRUE(block);
  EXPECT_TRUE(block.Reset());  // GlobalFree succeeded

  HMODULE raw = ::LoadLibraryW(L"version.dll");
  ASSERT_NE(raw, nullptr);
  {
    Module module(raw);
    Module moved = std::move(module);
    EXPECT_FALSE(module);
    EXPECT_EQ(moved.Get(), raw);
  }
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

TEST(Handles, KeptBuffersServeNestedPaintsAndStartEachPaintClean) {
  ClientDc screen(nullptr);
  MemoryDc dc(::CreateCompatibleDC(screen));
  Bitmap target = test::MakeSolidBitmap(40, 40, RGB(0, 0, 0));
  SelectGuard select(dc.Get(), target.Get());
  Brush red(::CreateSolidBrush(RGB(255, 0, 0)));
  Brush blue(::CreateSolidBrush(RGB(0, 0, 255)));
  {
    // A paint that leaves a clip region, a colour and an origin behind in its buffer's DC.
    BufferedDc buffer(dc.Get(), RECT{0, 0, 10, 10});
    Region corner(::CreateRectRgn(0, 0, 2, 2));
    ::SelectClipRgn(buffer, corner.Get());
    ::SetTextColor(buffer, RGB(9, 9, 9));
    RECT all{0, 0, 10, 10};
    ::FillRect(buffer, &all, blue.Get());
  }
  {
    // The next paint of a small area gets the same kind of buffer, without any of that.
    BufferedDc outer(dc.Get(), RECT{10, 10, 30, 30});
    EXPECT_NE(::GetTextColor(outer), RGB(9, 9, 9));
    RECT outerArea{10, 10, 30, 30};
    ::FillRect(outer, &outerArea, red.Get());
    {
      // A paint inside a paint has a buffer of its own.
      BufferedDc inner(dc.Get(), RECT{0, 20, 10, 30});
      EXPECT_NE(inner.Get(), outer.Get());
      RECT innerArea{0, 20, 10, 30};
      ::FillRect(inner, &innerArea, blue.Get());
    }
    EXPECT_EQ(::GetPixel(dc.Get(), 5, 25), RGB(0, 0, 255));
    EXPECT_EQ(::GetPixel(dc.Get(), 20, 20), RGB(0, 0, 0));  // not yet copied
  }
  EXPECT_EQ(::GetPixel(dc.Get(), 20, 20), RGB(255, 0, 0));
  EXPECT_EQ(::GetPixel(dc.Get(), 29, 29), RGB(255, 0, 0));  // the first paint's clipping is gone
  EXPECT_EQ(::GetPixel(dc.Get(), 1, 1), RGB(0, 0, 255));  // the first, clipped fill
  EXPECT_EQ(::GetPixel(dc.Get(), 31, 31), RGB(0, 0, 0));

  // An area larger than the kept buffers still arrives whole.
  const int side = 300;
  static_assert(side * side > BufferedDc::kKeptBufferPixels);
  MemoryDc bigDc(::CreateCompatibleDC(screen));
  Bitmap big = test::MakeSolidBitmap(side, side, RGB(0, 0, 0));
  SelectGuard selectBig(bigDc.Get(), big.Get());
  {
    BufferedDc buffer(bigDc.Get(), RECT{0, 0, side, side});
    RECT all{0, 0, side, side};
    ::FillRect(buffer, &all, red.Get());
  }
  EXPECT_EQ(::GetPixel(bigDc.Get(), side - 1, side - 1), RGB(255, 0, 0));
}

}  // namespace
}  // namespace nx7::win32
