#include "skin/skin_images_win32.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/win32/wide.h"
#include "skin/gdiplus_draw_win32.h"
#include "skin/layout.h"
#include "skin/skin_prefetch_win32.h"
#include "skin_test_support.h"

namespace nx7::win32 {
namespace {

using test::CoordinateColor;

TEST(SkinImages, LoadSkinBitmapDecodesAFileWithItsSize) {
  const std::u16string path = test::WriteCoordinateBmp(L"nx7_skin_load.bmp", 37, 22, 9);
  SkinBitmap picture = LoadSkinBitmap(path);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture.width, 37);
  EXPECT_EQ(picture.height, 22);
  const test::Pixels pixels = test::ReadBitmap(picture.bitmap.Get());
  EXPECT_EQ(test::PieceTag(pixels, 0, 0), 9);
}

TEST(SkinImages, MissingOrBrokenFilesGiveAnEmptyPicture) {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring broken = std::wstring(folder) + L"nx7_skin_broken.bmp";
  std::ofstream(std::filesystem::path(broken), std::ios::binary) << "BM this is not a picture";
  const std::wstring empty = std::wstring(folder) + L"nx7_skin_empty.bmp";
  std::ofstream(std::filesystem::path(empty), std::ios::binary).close();
  for (const std::wstring& path : {std::wstring(folder) + L"nx7_no_such_file.bmp", broken, empty}) {
    SkinBitmap picture = LoadSkinBitmap(FromWide(path));
    EXPECT_FALSE(picture) << std::string(path.begin(), path.end());
    EXPECT_EQ(picture.width, 0);
    EXPECT_EQ(picture.height, 0);
  }
}

TEST(SkinImages, CutBitmapCopiesTheAreaOneToOne) {
  Bitmap page = test::MakeCoordinateBitmap(120, 80, 5);
  Bitmap piece = CutBitmap(page.Get(), 30, 20, 70, 45);
  ASSERT_TRUE(piece);
  const SIZE size = BitmapSize(piece.Get());
  EXPECT_EQ(size.cx, 40);
  EXPECT_EQ(size.cy, 25);
  EXPECT_EQ(test::PieceTag(test::ReadBitmap(piece.Get()), 30, 20), 5);
}

TEST(SkinImages, CutBitmapOfNothingGivesNothing) {
  Bitmap page = test::MakeCoordinateBitmap(20, 20, 1);
  EXPECT_FALSE(CutBitmap(nullptr, 0, 0, 10, 10));
  EXPECT_FALSE(CutBitmap(page.Get(), 10, 10, 10, 15));  // no width
  EXPECT_FALSE(CutBitmap(page.Get(), 10, 10, 5, 5));    // reversed
}

TEST(SkinImages, AMissingPngResourceLeavesTheImageAlone) {
  GdiplusImage image;
  EXPECT_FALSE(LoadPngResource(4242, image));
  EXPECT_FALSE(image);
}

TEST(SkinImages, SharedPicturesAreLoadedOnceAndFreedWithTheirLastHolder) {
  const std::u16string path = test::WriteCoordinateBmp(L"nx7_skin_shared.bmp", 64, 48, 3);
  const SharedBitmapUsage before = SharedBitmapsInUse();
  {
    SharedSkinBitmap first = SharedFileBitmap(path);
    SharedSkinBitmap second = SharedFileBitmap(path);
    ASSERT_TRUE(first && *first);
    EXPECT_EQ(first.get(), second.get());
    const SharedBitmapUsage during = SharedBitmapsInUse();
    EXPECT_EQ(during.pictures, before.pictures + 1);
    EXPECT_EQ(during.bytes - before.bytes, BitmapBytes(first->bitmap.Get()));
    EXPECT_GE(BitmapBytes(first->bitmap.Get()), 64u * 48u * 3u);
  }
  EXPECT_EQ(SharedBitmapsInUse().pictures, before.pictures);
  // A picture that cannot be loaded is not kept: the next request tries again.
  SharedSkinBitmap missing = SharedFileBitmap(u"C:\\nx7\\no\\such\\picture.bmp");
  ASSERT_TRUE(missing);
  EXPECT_FALSE(*missing);
  EXPECT_EQ(SharedBitmapsInUse().pictures, before.pictures);
}

// Read ahead on a thread of its own, the pictures are the very ones the windows then ask for; a
// file that cannot be read is left out, and once let go nothing of them stays.
TEST(SkinImages, PrefetchedPicturesAreTheOnesTheCacheThenGives) {
  const std::u16string a = test::WriteCoordinateBmp(L"nx7_prefetch_a.bmp", 40, 30, 4);
  const std::u16string b = test::WriteCoordinateBmp(L"nx7_prefetch_b.bmp", 20, 10, 5);
  const SharedBitmapUsage before = SharedBitmapsInUse();
  SkinPrefetch prefetch;
  constexpr unsigned kNoSuchResource = 65000;
  prefetch.Start({a, u"C:\\nx7\\no\\such\\picture.bmp", b}, {unsigned(layout::resource::kScrollSkin), kNoSuchResource},
                 u"C:\\nx7\\no\\such\\thumb.png");
  prefetch.Finish();
  ASSERT_EQ(prefetch.Held().size(), 3u);
  EXPECT_EQ(SharedBitmapsInUse().pictures, before.pictures + 3);
  EXPECT_EQ(SharedResourceBitmap(layout::resource::kScrollSkin).get(), prefetch.Held()[2].get());
  const SharedSkinBitmap taken = SharedFileBitmap(b);
  EXPECT_EQ(taken.get(), prefetch.Held()[1].get());
  EXPECT_EQ(SharedFileBitmap(a).get(), prefetch.Held()[0].get());
  EXPECT_EQ(test::PieceTag(test::ReadBitmap(taken->bitmap.Get()), 0, 0), 5);
  prefetch.Release();
  EXPECT_TRUE(prefetch.Held().empty());
  EXPECT_EQ(SharedBitmapsInUse().pictures, before.pictures + 1);  // the one taken stays with its taker
}

// A GDI+ image of a picture shows its pixels, read in place from what the BMP reader made and
// copied from any other bitmap: an area copied from it holds the same colours, opaque.
TEST(SkinImages, AnImageOfAPictureShowsItsPixels) {
  constexpr int kWidth = 30, kHeight = 20, kTag = 7;
  const ClientDc screen(nullptr);
  auto painted = [&](Bitmap bitmap) {
    SkinBitmap picture;
    if (!bitmap) return picture;
    {
      const BitmapDc dc(screen.Get(), bitmap.Get());
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) ::SetPixel(dc.Get(), x, y, test::CoordinateColor(x, y, kTag));
    }
    picture.bitmap = std::move(bitmap);
    picture.width = kWidth;
    picture.height = kHeight;
    return picture;
  };
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, kWidth, kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  struct Case {
    const char* name;
    SkinBitmap picture;
  } cases[] = {
      {"read by the BMP reader", LoadSkinBitmap(test::WriteCoordinateBmp(L"nx7_image_over.bmp", kWidth, kHeight, kTag))},
      {"bottom-up DIB", painted(Bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0)))},
      {"device bitmap", painted(Bitmap(::CreateCompatibleBitmap(screen.Get(), kWidth, kHeight)))}};
  EXPECT_TRUE(cases[0].picture.topDown32);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(c.picture);
    const GdiplusImage image = ImageOverBitmap(c.picture);
    ASSERT_TRUE(image);
    const GdiplusImage area = CopyImageArea(image.Get(), 3, 5, 10, 7);
    ASSERT_TRUE(area);
    int wrong = 0;
    for (int y = 0; y < 7; ++y) {
      for (int x = 0; x < 10; ++x) {
        Gdiplus::ARGB argb = 0;
        Gdiplus::DllExports::GdipBitmapGetPixel(reinterpret_cast<Gdiplus::GpBitmap*>(area.Get()), x, y, &argb);
        const COLORREF want = test::CoordinateColor(3 + x, 5 + y, kTag);
        const Gdiplus::ARGB expected =
            0xFF000000u | (GetRValue(want) << 16) | (GetGValue(want) << 8) | GetBValue(want);
        if (argb != expected) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0);
  }
  EXPECT_FALSE(ImageOverBitmap(SkinBitmap()));
}

}  // namespace
}  // namespace nx7::win32
