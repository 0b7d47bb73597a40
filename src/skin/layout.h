#pragma once
// Geometry of every window of the program: client sizes and the places of their controls, in
// client pixels. The windows create their controls from these tables and the artwork generator
// paints the skin pictures from the same tables, so a button cut from a page picture always shows
// the artwork drawn for it.
//
// Rectangles are (left, top, right, bottom) with right and bottom exclusive, as Win32 RECTs.
// Where a control sits elsewhere in the Chinese layout (`chineseText` set) the table holds a
// LangRect with both places.
#include <array>
#include <cstdint>

namespace nx7::layout {

struct Point {
  int x = 0;
  int y = 0;
};

struct Size {
  int width = 0;
  int height = 0;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  constexpr int width() const { return right - left; }
  constexpr int height() const { return bottom - top; }
  constexpr bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  constexpr bool inside(Size s) const { return left >= 0 && top >= 0 && right <= s.width && bottom <= s.height; }
};

// A four-cornered button outline (the slanted tabs), corners in drawing order.
struct Quad {
  std::array<Point, 4> corners;
  // The smallest rectangle holding the outline (right and bottom one past the last corner).
  constexpr Rect bounds() const {
    Rect r{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
    for (const Point& p : corners) {
      r.left = p.x < r.left ? p.x : r.left;
      r.top = p.y < r.top ? p.y : r.top;
      r.right = p.x > r.right ? p.x : r.right;
      r.bottom = p.y > r.bottom ? p.y : r.bottom;
    }
    r.right += 1;
    r.bottom += 1;
    return r;
  }
};

// A control whose place depends on the language layout.
struct LangRect {
  Rect chinese;
  Rect english;
  constexpr const Rect& pick(bool chineseText) const { return chineseText ? chinese : english; }
};

// ---------------------------------------------------------------------------------------------
// Main window (template 102): 959 x 639, pages in the middle, region buttons along two edges.
namespace main_window {
inline constexpr Size kClient{959, 639};
inline constexpr Rect kMinimiseButton{887, 2, 921, 33};
inline constexpr Rect kCloseButton{922, 2, 956, 33};
inline constexpr Rect kLanguageButton{15, 617, 57, 635};
inline constexpr Rect kFlagPicture{19, 592, 55, 615};  // control 1010
inline constexpr std::array<Quad, 5> kPageTabs{{
    {{{{30, 85}, {189, 85}, {210, 121}, {30, 121}}}},
    {{{{193, 85}, {375, 85}, {396, 121}, {214, 121}}}},
    {{{{377, 85}, {559, 85}, {579, 121}, {399, 121}}}},
    {{{{562, 85}, {743, 85}, {764, 121}, {583, 121}}}},
    {{{{747, 85}, {928, 85}, {928, 121}, {768, 121}}}},
}};
inline constexpr std::array<Quad, 5> kProfileButtons{{
    {{{{342, 608}, {435, 608}, {414, 635}, {321, 635}}}},
    {{{{439, 608}, {533, 608}, {512, 635}, {417, 635}}}},
    {{{{536, 608}, {628, 608}, {605, 635}, {513, 635}}}},
    {{{{630, 608}, {723, 608}, {700, 635}, {607, 635}}}},
    {{{{725, 608}, {818, 608}, {795, 635}, {703, 635}}}},
}};
inline constexpr Quad kApplyButton{{{{841, 591}, {940, 591}, {940, 632}, {806, 632}}}};
inline constexpr Rect kPageArea{15, 128, 940, 580};  // every page is moved here: 925 x 452
inline constexpr Rect kHintText{67, 598, 300, 628};
// The language popup opens at (button left - 4, button bottom - 287), in screen coordinates.
inline constexpr Point kLanguageMenuOffset{-4, -287};
}  // namespace main_window

// Every page of the main window has the size of the page area.
inline constexpr Size kPageClient{925, 452};

// ---------------------------------------------------------------------------------------------
// Progress dialog (template 114): the size of "Progress_Normal.png".
namespace progress_dialog {
inline constexpr Size kClient{330, 80};
inline constexpr Rect kBar{35, 47, 295, 56};  // progress bar 777
inline constexpr Rect kText{35, 20, 345, 60};  // layout rectangle of the waiting text
}  // namespace progress_dialog

// ---------------------------------------------------------------------------------------------
// Message box (template 113): 330 x 160, one-button or two-button form.
namespace message_box {
inline constexpr Size kClient{330, 160};
inline constexpr Rect kCloseButton{300, 0, 329, 29};
inline constexpr Rect kOkSingle{240, 127, 306, 159};
inline constexpr Rect kOkPair{178, 127, 244, 159};
inline constexpr Rect kCancelPair{245, 127, 311, 159};
inline constexpr Rect kTitle{10, 9, 100, 23};
inline constexpr Rect kText{90, 73, 305, 91};
// Bitmap resources: background/normal, hot, pressed.
inline constexpr std::array<int, 3> kSingleBitmaps{1007, 1009, 1005};
inline constexpr std::array<int, 3> kPairBitmaps{1006, 1008, 1004};
}  // namespace message_box

// ---------------------------------------------------------------------------------------------
// Button settings dialog (template 108) and its four pages (templates 109 to 112).
namespace setting_dialog {
inline constexpr Size kClient{413, 300};
inline constexpr Rect kCloseButton{383, 1, 411, 24};
inline constexpr std::array<Rect, 4> kTabs{{{0, 37, 110, 64}, {111, 37, 207, 64}, {208, 37, 303, 64}, {304, 37, 412, 64}}};
inline constexpr Rect kPageArea{21, 74, 391, 243};
inline constexpr Rect kDisableCheck{23, 258, 42, 277};
inline constexpr Rect kRestoreButton{238, 254, 315, 289};
inline constexpr Rect kOkButton{316, 254, 393, 289};
inline constexpr Rect kTitle{135, 1, 277, 20};
inline constexpr Rect kCurrentFunction{5, 16, 180, 38};
inline constexpr Rect kDisableLabel{46, 258, 106, 278};
}  // namespace setting_dialog

namespace setting_pages {
inline constexpr Size kClient{370, 169};  // the dialog's page area
// Key combination page: Ctrl, Alt, Shift, Win check boxes and the captured key's name.
inline constexpr std::array<Rect, 4> kModifierChecks{{{59, 45, 72, 58}, {59, 70, 72, 83}, {59, 94, 72, 108}, {58, 119, 72, 133}}};
inline constexpr Rect kKeyName{170, 77, 326, 100};
// Macro page.
inline constexpr Rect kCategoryList{1, 1, 184, 168};
inline constexpr Rect kMacroList{188, 1, 369, 168};
// Basic-function page (two pixels wider and higher than the page: the page clips it).
inline constexpr Rect kFunctionList{0, 0, 372, 171};
// Advanced page: one row per launch kind (sound, program, file, folder).
struct LaunchRow {
  Rect radio;
  Rect label;
  Rect path;
  Rect browse;
};
inline constexpr std::array<LaunchRow, 4> kLaunchRows{{
    {{21, 37, 38, 54}, {41, 36, 127, 56}, {124, 36, 263, 52}, {273, 33, 349, 55}},
    {{21, 63, 38, 80}, {41, 63, 127, 83}, {124, 63, 262, 79}, {273, 59, 349, 81}},
    {{21, 88, 38, 105}, {41, 89, 127, 109}, {124, 89, 262, 105}, {273, 86, 349, 108}},
    {{21, 114, 38, 131}, {41, 116, 127, 136}, {124, 116, 262, 132}, {273, 113, 349, 135}},
}};
}  // namespace setting_pages

// ---------------------------------------------------------------------------------------------
// Performance page (template 103).
namespace performance_page {
inline constexpr std::array<int, 14> kDpiValues{500, 750, 1000, 1250, 1500, 2000, 2500, 3000, 3250, 3500, 4000, 5000, 6000, 7000};
inline constexpr std::array<Rect, 14> kDpiButtons{{
    {69, 66, 109, 78}, {140, 66, 184, 78}, {206, 66, 251, 79}, {277, 66, 321, 78},
    {347, 66, 394, 78}, {415, 66, 464, 80}, {486, 66, 534, 80},
    {68, 90, 116, 103}, {139, 91, 186, 104}, {205, 91, 254, 103}, {276, 91, 323, 104},
    {346, 91, 393, 103}, {415, 90, 461, 104}, {485, 90, 530, 104},
}};
inline constexpr Rect kPointerSpeedSlider{104, 167, 293, 179};  // id 2560
inline constexpr Rect kPrecisionSwitch{68, 203, 178, 219};
inline constexpr Rect kSecondSlider{422, 167, 624, 179};  // id 2562
inline constexpr std::array<int, 4> kReportRateValues{125, 250, 500, 1000};
inline constexpr std::array<Rect, 4> kReportRateButtons{{{67, 303, 120, 317}, {134, 303, 190, 317}, {201, 303, 261, 317}, {271, 303, 331, 317}}};
inline constexpr LangRect kLinesOption{{406, 331, 558, 345}, {406, 331, 669, 347}};
inline constexpr LangRect kLinesEdit{{574, 333, 590, 358}, {550, 355, 573, 377}};  // id 2563
inline constexpr LangRect kLinesUp{{594, 330, 607, 340}, {573, 350, 588, 361}};
inline constexpr LangRect kLinesDown{{594, 341, 607, 350}, {573, 361, 588, 372}};
inline constexpr LangRect kScreenOption{{406, 361, 527, 375}, {406, 375, 672, 393}};
inline constexpr std::array<Quad, 7> kInputTabs{{
    {{{{19, 408}, {127, 408}, {95, 441}, {19, 441}}}},
    {{{{130, 408}, {214, 408}, {182, 441}, {98, 441}}}},
    {{{{218, 408}, {302, 408}, {270, 441}, {186, 441}}}},
    {{{{306, 408}, {389, 408}, {357, 441}, {274, 441}}}},
    {{{{393, 408}, {476, 408}, {444, 441}, {361, 441}}}},
    {{{{481, 408}, {581, 408}, {549, 441}, {449, 441}}}},
    {{{{586, 408}, {692, 408}, {660, 441}, {554, 441}}}},
}};
// Region-button pictures (normal, down, over, disabled) by language.
inline constexpr std::array<int, 4> kTabBitmapsChinese{161, 160, 162, 161};
inline constexpr std::array<int, 4> kTabBitmapsEnglish{164, 163, 165, 164};
}  // namespace performance_page

// ---------------------------------------------------------------------------------------------
// Lighting page (template 104).
namespace lighting_page {
// Mode buttons, indexed by `ledMode` - 1.
inline constexpr std::array<LangRect, 6> kModeButtons{{
    {{197, 89, 278, 106}, {196, 86, 301, 104}},   // 1 breathing always on
    {{197, 63, 277, 78}, {196, 56, 286, 76}},     // 2 breathing
    {{368, 36, 481, 52}, {450, 26, 665, 46}},     // 3
    {{197, 36, 309, 52}, {196, 28, 407, 47}},     // 4
    {{197, 118, 278, 135}, {196, 117, 331, 131}}, // 5 symphony
    {{557, 36, 638, 52}, {710, 28, 828, 46}},     // 6 off
}};
inline constexpr LangRect kFrequencySlider{{458, 67, 603, 75}, {570, 61, 714, 70}};   // id 778
inline constexpr LangRect kBrightnessSlider{{458, 92, 602, 101}, {570, 91, 713, 99}};  // id 777
inline constexpr LangRect kColourCheck{{326, 114, 405, 138}, {342, 112, 488, 137}};
inline constexpr std::array<LangRect, 3> kSwatches{{
    {{431, 114, 456, 139}, {514, 110, 543, 139}},
    {{464, 114, 489, 139}, {547, 110, 576, 139}},
    {{497, 114, 522, 139}, {580, 110, 609, 139}},
}};
inline constexpr LangRect kSpeedSlider{{673, 123, 816, 131}, {428, 146, 572, 153}};  // id 779
inline constexpr LangRect kBodyLightOn{{196, 146, 248, 164}, {326, 164, 394, 180}};
inline constexpr LangRect kBodyLightOff{{324, 147, 375, 163}, {453, 165, 525, 181}};
inline constexpr LangRect kSwatch3{{171, 206, 196, 232}, {170, 207, 195, 232}};
// Red, green and blue sliders (ids 769 to 771) and their number boxes (ids 772 to 774).
inline constexpr std::array<LangRect, 3> kColourSliders{{
    {{564, 272, 692, 287}, {571, 279, 698, 287}},
    {{564, 319, 692, 334}, {571, 326, 698, 336}},
    {{564, 354, 692, 379}, {571, 370, 698, 379}},
}};
inline constexpr std::array<Rect, 3> kColourNumbers{{{713, 275, 738, 290}, {713, 323, 738, 338}, {713, 367, 738, 383}}};
// The colour wheel is the ellipse inscribed in this rectangle.
inline constexpr Rect kColourWheel{771, 264, 891, 383};

inline constexpr int kPaletteCount = 26;
// Palette button k: rows of seven from the top left.
constexpr Rect PaletteButton(int k, bool chineseText) {
  const int row = k / 7;
  const int column = k % 7;
  const int x = 40 * column - (column >= 5 ? 1 : 0);
  const int y = 258 + 41 * row;
  return chineseText ? Rect{140 + x, y - 2, 171 + x, y + 31} : Rect{177 + x, y, 208 + x, y + 32};
}
// The colour each palette button shows and stores, 0x00BBGGRR.
inline constexpr std::array<uint32_t, kPaletteCount> kPaletteColours{
    0x7E05FA, 0x0012FA, 0x0179F8, 0x00EDF9, 0x09F0C1, 0x00F927, 0x2AA418, 0x93E713, 0xDFE90D,
    0xFAC101, 0xFA8E05, 0xF96F00, 0xF80024, 0xE3185A, 0xE21B7F, 0xE218C1, 0x54FAE6, 0x30B900,
    0x7D63FA, 0x233BC4, 0x1603DE, 0xAD7A17, 0x12B900, 0xC05A4A, 0xEE4E6F, 0xB95401};
}  // namespace lighting_page

// ---------------------------------------------------------------------------------------------
// Macro page (template 105).
namespace macro_page {
inline constexpr Rect kCategoryButton{25, 48, 327, 71};
inline constexpr Rect kMacroList{27, 89, 325, 406};  // id 0x100
inline constexpr Rect kNewMacroButton{26, 412, 67, 441};
inline constexpr Rect kDeleteMacroButton{77, 412, 139, 441};
inline constexpr Rect kEventList{345, 51, 626, 406};  // id 0x101
inline constexpr LangRect kInsertButton{{361, 412, 391, 441}, {343, 412, 373, 440}};
inline constexpr LangRect kDeleteEventButton{{394, 412, 424, 441}, {376, 412, 406, 440}};
inline constexpr LangRect kModifyButton{{427, 412, 457, 441}, {409, 412, 439, 440}};
inline constexpr Rect kRecordButton{783, 22, 899, 53};
inline constexpr Rect kDelayToggle{646, 58, 834, 76};
inline constexpr Rect kRepeatEdit{852, 87, 892, 102};  // id 1001
inline constexpr LangRect kLeftPad{{718, 213, 745, 257}, {715, 185, 740, 207}};
inline constexpr LangRect kMiddlePad{{754, 205, 782, 256}, {756, 166, 780, 189}};
inline constexpr LangRect kRightPad{{791, 213, 823, 257}, {802, 186, 825, 209}};
inline constexpr LangRect kKeyChoice{{644, 340, 757, 357}, {644, 316, 779, 335}};
inline constexpr LangRect kKeyEdit{{666, 365, 821, 379}, {664, 340, 823, 358}};  // id 1002
inline constexpr LangRect kKeyConfirm{{852, 362, 892, 383}, {852, 340, 892, 358}};
inline constexpr LangRect kDelayChoice{{644, 389, 768, 405}, {644, 364, 790, 382}};
inline constexpr LangRect kDelayEdit{{666, 415, 821, 428}, {664, 389, 823, 407}};  // id 1003
inline constexpr LangRect kDelayConfirm{{852, 412, 892, 434}, {852, 389, 892, 407}};
}  // namespace macro_page

// ---------------------------------------------------------------------------------------------
// Statistics page (template 106).
namespace stats_page {
inline constexpr Rect kTrophyPicture{309, 0, 607, 451};  // also the size of every trophy picture
inline constexpr Rect kProgressBar{630, 62, 901, 74};
// The bar as the trophy display places it: at (631, 62), 15 high, at most 273 wide.
inline constexpr Rect kProgressBarShown{631, 62, 631 + 273, 77};
inline constexpr int kLampCount = 13;
constexpr Rect Lamp(int i) {
  const int left = 647 + 50 * (i % 5);
  const int top = 132 + 58 * (i / 5);
  return Rect{left, top, left + 43, top + 50};
}
inline constexpr Rect kResetButton{703, 379, 832, 410};
inline constexpr int kTrophyLevels = 13;  // trophy0Down.bmp to trophy12Down.bmp
// The eight figures: left, middle, right clicks, clicks total, wheel up, wheel down, scrolls total, distance.
inline constexpr std::array<std::array<int, 2>, 8> kFigureRows{{{85, 106}, {119, 139}, {152, 172}, {183, 203}, {250, 270}, {284, 304}, {319, 339}, {384, 404}}};
inline constexpr LangRect kFigureColumn{{167, 0, 242, 0}, {152, 0, 227, 0}};    // top and bottom from the row
inline constexpr LangRect kDistanceColumn{{187, 0, 262, 0}, {152, 0, 227, 0}};
constexpr Rect Figure(int index, bool chineseText) {
  const Rect column = (index == 7 ? kDistanceColumn : kFigureColumn).pick(chineseText);
  return Rect{column.left, kFigureRows[index][0], column.right, kFigureRows[index][1]};
}
}  // namespace stats_page

// ---------------------------------------------------------------------------------------------
// Support page (template 107).
namespace support_page {
inline constexpr Rect kFirmwareUpdate{405, 264, 520, 293};
inline constexpr Rect kWebSite{711, 264, 826, 293};
inline constexpr Rect kImport{134, 389, 224, 420};
inline constexpr Rect kExport{234, 389, 324, 420};
inline constexpr Rect kRestoreDefaults{785, 388, 873, 417};
// Layout rectangles of the version texts (x, y, width, height as given to the text drawing).
inline constexpr Rect kProgramVersion{127, 169, 127 + 247, 169 + 192};
inline constexpr Rect kFirmwareVersion{440, 169, 440 + 515, 169 + 192};
}  // namespace support_page

// ---------------------------------------------------------------------------------------------
// Small pictures.
namespace art {
inline constexpr Size kFlag{37, 22};            // bitmaps 142 to 153
inline constexpr Size kMenuIcon{19, 11};        // PNGs 130 to 141
inline constexpr Size kMenuFrame{65, 65};       // PNG 129, drawn nine-sliced
inline constexpr int kMenuFrameCorner = 32;
inline constexpr Size kScrollSkin{163, 54};     // bitmap 166: 9 x 3 cells
inline constexpr int kScrollCell = kScrollSkin.width / 9;
inline constexpr Size kListIcon{16, 16};        // up/down/delay icons
inline constexpr Size kSliderThumb{10, 8};      // "Slider.png"
inline constexpr Size kCategoryMenuItem{302, 24};  // pictures handed to the category menu
inline constexpr Size kTrayMenuIcon{16, 16};
// Language popup: entries of 104 x 22 from (6, 6); icon at +3, +5; text from +30.
inline constexpr int kLanguageMenuTop = 6;
inline constexpr int kLanguageMenuEntryHeight = 22;
inline constexpr Rect kLanguageMenuEntry{6, 0, 110, 22};
// Popup menus (the language menu): 116 wide, 3 pixels below the last entry; a separator is a
// line (32, +2)-(110, +3) taking 4 pixels; the icon is centred in the first 25 pixels of an
// entry, the text runs from +30 to +112.
inline constexpr int kPopupMenuWidth = 116;
inline constexpr int kPopupMenuBottom = 3;
inline constexpr Rect kPopupMenuSeparator{32, 2, 110, 3};
inline constexpr int kPopupMenuSeparatorHeight = 4;
inline constexpr int kPopupMenuIconColumn = 25;
inline constexpr int kPopupMenuTextLeft = 30;
inline constexpr int kPopupMenuTextRight = 112;
// Tray menu items (owner-drawn): 75 x 22, icons 16 x 16, text from +33.
inline constexpr Size kTrayMenuItem{75, 22};
inline constexpr int kTrayMenuTextLeft = 33;
}  // namespace art

// Resource numbers of the pictures: the one table of them. The artwork generator renders each
// picture under its number and writes the resource script lines and the id header from that list.
namespace resource {
inline constexpr int kFlagFirst = 142;        // language 1 to 12: 142 + id - 1
inline constexpr int kMainChinese = 154;      // 154 normal, 155 over, 156 down
inline constexpr int kMainEnglish = 157;      // 157 normal, 158 over, 159 down
inline constexpr int kPerformanceChinese = 160;  // 160 down, 161 normal, 162 over
inline constexpr int kPerformanceEnglish = 163;  // 163 down, 164 normal, 165 over
inline constexpr int kScrollSkin = 166;
inline constexpr int kMenuFramePng = 129;
inline constexpr int kMenuIconFirst = 130;    // language 1 to 12: 130 + id - 1
inline constexpr int kAppIcon = 128;
inline constexpr int kExitIcon = 1011;
inline constexpr int kConfigIcon = 1012;
}  // namespace resource

}  // namespace nx7::layout
