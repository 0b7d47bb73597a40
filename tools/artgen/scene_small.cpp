// Flags, menu frame, scroll-bar cells, list icons, slider thumb, category-menu rows, icons.
#include <cmath>

#include "scenes.h"
#include "widgets.h"

namespace nx7::artgen {
namespace p = palette;

namespace {

void Rgb(cairo_t* cr, uint32_t rgb) { cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0); }

void Bands(cairo_t* cr, double w, double h, bool vertical, std::initializer_list<uint32_t> colours) {
  const double n = static_cast<double>(colours.size());
  int i = 0;
  for (uint32_t col : colours) {
    if (vertical) cairo_rectangle(cr, w * i / n, 0, w / n + 0.01, h);
    else cairo_rectangle(cr, 0, h * i / n, w, h / n + 0.01);
    Rgb(cr, col);
    cairo_fill(cr);
    ++i;
  }
}

void Star(cairo_t* cr, double cx, double cy, double r, double rotation) {
  for (int i = 0; i < 10; ++i) {
    const double a = rotation - M_PI / 2 + i * M_PI / 5;
    const double rr = i % 2 == 0 ? r : r * 0.382;
    cairo_line_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a));
  }
  cairo_close_path(cr);
}

// Flag drawn on a 30 x 20 design grid, stretched to the canvas.
void FlagDesign(cairo_t* cr, int languageId) {
  const double w = 30, h = 20;
  switch (languageId) {
    case 1:
    case 12: {  // Chinese, and Trad.Chinese which shows the same picture
      Rgb(cr, 0xDE2910);
      cairo_paint(cr);
      Rgb(cr, 0xFFDE00);
      Star(cr, 5, 5, 3, 0);
      cairo_fill(cr);
      const double small[4][2] = {{10, 2}, {12, 4}, {12, 7}, {10, 9}};
      for (auto& s : small) {
        Star(cr, s[0], s[1], 1, std::atan2(5 - s[1], 5 - s[0]) + M_PI / 2);
        cairo_fill(cr);
      }
      break;
    }
    case 2: {  // English: the Union flag
      Rgb(cr, 0x012169);
      cairo_paint(cr);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
      cairo_move_to(cr, 0, 0); cairo_line_to(cr, w, h);
      cairo_move_to(cr, w, 0); cairo_line_to(cr, 0, h);
      Rgb(cr, 0xFFFFFF); cairo_set_line_width(cr, 4); cairo_stroke(cr);
      cairo_move_to(cr, 0, 0); cairo_line_to(cr, w, h);
      cairo_move_to(cr, w, 0); cairo_line_to(cr, 0, h);
      Rgb(cr, 0xC8102E); cairo_set_line_width(cr, 1.4); cairo_stroke(cr);
      cairo_rectangle(cr, 0, h / 2 - 3.3, w, 6.6); cairo_rectangle(cr, w / 2 - 3.3, 0, 6.6, h);
      Rgb(cr, 0xFFFFFF); cairo_fill(cr);
      cairo_rectangle(cr, 0, h / 2 - 2, w, 4); cairo_rectangle(cr, w / 2 - 2, 0, 4, h);
      Rgb(cr, 0xC8102E); cairo_fill(cr);
      break;
    }
    case 3: Bands(cr, w, h, true, {0x0055A4, 0xFFFFFF, 0xEF4135}); break;
    case 4: {  // Korean
      Rgb(cr, 0xFFFFFF);
      cairo_paint(cr);
      const double cx = w / 2, cy = h / 2, r = 5;
      cairo_arc(cr, cx, cy, r, M_PI, 2 * M_PI); Rgb(cr, 0xCD2E3A); cairo_fill(cr);
      cairo_arc(cr, cx, cy, r, 0, M_PI); Rgb(cr, 0x0047A0); cairo_fill(cr);
      cairo_arc(cr, cx - r / 2, cy, r / 2, 0, 2 * M_PI); Rgb(cr, 0xCD2E3A); cairo_fill(cr);
      cairo_arc(cr, cx + r / 2, cy, r / 2, 0, 2 * M_PI); Rgb(cr, 0x0047A0); cairo_fill(cr);
      // The four trigrams, as short bars turned towards the centre.
      const double corners[4][2] = {{5, 4}, {25, 4}, {25, 16}, {5, 16}};
      for (auto& k : corners) {
        cairo_save(cr);
        cairo_translate(cr, k[0], k[1]);
        cairo_rotate(cr, std::atan2(cy - k[1], cx - k[0]) + M_PI / 2);
        for (int b = -1; b <= 1; ++b) cairo_rectangle(cr, -2.5, b * 1.3 - 0.4, 5, 0.8);
        Rgb(cr, 0x000000);
        cairo_fill(cr);
        cairo_restore(cr);
      }
      break;
    }
    case 5: Bands(cr, w, h, false, {0x000000, 0xDD0000, 0xFFCE00}); break;
    case 6: Bands(cr, w, h, true, {0x009246, 0xFFFFFF, 0xCE2B37}); break;
    case 7:  // Spanish: red, yellow twice as high, red
      Rgb(cr, 0xAA151B); cairo_paint(cr);
      cairo_rectangle(cr, 0, h / 4, w, h / 2); Rgb(cr, 0xF1BF00); cairo_fill(cr);
      cairo_rectangle(cr, 7, 7, 4, 6); Rgb(cr, 0xAA151B); cairo_fill(cr);
      break;
    case 8: Bands(cr, w, h, false, {0xAE1C28, 0xFFFFFF, 0x21468B}); break;
    case 9:  // Portuguese: green and red with the yellow sphere on the border
      Rgb(cr, 0xFF0000); cairo_paint(cr);
      cairo_rectangle(cr, 0, 0, w * 0.4, h); Rgb(cr, 0x006600); cairo_fill(cr);
      cairo_arc(cr, w * 0.4, h / 2, 4.2, 0, 2 * M_PI); Rgb(cr, 0xFFCC00); cairo_fill(cr);
      cairo_rectangle(cr, w * 0.4 - 2, h / 2 - 2.5, 4, 5); Rgb(cr, 0xFFFFFF); cairo_fill(cr);
      cairo_rectangle(cr, w * 0.4 - 2, h / 2 - 2.5, 4, 5); Rgb(cr, 0xFF0000); cairo_set_line_width(cr, 0.8); cairo_stroke(cr);
      break;
    case 10: Bands(cr, w, h, false, {0xFFFFFF, 0x0039A6, 0xD52B1E}); break;
    case 11: Bands(cr, w, h, false, {0x0057B7, 0xFFD700}); break;
    default: Rgb(cr, 0x808080); cairo_paint(cr); break;
  }
}

}  // namespace

