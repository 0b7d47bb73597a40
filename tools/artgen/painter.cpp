#include "painter.h"

#include <algorithm>
#include <cmath>

namespace nx7::artgen {

Colour Mix(Colour a, Colour b, double t) {
  return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

namespace {
void SetSource(cairo_t* cr, Colour c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }
}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width), height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GOOD);
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

void Canvas::Clear(Colour c) {
  cairo_save(cr_);
  cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
  SetSource(cr_, c);
  cairo_paint(cr_);
  cairo_restore(cr_);
}

void Canvas::FillRect(const Rect& r, Colour c) {
  cairo_rectangle(cr_, r.left, r.top, r.width(), r.height());
  SetSource(cr_, c);
  cairo_fill(cr_);
}

void Canvas::VerticalGradient(const Rect& r, Colour top, Colour bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, r.top, 0, r.bottom);
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
  cairo_rectangle(cr_, r.left, r.top, r.width(), r.height());
  cairo_set_source(cr_, p);
  cairo_fill(cr_);
  cairo_pattern_destroy(p);
}

void Canvas::RoundRect(const Rect& r, double radius) {
  const double x = r.left, y = r.top, w = r.width(), h = r.height();
  radius = std::min({radius, w / 2, h / 2});
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, x + w - radius, y + radius, radius, -M_PI / 2, 0);
  cairo_arc(cr_, x + w - radius, y + h - radius, radius, 0, M_PI / 2);
  cairo_arc(cr_, x + radius, y + h - radius, radius, M_PI / 2, M_PI);
  cairo_arc(cr_, x + radius, y + radius, radius, M_PI, 1.5 * M_PI);
  cairo_close_path(cr_);
}

void Canvas::FillRoundRect(const Rect& r, double radius, Colour c) {
  RoundRect(r, radius);
  SetSource(cr_, c);
  cairo_fill(cr_);
}

void Canvas::StrokeRoundRect(const Rect& r, double radius, Colour c, double width) {
  // Strokes sit on pixel centres so one-pixel lines stay crisp.
  const double h = width / 2;
  cairo_save(cr_);
  cairo_translate(cr_, h, h);
  RoundRect(Rect{r.left, r.top, r.right - static_cast<int>(width), r.bottom - static_cast<int>(width)}, radius);
  cairo_restore(cr_);
  SetSource(cr_, c);
  cairo_set_line_width(cr_, width);
  cairo_stroke(cr_);
}

void Canvas::GradientRoundRect(const Rect& r, double radius, Colour top, Colour bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, r.top, 0, r.bottom);
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
  RoundRect(r, radius);
  cairo_set_source(cr_, p);
  cairo_fill(cr_);
  cairo_pattern_destroy(p);
}

void Canvas::Polygon(const std::vector<Point>& points) {
  cairo_new_sub_path(cr_);
  for (const Point& p : points) cairo_line_to(cr_, p.x, p.y);
  cairo_close_path(cr_);
}

namespace {
// A region built from a polygon covers the pixels whose centres fall inside it; drawing the outline
// through pixel centres (+0.5) makes the painted shape match the button's window shape.
void QuadPath(cairo_t* cr, const Quad& q, double inset = 0) {
  double cx = 0, cy = 0;
  for (const Point& p : q.corners) {
    cx += p.x / 4.0;
    cy += p.y / 4.0;
  }
  cairo_new_sub_path(cr);
  for (const Point& p : q.corners) {
    const double dx = p.x - cx, dy = p.y - cy;
    const double len = std::sqrt(dx * dx + dy * dy);
    const double k = len > 0 ? (len - inset) / len : 1;
    cairo_line_to(cr, cx + dx * k + 0.5, cy + dy * k + 0.5);
  }
  cairo_close_path(cr);
}
}  // namespace

void Canvas::FillQuad(const Quad& q, Colour c) {
  QuadPath(cr_, q);
  SetSource(cr_, c);
  cairo_fill(cr_);
}

void Canvas::GradientQuad(const Quad& q, Colour top, Colour bottom) {
  const Rect b = q.bounds();
  cairo_pattern_t* p = cairo_pattern_create_linear(0, b.top, 0, b.bottom);
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
  QuadPath(cr_, q);
  cairo_set_source(cr_, p);
  cairo_fill(cr_);
  cairo_pattern_destroy(p);
}

