#pragma once
// The theme's controls, each painted in one of the three looks of a whole-window picture.
// Over is the hover look; Down is the pressed look, which check buttons also show while checked.
#include <string>

#include "painter.h"

namespace nx7::artgen {

// Rounded push button with an optional label drawn into the picture.
void PushButton(Canvas& c, const Rect& r, Look look, const std::string& label = {}, const Font& font = {});
// Call-to-action button (accent in every look).
void AccentButton(Canvas& c, const Rect& r, Look look, const std::string& label, const Font& font);
// Small value chip (DPI and report-rate values).
void Chip(Canvas& c, const Rect& r, Look look, const std::string& label, const Font& font);
// Option with a round indicator and a label to its right; Down shows it chosen.
void RadioOption(Canvas& c, const Rect& r, Look look, const std::string& label, const Font& font);
// Option with a square indicator and a label to its right; Down shows it ticked.
void CheckOption(Canvas& c, const Rect& r, Look look, const std::string& label, const Font& font);
// Square check box alone.
void CheckBox(Canvas& c, const Rect& r, Look look);
// Slanted tab or profile button.
void SlantButton(Canvas& c, const Quad& q, Look look, const std::string& label, const Font& font);
// Groove a slider thumb runs in; the thumb sits on the bottom of the rectangle.
void SliderGroove(Canvas& c, const Rect& r, Colour fillFrom = palette::kAccentDeep, Colour fillTo = palette::kAccent);
// Sunken field behind an edit box or a text drawn by the program.
void Inset(Canvas& c, const Rect& r, double radius = 3);
// Panel with a small uppercase title on its top edge.
void Panel(Canvas& c, const Rect& r, const std::string& title, const Font& font);
// Section title with an accent tick.
void SectionTitle(Canvas& c, const Rect& r, const std::string& title, const Font& font);
// Window close and minimise glyph buttons.
void CloseGlyph(Canvas& c, const Rect& r, Look look, bool danger = true);
void MinimiseGlyph(Canvas& c, const Rect& r, Look look);
// Arrow buttons (up or down).
void ArrowButton(Canvas& c, const Rect& r, Look look, bool up);
// Subtle diagonal texture over a rectangle (the window backgrounds).
void Texture(Canvas& c, const Rect& r, Colour line, int spacing);

Font Label(double pixels, bool chinese, bool bold = false);

}  // namespace nx7::artgen
