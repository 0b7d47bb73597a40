#include "performance/dlg_led_set_win32.h"

#include "resource_ids.h"

namespace nx7::win32 {

CDlgLEDSet::CDlgLEDSet(AppContext& app)
    : CSkinPage(IDD_DLG_LEDSET, app, u"Light\\LedSet_normal.bmp", u"Light\\LedSet_down.bmp",
                u"Light\\LedSet_over.bmp") {}

void CDlgLEDSet::Reload() {
  ++reloads_;
  Invalidate(false);
}

}  // namespace nx7::win32
