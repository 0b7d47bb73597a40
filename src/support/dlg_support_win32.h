#pragma once
#include "app/skin_page_win32.h"

namespace nx7::win32 {

// Support page (template 107).
class CDlgSupport : public CSkinPage {
 public:
  explicit CDlgSupport(AppContext& app);
  ~CDlgSupport() override { DestroyWindow(); }
  // The connected mouse's firmware version as decimal digits, empty when unknown.
  void SetFirmwareVersionText(std::u16string text);
  const std::u16string& FirmwareVersionText() const { return firmwareVersionText_; }

 private:
  void PaintOver(HDC dc) override;
  std::u16string firmwareVersionText_;
};

}  // namespace nx7::win32
