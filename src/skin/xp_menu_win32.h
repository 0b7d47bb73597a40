#pragma once
// CXPMenu: an owner-drawn popup menu of the platform with an icon column (the tray icon's
// menu). Each item carries a record of its two icon resources (normal and highlighted) and its
// text; items measure 75 x 22 pixels.
//
// The platform sends the measuring and drawing of the items to the window the menu is tracked
// for; that window chains XPMenuOwner<Self>::Table() into its message table, which takes the
// items of XP menus and declines every other. Commands reach that window as WM_COMMAND.
//
//   auto menu = CXPMenu::TrayMenu();             // "Config" 0x6000, "Exit" 0x6001
//   ::SetForegroundWindow(mainWindow);
//   menu->Track(mainWindow, cursorPosition);    // TPM_RIGHTBUTTON
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/handles.h"
#include "framework/message_table.h"
#include "skin/skin_look_win32.h"

namespace nx7::win32 {

class CXPMenu {
 public:
  // The tray menu's commands and icons.
  static constexpr UINT kConfigCommand = 0x6000;
  static constexpr UINT kExitCommand = 0x6001;

  // The item record an owner-drawn item points to.
  struct Item {
    int normalIconId = 0;
    int highlightedIconId = 0;
    std::u16string text;
    Icon normalIcon;  // 16 x 16, loaded with the item
    Icon highlightedIcon;
  };

  CXPMenu();
  ~CXPMenu();
  CXPMenu(const CXPMenu&) = delete;
  CXPMenu& operator=(const CXPMenu&) = delete;

  // The tray menu: "Config" (icon 1012) and "Exit" (icon 1011); the texts are not translated.
  static std::unique_ptr<CXPMenu> TrayMenu();

  // Appends an owner-drawn item.
  bool AppendItem(UINT command, int normalIconId, int highlightedIconId, const std::u16string& text);
  // Shows the menu at `screenPoint` for `owner` and returns when it closes; a chosen command
  // is delivered to `owner` as WM_COMMAND.
  BOOL Track(HWND owner, POINT screenPoint, UINT flags = TPM_RIGHTBUTTON) const;
  HMENU Handle() const { return menu_; }
  size_t ItemCount() const { return items_.size(); }

  // Measuring and drawing of an item of any XP menu alive; false when the item is not one.
  static bool MeasureItem(MEASUREITEMSTRUCT& item);
  static bool DrawItem(const DRAWITEMSTRUCT& item, const SkinLook& look = SkinLook::Default());

 private:
  HMENU menu_ = nullptr;
  std::vector<std::unique_ptr<Item>> items_;
};

// Draws one tray-menu item into `rect` of `dc`: the highlighted look (black outline, light blue
// inside, icon at +2, +2, blue text) or the normal one (grey, icon at +3, +3, black text).
void DrawXPMenuItem(HDC dc, const RECT& rect, bool highlighted, HICON icon, const std::u16string& text, HFONT font);

// Mix-in for the window a CXPMenu is tracked for.
template <class Derived>
class XPMenuOwner {
 public:
  static const MessageTable& Table() {
    static constexpr MessageEntry entries[] = {
        On<WM_MEASUREITEM, &XPMenuOwner::OnMeasureItem, Derived>(),
        OnRaw<WM_DRAWITEM, &XPMenuOwner::OnDrawItem, Derived>(),
    };
    static const MessageTable table{entries, {}};
    return table;
  }

 private:
  Derived& Self() { return static_cast<Derived&>(*this); }
  void OnMeasureItem(MEASUREITEMSTRUCT& item) {
    if (!CXPMenu::MeasureItem(item)) Self().Decline();
  }
  LRESULT OnDrawItem(WPARAM, LPARAM l) {
    if (!CXPMenu::DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(l))) Self().Decline();
    return TRUE;
  }
};

}  // namespace nx7::win32
