#pragma once
// Drawing helpers over cairo and pango for the artwork generator: one palette, anti-aliased shapes
// and text laid out with fixed font families, so every run paints the same pixels.
#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "skin/layout.h"

namespace nx7::artgen {

using layout::Point;
using layout::Quad;
using layout::Rect;
using layout::Size;

struct Colour {
  double r = 0, g = 0, b = 0, a = 1;
};

// 0xRRGGBB as written in design tools.
constexpr Colour Hex(uint32_t rgb, double alpha = 1.0) {
  return Colour{((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
}
// 0x00BBGGRR as the program stores colours.
constexpr Colour FromColorRef(uint32_t bgr) {
  return Colour{(bgr & 0xFF) / 255.0, ((bgr >> 8) & 0xFF) / 255.0, ((bgr >> 16) & 0xFF) / 255.0, 1.0};
}
Colour Mix(Colour a, Colour b, double t);

// The theme: graphite surfaces, one cyan accent, warm amber for marks and trophies.
namespace palette {
inline constexpr Colour kBase = Hex(0x0B0E12);
inline constexpr Colour kPanel = Hex(0x12171D);
inline constexpr Colour kRaised = Hex(0x1B222A);
inline constexpr Colour kRaisedHot = Hex(0x24303B);
inline constexpr Colour kLine = Hex(0x2B3642);
inline constexpr Colour kLineBright = Hex(0x3C4B5A);
inline constexpr Colour kAccent = Hex(0x22B8E6);
inline constexpr Colour kAccentDeep = Hex(0x0A6E9C);
inline constexpr Colour kAccentGlow = Hex(0x22B8E6, 0.35);
inline constexpr Colour kAmber = Hex(0xF2A93B);
inline constexpr Colour kText = Hex(0xBDBDC8);
inline constexpr Colour kTextDim = Hex(0x6F7C86);
inline constexpr Colour kTextBright = Hex(0xFFFFFF);
inline constexpr Colour kTextOnAccent = Hex(0x081A24);
inline constexpr Colour kInset = Hex(0x080A0D);
}  // namespace palette

// The three looks of every whole-window picture.
enum class Look { Normal, Over, Down };

enum class Align { Left, Centre, Right };

struct Font {
  double pixels = 13;
  bool bold = false;
  bool cjk = false;  // prefer the CJK family (for Chinese labels)
  double letterSpacing = 0;  // in pixels
};

class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  cairo_t* cr() { return cr_; }
  cairo_surface_t* surface() { return surface_; }

  void Clear(Colour c);
  void FillRect(const Rect& r, Colour c);
  void VerticalGradient(const Rect& r, Colour top, Colour bottom);
  void RoundRect(const Rect& r, double radius);  // path only
  void FillRoundRect(const Rect& r, double radius, Colour c);
  void StrokeRoundRect(const Rect& r, double radius, Colour c, double width = 1);
  void GradientRoundRect(const Rect& r, double radius, Colour top, Colour bottom);
  void Polygon(const std::vector<Point>& points);  // path only
  void FillQuad(const Quad& q, Colour c);
  void GradientQuad(const Quad& q, Colour top, Colour bottom);
  void StrokeQuad(const Quad& q, Colour c, double width = 1);
  void Line(double x0, double y0, double x1, double y1, Colour c, double width = 1);
  void Circle(double cx, double cy, double radius, Colour c);
  void Ring(double cx, double cy, double radius, Colour c, double width);
  void Glow(const Rect& r, double radius, Colour c, int spread);

  // Text fitted into a rectangle, vertically centred; shrinks to fit the width when needed.
  void Text(const Rect& r, const std::string& utf8, const Font& font, Colour c, Align align = Align::Centre);
  // Width in pixels the text would take.
  double TextWidth(const std::string& utf8, const Font& font);

  // Pixels as 0xAARRGGBB, premultiplied (cairo's own layout).
  const uint32_t* Row(int y);

 private:
  PangoLayout* Layout(const std::string& utf8, const Font& font, double pixels);
  int width_;
  int height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

}  // namespace nx7::artgen
