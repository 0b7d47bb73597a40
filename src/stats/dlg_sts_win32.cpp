#include "stats/dlg_sts_win32.h"

#include "resource_ids.h"

namespace nx7::win32 {

CDlgSts::CDlgSts(AppContext& app)
    : CSkinPage(IDD_DLG_STS, app, u"Sts_Normal.bmp", u"Sts_Down.bmp", u"Sts_Over.bmp") {}

}  // namespace nx7::win32
