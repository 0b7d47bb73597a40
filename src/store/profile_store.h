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
#include "store/store_messages.h"

namespace nx7 {

// What the store needs from the main window beside the messages.
class ProfileStoreHost : public StoreMessages {
 public:
  // The checked state of one of the five profile buttons.
  virtual void SetProfileButtonChecked(size_t slot, bool checked) = 0;
  // Shows the settings block on the performance page and the lighting page.
  virtual void RefreshPages() = 0;
  // Starts a download unless one is running (sets the download event); with `showProgress` the
  // progress dialog is then shown modally.
  virtual void StartDownloadIfIdle(bool showProgress) = 0;
  // The save after a download is complete: a new download may start.
  virtual void MarkDownloadFinished() = 0;
};

inline constexpr std::u16string_view kConfigInfoValue = u"ConfigInfo";
inline constexpr std::u16string_view kDefaultSettingValue = u"DefaultSetting";

// Results of LoadProfileFile.
inline constexpr int kProfileLoaded = 1;
inline constexpr int kProfileNotLoaded = 0;
inline constexpr int kNotAProfile = 255;

class ProfileStore {
 public:
  // `block` and `macroIds` are the profile being edited (settingsBlock and buttonMacroIds in the
  // program); everything is borrowed and must outlive the store.
  ProfileStore(Registry& registry, FileSystem& files, ProfileStoreHost& host, std::u16string programFolder,
               SettingsBlock& block, ButtonMacroIds& macroIds);

  // Start-up: loads ConfigInfo (creating the key and value when missing) and the first active
  // slot's profile, falling back to slot 0 with defaults.
  void LoadAtStart();
  // Copies the current slot's macro ids into the buttons' macro ids (start-up, after the lists).
  void CopySlotMacroIdsToButtons();

  // Loads a profile file into the block: kProfileLoaded, kProfileNotLoaded or kNotAProfile.
  int LoadProfileFile(std::u16string_view path, bool createIfMissing);
  // Writes a default profile at `path` and fills the block with the defaults; false on failure.
  bool WriteDefaultProfileFile(std::u16string_view path);
  // Makes `slot` current and loads its profile; with `download` the mouse receives it too.
  void SwitchToSlot(size_t slot, bool download);
  // After a successful download: the macro ids into the slot, ConfigInfo, then the profile file.
  void SaveAfterDownload();
  // Defaults into the block, macro ids cleared, pages refreshed, download started.
  void RestoreDefaults();

  const ProfileSlotTable& Slots() const { return slots_; }
  size_t CurrentSlot() const { return current_; }
  bool Profile1InRegistry() const { return profile1InRegistry_; }
  std::u16string SlotPath(size_t slot) const;
  std::u16string SlotName(size_t slot) const;

 private:
  void CheckProfileButtons();

  Registry& registry_;
  FileSystem& files_;
  ProfileStoreHost& host_;
  std::u16string programFolder_;
  SettingsBlock& block_;
  ButtonMacroIds& macroIds_;
  ProfileSlotTable slots_{};
  size_t current_ = 0;
  bool profile1InRegistry_ = false;
};

}  // namespace nx7
