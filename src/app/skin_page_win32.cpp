#include "app/skin_page_win32.h"

#include "framework/handles.h"

namespace nx7::win32 {

CSkinPage::CSkinPage(UINT templateId, AppContext& app, const char16_t* normal, const char16_t* down,
                     const char16_t* over)
    : WindowClass(templateId), app_(app), files_{normal, down, over} {}

std::span<const MessageEntry> CSkinPage::MessageEntries() {
  static constexpr std::array<MessageEntry, 0> none{};
  return none;
}

bool CSkinPage::CreatePage(HWND mainWindow, const RECT& pageArea, std::optional<bool> chineseLayout) {
  mainWindow_ = mainWindow;
  chineseLayout_ = chineseLayout.value_or(app_.ChineseText());
  if (!Create(mainWindow)) return false;
  // The page takes the size of its picture, placed at the page area's corner.
  const int width = HasBackground() ? normal_->width : pageArea.right - pageArea.left;
  const int height = HasBackground() ? normal_->height : pageArea.bottom - pageArea.top;
  ::SetWindowPos(GetSafeHwnd(), nullptr, pageArea.left, pageArea.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  return true;
}

BOOL CSkinPage::OnInitDialog() {
  const std::u16string skins = app_.ProgramFolder() + u"\\skins\\";
  normal_ = SharedFileBitmap(skins + files_[0]);
  return TRUE;
}

void CSkinPage::LoadButtonPictures() {
  const std::u16string skins = app_.ProgramFolder() + u"\\skins\\";
  if (!down_) down_ = SharedFileBitmap(skins + files_[1]);
  if (!over_) over_ = SharedFileBitmap(skins + files_[2]);
}

void CSkinPage::Paint(HDC dc) {
  const RECT client = GetClientRect();
  if (HasBackground()) {
    BitmapDc source(dc, normal_->bitmap.Get());
    ::BitBlt(dc, 0, 0, normal_->width, normal_->height, source, 0, 0, SRCCOPY);
  } else {
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  }
  PaintOver(dc);
}

}  // namespace nx7::win32
