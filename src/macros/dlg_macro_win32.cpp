#include "macros/dlg_macro_win32.h"

#include "resource_ids.h"

namespace nx7::win32 {

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

}  // namespace nx7::win32
