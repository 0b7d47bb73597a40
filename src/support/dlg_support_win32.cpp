#include "support/dlg_support_win32.h"

#include "app/gdiplus_text_win32.h"
#include "app/messages.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"
#include "skin/dlg_info_win32.h"
#include "skin/layout.h"
#include "skin/layout_win32.h"
#include "support/firmware_check_win32.h"
#include "support/support_rules.h"

namespace nx7::win32 {

namespace {

namespace sp = layout::support_page;

struct ButtonPlace {
  layout::Rect rect;
  StringKey tooltip;
  int hint;
};
constexpr std::array<ButtonPlace, CDlgSupport::kButtonCount> kButtons{{
    {sp::kFirmwareUpdate, StringKey::str_update, 56},
    {sp::kWebSite, StringKey::str_vornaWeb, 57},
    {sp::kImport, StringKey::str_importFile, 58},
    {sp::kExport, StringKey::str_exportFile, 59},
    {sp::kRestoreDefaults, StringKey::str_defaultname, 60},
}};

}  // namespace

CDlgSupport::CDlgSupport(AppContext& app, Shell& shell)
    : WindowClass(IDD_DLG_SUPPORT, app, kPictures),
      shell_(shell) {}

std::span<const MessageEntry> CDlgSupport::MessageEntries() {
  static constexpr auto entries = Entries(
      On<WM_MOUSEMOVE, &CDlgSupport::OnMouseMove>(),
      On<WM_COMMAND, &CDlgSupport::OnCommand>());
  return entries;
}

BOOL CDlgSupport::OnInitDialog() {
  CSkinPage::OnInitDialog();
  LoadButtonPictures();
  auto bits = [](const SharedSkinBitmap& p) { return p ? p->bitmap.Get() : HBITMAP(nullptr); };
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const layout::Rect& r = kButtons[i].rect;
    buttons_[i].Create(GetSafeHwnd(), ToRect(r));
    buttons_[i].SetSkin(r.left, r.top, r.right, r.bottom, bits(normal_), bits(over_), bits(down_), bits(normal_));
  }
  DropButtonPictures();
  RefreshToolTips();
  return TRUE;
}

void CDlgSupport::RefreshToolTips() {
  for (size_t i = 0; i < buttons_.size(); ++i)
    if (buttons_[i].IsWindow()) buttons_[i].SetToolTipText(app_.catalogue()[kButtons[i].tooltip], true);
}

void CDlgSupport::SetFirmwareVersionText(std::u16string text) {
  firmwareVersionText_ = std::move(text);
  if (IsWindow()) Invalidate(false);
}

void CDlgSupport::PaintOver(HDC dc) {
  auto draw = [&](const std::u16string& text, const layout::Rect& r) {
    DrawGdiplusText(dc, text, L"MS Shell Dlg", 12, float(r.left), float(r.top), float(r.width()), float(r.height()),
                    0xFFC1D2EE);
  };
  draw(kProgramVersionText, sp::kProgramVersion);
  draw(FirmwareVersionDisplay(firmwareVersionText_), sp::kFirmwareVersion);
}

void CDlgSupport::OnMouseMove(UINT, POINT point) {
  // Moves over the page and, forwarded by them, over its buttons: the hint of each button whose
  // window grown by one pixel holds the pointer.
  for (size_t i = 0; i < buttons_.size(); ++i) {
    RECT r{};
    ::GetWindowRect(buttons_[i].GetSafeHwnd(), &r);
    ::MapWindowPoints(nullptr, GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
    ::InflateRect(&r, 1, 1);
    if (::PtInRect(&r, point)) ::PostMessageW(MainWindow(), WM_SHOW_HINT, 0, kButtons[i].hint);
  }
}

void CDlgSupport::OnCommand(UINT code, UINT id, HWND control) {
  using Action = void (CDlgSupport::*)();
  static constexpr Action actions[kButtonCount] = {&CDlgSupport::OnFirmwareUpdate, &CDlgSupport::OnWebSite,
                                                   &CDlgSupport::OnImport, &CDlgSupport::OnExport,
                                                   &CDlgSupport::OnRestoreDefaults};
  for (size_t i = 0; control && i < buttons_.size(); ++i) {
    if (control == buttons_[i].GetSafeHwnd()) {
      if (code == BN_CLICKED) (this->*actions[i])();
      return;
    }
  }
  HandleCommand(code, id, control);
}

void CDlgSupport::OnFirmwareUpdate() {
  RunFirmwareCheck(app_, shell_, GetSafeHwnd(), MainWindow(), firmwareVersionText_, firmwareAddress_);
}

void CDlgSupport::OnWebSite() { shell_.OpenMaximised(kMakerWebAddress); }

void CDlgSupport::OnRestoreDefaults() {
  CDlgInfo box(MainWindow(), app_.clock(), WindowTimers());
  box.text = RestoreDefaultsQuestion(app_.ChineseText());
  box.chineseText = app_.ChineseText();
  box.twoButtons = 1;
  if (box.DoModal() == IDOK) ::PostMessageW(MainWindow(), WM_RESTORE_DEFAULTS, 0, 0);
}

void CDlgSupport::OnImport() {
  const auto path = shell_.ChooseFile(FileDialogKind::Open, ProfileFileDialogOptions(FileDialogKind::Open), MainWindow());
  if (!path) return;
  // Only the block in memory changes: the mouse and the profile file get it when the user applies.
  ShowInfo(ImportProfile(app_.files(), *path, app_.settings()).message);
}

void CDlgSupport::OnExport() {
  const auto path = shell_.ChooseFile(FileDialogKind::Save, ProfileFileDialogOptions(FileDialogKind::Save), MainWindow());
  if (!path) return;
  ShowInfo(ExportProfile(app_.files(), *path, app_.settings()).message);
}

void CDlgSupport::ShowInfo(const std::u16string& text) {
  ::MessageBoxW(MainWindow(), Wide(text), L"Info", MB_OK);
}

}  // namespace nx7::win32
