#include "i18n/language_menu_win32.h"

#include <memory>

#include "app/messages.h"
#include "i18n/language_table.h"
#include "skin/layout.h"

namespace nx7::win32 {

void CMenuExA::FillEntries() {
  for (const LanguageInfo& language : kLanguageTable) {
    AddEntry(std::u16string(language.menuText), static_cast<UINT>(language.menuIconId), language.id);
  }
}

CMenuExA* OpenLanguageMenu(HWND owner, const RECT& languageButton) {
  auto menu = std::make_unique<CMenuExA>();
  menu->SetBackground(static_cast<UINT>(layout::resource::kMenuFramePng));
  const int left = languageButton.left + layout::main_window::kLanguageMenuOffset.x;
  const int top = languageButton.bottom + layout::main_window::kLanguageMenuOffset.y;
  if (!menu->Create(owner, left, top, left + layout::art::kPopupMenuWidth, top + layout::art::kPopupMenuWidth,
                    WM_LANGUAGE_SELECTED)) {
    return nullptr;
  }
  return menu.release();  // it deletes itself when it closes
}

}  // namespace nx7::win32
