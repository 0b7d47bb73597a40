#pragma once
// Writers for the picture files the program loads: BMP (24-bit, or 32-bit with alpha), PNG with
// alpha, and multi-size ICO. Each writer returns false when the file cannot be written.
#include <string>
#include <vector>

#include "painter.h"

namespace nx7::artgen {

bool WriteBmp24(Canvas& canvas, const std::string& path);
bool WriteBmp32(Canvas& canvas, const std::string& path);
bool WritePng(Canvas& canvas, const std::string& path);
// One icon file holding every canvas as one image (square sizes; 256 is stored as PNG).
bool WriteIco(const std::vector<Canvas*>& images, const std::string& path);

}  // namespace nx7::artgen
