#include "skin/xp_menu_win32.h"

#include <set>

#include "framework/dialog.h"  // ResourceModule
#include "platform/win32/wide.h"
#include "skin/layout.h"

namespace nx7::win32 {
namespace {

// The item records of every XP menu alive: the item data of an owner-drawn item is only taken
// for a record when it is one of these (other menus' items carry other data).
std::set<const CXPMenu::Item*>& LiveItems() {
  static auto* items = new std::set<const CXPMenu::Item*>;
  return *items;
}

const CXPMenu::Item* ItemOf(UINT type, ULONG_PTR data) {
  if (type != ODT_MENU) return nullptr;
  const auto* item = reinterpret_cast<const CXPMenu::Item*>(data);
  return LiveItems().count(item) ? item : nullptr;
}

Icon LoadMenuIcon(int id) {
  const int size = layout::art::kTrayMenuIcon.width;
  return Icon(static_cast<HICON>(
      ::LoadImageW(ResourceModule(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

}  // namespace

CXPMenu::CXPMenu() : menu_(::CreatePopupMenu()) {}

CXPMenu::~CXPMenu() {
  for (const auto& item : items_) LiveItems().erase(item.get());
  if (menu_) ::DestroyMenu(menu_);
}

std::unique_ptr<CXPMenu> CXPMenu::TrayMenu() {
  auto menu = std::make_unique<CXPMenu>();
  menu->AppendItem(kConfigCommand, layout::resource::kConfigIcon, layout::resource::kConfigIcon, u"Config");
  menu->AppendItem(kExitCommand, layout::resource::kExitIcon, layout::resource::kExitIcon, u"Exit");
  return menu;
}

bool CXPMenu::AppendItem(UINT command, int normalIconId, int highlightedIconId, const std::u16string& text) {
  if (!menu_) return false;
  auto item = std::make_unique<Item>();
  item->normalIconId = normalIconId;
  item->highlightedIconId = highlightedIconId;
  item->text = text;
  item->normalIcon = LoadMenuIcon(normalIconId);
  item->highlightedIcon = LoadMenuIcon(highlightedIconId);
  if (!::AppendMenuW(menu_, MF_OWNERDRAW, command, reinterpret_cast<LPCWSTR>(item.get()))) return false;
  LiveItems().insert(item.get());
  items_.push_back(std::move(item));
  return true;
}

BOOL CXPMenu::Track(HWND owner, POINT screenPoint, UINT flags) const {
  return ::TrackPopupMenu(menu_, flags, screenPoint.x, screenPoint.y, 0, owner, nullptr);
}

bool CXPMenu::MeasureItem(MEASUREITEMSTRUCT& item) {
  if (!ItemOf(item.CtlType, item.itemData)) return false;
  item.itemWidth = static_cast<UINT>(layout::art::kTrayMenuItem.width);
  item.itemHeight = static_cast<UINT>(layout::art::kTrayMenuItem.height);
  return true;
}

bool CXPMenu::DrawItem(const DRAWITEMSTRUCT& item, const SkinLook& look) {
  const Item* record = ItemOf(item.CtlType, item.itemData);
  if (!record) return false;
  const bool highlighted = (item.itemState & ODS_SELECTED) != 0;
  DrawXPMenuItem(item.hDC, item.rcItem, highlighted,
                 highlighted ? record->highlightedIcon.Get() : record->normalIcon.Get(), record->text,
                 look.TrayMenuFont());
  return true;
}

void DrawXPMenuItem(HDC dc, const RECT& rect, bool highlighted, HICON icon, const std::u16string& text, HFONT font) {
  const int iconSize = layout::art::kTrayMenuIcon.width;
  if (highlighted) {
    ::FrameRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    RECT inside{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    Brush fill(::CreateSolidBrush(RGB(177, 185, 207)));
    ::FillRect(dc, &inside, fill.Get());
    if (icon) ::DrawIconEx(dc, rect.left + 2, rect.top + 2, icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
  } else {
    Brush fill(::CreateSolidBrush(RGB(219, 217, 209)));
    ::FillRect(dc, &rect, fill.Get());
    if (icon) ::DrawIconEx(dc, rect.left + 3, rect.top + 3, icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
  }
  SelectGuard selectFont(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, highlighted ? RGB(0, 60, 145) : RGB(0, 0, 0));
  RECT textRect{rect.left + layout::art::kTrayMenuTextLeft, rect.top, rect.right, rect.bottom};
  ::DrawTextW(dc, Wide(text), -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

}  // namespace nx7::win32
