#include "support/dlg_support_win32.h"

#include "app/gdiplus_text_win32.h"
#include "app/main_window_rules.h"
#include "resource_ids.h"
#include "skin/layout.h"

namespace nx7::win32 {

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
