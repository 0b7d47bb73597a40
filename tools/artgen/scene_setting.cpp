// Button settings dialog, its four pages, and the trophy pictures.
#include <array>
#include <cmath>
#include <string>

#include "scenes.h"
#include "widgets.h"

namespace nx7::artgen {
namespace p = palette;

namespace {
const char* T(bool chinese, const char* zh, const char* en) { return chinese ? zh : en; }

void PageGround(Canvas& c) { c.VerticalGradient(Rect{0, 0, c.width(), c.height()}, Hex(0x131920), Hex(0x0F1318)); }
}  // namespace

void PaintSettingDialog(Canvas& c, Look look, bool chinese) {
  namespace sd = layout::setting_dialog;
  const Size s = sd::kClient;
  c.VerticalGradient(Rect{0, 0, s.width, s.height}, Hex(0x18202A), Hex(0x0C1015));
  c.VerticalGradient(Rect{0, 0, s.width, 37}, Hex(0x1D2731), Hex(0x141B22));
  c.FillRect(Rect{0, 0, 3, 37}, p::kAccent);
  c.StrokeRoundRect(Rect{0, 0, s.width, s.height}, 0, p::kLineBright);
  CloseGlyph(c, sd::kCloseButton, look);
  // Tabs: the program draws their captions; the down look marks the open tab.
  for (const Rect& t : sd::kTabs) {
    const Rect r{t.left + 1, t.top, t.right - 1, t.bottom};
    switch (look) {
      case Look::Normal: c.VerticalGradient(r, Hex(0x151B22), Hex(0x11161C)); break;
      case Look::Over: c.VerticalGradient(r, Hex(0x222D38), Hex(0x18202A)); break;
      case Look::Down:
        c.VerticalGradient(r, Hex(0x0F4C6B), Hex(0x0B3349));
        c.FillRect(Rect{r.left, r.bottom - 3, r.right, r.bottom}, p::kAccent);
        break;
    }
  }
  c.Line(0, 64.5, s.width, 64.5, p::kLine, 1);
  const Rect pa = sd::kPageArea;
  c.StrokeRoundRect(Rect{pa.left - 1, pa.top - 1, pa.right + 1, pa.bottom + 1}, 0, p::kLine);
  c.FillRect(pa, Hex(0x131920));
  CheckBox(c, sd::kDisableCheck, look);
  PushButton(c, Rect{sd::kRestoreButton.left + 1, sd::kRestoreButton.top + 2, sd::kRestoreButton.right - 2, sd::kRestoreButton.bottom - 2}, look);
  AccentButton(c, Rect{sd::kOkButton.left + 1, sd::kOkButton.top + 2, sd::kOkButton.right - 1, sd::kOkButton.bottom - 2}, look == Look::Down ? Look::Down : Look::Normal, "", Label(12, chinese));
  if (look == Look::Over) c.StrokeRoundRect(Rect{sd::kOkButton.left + 1, sd::kOkButton.top + 2, sd::kOkButton.right - 1, sd::kOkButton.bottom - 2}, 5, p::kTextBright);
  (void)chinese;
}

void PaintComboPage(Canvas& c, Look look, bool chinese) {
  namespace sp = layout::setting_pages;
  PageGround(c);
  const Font title = Label(chinese ? 12 : 11, chinese, true);
  c.Text(Rect{14, 10, 360, 30}, T(chinese, "勾选修饰键，然后按下一个键", "Tick the modifiers, then press a key"), Label(11, chinese), p::kTextDim, Align::Left);
  static const std::array<const char*, 4> names{"Ctrl", "Alt", "Shift", "Win"};
  for (int i = 0; i < 4; ++i) {
    const Rect r = sp::kModifierChecks[i];
    CheckBox(c, r, look);
    c.Text(Rect{r.right + 8, r.top - 3, r.right + 60, r.bottom + 3}, names[i], Label(12, false, true), p::kText, Align::Left);
  }
  c.Text(Rect{128, 60, 164, 118}, "+", Label(22, false, true), p::kAccent);
  const Rect k = sp::kKeyName;
  c.Text(Rect{k.left, k.top - 22, k.right, k.top - 4}, T(chinese, "按键", "Key"), title, p::kTextDim, Align::Left);
  c.FillRoundRect(Rect{k.left - 6, k.top - 2, k.right + 4, k.bottom + 2}, 4, p::kInset);
  c.StrokeRoundRect(Rect{k.left - 6, k.top - 2, k.right + 4, k.bottom + 2}, 4, p::kAccentDeep);
}

void PaintMacroSetPage(Canvas& c, Look look, bool chinese) {
  namespace sp = layout::setting_pages;
  PageGround(c);
  for (const Rect& r : {sp::kCategoryList, sp::kMacroList}) {
    c.FillRect(Rect{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1}, p::kLine);
    c.FillRect(r, Hex(0x0F0F0F));
  }
  (void)look;
  (void)chinese;
}

void PaintBasePage(Canvas& c, Look look, bool chinese) {
  PageGround(c);
  const Rect& r = layout::setting_pages::kFunctionList;
  c.FillRect(Rect{r.left, r.top, std::min(r.right, c.width()), std::min(r.bottom, c.height())}, Hex(0x0F0F0F));
  (void)look;
  (void)chinese;
}

void PaintAdvancedPage(Canvas& c, Look look, bool chinese) {
  namespace sp = layout::setting_pages;
  PageGround(c);
  c.Text(Rect{14, 8, 360, 28}, T(chinese, "按下此键时打开：", "When the button is pressed, open:"), Label(11, chinese), p::kTextDim, Align::Left);
  for (const auto& row : sp::kLaunchRows) {
    // Radio indicator alone (the program draws the row's label).
    RadioOption(c, row.radio, look, "", Font{});
    c.FillRoundRect(row.path, 3, p::kInset);
    c.StrokeRoundRect(row.path, 3, look == Look::Over ? p::kAccent : p::kLine);
    PushButton(c, Rect{row.browse.left, row.browse.top + 1, row.browse.right, row.browse.bottom - 1}, look);
  }
}

void PaintTrophy(Canvas& c, int level) {
  // Tiers: none, bronze 1-4, silver 5-8, gold 9-11, champion 12.
  struct Tier { Colour light, dark; const char* en; const char* roman; };
  const Tier none{Hex(0x3A4652), Hex(0x1C232B), "NO TROPHY YET", ""};
  const Tier bronze{Hex(0xE3A16A), Hex(0x7A4520), "BRONZE", ""};
  const Tier silver{Hex(0xE8EEF3), Hex(0x6E7C88), "SILVER", ""};
  const Tier gold{Hex(0xFFE07A), Hex(0xB07A12), "GOLD", ""};
  const Tier champion{Hex(0xB8F3FF), Hex(0x1A8FC0), "CHAMPION", ""};
  const Tier& tier = level == 0 ? none : level <= 4 ? bronze : level <= 8 ? silver : level <= 11 ? gold : champion;
  static const char* roman[] = {"", "I", "II", "III", "IV", "I", "II", "III", "IV", "I", "II", "III", ""};

  const int w = c.width(), h = c.height();
  c.VerticalGradient(Rect{0, 0, w, h}, Hex(0x161D25), Hex(0x0C1015));
  cairo_t* cr = c.cr();
  // Rays behind the cup grow with the level.
  if (level > 0) {
    cairo_save(cr);
    cairo_translate(cr, w / 2.0, 170);
    const int rays = 8 + level * 2;
    for (int i = 0; i < rays; ++i) {
      cairo_rotate(cr, 2 * M_PI / rays);
      cairo_move_to(cr, 0, 0);
      cairo_line_to(cr, -6, -150);
      cairo_line_to(cr, 6, -150);
      cairo_close_path(cr);
    }
    cairo_pattern_t* g = cairo_pattern_create_radial(0, 0, 10, 0, 0, 150);
    cairo_pattern_add_color_stop_rgba(g, 0, tier.light.r, tier.light.g, tier.light.b, 0.22);
    cairo_pattern_add_color_stop_rgba(g, 1, tier.light.r, tier.light.g, tier.light.b, 0);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
  }
  // The cup.
  const double cx = w / 2.0;
  auto metal = [&](double x0, double y0, double x1, double y1) {
    cairo_pattern_t* g = cairo_pattern_create_linear(x0, y0, x1, y1);
    cairo_pattern_add_color_stop_rgb(g, 0, tier.dark.r, tier.dark.g, tier.dark.b);
    cairo_pattern_add_color_stop_rgb(g, 0.45, tier.light.r, tier.light.g, tier.light.b);
    cairo_pattern_add_color_stop_rgb(g, 1, tier.dark.r, tier.dark.g, tier.dark.b);
    return g;
  };
  // Handles.
  cairo_set_line_width(cr, 9);
  cairo_new_path(cr);
  cairo_arc(cr, cx - 62, 120, 24, M_PI / 2, 3 * M_PI / 2);
  cairo_new_sub_path(cr);
  cairo_arc_negative(cr, cx + 62, 120, 24, M_PI / 2, -M_PI / 2);
  cairo_set_source_rgb(cr, tier.dark.r, tier.dark.g, tier.dark.b);
  cairo_stroke(cr);
  // Bowl.
  cairo_move_to(cr, cx - 70, 82);
  cairo_line_to(cr, cx + 70, 82);
  cairo_curve_to(cr, cx + 70, 170, cx + 40, 205, cx + 12, 212);
  cairo_line_to(cr, cx - 12, 212);
  cairo_curve_to(cr, cx - 40, 205, cx - 70, 170, cx - 70, 82);
  cairo_close_path(cr);
  cairo_pattern_t* g = metal(cx - 70, 0, cx + 70, 0);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // Stem and base.
  cairo_rectangle(cr, cx - 9, 212, 18, 34);
  g = metal(cx - 9, 0, cx + 9, 0);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_move_to(cr, cx - 40, 246);
  cairo_line_to(cr, cx + 40, 246);
  cairo_line_to(cr, cx + 52, 272);
  cairo_line_to(cr, cx - 52, 272);
  cairo_close_path(cr);
  g = metal(cx - 52, 0, cx + 52, 0);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  c.FillRect(Rect{static_cast<int>(cx) - 58, 272, static_cast<int>(cx) + 58, 282}, Hex(0x0A0D11));
  // Level number on the bowl.
  c.Text(Rect{static_cast<int>(cx) - 50, 100, static_cast<int>(cx) + 50, 160}, std::to_string(level), Label(40, false, true),
         level == 0 ? Hex(0x5A6773) : Mix(tier.dark, Hex(0x000000), 0.35));

  Font name = Label(20, false, true);
  name.letterSpacing = 3;
  const std::string tierName = std::string(tier.en) + (roman[level][0] ? std::string(" ") + roman[level] : "");
  c.Text(Rect{10, 310, w - 10, 340}, tierName, name, level == 0 ? p::kTextDim : tier.light);
  Font sub = Label(12, false, true);
  sub.letterSpacing = 2;
  c.Text(Rect{10, 344, w - 10, 362}, "LEVEL " + std::to_string(level) + " / 12", sub, p::kTextDim);
  // Thirteen pips along the bottom, lit up to the level.
  for (int i = 0; i < 13; ++i) {
    const double x = cx + (i - 6) * 18;
    if (i <= level && level > 0) c.Circle(x, 400, 5, tier.light);
    else c.Ring(x, 400, 4.5, p::kLineBright, 1.2);
  }
}

}  // namespace nx7::artgen