void PaintFlag(Canvas& c, int languageId) {
  c.Clear(Hex(0x808080));  // opaque under the design, so band seams never show through
  cairo_t* cr = c.cr();
  cairo_save(cr);
  cairo_scale(cr, c.width() / 30.0, c.height() / 20.0);
  FlagDesign(cr, languageId);
  cairo_restore(cr);
  // A hairline edge keeps white flags apart from light menus.
  cairo_rectangle(cr, 0.5, 0.5, c.width() - 1, c.height() - 1);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.25);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void PaintMenuFrame(Canvas& c) {
  // Light popup (its entries are drawn in near-black): soft shadow, rounded panel, thin accent edge.
  c.Clear(Colour{0, 0, 0, 0});
  const Rect r{0, 0, c.width(), c.height()};
  for (int i = 0; i < 3; ++i) c.FillRoundRect(Rect{r.left + i, r.top + i, r.right - i, r.bottom - i}, 9 - i, Colour{0, 0, 0, 0.12});
  const Rect panel{3, 3, c.width() - 3, c.height() - 3};
  c.GradientRoundRect(panel, 6, Hex(0xF1F4F7), Hex(0xF1F4F7));
  c.StrokeRoundRect(panel, 6, Hex(0x9AA7B4));
  c.FillRect(Rect{panel.left + 6, panel.top + 1, panel.right - 6, panel.top + 3}, p::kAccent);
}

