#include "skin_test_support.h"

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/win32/wide.h"

namespace nx7::win32::test {

std::u16string WriteCoordinateBmp(const std::wstring& name, int width, int height, int tag) {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + name;
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;  // bottom-up, as BMP files usually are
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(stride * height);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::vector<char> rows(info.biSizeImage, 0);
  for (int y = 0; y < height; ++y) {
    char* row = rows.data() + static_cast<size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const COLORREF c = CoordinateColor(x, y, tag);
      row[x * 3 + 0] = static_cast<char>(GetBValue(c));
      row[x * 3 + 1] = static_cast<char>(GetGValue(c));
      row[x * 3 + 2] = static_cast<char>(GetRValue(c));
    }
  }
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  out.write(rows.data(), static_cast<std::streamsize>(rows.size()));
  return FromWide(path);
}

SharedSkinBitmap SharedCoordinatePicture(int width, int height, int tag) {
  auto picture = std::make_shared<SkinBitmap>();
  picture->bitmap = MakeCoordinateBitmap(width, height, tag);
  picture->width = width;
  picture->height = height;
  return picture;
}

int PieceTag(const Pixels& pixels, int left, int top) {
  if (pixels.data.empty()) return -1;
  const int tag = GetBValue(pixels.At(0, 0));
  for (int y = 0; y < pixels.height; ++y) {
    for (int x = 0; x < pixels.width; ++x) {
      if (pixels.At(x, y) != CoordinateColor(left + x, top + y, tag)) return -1;
    }
  }
  return tag;
}

}  // namespace nx7::win32::test
