#pragma once
// Whole-window pictures and the small pictures of the program, one painter per picture kind.
#include "painter.h"

namespace nx7::artgen {

// Whole windows, in one look; `chinese` picks the labels (and, on the pages, the layout).
void PaintMainWindow(Canvas& c, Look look, bool chinese);
void PaintMessageBox(Canvas& c, Look look, bool twoButtons);
void PaintProgressDialog(Canvas& c, bool filled);
void PaintPerformancePage(Canvas& c, Look look, bool chinese);
void PaintLightingPage(Canvas& c, Look look, bool chinese);
void PaintMacroPage(Canvas& c, Look look, bool chinese);
void PaintStatsPage(Canvas& c, Look look, bool chinese);
void PaintSupportPage(Canvas& c, Look look, bool chinese);
void PaintSettingDialog(Canvas& c, Look look, bool chinese);
void PaintComboPage(Canvas& c, Look look, bool chinese);
void PaintMacroSetPage(Canvas& c, Look look, bool chinese);
void PaintBasePage(Canvas& c, Look look, bool chinese);
void PaintAdvancedPage(Canvas& c, Look look, bool chinese);
void PaintTrophy(Canvas& c, int level);

// Small pictures.
void PaintFlag(Canvas& c, int languageId);  // any size; 37 x 22 and 19 x 11 are used
void PaintMenuFrame(Canvas& c);
void PaintScrollSkin(Canvas& c);
enum class ListIcon { Up, Down, Delay };
void PaintListIcon(Canvas& c, ListIcon icon, bool selected);
void PaintSliderThumb(Canvas& c);
void PaintCategoryMenuItem(Canvas& c, Look look, bool hasSubmenu);
enum class AppIcon { Application, Exit, Config };
void PaintIcon(Canvas& c, AppIcon icon);

}  // namespace nx7::artgen