void PaintScrollSkin(Canvas& c) {
  const int k = layout::art::kScrollCell;
  c.Clear(p::kInset);
  for (int row = 0; row < 3; ++row) {
    const Look look = row == 0 ? Look::Normal : row == 1 ? Look::Over : Look::Down;
    const int y = row * k;
    for (int col = 0; col < 9; ++col) {
      const int x = col * k;
      const Rect cell{x, y, x + k, y + k};
      const bool vertical = col < 4;
      const int kind = col < 8 ? col % 4 : 4;  // 0 first arrow, 1 second arrow, 2 thumb, 3 track, 4 corner
      c.FillRect(cell, Hex(0x0D1116));
      if (kind == 3) {
        // Track: uniform along the bar so tiling shows no seams.
        if (vertical) c.FillRect(Rect{x + k / 2 - 1, y, x + k / 2 + 1, y + k}, p::kLine);
        else c.FillRect(Rect{x, y + k / 2 - 1, x + k, y + k / 2 + 1}, p::kLine);
      } else if (kind == 2) {
        // Thumb: rounded within its first and last three pixels, uniform in between.
        const Colour fill = look == Look::Down ? p::kAccent : look == Look::Over ? Mix(p::kAccent, p::kLineBright, 0.5) : p::kLineBright;
        if (vertical) {
          c.FillRoundRect(Rect{x + 5, y, x + k - 5, y + k}, 3, fill);
        } else {
          c.FillRoundRect(Rect{x, y + 5, x + k, y + k - 5}, 3, fill);
        }
      } else if (kind == 4) {
        c.FillRect(cell, Hex(0x0D1116));
      } else {
        const Colour bg = look == Look::Down ? p::kAccentDeep : look == Look::Over ? p::kRaisedHot : p::kRaised;
        c.FillRoundRect(Rect{x + 2, y + 2, x + k - 2, y + k - 2}, 3, bg);
        cairo_t* cr = c.cr();
        const double cx = x + k / 2.0, cy = y + k / 2.0, s = 3.5;
        // Direction: vertical up/down, horizontal left/right.
        const bool first = kind == 0;
        if (vertical) {
          const double d = first ? -1 : 1;
          cairo_move_to(cr, cx - s, cy - d * s / 2);
          cairo_line_to(cr, cx + s, cy - d * s / 2);
          cairo_line_to(cr, cx, cy + d * s / 2);
        } else {
          const double d = first ? -1 : 1;
          cairo_move_to(cr, cx - d * s / 2, cy - s);
          cairo_line_to(cr, cx - d * s / 2, cy + s);
          cairo_line_to(cr, cx + d * s / 2, cy);
        }
        cairo_close_path(cr);
        const Colour ink = look == Look::Normal ? p::kText : p::kTextBright;
        cairo_set_source_rgb(cr, ink.r, ink.g, ink.b);
        cairo_fill(cr);
      }
    }
  }
}

void PaintListIcon(Canvas& c, ListIcon icon, bool selected) {
  c.Clear(Colour{0, 0, 0, 0});
  cairo_t* cr = c.cr();
  const Colour ink = selected ? p::kTextBright : icon == ListIcon::Delay ? p::kAmber : icon == ListIcon::Down ? p::kAccent : Hex(0x7FD18B);
  cairo_set_source_rgba(cr, ink.r, ink.g, ink.b, 1);
  if (icon == ListIcon::Delay) {
    c.Ring(8, 8, 6, ink, 1.6);
    c.Line(8, 8, 8, 4.5, ink, 1.6);
    c.Line(8, 8, 10.5, 9.5, ink, 1.6);
    return;
  }
  const bool up = icon == ListIcon::Up;
  // A key cap with an arrow: up for a release, down for a press.
  c.StrokeRoundRect(Rect{1, 1, 15, 15}, 3, Colour{ink.r, ink.g, ink.b, 0.55});
  cairo_move_to(cr, 8, up ? 3.5 : 12.5);
  cairo_line_to(cr, 12.5, 8);
  cairo_line_to(cr, 9.6, 8);
  cairo_line_to(cr, 9.6, up ? 12.5 : 3.5);
  cairo_line_to(cr, 6.4, up ? 12.5 : 3.5);
  cairo_line_to(cr, 6.4, 8);
  cairo_line_to(cr, 3.5, 8);
  cairo_close_path(cr);
  cairo_set_source_rgba(cr, ink.r, ink.g, ink.b, 1);
  cairo_fill(cr);
}

void PaintSliderThumb(Canvas& c) {
  // The thumb's outline is cut where its pixels are pure black, so nothing inside may be black.
  c.Clear(Colour{0, 0, 0, 0});
  const Rect r{0, 0, c.width(), c.height()};
  c.GradientRoundRect(r, c.height() / 2.0, Hex(0xE8FAFF), Hex(0x22B8E6));
  c.StrokeRoundRect(r, c.height() / 2.0, Hex(0x0A6E9C));
}

