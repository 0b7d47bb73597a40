#pragma once
// Plays store outcomes the way the main window does, recording what it would show and do.
#include <map>
#include <string>
#include <vector>

#include "common/text.h"
#include "store/store_outcome.h"

namespace nx7 {

class FakeStoreHost {
 public:
  std::u16string CatalogueText(std::string_view key) const {
    const auto it = catalogue.find(std::string(key));
    return it == catalogue.end() ? std::u16string() : it->second;
  }

  void Apply(const StoreOutcome& outcome) {
    if (outcome.profileButtons) buttons.assign(outcome.profileButtons->begin(), outcome.profileButtons->end());
    for (const StoreStep& step : outcome.steps) {
      switch (step.kind) {
        case StoreStep::Kind::Show: {
          const std::u16string text = StoreMessageText(step, [&](StringKey key) {
            return CatalogueText(Utf8FromUtf16(kStringKeyNames[size_t(key)]));
          });
          events.push_back((step.box == MessageBoxKind::Info ? u"info: " : u"box: ") + text);
          break;
        }
        case StoreStep::Kind::RefreshPages: events.push_back(u"refresh"); break;
        case StoreStep::Kind::StartDownload: events.push_back(u"download"); break;
        case StoreStep::Kind::StartDownloadShowing: events.push_back(u"download+progress"); break;
        case StoreStep::Kind::DownloadFinished: events.push_back(u"finished"); break;
      }
    }
  }

  // For the operations that add to an outcome instead of returning one.
  StoreOutcome pending;
  void ApplyPending() {
    Apply(pending);
    pending = {};
  }

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
