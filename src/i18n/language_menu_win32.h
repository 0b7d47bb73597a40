#pragma once
// The language menu: the skinned popup (CMenuEx) whose entries are the twelve languages with
// their flags, opened by the main window above its language button. Choosing a language sends
// WM_LANGUAGE_SELECTED (wParam 0, lParam the LanguageId) to the owner; closing, with or without
// a choice (a click elsewhere, Escape, or the owner posting WM_CLOSE after its switch), sends
// WM_LANGUAGE_SELECTED with lParam 0, which the owner ignores.
#include <windows.h>

#include "skin/popup_menu_win32.h"

namespace nx7::win32 {

class CMenuExA : public CMenuEx {
 protected:
  // The rows of the language table: menu text, flag icon (PNG 130 + n), command = LanguageId.
  void FillEntries() override;
};

// Opens a language menu for `owner` with its left edge 4 pixels left of the language button and
// its top 287 pixels above the button's bottom edge (`languageButton` in screen coordinates),
// on the frame picture (PNG 129). Returns the open menu, which deletes itself when it closes,
// or null when it could not be created.
CMenuExA* OpenLanguageMenu(HWND owner, const RECT& languageButton);

}  // namespace nx7::win32