void Canvas::StrokeQuad(const Quad& q, Colour c, double width) {
  QuadPath(cr_, q, width / 2 + 0.5);
  SetSource(cr_, c);
  cairo_set_line_width(cr_, width);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
  cairo_stroke(cr_);
}

void Canvas::Line(double x0, double y0, double x1, double y1, Colour c, double width) {
  cairo_move_to(cr_, x0, y0);
  cairo_line_to(cr_, x1, y1);
  SetSource(cr_, c);
  cairo_set_line_width(cr_, width);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr_);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
}

void Canvas::Circle(double cx, double cy, double radius, Colour c) {
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, cx, cy, radius, 0, 2 * M_PI);
  SetSource(cr_, c);
  cairo_fill(cr_);
}

void Canvas::Ring(double cx, double cy, double radius, Colour c, double width) {
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, cx, cy, radius, 0, 2 * M_PI);
  SetSource(cr_, c);
  cairo_set_line_width(cr_, width);
  cairo_stroke(cr_);
}

void Canvas::Glow(const Rect& r, double radius, Colour c, int spread) {
  for (int i = spread; i >= 1; --i) {
    Colour layer = c;
    layer.a = c.a * (1.0 - static_cast<double>(i) / (spread + 1)) / spread * 2;
    FillRoundRect(Rect{r.left - i, r.top - i, r.right + i, r.bottom + i}, radius + i, layer);
  }
}

PangoLayout* Canvas::Layout(const std::string& utf8, const Font& font, double pixels) {
  PangoLayout* layout = pango_cairo_create_layout(cr_);
  // Fixed rendering options, whatever the machine's font configuration says.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(pango_layout_get_context(layout), options);
  cairo_font_options_destroy(options);
  pango_layout_context_changed(layout);

  PangoFontDescription* desc = pango_font_description_from_string(
      font.cjk ? "Noto Sans CJK SC,DejaVu Sans" : "DejaVu Sans,Noto Sans CJK SC");
  pango_font_description_set_absolute_size(desc, pixels * PANGO_SCALE);
  pango_font_description_set_weight(desc, font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_layout_set_font_description(layout, desc);
  pango_font_description_free(desc);
  if (font.letterSpacing != 0) {
    PangoAttrList* attrs = pango_attr_list_new();
    pango_attr_list_insert(attrs, pango_attr_letter_spacing_new(static_cast<int>(font.letterSpacing * PANGO_SCALE)));
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);
  }
  pango_layout_set_text(layout, utf8.c_str(), -1);
  return layout;
}

double Canvas::TextWidth(const std::string& utf8, const Font& font) {
  PangoLayout* layout = Layout(utf8, font, font.pixels);
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout, nullptr, &logical);
  g_object_unref(layout);
  return logical.width;
}

void Canvas::Text(const Rect& r, const std::string& utf8, const Font& font, Colour c, Align align) {
  double pixels = font.pixels;
  PangoLayout* layout = Layout(utf8, font, pixels);
  PangoRectangle ink, logical;
  pango_layout_get_extents(layout, &ink, &logical);
  // Shrink until the text fits the rectangle's width (labels must never be cut).
  while (logical.width / double(PANGO_SCALE) > r.width() && pixels > 7) {
    g_object_unref(layout);
    pixels -= 0.5;
    layout = Layout(utf8, font, pixels);
    pango_layout_get_extents(layout, &ink, &logical);
  }
  const double w = logical.width / double(PANGO_SCALE);
  // Centre on the ink of a capital-height line so digits and Latin labels sit visually centred.
  const double inkTop = ink.y / double(PANGO_SCALE), inkHeight = ink.height / double(PANGO_SCALE);
  double x = r.left;
  if (align == Align::Centre) x = r.left + (r.width() - w) / 2;
  if (align == Align::Right) x = r.right - w;
  const double y = r.top + (r.height() - inkHeight) / 2 - inkTop;
  cairo_move_to(cr_, std::round(x), std::round(y));
  SetSource(cr_, c);
  pango_cairo_show_layout(cr_, layout);
  g_object_unref(layout);
}

const uint32_t* Canvas::Row(int y) {
  cairo_surface_flush(surface_);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  return reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * cairo_image_surface_get_stride(surface_));
}

}  // namespace nx7::artgen
