#pragma once
// The calls of MenuEx.dll, the skinned popup menu library shipped beside the program. The library
// exports them under these plain names (menu_ex.def); the program reaches them through
// GetProcAddress (menu_ex_library_win32.h).
//
// One menu is open at a time in the process. It closes when an entry is chosen, on Escape at the
// top level, on a click outside it, when it loses activation, and on DestroyMenuEx.
#include <windows.h>

#include "skin/menuex/menu_ex_item.h"

namespace nx7::menuex {

// Shows the menu with its top-left corner at `position` (screen), closing one already open.
// `itemHeight` is each entry's height (24 when 0 or less, at most 200). Texts are drawn in
// `normalText`, in `hotText` on the entry under the pointer or the keyboard, and in `openText` on
// a parent entry whose submenu has the focus; `openText` is also the frame. The eight pictures
// are BMP file paths in the order of PictureIndex: an entry without children normal, over, down,
// open, then an entry with children the same; each is stretched to the entry (its left 8 and
// right 28 columns kept), and a missing one is drawn as a plain colour. `items` are `count`
// records: entries with parent id kTopLevel form the top level, the others open from the entry
// whose id their parent id names. A choice is sent to `owner` as WM_MENUEX_SELECT. Returns FALSE,
// showing nothing, when `owner` is not a window or no record has a text.
using CreateMenuExFn = BOOL(WINAPI*)(HWND owner, int itemHeight, POINT position, COLORREF normalText,
                                     COLORREF hotText, COLORREF openText, const wchar_t* normalPicture,
                                     const wchar_t* overPicture, const wchar_t* downPicture,
                                     const wchar_t* openPicture, const wchar_t* normalSubPicture,
                                     const wchar_t* overSubPicture, const wchar_t* downSubPicture,
                                     const wchar_t* openSubPicture, const MenuExItem* items, int count);
// Closes the menu if one is open (from any thread); the owner is told nothing.
using DestroyMenuExFn = void(WINAPI*)();
// For a host message loop that wants the menu to see its messages first: keys go to the open
// menu and a click on another window of the thread closes it. TRUE when the message was used up.
// The menu works without it.
using DllPreTranslateMessageFn = BOOL(WINAPI*)(MSG* message);

}  // namespace nx7::menuex
