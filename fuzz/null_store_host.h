#pragma once
// A profile-store host that shows nothing, for the fuzz targets.
#include "store/profile_store.h"

namespace nx7 {

class NullStoreHost final : public ProfileStoreHost {
 public:
  void ShowInfoBox(std::u16string_view) override { ++messages; }
  void ShowMessageBox(std::u16string_view) override { ++messages; }
  std::u16string CatalogueText(std::string_view key) override { return u"%s"; }
  void SetProfileButtonChecked(size_t, bool) override {}
  void RefreshPages() override {}
  void StartDownloadIfIdle(bool) override {}
  void MarkDownloadFinished() override {}
  int messages = 0;
};

}  // namespace nx7

// Stops the run when a property of the code under test does not hold.
#define FUZZ_CHECK(condition) \
  do {                        \
    if (!(condition)) __builtin_trap(); \
  } while (0)
