#include "app/pages_win32.h"

#include "app/gdiplus_text_win32.h"
#include "app/main_window_rules.h"
#include "framework/handles.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"
#include "skin/layout.h"

namespace nx7::win32 {

CSkinPage::CSkinPage(UINT templateId, AppContext& app, const char16_t* normal, const char16_t* down,
                     const char16_t* over)
    : WindowClass(templateId), app_(app), files_{normal, down, over} {}

std::span<const MessageEntry> CSkinPage::MessageEntries() {
  static constexpr std::array<MessageEntry, 0> none{};
  return none;
}

bool CSkinPage::CreatePage(HWND mainWindow, const RECT& pageArea) {
  mainWindow_ = mainWindow;
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

CDlgMainSet::CDlgMainSet(AppContext& app)
    : CSkinPage(IDD_DLG_MAINSET, app, u"NX7_Main_Normal.bmp", u"NX7_Main_Down.bmp", u"NX7_Main_Over.bmp") {}

void CDlgMainSet::Reload() {
  ++reloads_;
  Invalidate(false);
}

void CDlgMainSet::CommitWheelLines() {
  // The wheel-lines box belongs to the page's controls; until it exists the block's value stands.
}

CDlgLEDSet::CDlgLEDSet(AppContext& app)
    : CSkinPage(IDD_DLG_LEDSET, app, u"Light\\LedSet_normal.bmp", u"Light\\LedSet_down.bmp",
                u"Light\\LedSet_over.bmp") {}

void CDlgLEDSet::Reload() {
  ++reloads_;
  Invalidate(false);
}

CDlgMacro::CDlgMacro(AppContext& app)
    : CSkinPage(IDD_DLG_MACRO, app, u"Macro_normal.bmp", u"Macro_down.bmp", u"Macro_over.bmp") {}

BOOL CDlgMacro::OnInitDialog() {
  CSkinPage::OnInitDialog();
  // The template's edit fields wait, hidden, for the page's controls to place and skin them.
  for (int id : {IDC_MACRO_REPEAT_EDIT, IDC_MACRO_KEY_EDIT, IDC_MACRO_DELAY_EDIT})
    ::ShowWindow(::GetDlgItem(GetSafeHwnd(), id), SW_HIDE);
  return TRUE;
}

bool CDlgMacro::Recording() const { return app_.hooks().RecordMode(); }

void CDlgMacro::ToggleRecord() { app_.hooks().SetRecordMode(!Recording()); }

void CDlgMacro::CommitPendingEdit() {
  // The event list's editor belongs to the page's controls; with none open there is nothing to take.
}

void CDlgMacro::CloseCategoryMenu() {
  // The category menu belongs to the page's controls; with none open there is nothing to close.
}

CDlgSts::CDlgSts(AppContext& app)
    : CSkinPage(IDD_DLG_STS, app, u"Sts_Normal.bmp", u"Sts_Down.bmp", u"Sts_Over.bmp") {}

CDlgSupport::CDlgSupport(AppContext& app)
    : CSkinPage(IDD_DLG_SUPPORT, app, u"support_normal.bmp", u"support_down.bmp", u"support_over.bmp") {}

void CDlgSupport::SetFirmwareVersionText(std::u16string text) {
  firmwareVersionText_ = std::move(text);
  if (IsWindow()) Invalidate(false);
}

void CDlgSupport::PaintOver(HDC dc) {
  namespace sp = layout::support_page;
  auto draw = [&](const std::u16string& text, const layout::Rect& r) {
    DrawGdiplusText(dc, text, L"MS Shell Dlg", 12, float(r.left), float(r.top), float(r.width()), float(r.height()),
                    0xFFC1D2EE);
  };
  draw(u"V1.0.0", sp::kProgramVersion);
  draw(FirmwareVersionDisplay(firmwareVersionText_), sp::kFirmwareVersion);
}

}  // namespace nx7::win32
