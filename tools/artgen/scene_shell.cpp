// Main window, message box, progress dialog.
#include <array>
#include <cmath>
#include <string>

#include "scenes.h"
#include "widgets.h"

namespace nx7::artgen {
namespace p = palette;
namespace mw = layout::main_window;

namespace {

void Logo(Canvas& c, int x, int y) {
  // A slanted double chevron mark, then the brand in spaced capitals.
  cairo_t* cr = c.cr();
  for (int i = 0; i < 2; ++i) {
    const double ox = x + i * 11;
    cairo_move_to(cr, ox, y);
    cairo_line_to(cr, ox + 9, y);
    cairo_line_to(cr, ox + 19, y + 14);
    cairo_line_to(cr, ox + 9, y + 28);
    cairo_line_to(cr, ox, y + 28);
    cairo_line_to(cr, ox + 10, y + 14);
    cairo_close_path(cr);
    const Colour col = i == 0 ? p::kAccentDeep : p::kAccent;
    cairo_set_source_rgb(cr, col.r, col.g, col.b);
    cairo_fill(cr);
  }
  Font brand = Label(24, false, true);
  brand.letterSpacing = 5;
  c.Text(Rect{x + 40, y - 4, x + 240, y + 20}, "VORNA", brand, p::kTextBright, Align::Left);
  Font sub = Label(10, false, false);
  sub.letterSpacing = 3.2;
  c.Text(Rect{x + 41, y + 18, x + 260, y + 32}, "NX7 GAMING MOUSE", sub, p::kAccent, Align::Left);
}

}  // namespace

void PaintMainWindow(Canvas& c, Look look, bool chinese) {
  const Size size = mw::kClient;
  c.VerticalGradient(Rect{0, 0, size.width, size.height}, Hex(0x121820), Hex(0x07090C));
  // Header band with a fine texture and an accent rule under the tabs.
  c.VerticalGradient(Rect{0, 0, size.width, 84}, Hex(0x17202A), Hex(0x0E1319));
  Texture(c, Rect{0, 0, size.width, 84}, Hex(0xFFFFFF, 0.025), 6);
  c.Line(0, 84.5, size.width, 84.5, p::kLine, 1);
  Logo(c, 30, 26);
  Font product = Label(12, chinese);
  c.Text(Rect{560, 8, 870, 28}, chinese ? "NX7 游戏鼠标驱动程序" : "NX7 Gaming Mouse Driver", product, p::kTextDim, Align::Right);
  // Window outline.
  c.StrokeRoundRect(Rect{0, 0, size.width, size.height}, 0, p::kLine);

  MinimiseGlyph(c, mw::kMinimiseButton, look);
  CloseGlyph(c, mw::kCloseButton, look);

  // Tabs.
  static const std::array<const char*, 5> tabsEn{"PERFORMANCE", "LIGHTING", "MACROS", "STATISTICS", "SUPPORT"};
  static const std::array<const char*, 5> tabsZh{"性能设置", "灯光设置", "宏管理", "统计", "支持"};
  Font tabFont = Label(chinese ? 15 : 13, chinese, true);
  if (!chinese) tabFont.letterSpacing = 1.5;
  for (int i = 0; i < 5; ++i) SlantButton(c, mw::kPageTabs[i], look, chinese ? tabsZh[i] : tabsEn[i], tabFont);
  c.FillRect(Rect{15, 122, 941, 125}, p::kAccent);

  // Page area frame (the pages cover the inside).
  const Rect page = mw::kPageArea;
  c.FillRect(page, p::kPanel);
  c.StrokeRoundRect(Rect{page.left - 1, page.top - 1, page.right + 1, page.bottom + 1}, 0, p::kLine);

  // Bottom bar.
  c.VerticalGradient(Rect{1, 584, size.width - 1, size.height - 1}, Hex(0x0F141A), Hex(0x090C10));
  c.Line(15, 584.5, 940, 584.5, p::kLine, 1);
  const Rect flag = mw::kFlagPicture;
  c.StrokeRoundRect(Rect{flag.left - 2, flag.top - 2, flag.left + layout::art::kFlag.width + 2, flag.top + layout::art::kFlag.height + 2}, 2, p::kLineBright);
  {
    const Rect b = mw::kLanguageButton;
    PushButton(c, b, look);
    // Globe and a caret: the menu opens upwards.
    const Colour ink = look == Look::Down ? p::kTextOnAccent : look == Look::Over ? p::kTextBright : p::kText;
    const double gx = b.left + 15, gy = (b.top + b.bottom) / 2.0, gr = 5.5;
    cairo_t* cr = c.cr();
    c.Ring(gx, gy, gr, ink, 1.2);
    cairo_save(cr);
    cairo_translate(cr, gx, gy);
    cairo_scale(cr, 0.45, 1);
    cairo_arc(cr, 0, 0, gr, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_source_rgb(cr, ink.r, ink.g, ink.b);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    c.Line(gx - gr, gy, gx + gr, gy, ink, 1);
    const double ax = b.right - 12, ay = gy;
    cairo_move_to(cr, ax - 4, ay + 2);
    cairo_line_to(cr, ax + 4, ay + 2);
    cairo_line_to(cr, ax, ay - 3);
    cairo_close_path(cr);
    const Colour caret = look == Look::Down ? p::kTextOnAccent : p::kAccent;
    cairo_set_source_rgb(cr, caret.r, caret.g, caret.b);
    cairo_fill(cr);
  }
  Inset(c, Rect{mw::kHintText.left - 4, mw::kHintText.top - 1, mw::kHintText.right + 4, mw::kHintText.bottom + 1}, 4);

  Font small = Label(chinese ? 11 : 9, chinese, true);
  small.letterSpacing = chinese ? 0 : 1.5;
  c.Text(Rect{330, 590, 600, 605}, chinese ? "配置文件" : "PROFILES", small, p::kTextDim, Align::Left);
  Font profileFont = Label(chinese ? 13 : 12, chinese, true);
  for (int i = 0; i < 5; ++i) {
    const std::string label = (chinese ? std::string("配置 ") : std::string("Profile ")) + std::to_string(i + 1);
    SlantButton(c, mw::kProfileButtons[i], look, label, profileFont);
  }
  // Apply: the call to action.
  {
    const layout::Quad& q = mw::kApplyButton;
    if (look == Look::Over) {
      for (int i = 4; i >= 1; --i) {
        layout::Quad g = q;
        g.corners[0].x -= i; g.corners[0].y -= i;
        g.corners[1].x += i; g.corners[1].y -= i;
        g.corners[2].x += i; g.corners[2].y += i;
        g.corners[3].x -= i; g.corners[3].y += i;
        c.FillQuad(g, Hex(0x22B8E6, 0.08));
      }
    }
    const Colour top = look == Look::Down ? p::kAccentDeep : look == Look::Over ? Mix(p::kAccent, p::kTextBright, 0.25) : p::kAccent;
    c.GradientQuad(q, top, look == Look::Down ? Hex(0x064A6A) : p::kAccentDeep);
    Font f = Label(chinese ? 17 : 16, chinese, true);
    f.letterSpacing = chinese ? 2 : 3;
    const Rect b = q.bounds();
    c.Text(Rect{b.left + 22, b.top, b.right - 4, b.bottom}, chinese ? "应用" : "APPLY", f, look == Look::Down ? p::kTextBright : p::kTextOnAccent);
  }
}

void PaintMessageBox(Canvas& c, Look look, bool twoButtons) {
  namespace mb = layout::message_box;
  const Size s = mb::kClient;
  c.VerticalGradient(Rect{0, 0, s.width, s.height}, Hex(0x18202A), Hex(0x0C1015));
  c.VerticalGradient(Rect{0, 0, s.width, 32}, Hex(0x1D2731), Hex(0x151C24));
  c.Line(0, 31.5, s.width, 31.5, p::kLine, 1);
  c.FillRect(Rect{0, 0, 3, 32}, p::kAccent);
  c.StrokeRoundRect(Rect{0, 0, s.width, s.height}, 0, p::kLineBright);
  // Information mark left of the text.
  c.Circle(52, 82, 21, Hex(0x22B8E6, 0.12));
  c.Ring(52, 82, 20, p::kAccent, 2);
  c.Circle(52, 72.5, 2.6, p::kAccent);
  c.FillRoundRect(Rect{50, 78, 55, 95}, 1.5, p::kAccent);
  // Button row.
  c.Line(12, 119.5, s.width - 12, 119.5, Hex(0x2B3642, 0.7), 1);
  CloseGlyph(c, mb::kCloseButton, look);
  if (twoButtons) {
    PushButton(c, Rect{mb::kOkPair.left + 2, mb::kOkPair.top + 2, mb::kOkPair.right - 2, mb::kOkPair.bottom - 3}, look);
    PushButton(c, Rect{mb::kCancelPair.left + 2, mb::kCancelPair.top + 2, mb::kCancelPair.right - 2, mb::kCancelPair.bottom - 3}, look);
  } else {
    PushButton(c, Rect{mb::kOkSingle.left + 2, mb::kOkSingle.top + 2, mb::kOkSingle.right - 2, mb::kOkSingle.bottom - 3}, look);
  }
}

void PaintProgressDialog(Canvas& c, bool filled) {
  namespace pd = layout::progress_dialog;
  const Size s = pd::kClient;
  c.VerticalGradient(Rect{0, 0, s.width, s.height}, Hex(0x18202A), Hex(0x0C1015));
  c.StrokeRoundRect(Rect{0, 0, s.width, s.height}, 0, p::kLineBright);
  c.FillRect(Rect{0, 0, s.width, 3}, p::kAccent);
  const Rect bar = pd::kBar;
  c.FillRoundRect(Rect{bar.left - 2, bar.top - 2, bar.right + 2, bar.bottom + 2}, 4, p::kInset);
  c.StrokeRoundRect(Rect{bar.left - 2, bar.top - 2, bar.right + 2, bar.bottom + 2}, 4, p::kLine);
  if (filled) {
    c.GradientRoundRect(bar, 3, Mix(p::kAccent, p::kTextBright, 0.3), p::kAccentDeep);
    // Moving-stripe look, frozen.
    cairo_t* cr = c.cr();
    cairo_save(cr);
    c.RoundRect(bar, 3);
    cairo_clip(cr);
    for (int x = bar.left - 10; x < bar.right; x += 10) {
      cairo_move_to(cr, x, bar.bottom);
      cairo_line_to(cr, x + 4, bar.bottom);
      cairo_line_to(cr, x + 4 + bar.height(), bar.top);
      cairo_line_to(cr, x + bar.height(), bar.top);
      cairo_close_path(cr);
    }
    cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
    cairo_fill(cr);
    cairo_restore(cr);
  }
}

}  // namespace nx7::artgen
