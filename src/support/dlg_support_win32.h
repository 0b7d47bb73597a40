#pragma once
// CDlgSupport: the support page (template 107). Shows the program's and the mouse firmware's
// versions and holds five picture buttons: firmware update, the maker's web site, import and
// export of the settings block as a profile file through the system's file dialogs, and restore
// defaults (asked first, then done by the main window on WM_RESTORE_DEFAULTS).
#include <array>
#include <string>

#include "app/skin_page_win32.h"
#include "platform/shell.h"
#include "skin/gdi_bitmap_btn_win32.h"

namespace nx7::win32 {

class CDlgSupport : public WindowClass<CDlgSupport, CSkinPage> {
 public:
  static constexpr SkinPageFiles kPictures{u"support_normal.bmp", u"support_down.bmp", u"support_over.bmp"};
  // `shell` opens the web site and shows the file dialogs.
  CDlgSupport(AppContext& app, Shell& shell);
  ~CDlgSupport() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  // The connected mouse's firmware version as decimal digits, empty when unknown.
  void SetFirmwareVersionText(std::u16string text);
  const std::u16string& FirmwareVersionText() const { return firmwareVersionText_; }
  // Gives the buttons' tooltips the catalogue's current texts (after a language switch).
  void RefreshToolTips();

  // The buttons in the page's order: firmware update, web site, import, export, restore defaults.
  enum Button { kFirmwareUpdate, kWebSite, kImport, kExport, kRestoreDefaults, kButtonCount };
  const CGDIBitmapBtn& ButtonWindow(Button b) const { return buttons_[b]; }

 protected:
  BOOL OnInitDialog() override;

 private:
  void PaintOver(HDC dc) override;
  void OnMouseMove(UINT flags, POINT point);
  void OnCommand(UINT code, UINT id, HWND control);
  void OnFirmwareUpdate();
  void OnWebSite();
  void OnImport();
  void OnExport();
  void OnRestoreDefaults();
  void ShowInfo(const std::u16string& text);

  Shell& shell_;
  std::u16string firmwareVersionText_;
  std::u16string firmwareAddress_;  // the image address the last manifest read named
  std::array<CGDIBitmapBtn, kButtonCount> buttons_;
};

}  // namespace nx7::win32