void PaintCategoryMenuItem(Canvas& c, Look look, bool hasSubmenu) {
  const Rect r{0, 0, c.width(), c.height()};
  const Colour bg = look == Look::Down ? p::kAccentDeep : look == Look::Over ? p::kRaisedHot : Hex(0x12171D);
  c.FillRect(r, bg);
  c.Line(0, c.height() - 0.5, c.width(), c.height() - 0.5, Hex(0x1E262F), 1);
  if (look != Look::Normal) c.FillRect(Rect{0, 0, 3, c.height()}, p::kAccent);
  if (hasSubmenu) {
    cairo_t* cr = c.cr();
    const double x = c.width() - 12, y = c.height() / 2.0;
    cairo_move_to(cr, x - 2, y - 4);
    cairo_line_to(cr, x + 2, y);
    cairo_line_to(cr, x - 2, y + 4);
    const Colour ink = look == Look::Normal ? p::kTextDim : p::kTextBright;
    cairo_set_source_rgb(cr, ink.r, ink.g, ink.b);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
  }
}

void PaintIcon(Canvas& c, AppIcon icon) {
  c.Clear(Colour{0, 0, 0, 0});
  cairo_t* cr = c.cr();
  const double s = c.width();
  cairo_save(cr);
  cairo_scale(cr, s / 32.0, s / 32.0);
  switch (icon) {
    case AppIcon::Application: {
      // Rounded dark tile with the brand's double chevron.
      cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 32);
      cairo_pattern_add_color_stop_rgb(g, 0, 0x1E / 255.0, 0x28 / 255.0, 0x33 / 255.0);
      cairo_pattern_add_color_stop_rgb(g, 1, 0x0A / 255.0, 0x0D / 255.0, 0x11 / 255.0);
      const double r = 7;
      cairo_new_sub_path(cr);
      cairo_arc(cr, 32 - r - 0.5, r + 0.5, r, -M_PI / 2, 0);
      cairo_arc(cr, 32 - r - 0.5, 32 - r - 0.5, r, 0, M_PI / 2);
      cairo_arc(cr, r + 0.5, 32 - r - 0.5, r, M_PI / 2, M_PI);
      cairo_arc(cr, r + 0.5, r + 0.5, r, M_PI, 1.5 * M_PI);
      cairo_close_path(cr);
      cairo_set_source(cr, g);
      cairo_fill_preserve(cr);
      cairo_pattern_destroy(g);
      cairo_set_source_rgb(cr, p::kAccent.r, p::kAccent.g, p::kAccent.b);
      cairo_set_line_width(cr, 1.2);
      cairo_stroke(cr);
      for (int i = 0; i < 2; ++i) {
        const double ox = 6 + i * 8;
        cairo_move_to(cr, ox, 7);
        cairo_line_to(cr, ox + 6, 7);
        cairo_line_to(cr, ox + 13, 16);
        cairo_line_to(cr, ox + 6, 25);
        cairo_line_to(cr, ox, 25);
        cairo_line_to(cr, ox + 7, 16);
        cairo_close_path(cr);
        const Colour col = i == 0 ? p::kAccentDeep : p::kAccent;
        cairo_set_source_rgb(cr, col.r, col.g, col.b);
        cairo_fill(cr);
      }
      break;
    }
    case AppIcon::Exit: {
      // Power symbol in red.
      cairo_set_source_rgb(cr, 0xC6 / 255.0, 0x28 / 255.0, 0x33 / 255.0);
      cairo_set_line_width(cr, 3.6);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      cairo_arc(cr, 16, 17, 10, -M_PI / 2 + 0.75, 1.5 * M_PI - 0.75);
      cairo_stroke(cr);
      cairo_move_to(cr, 16, 4);
      cairo_line_to(cr, 16, 15);
      cairo_stroke(cr);
      break;
    }
    case AppIcon::Config: {
      // Gear in the accent colour.
      const double cx = 16, cy = 16;
      cairo_new_path(cr);
      for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        const double w = 0.22;
        cairo_line_to(cr, cx + 10 * std::cos(a - w * 1.6), cy + 10 * std::sin(a - w * 1.6));
        cairo_line_to(cr, cx + 14.5 * std::cos(a - w), cy + 14.5 * std::sin(a - w));
        cairo_line_to(cr, cx + 14.5 * std::cos(a + w), cy + 14.5 * std::sin(a + w));
        cairo_line_to(cr, cx + 10 * std::cos(a + w * 1.6), cy + 10 * std::sin(a + w * 1.6));
      }
      cairo_close_path(cr);
      cairo_new_sub_path(cr);
      cairo_arc_negative(cr, cx, cy, 4.5, 2 * M_PI, 0);
      cairo_set_source_rgb(cr, p::kAccentDeep.r, p::kAccentDeep.g, p::kAccentDeep.b);
      cairo_fill(cr);
      break;
    }
  }
  cairo_restore(cr);
}

}  // namespace nx7::artgen
