#include "store/profile_store.h"

#include <algorithm>
#include <cstring>

#include "common/text.h"

namespace nx7 {
namespace {

bool Active(const ProfileSlot& slot) { return slot.slotMagic == kSlotMagic && slot.active != 0; }

}  // namespace

ProfileStore::ProfileStore(Registry& registry, FileSystem& files, ProfileStoreHost& host, std::u16string programFolder,
                           SettingsBlock& block, ButtonMacroIds& macroIds)
    : registry_(registry),
      files_(files),
      host_(host),
      programFolder_(std::move(programFolder)),
      block_(block),
      macroIds_(macroIds) {}

std::u16string ProfileStore::SlotPath(size_t slot) const {
  return slot < kProfileCount ? TextFromField(slots_[slot].path, kTextFieldLength) : std::u16string();
}

std::u16string ProfileStore::SlotName(size_t slot) const {
  return slot < kProfileCount ? TextFromField(slots_[slot].name, kTextFieldLength) : std::u16string();
}

void ProfileStore::LoadAtStart() {
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
    if (LoadProfileFile(SlotPath(k), true) == kProfileLoaded) {
      current_ = k;
      found = true;
    } else {
      slots_[k].active = 0;
      WriteDefaultProfileFile(SlotPath(k));
    }
  }
  if (!found) {
    if (LoadProfileFile(SlotPath(0), false) != kProfileLoaded) WriteDefaultProfileFile(SlotPath(0));
    slots_[0].active = 1;
    current_ = 0;
  }
  CheckProfileButtons();
}

void ProfileStore::CopySlotMacroIdsToButtons() {
  std::copy(std::begin(slots_[current_].macroIds), std::end(slots_[current_].macroIds), macroIds_.begin());
}

int ProfileStore::LoadProfileFile(std::u16string_view path, bool createIfMissing) {
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
      host_.ShowInfoBox(FormatWithPath(u"%s is an invaild Profile!", path));
      return kNotAProfile;
    }
    return kProfileLoaded;
  }
  if ((status == FileStatus::NotFound || status == FileStatus::PathNotFound) && createIfMissing) {
    host_.ShowMessageBox(FormatWithPath(u"Failed to open file, check whether there is a %s path?", path));
    WriteDefaultProfileFile(path);
  }
  return kProfileNotLoaded;
}

bool ProfileStore::WriteDefaultProfileFile(std::u16string_view path) {
  files_.CreateFolder(programFolder_ + u"\\Profile");
  // The defaults reach the block only once they are safely in the file.
  SettingsBlock defaults;
  FillWithDefaults(defaults);
  const FileStatus status = files_.WriteWholeFile(path, SerialiseSettingsBlock(defaults));
  if (status == FileStatus::Ok) {
    block_ = defaults;
    return true;
  }
  if (status == FileStatus::AccessDenied) host_.ShowMessageBox(host_.CatalogueText("str_msg4"));
  return false;
}

void ProfileStore::SwitchToSlot(size_t slot, bool download) {
  if (slot >= kProfileCount) return;
  current_ = slot;
  if (LoadProfileFile(SlotPath(slot), true) != kProfileLoaded) return;
  CopySlotMacroIdsToButtons();
  for (ProfileSlot& s : slots_) s.active = 0;
  slots_[slot].active = 1;
  for (size_t k = 0; k < kProfileCount; ++k) host_.SetProfileButtonChecked(k, false);
  for (size_t k = 0; k < kProfileCount; ++k) {
    if (slots_[k].active == 1) host_.SetProfileButtonChecked(k, true);
  }
  if (download) host_.StartDownloadIfIdle(false);
  host_.RefreshPages();
}

void ProfileStore::SaveAfterDownload() {
  ProfileSlot& slot = slots_[current_];
  std::copy(macroIds_.begin(), macroIds_.end(), std::begin(slot.macroIds));
  if (registry_.OpenKey(kProgramKey) == RegistryStatus::Ok) {
    registry_.WriteBinary(kProgramKey, kConfigInfoValue, SerialiseSlotTable(slots_));
  }
  const std::u16string path = SlotPath(current_);
  const auto image = SerialiseSettingsBlock(block_);
  const FileStatus status = files_.WriteWholeFile(path, image);
  if (status == FileStatus::NotFound) {
    host_.ShowInfoBox(FormatWithPath(host_.CatalogueText("str_msg2"), path));
  } else if (status == FileStatus::AccessDenied && current_ == 0) {
    // DefaultSetting stands in for the first slot's file. Comparing the slot's stored name
    // ("Profile1") with the translated str_profile1 would hold in English only.
    if (registry_.OpenKey(kProgramKey) != RegistryStatus::Ok ||
        registry_.WriteBinary(kProgramKey, kDefaultSettingValue, image) != RegistryStatus::Ok) {
      host_.ShowInfoBox(host_.CatalogueText("str_msg5"));
    } else {
      profile1InRegistry_ = true;
    }
  }
  host_.MarkDownloadFinished();
}

void ProfileStore::RestoreDefaults() {
  FillWithDefaults(block_);
  macroIds_.fill(0);
  host_.RefreshPages();
  host_.StartDownloadIfIdle(true);
}

void ProfileStore::CheckProfileButtons() {
  for (size_t k = 0; k < kProfileCount; ++k) host_.SetProfileButtonChecked(k, Active(slots_[k]));
}

}  // namespace nx7
