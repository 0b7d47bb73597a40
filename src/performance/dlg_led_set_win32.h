#pragma once
#include "app/skin_page_win32.h"

namespace nx7::win32 {

// Lighting page (template 104).
class CDlgLEDSet : public CSkinPage {
 public:
  explicit CDlgLEDSet(AppContext& app);
  ~CDlgLEDSet() override { DestroyWindow(); }
  void Reload();
  unsigned ReloadCount() const { return reloads_; }

 private:
  unsigned reloads_ = 0;
};

}  // namespace nx7::win32
