#pragma once
#include "app/skin_page_win32.h"

namespace nx7::win32 {

// Statistics page (template 106).
class CDlgSts : public CSkinPage {
 public:
  explicit CDlgSts(AppContext& app);
  ~CDlgSts() override { DestroyWindow(); }
};

}  // namespace nx7::win32
