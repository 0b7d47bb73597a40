#include "skin/skin_images_win32.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/win32/wide.h"
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

}  // namespace
}  // namespace nx7::win32
