#pragma once
#include "app/skin_page_win32.h"

namespace nx7::win32 {

// Performance page (template 103).
class CDlgMainSet : public CSkinPage {
 public:
  explicit CDlgMainSet(AppContext& app);
  ~CDlgMainSet() override { DestroyWindow(); }
  // Shows the settings block again (at start and whenever the block is replaced).
  void Reload();
  // Takes the wheel-lines box's number into the settings block before a download.
  void CommitWheelLines();
  unsigned ReloadCount() const { return reloads_; }

 private:
  unsigned reloads_ = 0;
};

}  // namespace nx7::win32
