#pragma once
#include "app/skin_page_win32.h"

namespace nx7::win32 {

// Macro page (template 105).
class CDlgMacro : public CSkinPage {
 public:
  explicit CDlgMacro(AppContext& app);
  ~CDlgMacro() override { DestroyWindow(); }
  // Whether the page records keys from the keyboard hook now.
  bool Recording() const;
  // The record button's toggle: starts or stops recording.
  void ToggleRecord();
  // Takes an edit still open in the event list into the macro before a download.
  void CommitPendingEdit();
  // Closes the category menu if it is open.
  void CloseCategoryMenu();

 protected:
  BOOL OnInitDialog() override;
};

}  // namespace nx7::win32
