#include "image_files.h"

#include <cstdint>
#include <fstream>

namespace nx7::artgen {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

bool Save(const std::vector<uint8_t>& bytes, const std::string& path) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

// Cairo keeps premultiplied alpha; files want straight alpha.
void Unpremultiply(uint32_t px, uint8_t& r, uint8_t& g, uint8_t& b, uint8_t& a) {
  a = px >> 24;
  r = (px >> 16) & 0xFF;
  g = (px >> 8) & 0xFF;
  b = px & 0xFF;
  if (a != 0 && a != 255) {
    r = static_cast<uint8_t>((r * 255 + a / 2) / a);
    g = static_cast<uint8_t>((g * 255 + a / 2) / a);
    b = static_cast<uint8_t>((b * 255 + a / 2) / a);
  }
}

// BITMAPINFOHEADER; a negative height is never used so every reader takes the rows bottom-up.
void InfoHeader(std::vector<uint8_t>& out, int width, int height, int bits, uint32_t imageBytes) {
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, bits);
  Put32(out, 0);  // BI_RGB
  Put32(out, imageBytes);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
}

bool WriteBmp(Canvas& canvas, const std::string& path, int bits) {
  const int w = canvas.width(), h = canvas.height();
  const uint32_t rowBytes = ((w * bits / 8) + 3) & ~3u;
  const uint32_t imageBytes = rowBytes * h;
  std::vector<uint8_t> out;
  out.reserve(54 + imageBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + imageBytes);
  Put32(out, 0);
  Put32(out, 54);
  InfoHeader(out, w, h, bits, imageBytes);
  for (int y = h - 1; y >= 0; --y) {
    const uint32_t* row = canvas.Row(y);
    const size_t start = out.size();
    for (int x = 0; x < w; ++x) {
      uint8_t r, g, b, a;
      Unpremultiply(row[x], r, g, b, a);
      if (bits == 24 && a != 255) {
        // Opaque pictures are flattened on black.
        r = static_cast<uint8_t>(r * a / 255);
        g = static_cast<uint8_t>(g * a / 255);
        b = static_cast<uint8_t>(b * a / 255);
      }
      out.push_back(b);
      out.push_back(g);
      out.push_back(r);
      if (bits == 32) out.push_back(a);
    }
    while (out.size() - start < rowBytes) out.push_back(0);
  }
  return Save(out, path);
}

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

std::vector<uint8_t> PngBytes(Canvas& canvas) {
  std::vector<uint8_t> out;
  cairo_surface_flush(canvas.surface());
  cairo_surface_write_to_png_stream(canvas.surface(), AppendBytes, &out);
  return out;
}

}  // namespace

bool WriteBmp24(Canvas& canvas, const std::string& path) { return WriteBmp(canvas, path, 24); }
bool WriteBmp32(Canvas& canvas, const std::string& path) { return WriteBmp(canvas, path, 32); }

bool WritePng(Canvas& canvas, const std::string& path) {
  const std::vector<uint8_t> bytes = PngBytes(canvas);
  return !bytes.empty() && Save(bytes, path);
}

bool WriteIco(const std::vector<Canvas*>& images, const std::string& path) {
  std::vector<std::vector<uint8_t>> blobs;
  for (Canvas* c : images) {
    const int s = c->width();
    if (s >= 256) {
      blobs.push_back(PngBytes(*c));
      continue;
    }
    // Icon DIB: header with doubled height, 32-bit colour rows, then the 1-bit AND mask.
    std::vector<uint8_t> dib;
    const uint32_t maskRow = ((s + 31) / 32) * 4;
    InfoHeader(dib, s, s * 2, 32, s * s * 4 + maskRow * s);
    for (int y = s - 1; y >= 0; --y) {
      const uint32_t* row = c->Row(y);
      for (int x = 0; x < s; ++x) {
        uint8_t r, g, b, a;
        Unpremultiply(row[x], r, g, b, a);
        dib.push_back(b);
        dib.push_back(g);
        dib.push_back(r);
        dib.push_back(a);
      }
    }
    for (int y = s - 1; y >= 0; --y) {
      const uint32_t* row = c->Row(y);
      std::vector<uint8_t> mask(maskRow, 0);
      for (int x = 0; x < s; ++x)
        if ((row[x] >> 24) == 0) mask[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
      dib.insert(dib.end(), mask.begin(), mask.end());
    }
    blobs.push_back(std::move(dib));
  }
  std::vector<uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);  // icon
  Put16(out, static_cast<uint32_t>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    const int s = images[i]->width();
    out.push_back(s >= 256 ? 0 : static_cast<uint8_t>(s));
    out.push_back(s >= 256 ? 0 : static_cast<uint8_t>(s));
    out.push_back(0);  // no palette
    out.push_back(0);
    Put16(out, 1);   // planes
    Put16(out, 32);  // bits
    Put32(out, static_cast<uint32_t>(blobs[i].size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(blobs[i].size());
  }
  for (const auto& b : blobs) out.insert(out.end(), b.begin(), b.end());
  return Save(out, path);
}

}  // namespace nx7::artgen
