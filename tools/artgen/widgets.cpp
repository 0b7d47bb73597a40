#include "widgets.h"

#include <algorithm>
#include <cmath>

namespace nx7::artgen {
namespace p = palette;

Font Label(double pixels, bool chinese, bool bold) {
  Font f;
  f.pixels = pixels;
  f.cjk = chinese;
  f.bold = bold;
  return f;
}

void PushButton(Canvas& c, const Rect& r, Look look, const std::string& label, const Font& font) {
  const double radius = std::min(5.0, r.height() / 2.0);
  switch (look) {
    case Look::Normal:
      c.GradientRoundRect(r, radius, p::kRaised, Mix(p::kRaised, p::kPanel, 0.6));
      c.StrokeRoundRect(r, radius, p::kLine);
      break;
    case Look::Over:
      c.GradientRoundRect(r, radius, p::kRaisedHot, p::kRaised);
      c.StrokeRoundRect(r, radius, p::kAccent);
      break;
    case Look::Down:
      c.GradientRoundRect(r, radius, p::kAccent, p::kAccentDeep);
      c.StrokeRoundRect(r, radius, Mix(p::kAccent, p::kTextBright, 0.3));
      break;
  }
  if (!label.empty()) {
    const Colour text = look == Look::Down ? p::kTextOnAccent : look == Look::Over ? p::kTextBright : p::kText;
    c.Text(Rect{r.left + 4, r.top, r.right - 4, r.bottom}, label, font, text);
  }
}

void AccentButton(Canvas& c, const Rect& r, Look look, const std::string& label, const Font& font) {
  const double radius = std::min(5.0, r.height() / 2.0);
  const Colour top = look == Look::Over ? Mix(p::kAccent, p::kTextBright, 0.2) : look == Look::Down ? p::kAccentDeep : p::kAccent;
  const Colour bottom = look == Look::Down ? Mix(p::kAccentDeep, p::kBase, 0.3) : p::kAccentDeep;
  if (look == Look::Over) c.Glow(r, radius, p::kAccentGlow, 4);
  c.GradientRoundRect(r, radius, top, bottom);
  c.Text(r, label, font, look == Look::Down ? p::kTextBright : p::kTextOnAccent);
}

void Chip(Canvas& c, const Rect& r, Look look, const std::string& label, const Font& font) {
  const double radius = r.height() / 2.0;
  switch (look) {
    case Look::Normal:
      c.FillRoundRect(r, radius, p::kRaised);
      c.StrokeRoundRect(r, radius, p::kLine);
      break;
    case Look::Over:
      c.FillRoundRect(r, radius, p::kRaisedHot);
      c.StrokeRoundRect(r, radius, p::kAccent);
      break;
    case Look::Down:
      c.GradientRoundRect(r, radius, p::kAccent, p::kAccentDeep);
      break;
  }
  const Colour text = look == Look::Down ? p::kTextOnAccent : look == Look::Over ? p::kTextBright : p::kText;
  c.Text(Rect{r.left + 2, r.top, r.right - 2, r.bottom}, label, font, text);
}

namespace {
Rect IndicatorBox(const Rect& r) {
  const int s = std::min(r.height() - 2, 14);
  const int top = r.top + (r.height() - s) / 2;
  return Rect{r.left + 1, top, r.left + 1 + s, top + s};
}
}  // namespace

void RadioOption(Canvas& c, const Rect& r, Look look, const std::string& label, const Font& font) {
  const Rect box = IndicatorBox(r);
  const double cx = (box.left + box.right) / 2.0, cy = (box.top + box.bottom) / 2.0;
  const double radius = box.width() / 2.0;
  c.Circle(cx, cy, radius, p::kInset);
  c.Ring(cx, cy, radius - 0.5, look == Look::Normal ? p::kLineBright : p::kAccent, 1);
  if (look == Look::Down) c.Circle(cx, cy, radius - 3.5, p::kAccent);
  if (look == Look::Over) c.Circle(cx, cy, radius - 3.5, p::kAccentGlow);
  if (!label.empty()) {
    const Colour text = look == Look::Normal ? p::kText : p::kTextBright;
    c.Text(Rect{box.right + 6, r.top, r.right, r.bottom}, label, font, text, Align::Left);
  }
}

void CheckBox(Canvas& c, const Rect& r, Look look) {
  const int s = std::min(r.width(), r.height());
  const Rect box{r.left + (r.width() - s) / 2, r.top + (r.height() - s) / 2, r.left + (r.width() - s) / 2 + s, r.top + (r.height() - s) / 2 + s};
  c.FillRoundRect(box, 3, look == Look::Down ? p::kAccent : p::kInset);
  c.StrokeRoundRect(box, 3, look == Look::Normal ? p::kLineBright : p::kAccent);
  if (look == Look::Down) {
    cairo_t* cr = c.cr();
    const double x = box.left, y = box.top, w = box.width();
    cairo_move_to(cr, x + w * 0.24, y + w * 0.52);
    cairo_line_to(cr, x + w * 0.43, y + w * 0.70);
    cairo_line_to(cr, x + w * 0.77, y + w * 0.30);
    cairo_set_source_rgb(cr, p::kTextOnAccent.r, p::kTextOnAccent.g, p::kTextOnAccent.b);
    cairo_set_line_width(cr, std::max(1.5, w / 8.0));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  }
}

void CheckOption(Canvas& c, const Rect& r, Look look, const std::string& label, const Font& font) {
  const Rect box = IndicatorBox(r);
  CheckBox(c, box, look);
  if (!label.empty()) {
    const Colour text = look == Look::Normal ? p::kText : p::kTextBright;
    c.Text(Rect{box.right + 6, r.top, r.right, r.bottom}, label, font, text, Align::Left);
  }
}

void SlantButton(Canvas& c, const Quad& q, Look look, const std::string& label, const Font& font) {
  switch (look) {
    case Look::Normal:
      c.GradientQuad(q, Hex(0x18202A), Hex(0x11161C));
      c.StrokeQuad(q, p::kLine);
      break;
    case Look::Over:
      c.GradientQuad(q, Hex(0x253241), Hex(0x18202A));
      c.StrokeQuad(q, p::kAccent);
      break;
    case Look::Down:
      c.GradientQuad(q, Mix(p::kAccent, p::kTextBright, 0.1), p::kAccentDeep);
      c.StrokeQuad(q, Mix(p::kAccent, p::kTextBright, 0.35));
      break;
  }
  // Label centred on the middle of the outline.
  double cx = 0;
  for (const Point& pt : q.corners) cx += pt.x / 4.0;
  const Rect b = q.bounds();
  const int half = b.width() / 2 - 14;
  const Rect text{static_cast<int>(cx) - half, b.top, static_cast<int>(cx) + half, b.bottom};
  const Colour colour = look == Look::Down ? p::kTextOnAccent : look == Look::Over ? p::kTextBright : p::kText;
  c.Text(text, label, font, colour);
}

void SliderGroove(Canvas& c, const Rect& r, Colour fillFrom, Colour fillTo) {
  // The thumb is bottom-aligned in the track: centre the groove on the thumb's middle.
  const Size thumb = layout::art::kSliderThumb;
  const double cy = r.bottom - std::min(r.height(), thumb.height) / 2.0;
  const Rect groove{r.left + 1, static_cast<int>(std::round(cy - 2)), r.right - 1, static_cast<int>(std::round(cy + 2))};
  c.FillRoundRect(groove, 2, p::kInset);
  c.StrokeRoundRect(groove, 2, p::kLineBright);
  (void)fillFrom;
  (void)fillTo;
  // A faint scale above the groove where there is room.
  if (r.height() >= 12) {
    for (int i = 0; i <= 10; ++i) {
      const double x = r.left + 5 + (r.width() - 10) * i / 10.0;
      c.Line(std::round(x) + 0.5, r.top + 1, std::round(x) + 0.5, r.top + (i % 5 == 0 ? 4 : 2.5), Hex(0x3C4B5A, 0.6), 1);
    }
  }
}

void Inset(Canvas& c, const Rect& r, double radius) {
  c.FillRoundRect(r, radius, p::kInset);
  c.StrokeRoundRect(r, radius, p::kLine);
}

void Panel(Canvas& c, const Rect& r, const std::string& title, const Font& font) {
  c.GradientRoundRect(r, 6, Hex(0x141A21), Hex(0x0F1318));
  c.StrokeRoundRect(r, 6, p::kLine);
  if (!title.empty()) {
    const double w = c.TextWidth(title, font);
    const Rect t{r.left + 12, r.top - 8, r.left + 12 + static_cast<int>(w) + 12, r.top + 8};
    c.FillRect(Rect{t.left, r.top - 1, t.right, r.top + 2}, Hex(0x141A21));
    c.Text(Rect{t.left + 6, t.top, t.right, t.bottom}, title, font, p::kAccent, Align::Left);
  }
}

void SectionTitle(Canvas& c, const Rect& r, const std::string& title, const Font& font) {
  c.FillRoundRect(Rect{r.left, r.top + r.height() / 2 - 5, r.left + 3, r.top + r.height() / 2 + 5}, 1, p::kAccent);
  c.Text(Rect{r.left + 9, r.top, r.right, r.bottom}, title, font, p::kTextBright, Align::Left);
}

void CloseGlyph(Canvas& c, const Rect& r, Look look, bool danger) {
  const Colour hot = danger ? Hex(0xD8434E) : p::kAccent;
  if (look != Look::Normal) c.FillRoundRect(Rect{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2}, 4, look == Look::Down ? Mix(hot, p::kBase, 0.35) : hot);
  const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0, s = std::min(r.width(), r.height()) * 0.17;
  const Colour ink = look == Look::Normal ? p::kText : p::kTextBright;
  c.Line(cx - s, cy - s, cx + s, cy + s, ink, 1.6);
  c.Line(cx - s, cy + s, cx + s, cy - s, ink, 1.6);
}

void MinimiseGlyph(Canvas& c, const Rect& r, Look look) {
  if (look != Look::Normal) c.FillRoundRect(Rect{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2}, 4, look == Look::Down ? p::kAccentDeep : p::kRaisedHot);
  const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0, s = std::min(r.width(), r.height()) * 0.2;
  c.Line(cx - s, cy + 2.5, cx + s, cy + 2.5, look == Look::Normal ? p::kText : p::kTextBright, 1.6);
}

void ArrowButton(Canvas& c, const Rect& r, Look look, bool up) {
  c.FillRoundRect(r, 2, look == Look::Down ? p::kAccent : look == Look::Over ? p::kRaisedHot : p::kRaised);
  const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
  const double w = std::max(2.0, std::min(r.width(), r.height() * 2) * 0.28), h = w * 0.7;
  cairo_t* cr = c.cr();
  cairo_move_to(cr, cx - w, up ? cy + h / 2 : cy - h / 2);
  cairo_line_to(cr, cx + w, up ? cy + h / 2 : cy - h / 2);
  cairo_line_to(cr, cx, up ? cy - h / 2 : cy + h / 2);
  cairo_close_path(cr);
  const Colour ink = look == Look::Down ? p::kTextOnAccent : look == Look::Over ? p::kTextBright : p::kText;
  cairo_set_source_rgb(cr, ink.r, ink.g, ink.b);
  cairo_fill(cr);
}

void Texture(Canvas& c, const Rect& r, Colour line, int spacing) {
  cairo_t* cr = c.cr();
  cairo_save(cr);
  cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
  cairo_clip(cr);
  for (int x = r.left - r.height(); x < r.right; x += spacing) {
    cairo_move_to(cr, x, r.bottom);
    cairo_line_to(cr, x + r.height(), r.top);
  }
  cairo_set_source_rgba(cr, line.r, line.g, line.b, line.a);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_restore(cr);
}

}  // namespace nx7::artgen
