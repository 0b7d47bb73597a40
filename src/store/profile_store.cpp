#include "store/profile_store.h"

#include <algorithm>
#include <cstring>

#include "common/text.h"

namespace nx7 {
namespace {

bool Active(const ProfileSlot& slot) { return slot.slotMagic == kSlotMagic && slot.active != 0; }

}  // namespace

ProfileStore::ProfileStore(Registry& registry, FileSystem& files, std::u16string programFolder, SettingsBlock& block,
                           ButtonMacroIds& macroIds, const bool& chineseText)
    : registry_(registry),
      files_(files),
      programFolder_(std::move(programFolder)),
      block_(block),
      macroIds_(macroIds),
      chineseText_(chineseText) {}

std::u16string ProfileStore::SlotPath(size_t slot) const {
  return slot < kProfileCount ? TextFromField(slots_[slot].path, kTextFieldLength) : std::u16string();
}

std::u16string ProfileStore::SlotName(size_t slot) const {
  return slot < kProfileCount ? TextFromField(slots_[slot].name, kTextFieldLength) : std::u16string();
}

StoreOutcome ProfileStore::LoadAtStart() {
  StoreOutcome outcome;
  std::memset(slots_.data(), 0, sizeof slots_);
  if (registry_.OpenKey(kProgramKey) != RegistryStatus::Ok) {
    if (registry_.CreateKey(kProgramKey) == RegistryStatus::Ok) {
      registry_.WriteBinary(kProgramKey, kConfigInfoValue, SerialiseSlotTable(slots_));
    }
  } else {
    RegistryValue value;
    const RegistryStatus status = registry_.ReadValue(kProgramKey, kConfigInfoValue, kProfileSlotTableSize, value);
    if (status == RegistryStatus::Ok) DeserialiseSlotTable(value.data, slots_);
    if (status != RegistryStatus::Ok || value.type != RegistryType::Binary) {
      registry_.WriteBinary(kProgramKey, kConfigInfoValue, SerialiseSlotTable(slots_));
    }
  }

  for (size_t k = 0; k < kProfileCount; ++k) {
    const std::u16string number = Utf16FromUtf8(std::to_string(k + 1));
    CopyToField(programFolder_ + u"\\Profile\\Profile" + number + u".cfg", slots_[k].path, kTextFieldLength);
    CopyToField(u"Profile" + number, slots_[k].name, kTextFieldLength);
    slots_[k].slotMagic = kSlotMagic;
  }

  bool found = false;
  for (size_t k = 0; k < kProfileCount && !found; ++k) {
    if (!Active(slots_[k])) continue;
    if (LoadProfileFile(SlotPath(k), true, outcome) == kProfileLoaded) {
      current_ = k;
      found = true;
    } else {
      slots_[k].active = 0;
      WriteDefaultProfileFile(SlotPath(k), outcome);
    }
  }
  if (!found) {
    if (LoadProfileFile(SlotPath(0), false, outcome) != kProfileLoaded) WriteDefaultProfileFile(SlotPath(0), outcome);
    slots_[0].active = 1;
    current_ = 0;
  }
  outcome.profileButtons = ActiveButtons();
  return outcome;
}

void ProfileStore::CopySlotMacroIdsToButtons() {
  std::copy(std::begin(slots_[current_].macroIds), std::end(slots_[current_].macroIds), macroIds_.begin());
}

int ProfileStore::LoadProfileFile(std::u16string_view path, bool createIfMissing, StoreOutcome& outcome) {
  if (profile1InRegistry_ && path.find(u"Profile1.cfg") != std::u16string_view::npos) {
    RegistryValue value;
    if (registry_.ReadValue(kProgramKey, kDefaultSettingValue, kSettingsBlockSize, value) == RegistryStatus::Ok &&
        value.type == RegistryType::Binary) {
      OverlaySettingsBlock(value.data, block_);
      return kProfileLoaded;
    }
  }
  std::vector<uint8_t> image;
  const FileStatus status = files_.ReadWholeFile(path, kSettingsBlockSize, image);
  if (status == FileStatus::Ok) {
    DeserialiseSettingsBlock(image, block_);
    if (block_.magic != kSettingsMagic) {
      outcome.Show(MessageBoxKind::Info, StoreMessage::NotAProfile, std::u16string(path));
      return kNotAProfile;
    }
    return kProfileLoaded;
  }
  if ((status == FileStatus::NotFound || status == FileStatus::PathNotFound) && createIfMissing) {
    outcome.Show(MessageBoxKind::Program, StoreMessage::OpenFailedCreating, std::u16string(path));
    WriteDefaultProfileFile(path, outcome);
  }
  return kProfileNotLoaded;
}

bool ProfileStore::WriteDefaultProfileFile(std::u16string_view path, StoreOutcome& outcome) {
  files_.CreateFolder(programFolder_ + u"\\Profile");
  // The defaults reach the block only once they are safely in the file.
  SettingsBlock defaults;
  FillWithDefaults(defaults, chineseText_);
  const FileStatus status = files_.WriteWholeFile(path, SerialiseSettingsBlock(defaults));
  if (status == FileStatus::Ok) {
    block_ = defaults;
    return true;
  }
  if (status == FileStatus::AccessDenied) outcome.Show(MessageBoxKind::Program, StoreMessage::FolderNotWritable);
  return false;
}

StoreOutcome ProfileStore::SwitchToSlot(size_t slot, bool download) {
  StoreOutcome outcome;
  if (slot >= kProfileCount) return outcome;
  current_ = slot;
  if (LoadProfileFile(SlotPath(slot), true, outcome) != kProfileLoaded) return outcome;
  CopySlotMacroIdsToButtons();
  for (ProfileSlot& s : slots_) s.active = 0;
  slots_[slot].active = 1;
  std::array<bool, kProfileButtonCount> checked{};
  for (size_t k = 0; k < kProfileCount; ++k) checked[k] = slots_[k].active == 1;
  outcome.profileButtons = checked;
  if (download) outcome.Then(StoreStep::Kind::StartDownload);
  outcome.Then(StoreStep::Kind::RefreshPages);
  return outcome;
}

StoreOutcome ProfileStore::SaveAfterDownload() {
  StoreOutcome outcome;
  ProfileSlot& slot = slots_[current_];
  std::copy(macroIds_.begin(), macroIds_.end(), std::begin(slot.macroIds));
  if (registry_.OpenKey(kProgramKey) == RegistryStatus::Ok) {
    registry_.WriteBinary(kProgramKey, kConfigInfoValue, SerialiseSlotTable(slots_));
  }
  const std::u16string path = SlotPath(current_);
  const auto image = SerialiseSettingsBlock(block_);
  const FileStatus status = files_.WriteWholeFile(path, image);
  if (status == FileStatus::NotFound) {
    outcome.Show(MessageBoxKind::Info, StoreMessage::FileNotFound, path);
  } else if (status == FileStatus::AccessDenied && current_ == 0) {
    // DefaultSetting stands in for the first slot's file only. Decided by the slot, not by its
    // stored name: that is "Profile1" whatever the language.
    if (registry_.OpenKey(kProgramKey) != RegistryStatus::Ok ||
        registry_.WriteBinary(kProgramKey, kDefaultSettingValue, image) != RegistryStatus::Ok) {
      outcome.Show(MessageBoxKind::Info, StoreMessage::ProfileNotSaved);
    } else {
      profile1InRegistry_ = true;
    }
  }
  outcome.Then(StoreStep::Kind::DownloadFinished);
  return outcome;
}

StoreOutcome ProfileStore::RestoreDefaults() {
  StoreOutcome outcome;
  FillWithDefaults(block_, chineseText_);
  macroIds_.fill(0);
  outcome.Then(StoreStep::Kind::RefreshPages);
  outcome.Then(StoreStep::Kind::StartDownloadShowing);
  return outcome;
}

std::array<bool, kProfileButtonCount> ProfileStore::ActiveButtons() const {
  std::array<bool, kProfileButtonCount> checked{};
  for (size_t k = 0; k < kProfileCount; ++k) checked[k] = Active(slots_[k]);
  return checked;
}

}  // namespace nx7
