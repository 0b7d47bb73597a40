#include "performance/dlg_main_set_win32.h"

#include "resource_ids.h"

namespace nx7::win32 {

CDlgMainSet::CDlgMainSet(AppContext& app)
    : CSkinPage(IDD_DLG_MAINSET, app, u"NX7_Main_Normal.bmp", u"NX7_Main_Down.bmp", u"NX7_Main_Over.bmp") {}

void CDlgMainSet::Reload() {
  ++reloads_;
  Invalidate(false);
}

void CDlgMainSet::CommitWheelLines() {
  // The wheel-lines box belongs to the page's controls; until it exists the block's value stands.
}

}  // namespace nx7::win32
