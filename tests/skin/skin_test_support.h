#pragma once
// Pictures the skin tests make themselves: BMP files and shared pictures whose pixels tell
// where they came from (see CoordinateColor).
#include <windows.h>

#include <string>

#include "framework/ui_test_support.h"
#include "skin/skin_images_win32.h"

namespace nx7::win32::test {

// Writes a 24-bit BMP file of CoordinateColor pixels; returns its path.
std::u16string WriteCoordinateBmp(const std::wstring& name, int width, int height, int tag);
// A shared picture of CoordinateColor pixels.
SharedSkinBitmap SharedCoordinatePicture(int width, int height, int tag);

// Which coordinate picture `pixels` shows when it is the piece at (left, top) of it: the tag,
// or -1 when any pixel does not belong to that piece.
int PieceTag(const Pixels& pixels, int left, int top);

}  // namespace nx7::win32::test
