#pragma once
// The five profiles: the slot table in the registry value ConfigInfo, one profile file per slot
// ("<program folder>\Profile\Profile1.cfg" ... "Profile5.cfg"), the current slot, switching,
// saving after a download, restoring defaults, and DefaultSetting, which stands in for
// Profile1.cfg when that file cannot be written. Runs on the user-interface thread.
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/registry.h"
#include "store/profile_slots.h"
#include "store/settings_block.h"
#include "store/store_outcome.h"

namespace nx7 {

inline constexpr std::u16string_view kConfigInfoValue = u"ConfigInfo";
inline constexpr std::u16string_view kDefaultSettingValue = u"DefaultSetting";

// Results of LoadProfileFile.
inline constexpr int kProfileLoaded = 1;
inline constexpr int kProfileNotLoaded = 0;
inline constexpr int kNotAProfile = 255;

class ProfileStore {
 public:
  // `block` and `macroIds` are the profile being edited and its macro ids (the application's
  // model); everything is borrowed and must outlive the store. Every operation that the user or
  // the windows must follow up returns a StoreOutcome.
  // `chineseText` picks the form of the default button names written by the defaults.
  ProfileStore(Registry& registry, FileSystem& files, std::u16string programFolder, SettingsBlock& block,
               ButtonMacroIds& macroIds, const bool& chineseText);

  // Start-up: loads ConfigInfo (creating the key and value when missing) and the first active
  // slot's profile, falling back to slot 0 with defaults.
  StoreOutcome LoadAtStart();
  // Copies the current slot's macro ids into the buttons' macro ids (start-up, after the lists).
  void CopySlotMacroIdsToButtons();

  // Loads a profile file into the block: kProfileLoaded, kProfileNotLoaded or kNotAProfile.
  // What it shows is added to `outcome`.
  int LoadProfileFile(std::u16string_view path, bool createIfMissing, StoreOutcome& outcome);
  // Writes a default profile at `path` and fills the block with the defaults; false on failure.
  bool WriteDefaultProfileFile(std::u16string_view path, StoreOutcome& outcome);
  // Makes `slot` current and loads its profile; with `download` the mouse receives it too.
  StoreOutcome SwitchToSlot(size_t slot, bool download);
  // After a successful download: the macro ids into the slot, ConfigInfo, then the profile file.
  StoreOutcome SaveAfterDownload();
  // Defaults into the block, macro ids cleared, pages refreshed, download started.
  StoreOutcome RestoreDefaults();

  const ProfileSlotTable& Slots() const { return slots_; }
  size_t CurrentSlot() const { return current_; }
  bool Profile1InRegistry() const { return profile1InRegistry_; }
  std::u16string SlotPath(size_t slot) const;
  std::u16string SlotName(size_t slot) const;

 private:
  std::array<bool, kProfileButtonCount> ActiveButtons() const;

  Registry& registry_;
  FileSystem& files_;
  std::u16string programFolder_;
  SettingsBlock& block_;
  ButtonMacroIds& macroIds_;
  const bool& chineseText_;
  ProfileSlotTable slots_{};
  size_t current_ = 0;
  bool profile1InRegistry_ = false;
};

}  // namespace nx7
