#pragma once
// The program's own window messages: every number that one window, page, control or thread posts
// to another. Kept free of windows.h so the portable core posts and tests them too.
#include <cstdint>

#include "macros/hook_messages.h"

namespace nx7 {

// Language menu and the main window itself → main window. wParam 0 or 0x110, lParam LanguageId.
inline constexpr uint32_t WM_LANGUAGE_SELECTED = 0x401;
// WM_MACRO_INPUT (0x40A) and WM_HOOKED_INPUT (0x7EB) come from the input hooks, below the
// application: macros/hook_messages.h.
// WM_MENUEX_SELECT (0x501) is the menu library's, with its record: skin/menuex/menu_ex_item.h.
// Download worker → progress dialog. wParam percentage 0 to 100, lParam 0.
inline constexpr uint32_t WM_DOWNLOAD_PROGRESS = 0x42B;
// List box → owner. wParam list id, lParam new index.
inline constexpr uint32_t WM_LIST_SELCHANGE = 0x465;
// Tray icon → main window. wParam 0, lParam the mouse message.
inline constexpr uint32_t WM_TRAY_NOTIFY = 0x46C;
// List box → owner. wParam list id, lParam item.
inline constexpr uint32_t WM_LIST_ITEM_EDITED = 0x470;
// Main window → statistics page. wParam MouseEventCode, lParam 0.
inline constexpr uint32_t WM_STS_INPUT = 0x4C9;
// Cursor sampling thread → statistics page.
inline constexpr uint32_t WM_STS_CURSOR = 0x4CA;
// Download worker → main window when a download has finished. wParam 0, lParam 0.
inline constexpr uint32_t WM_DOWNLOAD_DONE = 0x703;
// Download worker → main window when a download has failed. wParam 0, lParam failing stage 0 to 5.
inline constexpr uint32_t WM_DOWNLOAD_FAILED = 0x704;
// Bitmap button → owner. wParam 0x201 (pressed) or 0x202 (released), lParam the button window.
inline constexpr uint32_t WM_BUTTON_MOUSE = 0x70D;
// Slider → page. wParam value, lParam control id.
inline constexpr uint32_t WM_SLIDER_VALUE = 0x800;
// Pages and main window → main window. wParam 0, lParam HintId.
inline constexpr uint32_t WM_SHOW_HINT = 0x805;
// Support page → main window.
inline constexpr uint32_t WM_RESTORE_DEFAULTS = 0x806;
// Main window → itself at the end of start-up, queued behind the start-up's own posts: the first
// paint, then the pages not shown yet. wParam 0, lParam 0.
inline constexpr uint32_t WM_FINISH_STARTUP = 0x8F0;

}  // namespace nx7
