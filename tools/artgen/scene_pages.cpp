// The five pages of the main window.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "scenes.h"
#include "widgets.h"

namespace nx7::artgen {
namespace p = palette;

namespace {

const char* T(bool chinese, const char* zh, const char* en) { return chinese ? zh : en; }

void PageBackground(Canvas& c) {
  c.VerticalGradient(Rect{0, 0, c.width(), c.height()}, Hex(0x121820), Hex(0x0B0E12));
  Texture(c, Rect{0, 0, c.width(), c.height()}, Hex(0xFFFFFF, 0.012), 7);
}

Font TitleFont(bool chinese) {
  Font f = Label(chinese ? 13 : 11, chinese, true);
  f.letterSpacing = chinese ? 1 : 1.6;
  return f;
}

// A labelled slider place: groove plus end captions under it.
void SliderWithCaption(Canvas& c, const Rect& r, const std::string& caption, bool chinese, int captionLeft) {
  SliderGroove(c, r);
  if (!caption.empty()) c.Text(Rect{captionLeft, r.top - 4, r.left - 8, r.bottom + 4}, caption, Label(12, chinese), p::kText, Align::Right);
}

// The mouse seen from above, fitted to a rectangle; returns nothing, paints body, buttons and wheel.
void MouseIllustration(Canvas& c, const Rect& r, bool glow) {
  cairo_t* cr = c.cr();
  const double x = r.left, y = r.top, w = r.width(), h = r.height();
  auto body = [&]() {
    cairo_new_path(cr);
    cairo_move_to(cr, x + w * 0.5, y);
    cairo_curve_to(cr, x + w * 0.92, y, x + w, y + h * 0.22, x + w, y + h * 0.45);
    cairo_curve_to(cr, x + w, y + h * 0.8, x + w * 0.8, y + h, x + w * 0.5, y + h);
    cairo_curve_to(cr, x + w * 0.2, y + h, x, y + h * 0.8, x, y + h * 0.45);
    cairo_curve_to(cr, x, y + h * 0.22, x + w * 0.08, y, x + w * 0.5, y);
    cairo_close_path(cr);
  };
  if (glow) {
    for (int i = 10; i >= 1; --i) {
      cairo_save(cr);
      cairo_translate(cr, x + w / 2, y + h / 2);
      const double s = 1 + i * 0.012;
      cairo_scale(cr, s, s);
      cairo_translate(cr, -(x + w / 2), -(y + h / 2));
      body();
      cairo_restore(cr);
      cairo_set_source_rgba(cr, p::kAccent.r, p::kAccent.g, p::kAccent.b, 0.018);
      cairo_fill(cr);
    }
  }
  body();
  cairo_pattern_t* g = cairo_pattern_create_linear(x, y, x + w, y + h);
  cairo_pattern_add_color_stop_rgb(g, 0, 0x26 / 255.0, 0x30 / 255.0, 0x3B / 255.0);
  cairo_pattern_add_color_stop_rgb(g, 1, 0x0E / 255.0, 0x12 / 255.0, 0x17 / 255.0);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  cairo_set_source_rgba(cr, p::kLineBright.r, p::kLineBright.g, p::kLineBright.b, 1);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  // Button split, wheel, side buttons and the palm light strip.
  c.Line(x + w * 0.5, y + 2, x + w * 0.5, y + h * 0.36, p::kLine, 1.2);
  if (glow) {
    const Rect wheel{static_cast<int>(x + w * 0.5 - 6), static_cast<int>(y + h * 0.09), static_cast<int>(x + w * 0.5 + 6), static_cast<int>(y + h * 0.22)};
    c.GradientRoundRect(wheel, 5, Hex(0x3C4B5A), Hex(0x1B222A));
    c.StrokeRoundRect(wheel, 5, p::kAccent);
    for (int i = 0; i < 2; ++i) {
      const Rect side{static_cast<int>(x - 3), static_cast<int>(y + h * (0.36 + i * 0.1)), static_cast<int>(x + 3), static_cast<int>(y + h * (0.44 + i * 0.1))};
      c.FillRoundRect(side, 2.5, p::kLineBright);
    }
  }
  cairo_move_to(cr, x + 3, y + h * 0.38);
  cairo_curve_to(cr, x + w * 0.3, y + h * 0.44, x + w * 0.7, y + h * 0.44, x + w - 3, y + h * 0.38);
  cairo_set_source_rgba(cr, p::kLine.r, p::kLine.g, p::kLine.b, 1);
  cairo_stroke(cr);
  cairo_move_to(cr, x + w * 0.3, y + h * 0.86);
  cairo_curve_to(cr, x + w * 0.4, y + h * 0.9, x + w * 0.6, y + h * 0.9, x + w * 0.7, y + h * 0.86);
  cairo_set_source_rgba(cr, p::kAccent.r, p::kAccent.g, p::kAccent.b, 0.9);
  cairo_set_line_width(cr, 2.5);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void GlyphPlus(Canvas& c, const Rect& r, Colour ink) {
  const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0, s = std::min(r.width(), r.height()) * 0.22;
  c.Line(cx - s, cy, cx + s, cy, ink, 2);
  c.Line(cx, cy - s, cx, cy + s, ink, 2);
}
void GlyphMinus(Canvas& c, const Rect& r, Colour ink) {
  const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0, s = std::min(r.width(), r.height()) * 0.22;
  c.Line(cx - s, cy, cx + s, cy, ink, 2);
}
void GlyphPencil(Canvas& c, const Rect& r, Colour ink) {
  const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0, s = std::min(r.width(), r.height()) * 0.24;
  c.Line(cx - s, cy + s, cx + s, cy - s, ink, 2.4);
  c.Line(cx - s - 1, cy + s + 1, cx - s + 1.5, cy + s + 1, ink, 1.2);
}
void GlyphCheck(Canvas& c, const Rect& r, Colour ink) {
  const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0, s = std::min(r.width(), r.height()) * 0.25;
  cairo_t* cr = c.cr();
  cairo_move_to(cr, cx - s, cy);
  cairo_line_to(cr, cx - s * 0.3, cy + s * 0.7);
  cairo_line_to(cr, cx + s, cy - s * 0.6);
  cairo_set_source_rgb(cr, ink.r, ink.g, ink.b);
  cairo_set_line_width(cr, 2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

Colour InkFor(Look look) { return look == Look::Down ? p::kTextOnAccent : look == Look::Over ? p::kTextBright : p::kText; }

// Push button with a glyph instead of a label.
template <typename Glyph>
void GlyphButton(Canvas& c, const Rect& r, Look look, Glyph glyph) {
  PushButton(c, r, look);
  glyph(c, r, InkFor(look));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
void PaintPerformancePage(Canvas& c, Look look, bool chinese) {
  namespace pp = layout::performance_page;
  PageBackground(c);
  const Font title = TitleFont(chinese);
  const Font label = Label(12, chinese);

  Panel(c, Rect{18, 24, 556, 122}, T(chinese, "DPI 档位", "DPI LEVELS"), title);
  c.Text(Rect{34, 36, 540, 56}, T(chinese, "选择 1 到 7 个 DPI 值，鼠标按顺序切换", "Pick one to seven values; the DPI button steps through them in order"), Label(11, chinese), p::kTextDim, Align::Left);
  const Font chip = Label(10, false, true);
  // The DPI buttons write their values themselves.
  for (const Rect& r : pp::kDpiButtons) Chip(c, r, look, "", chip);

  Panel(c, Rect{18, 142, 340, 234}, T(chinese, "指针", "POINTER"), title);
  SliderWithCaption(c, pp::kPointerSpeedSlider, T(chinese, "速度", "Speed"), chinese, 28);
  c.Text(Rect{pp::kPointerSpeedSlider.left, 182, pp::kPointerSpeedSlider.left + 60, 194}, T(chinese, "慢", "Slow"), Label(10, chinese), p::kTextDim, Align::Left);
  c.Text(Rect{pp::kPointerSpeedSlider.right - 60, 182, pp::kPointerSpeedSlider.right, 194}, T(chinese, "快", "Fast"), Label(10, chinese), p::kTextDim, Align::Right);
  CheckOption(c, pp::kPrecisionSwitch, look, T(chinese, "提高指针精确度", "Enhance precision"), label);

  Panel(c, Rect{350, 142, 700, 234}, T(chinese, "高度等级", "HEIGHT LEVEL"), title);
  SliderWithCaption(c, pp::kSecondSlider, T(chinese, "等级", "Level"), chinese, 356);
  c.Text(Rect{pp::kSecondSlider.left, 182, pp::kSecondSlider.left + 60, 194}, "1", Label(10, false), p::kTextDim, Align::Left);
  c.Text(Rect{pp::kSecondSlider.right - 60, 182, pp::kSecondSlider.right, 194}, "30", Label(10, false), p::kTextDim, Align::Right);

  Panel(c, Rect{18, 262, 352, 336}, T(chinese, "回报率 (Hz)", "REPORT RATE (Hz)"), title);
  c.Text(Rect{34, 274, 340, 294}, T(chinese, "每秒向电脑报告的次数", "Reports sent to the computer per second"), Label(11, chinese), p::kTextDim, Align::Left);
  for (size_t i = 0; i < pp::kReportRateButtons.size(); ++i) Chip(c, pp::kReportRateButtons[i], look, std::to_string(pp::kReportRateValues[i]), chip);

  const Rect linesOpt = pp::kLinesOption.pick(chinese), screenOpt = pp::kScreenOption.pick(chinese);
  Panel(c, Rect{372, 262, 700, 400}, T(chinese, "滚轮", "WHEEL SCROLLING"), title);
  c.Text(Rect{388, 274, 690, 294}, T(chinese, "Windows 滚轮设置，随配置文件保存", "Windows wheel setting, kept with the profile"), Label(11, chinese), p::kTextDim, Align::Left);
  RadioOption(c, linesOpt, look, T(chinese, "一次滚动下列行数", "Scroll this many lines per notch:"), label);
  RadioOption(c, screenOpt, look, T(chinese, "一次滚动一个屏幕", "Scroll one screen per notch"), label);
  const Rect edit = pp::kLinesEdit.pick(chinese);
  Inset(c, Rect{edit.left - 2, edit.top, edit.right + 1, edit.bottom}, 2);
  ArrowButton(c, pp::kLinesUp.pick(chinese), look, true);
  ArrowButton(c, pp::kLinesDown.pick(chinese), look, false);
  if (!chinese) c.Text(Rect{428, edit.top, edit.left - 8, edit.bottom}, "Lines", label, p::kTextDim, Align::Right);

  // The mouse with its seven inputs.
  MouseIllustration(c, Rect{742, 40, 882, 330}, true);
  c.Text(Rect{712, 342, 912, 360}, "NX7", Label(14, false, true), p::kTextDim);
  c.Text(Rect{712, 360, 912, 376}, T(chinese, "7 个可编程按键", "7 programmable inputs"), Label(11, chinese), p::kTextDim);

  // Input tabs: down is the marked look (a function other than the default).
  SectionTitle(c, Rect{20, 384, 560, 404}, T(chinese, "按键设定", "BUTTON ASSIGNMENT"), title);
  static const std::array<const char*, 7> inputsEn{"Left", "Middle", "Right", "Forward", "Back", "Wheel up", "Wheel down"};
  static const std::array<const char*, 7> inputsZh{"左键", "中键", "右键", "前进键", "后退键", "滚轮上", "滚轮下"};
  const Font tab = Label(chinese ? 13 : 12, chinese, true);
  for (size_t i = 0; i < pp::kInputTabs.size(); ++i) {
    const layout::Quad& q = pp::kInputTabs[i];
    const std::string text = chinese ? inputsZh[i] : inputsEn[i];
    if (look == Look::Down) {
      c.GradientQuad(q, Hex(0x2A2416), Hex(0x17140E));
      c.StrokeQuad(q, p::kAmber);
      const layout::Rect b = q.bounds();
      SlantButton(c, q, Look::Normal, "", tab);
      c.GradientQuad(q, Hex(0x30281A), Hex(0x191510));
      c.StrokeQuad(q, p::kAmber);
      double cx = 0;
      for (const layout::Point& pt : q.corners) cx += pt.x / 4.0;
      c.Text(Rect{static_cast<int>(cx) - b.width() / 2 + 12, b.top, static_cast<int>(cx) + b.width() / 2 - 12, b.bottom}, text, tab, p::kAmber);
      c.Circle(cx, b.top + 5, 2, p::kAmber);
    } else {
      SlantButton(c, q, look, text, tab);
    }
  }
}

// ---------------------------------------------------------------------------------------------
namespace {
void ColourWheel(Canvas& c, const Rect& r) {
  // Hue around the centre, white at the centre; drawn pixel by pixel with 4x4 samples on the rim.
  const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
  const double rx = r.width() / 2.0, ry = r.height() / 2.0;
  cairo_surface_t* s = c.surface();
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  auto hsv = [](double h, double sat, double& R, double& G, double& B) {
    const double hh = std::fmod(h, 360.0) / 60.0;
    const int i = static_cast<int>(hh);
    const double f = hh - i, pv = 1 - sat, q = 1 - sat * f, t = 1 - sat * (1 - f);
    switch (i) {
      case 0: R = 1; G = t; B = pv; break;
      case 1: R = q; G = 1; B = pv; break;
      case 2: R = pv; G = 1; B = t; break;
      case 3: R = pv; G = q; B = 1; break;
      case 4: R = t; G = pv; B = 1; break;
      default: R = 1; G = pv; B = q; break;
    }
  };
  for (int y = r.top; y < r.bottom; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = r.left; x < r.right; ++x) {
      double coverage = 0, R = 0, G = 0, B = 0;
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
          const double px = x + (sx + 0.5) / 4 - cx, py = y + (sy + 0.5) / 4 - cy;
          const double d = std::sqrt((px / rx) * (px / rx) + (py / ry) * (py / ry));
          if (d > 1) continue;
          double h = std::atan2(-py, px) * 180 / M_PI;
          if (h < 0) h += 360;
          double r1, g1, b1;
          hsv(h, std::min(1.0, d * 1.05), r1, g1, b1);
          R += r1; G += g1; B += b1;
          coverage += 1;
        }
      if (coverage == 0) continue;
      R /= coverage; G /= coverage; B /= coverage;
      const double a = coverage / 16;
      const uint32_t old = row[x];
      const double oR = ((old >> 16) & 0xFF) / 255.0, oG = ((old >> 8) & 0xFF) / 255.0, oB = (old & 0xFF) / 255.0;
      const auto mix = [&](double n, double o) { return static_cast<uint32_t>(std::lround((n * a + o * (1 - a)) * 255)); };
      row[x] = 0xFF000000u | (mix(R, oR) << 16) | (mix(G, oG) << 8) | mix(B, oB);
    }
  }
  cairo_surface_mark_dirty(s);
}
}  // namespace

void PaintLightingPage(Canvas& c, Look look, bool chinese) {
  namespace lp = layout::lighting_page;
  PageBackground(c);
  const Font title = TitleFont(chinese);
  const Font label = Label(12, chinese);
  const Font option = Label(12, chinese, true);

  Panel(c, Rect{14, 14, 910, 190}, T(chinese, "灯光效果", "LIGHTING EFFECT"), title);
  // A glowing ring as the effect's emblem.
  for (int i = 0; i < 36; ++i) {
    const double a0 = i * M_PI / 18, a1 = a0 + M_PI / 18 + 0.02;
    double R, G, B;
    const double h = i * 10.0 / 60.0;
    const int k = static_cast<int>(h);
    const double f = h - k;
    const double vals[6][3] = {{1, f, 0}, {1 - f, 1, 0}, {0, 1, f}, {0, 1 - f, 1}, {f, 0, 1}, {1, 0, 1 - f}};
    R = vals[k % 6][0]; G = vals[k % 6][1]; B = vals[k % 6][2];
    cairo_t* cr = c.cr();
    cairo_new_path(cr);
    cairo_arc(cr, 92, 92, 40, a0, a1);
    cairo_set_source_rgba(cr, R, G, B, 0.9);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_arc(cr, 92, 92, 40, a0, a1);
    cairo_set_source_rgba(cr, R, G, B, 0.12);
    cairo_set_line_width(cr, 18);
    cairo_stroke(cr);
  }
  c.Text(Rect{52, 82, 132, 102}, "RGB", Label(16, false, true), p::kTextBright);

  static const std::array<const char*, 6> modesEn{"Always on", "Breathing", "APM breathing", "Spectrum cycle", "Symphony", "Lights off"};
  static const std::array<const char*, 6> modesZh{"常亮", "呼吸", "APM 呼吸", "光谱循环", "交响乐", "关闭灯光"};
  for (int m = 0; m < 6; ++m) RadioOption(c, lp::kModeButtons[m].pick(chinese), look, chinese ? modesZh[m] : modesEn[m], option);

  const Rect freq = lp::kFrequencySlider.pick(chinese), bright = lp::kBrightnessSlider.pick(chinese), speed = lp::kSpeedSlider.pick(chinese);
  SliderWithCaption(c, freq, T(chinese, "频率", "Frequency"), chinese, freq.left - 110);
  SliderWithCaption(c, bright, T(chinese, "亮度", "Brightness"), chinese, bright.left - 110);
  SliderWithCaption(c, speed, T(chinese, "速度", "Speed"), chinese, speed.left - 80);
  CheckOption(c, lp::kColourCheck.pick(chinese), look, T(chinese, "自定义颜色", "Custom colours"), label);
  for (const auto& sw : lp::kSwatches) {
    const Rect s = sw.pick(chinese);
    c.StrokeRoundRect(Rect{s.left - 2, s.top - 2, s.right + 2, s.bottom + 2}, 3, p::kLineBright);
  }
  const Rect on = lp::kBodyLightOn.pick(chinese), off = lp::kBodyLightOff.pick(chinese);
  c.Text(Rect{on.left - 130, on.top - 2, on.left - 10, on.bottom + 2}, T(chinese, "机身灯", "Body light"), label, p::kText, Align::Right);
  RadioOption(c, on, look, T(chinese, "开", "On"), option);
  RadioOption(c, off, look, T(chinese, "关", "Off"), option);

  Panel(c, Rect{14, 200, 910, 444}, T(chinese, "颜色", "COLOUR"), title);
  const Rect s3 = lp::kSwatch3.pick(chinese);
  c.Text(Rect{24, s3.top, s3.left - 10, s3.bottom}, T(chinese, "当前颜色", "Colour"), label, p::kText, Align::Right);
  c.StrokeRoundRect(Rect{s3.left - 2, s3.top - 2, s3.right + 2, s3.bottom + 2}, 3, p::kLineBright);
  const Rect p0 = lp::PaletteButton(0, chinese);
  c.Text(Rect{24, p0.top, p0.left - 10, p0.bottom}, T(chinese, "预设", "Presets"), label, p::kText, Align::Right);
  for (int k = 0; k < lp::kPaletteCount; ++k) {
    const Rect r = lp::PaletteButton(k, chinese);
    const Colour col = FromColorRef(lp::kPaletteColours[k]);
    const Rect chipRect{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
    if (look == Look::Over) c.StrokeRoundRect(Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, 5, p::kTextBright, 1.5);
    if (look == Look::Down) c.StrokeRoundRect(Rect{r.left, r.top, r.right, r.bottom}, 6, p::kAccent, 2);
    c.FillRoundRect(chipRect, 4, col);
    c.StrokeRoundRect(chipRect, 4, Colour{0, 0, 0, 0.35});
    if (look == Look::Down) {
      c.Circle((r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0, 6, Colour{0, 0, 0, 0.45});
      cairo_t* cr = c.cr();
      const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
      cairo_move_to(cr, cx - 3, cy);
      cairo_line_to(cr, cx - 1, cy + 2.5);
      cairo_line_to(cr, cx + 3.5, cy - 2.5);
      cairo_set_source_rgb(cr, 1, 1, 1);
      cairo_set_line_width(cr, 1.6);
      cairo_stroke(cr);
    }
  }
  static const char* channels[3] = {"R", "G", "B"};
  static const Colour channelColours[3] = {Hex(0xF0505A), Hex(0x4CD46A), Hex(0x4C8CF0)};
  for (int i = 0; i < 3; ++i) {
    const Rect s = lp::kColourSliders[i].pick(chinese);
    SliderGroove(c, s);
    const double cy = s.bottom - std::min(s.height(), layout::art::kSliderThumb.height) / 2.0;
    c.Text(Rect{s.left - 22, static_cast<int>(cy) - 8, s.left - 6, static_cast<int>(cy) + 8}, channels[i], Label(12, false, true), channelColours[i]);
    const Rect n = layout::lighting_page::kColourNumbers[i];
    Inset(c, Rect{n.left - 2, n.top - 1, n.right + 2, n.bottom + 1}, 2);
  }
  const Rect wheel = lp::kColourWheel;
  c.Circle((wheel.left + wheel.right) / 2.0, (wheel.top + wheel.bottom) / 2.0, wheel.width() / 2.0 + 4, Hex(0x22B8E6, 0.08));
  ColourWheel(c, wheel);
  c.Text(Rect{wheel.left - 10, wheel.bottom + 6, wheel.right + 10, wheel.bottom + 22}, T(chinese, "点击取色", "Click to pick"), Label(10, chinese), p::kTextDim);
}

// ---------------------------------------------------------------------------------------------
void PaintMacroPage(Canvas& c, Look look, bool chinese) {
  namespace mp = layout::macro_page;
  PageBackground(c);
  const Font title = TitleFont(chinese);
  const Font label = Label(12, chinese);

  Panel(c, Rect{14, 14, 338, 446}, T(chinese, "宏列表", "MACROS"), title);
  c.Text(Rect{26, 26, 326, 44}, T(chinese, "游戏分类", "Game"), Label(11, chinese), p::kTextDim, Align::Left);
  {
    const Rect b = mp::kCategoryButton;
    PushButton(c, b, look);
    cairo_t* cr = c.cr();
    const double x = b.right - 14, y = (b.top + b.bottom) / 2.0;
    cairo_move_to(cr, x - 4, y - 2);
    cairo_line_to(cr, x, y + 2);
    cairo_line_to(cr, x + 4, y - 2);
    const Colour ink = InkFor(look);
    cairo_set_source_rgb(cr, ink.r, ink.g, ink.b);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
  }
  const Rect ml = mp::kMacroList;
  c.FillRect(Rect{ml.left - 1, ml.top - 1, ml.right + 1, ml.bottom + 1}, p::kLine);
  c.FillRect(ml, Hex(0x0F0F0F));
  GlyphButton(c, mp::kNewMacroButton, look, GlyphPlus);
  {
    const Rect d = mp::kDeleteMacroButton;
    PushButton(c, d, look);
    c.Text(d, T(chinese, "删除", "Delete"), Label(11, chinese, true), InkFor(look));
  }

  Panel(c, Rect{338, 14, 634, 446}, T(chinese, "事件", "EVENTS"), title);
  const Rect el = mp::kEventList;
  c.FillRect(Rect{el.left - 1, el.top - 1, el.right + 1, el.bottom + 1}, p::kLine);
  c.FillRect(el, Hex(0x0F0F0F));
  GlyphButton(c, mp::kInsertButton.pick(chinese), look, GlyphPlus);
  GlyphButton(c, mp::kDeleteEventButton.pick(chinese), look, GlyphMinus);
  GlyphButton(c, mp::kModifyButton.pick(chinese), look, GlyphPencil);

  Panel(c, Rect{638, 14, 910, 446}, T(chinese, "录制", "RECORDER"), title);
  {
    // Record button: red dot left of the program's caption area.
    const Rect r = mp::kRecordButton;
    PushButton(c, r, look);
    c.Circle(r.left - 10, (r.top + r.bottom) / 2.0, 5, Hex(0xE0404C));
    c.Circle(r.left - 10, (r.top + r.bottom) / 2.0, 8, Hex(0xE0404C, 0.2));
  }
  CheckOption(c, mp::kDelayToggle, look, T(chinese, "不录制按键间的延时", "Record without the delays"), label);
  {
    const Rect e = mp::kRepeatEdit;
    c.Text(Rect{646, e.top - 3, e.left - 8, e.bottom + 3}, T(chinese, "循环次数", "Repeat count"), label, p::kText, Align::Left);
    c.FillRoundRect(Rect{e.left - 3, e.top - 3, e.right + 3, e.bottom + 3}, 3, Hex(0x0F0F0F));
    c.StrokeRoundRect(Rect{e.left - 3, e.top - 3, e.right + 3, e.bottom + 3}, 3, p::kLine);
  }
  // The mouse around its three pads.
  const Rect lp = mp::kLeftPad.pick(chinese), mpad = mp::kMiddlePad.pick(chinese), rp = mp::kRightPad.pick(chinese);
  const int top = std::min({lp.top, mpad.top, rp.top}) - 18;
  const int bodyWidth = rp.right - lp.left + 32;
  const Rect body{lp.left - 16, top, rp.right + 16, top + bodyWidth * 2};
  c.Text(Rect{646, top - 28, 900, top - 10}, T(chinese, "点击鼠标按键以录制", "Click the buttons to record them"), Label(11, chinese), p::kTextDim, Align::Left);
  cairo_t* cr = c.cr();
  cairo_save(cr);
  cairo_rectangle(cr, 640, top - 4, 268, 300 - top);
  cairo_clip(cr);
  MouseIllustration(c, body, false);
  // Fade the cut-off palm into the panel.
  cairo_pattern_t* fade = cairo_pattern_create_linear(0, 300 - 50, 0, 300);
  cairo_pattern_add_color_stop_rgba(fade, 0, 0x12 / 255.0, 0x17 / 255.0, 0x1D / 255.0, 0);
  cairo_pattern_add_color_stop_rgba(fade, 1, 0x11 / 255.0, 0x16 / 255.0, 0x1C / 255.0, 1);
  cairo_rectangle(cr, 640, 250, 268, 50);
  cairo_set_source(cr, fade);
  cairo_fill(cr);
  cairo_pattern_destroy(fade);
  cairo_restore(cr);
  for (const Rect& pad : {lp, mpad, rp}) {
    const double radius = std::min(pad.width(), pad.height()) / 3.0;
    if (look == Look::Normal) {
      c.FillRoundRect(pad, radius, Hex(0x22B8E6, 0.10));
      c.StrokeRoundRect(pad, radius, Hex(0x22B8E6, 0.55));
    } else if (look == Look::Over) {
      c.FillRoundRect(pad, radius, Hex(0x22B8E6, 0.30));
      c.StrokeRoundRect(pad, radius, p::kAccent);
    } else {
      c.GradientRoundRect(pad, radius, p::kAccent, p::kAccentDeep);
    }
  }

  // Event editor.
  c.Line(650, 306.5, 898, 306.5, p::kLine, 1);
  const Font small = Label(12, chinese);
  RadioOption(c, mp::kKeyChoice.pick(chinese), look, T(chinese, "插入按键", "Insert a key"), small);
  RadioOption(c, mp::kDelayChoice.pick(chinese), look, T(chinese, "插入延时", "Insert a delay (ms)"), small);
  for (const Rect& e : {mp::kKeyEdit.pick(chinese), mp::kDelayEdit.pick(chinese)}) {
    c.FillRoundRect(Rect{e.left - 2, e.top - 1, e.right + 2, e.bottom + 1}, 3, Hex(0x0F0F0F));
    c.StrokeRoundRect(Rect{e.left - 2, e.top - 1, e.right + 2, e.bottom + 1}, 3, p::kLine);
  }
  GlyphButton(c, mp::kKeyConfirm.pick(chinese), look, GlyphCheck);
  GlyphButton(c, mp::kDelayConfirm.pick(chinese), look, GlyphCheck);
}

// ---------------------------------------------------------------------------------------------
void PaintStatsPage(Canvas& c, Look look, bool chinese) {
  namespace sp = layout::stats_page;
  PageBackground(c);
  const Font title = TitleFont(chinese);

  Panel(c, Rect{14, 14, 300, 440}, T(chinese, "使用统计", "ACTIVITY"), title);
  static const std::array<const char*, 8> namesEn{"Left clicks", "Middle clicks", "Right clicks", "All clicks", "Wheel up", "Wheel down", "All scrolls", "Distance"};
  static const std::array<const char*, 8> namesZh{"左键点击", "中键点击", "右键点击", "点击总数", "滚轮向上", "滚轮向下", "滚动总数", "移动距离"};
  SectionTitle(c, Rect{26, 52, 290, 72}, T(chinese, "点击", "CLICKS"), title);
  SectionTitle(c, Rect{26, 220, 290, 240}, T(chinese, "滚轮", "WHEEL"), title);
  SectionTitle(c, Rect{26, 354, 290, 374}, T(chinese, "光标", "CURSOR"), title);
  for (int i = 0; i < 8; ++i) {
    const Rect f = sp::Figure(i, chinese);
    const bool total = i == 3 || i == 6;
    const int fieldLeft = chinese ? 150 : 136;
    const int fieldRight = sp::Figure(7, chinese).right + 8;
    c.FillRoundRect(Rect{fieldLeft, f.top - 1, fieldRight, f.bottom + 1}, 3, total ? Hex(0x0A2733) : p::kInset);
    c.StrokeRoundRect(Rect{fieldLeft, f.top - 1, fieldRight, f.bottom + 1}, 3, total ? p::kAccentDeep : p::kLine);
    c.Text(Rect{30, f.top, fieldLeft - 6, f.bottom}, chinese ? namesZh[i] : namesEn[i], Label(12, chinese, total), total ? p::kTextBright : p::kText, Align::Left);
  }

  // Trophy display area behind the trophy picture.
  const Rect t = sp::kTrophyPicture;
  c.VerticalGradient(t, Hex(0x161D25), Hex(0x0C1015));

  Panel(c, Rect{620, 14, 910, 440}, T(chinese, "奖杯", "TROPHIES"), title);
  c.Text(Rect{632, 36, 900, 56}, T(chinese, "点击和滚动越多，等级越高", "Click and scroll to reach higher levels"), Label(11, chinese), p::kTextDim, Align::Left);
  // Level bar: empty in the normal picture, full in the down picture (the bar is shown "on").
  const Rect bar{sp::kProgressBar.left, sp::kProgressBar.top, sp::kProgressBarShown.right, sp::kProgressBarShown.bottom};
  if (look == Look::Down) {
    c.GradientRoundRect(bar, 3, p::kAmber, Hex(0xB8701A));
  } else {
    c.FillRoundRect(bar, 3, p::kInset);
    c.StrokeRoundRect(bar, 3, p::kLine);
  }
  for (int i = 0; i < sp::kLampCount; ++i) {
    const Rect l = sp::Lamp(i);
    const double cx = (l.left + l.right) / 2.0, cy = l.top + 20;
    if (look == Look::Down) {
      c.FillRoundRect(l, 6, Hex(0x2A2114));
      c.StrokeRoundRect(l, 6, p::kAmber);
      c.Circle(cx, cy, 13, Hex(0xF2A93B, 0.25));
      c.Circle(cx, cy, 9, p::kAmber);
      c.Text(Rect{l.left, l.top + 34, l.right, l.bottom - 2}, std::to_string(i), Label(10, false, true), p::kAmber);
    } else {
      c.FillRoundRect(l, 6, look == Look::Over ? p::kRaisedHot : p::kRaised);
      c.StrokeRoundRect(l, 6, p::kLine);
      c.Ring(cx, cy, 9, p::kLineBright, 1.5);
      c.Text(Rect{l.left, l.top + 34, l.right, l.bottom - 2}, std::to_string(i), Label(10, false, true), p::kTextDim);
    }
  }
  c.Text(Rect{632, 310, 900, 330}, T(chinese, "等级 0 至 12", "Levels 0 to 12"), Label(11, chinese), p::kTextDim, Align::Left);
  PushButton(c, sp::kResetButton, look, T(chinese, "重置统计", "Reset"), Label(12, chinese, true));
}

// ---------------------------------------------------------------------------------------------
void PaintSupportPage(Canvas& c, Look look, bool chinese) {
  namespace su = layout::support_page;
  PageBackground(c);
  const Font title = TitleFont(chinese);
  const Font button = Label(12, chinese, true);

  // Brand line across the top.
  Font brand = Label(30, false, true);
  brand.letterSpacing = 8;
  c.Text(Rect{0, 30, c.width(), 76}, "VORNA NX7", brand, Hex(0xFFFFFF, 0.85));
  c.Text(Rect{0, 78, c.width(), 96}, T(chinese, "游戏鼠标 · 驱动程序与固件", "Gaming mouse · driver and firmware"), Label(12, chinese), p::kTextDim);

  Panel(c, Rect{100, 124, 880, 310}, T(chinese, "版本", "VERSIONS"), title);
  c.Text(Rect{su::kProgramVersion.left, 142, su::kProgramVersion.right, 162}, T(chinese, "驱动程序版本", "Driver version"), Label(12, chinese), p::kTextDim, Align::Left);
  c.Text(Rect{su::kFirmwareVersion.left, 142, su::kFirmwareVersion.left + 300, 162}, T(chinese, "固件版本", "Firmware version"), Label(12, chinese), p::kTextDim, Align::Left);
  c.Line(su::kProgramVersion.left, 196.5, su::kProgramVersion.left + 220, 196.5, p::kAccentDeep, 1);
  c.Line(su::kFirmwareVersion.left, 196.5, su::kFirmwareVersion.left + 220, 196.5, p::kAccentDeep, 1);
  PushButton(c, su::kFirmwareUpdate, look, T(chinese, "检查更新", "Update"), button);
  c.Text(Rect{su::kWebSite.left - 10, 212, su::kWebSite.right + 40, 232}, T(chinese, "驱动、说明与帮助", "Drivers, manuals and help"), Label(11, chinese), p::kTextDim, Align::Left);
  PushButton(c, su::kWebSite, look, T(chinese, "访问官网", "Website"), button);
  c.Text(Rect{su::kFirmwareUpdate.left - 10, 212, su::kFirmwareUpdate.right + 80, 232}, T(chinese, "检查新的鼠标固件", "Look for new mouse firmware"), Label(11, chinese), p::kTextDim, Align::Left);

  Panel(c, Rect{100, 340, 480, 440}, T(chinese, "配置文件", "PROFILE FILE"), title);
  c.Text(Rect{su::kImport.left, 358, 470, 378}, T(chinese, "导入或导出当前设置", "Load or save the current settings"), Label(11, chinese), p::kTextDim, Align::Left);
  PushButton(c, su::kImport, look, T(chinese, "导入", "Import"), button);
  PushButton(c, su::kExport, look, T(chinese, "导出", "Export"), button);

  Panel(c, Rect{500, 340, 880, 440}, T(chinese, "恢复", "RESTORE"), title);
  c.Text(Rect{520, su::kRestoreDefaults.top - 2, su::kRestoreDefaults.left - 12, su::kRestoreDefaults.bottom + 2}, T(chinese, "恢复全部默认设置", "Return every setting to its default"), Label(11, chinese), p::kTextDim, Align::Left);
  PushButton(c, su::kRestoreDefaults, look, T(chinese, "恢复默认", "Defaults"), button);
}

}  // namespace nx7::artgen
