#pragma once
// Records what the profile store and the macro library show and ask of the windows.
#include <map>
#include <string>
#include <vector>

#include "store/profile_store.h"

namespace nx7 {

class FakeStoreHost final : public ProfileStoreHost {
 public:
  void ShowInfoBox(std::u16string_view text) override { events.push_back(u"info: " + std::u16string(text)); }
  void ShowMessageBox(std::u16string_view text) override { events.push_back(u"box: " + std::u16string(text)); }
  std::u16string CatalogueText(std::string_view key) override {
    const auto it = catalogue.find(std::string(key));
    return it == catalogue.end() ? std::u16string() : it->second;
  }
  void SetProfileButtonChecked(size_t slot, bool checked) override { buttons.at(slot) = checked; }
  void RefreshPages() override { events.push_back(u"refresh"); }
  void StartDownloadIfIdle(bool showProgress) override {
    events.push_back(showProgress ? u"download+progress" : u"download");
  }
  void MarkDownloadFinished() override { events.push_back(u"finished"); }

  std::vector<std::u16string> events;
  std::vector<bool> buttons = std::vector<bool>(5, false);
  std::map<std::string, std::u16string> catalogue = {
      {"str_msg2", u"Cannot find %s!"},
      {"str_msg4", u"No write access to the folder"},
      {"str_msg5", u"Cannot save the profile"},
      {"str_profile1", u"Profile1"},
  };
};

}  // namespace nx7
