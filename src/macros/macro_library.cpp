#include "macros/macro_library.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/text.h"

namespace nx7 {

bool IsListed(const MacroEntry& entry) {
  return entry.entrySize >= kMacroEntrySize || (entry.entrySignature >> 16) == 0xE8E8;
}
bool IsStorable(const MacroEntry& entry) {
  return entry.entrySize >= kMacroEntrySize && (entry.entrySignature >> 16) == 0xE8E8;
}
bool IsPlayable(const MacroEntry& entry) { return entry.entrySize != 0; }
bool IsFree(const MacroEntry& entry) { return entry.entrySignature == 0; }

std::span<const MacroEvent> MacroEvents(const MacroEntry& entry) {
  return std::span<const MacroEvent>(entry.macroEvents, std::min<size_t>(entry.eventCount, kMacroEventCapacity));
}

std::u16string MacroName(const MacroEntry& entry) { return TextFromField(entry.macroName, kMacroNameLength); }

std::string MacroEventText(MacroEvent event) {
  char text[32];
  switch (MacroEventType(MacroEventTypeOf(event))) {
    case MacroEventType::Delay:
      std::snprintf(text, sizeof text, "delay %u", unsigned(MacroEventValue(event)));
      break;
    case MacroEventType::Press:
      std::snprintf(text, sizeof text, "press 0x%02X", unsigned(MacroEventValue(event)));
      break;
    case MacroEventType::Release:
      std::snprintf(text, sizeof text, "release 0x%02X", unsigned(MacroEventValue(event)));
      break;
    default:
      std::snprintf(text, sizeof text, "0x%08X", unsigned(event));
  }
  return text;
}

size_t LoadMacroLibraryImage(std::span<const uint8_t> image, MacroLibrary& library) {
  std::memset(library.data(), 0, kMacroLibrarySize);
  const size_t n = std::min(image.size(), kMacroLibrarySize);
  if (n > 0) std::memcpy(library.data(), image.data(), n);
  for (MacroEntry& entry : library) entry.eventCount = std::min<uint32_t>(entry.eventCount, kMacroEventCapacity);
  return n;
}

std::optional<size_t> FindMacroById(const MacroLibrary& library, uint32_t id) {
  for (size_t i = 0; i < library.size(); ++i) {
    if (library[i].macroId == id) return i;
  }
  return std::nullopt;
}

bool IsMacroInUse(uint32_t id, const ProfileSlotTable& slots, const SettingsBlock& block) {
  for (const ProfileSlot& slot : slots) {
    for (int32_t slotId : slot.macroIds) {
      if (uint32_t(slotId) == id) return true;
    }
  }
  for (const ButtonAssignment& button : block.buttons) {
    if (button.type == 6 && uint32_t(button.macroId) == id) return true;
  }
  return false;
}

uint32_t NewMacroId(uint32_t category, Clock& clock) { return (category << 24) | (clock.TickCount() & 0xFFFFFF); }

MacroStore::MacroStore(FileSystem& files, Clock& clock, std::u16string programFolder, MacroLibrary& library)
    : files_(files), clock_(clock), programFolder_(std::move(programFolder)), library_(library) {}

bool MacroStore::LoadMacroLibrary(StoreOutcome& outcome) {
  const std::u16string path = Path();
  std::vector<uint8_t> image;
  const FileStatus status = files_.ReadWholeFile(path, kMacroLibrarySize, image);
  if (status == FileStatus::Ok) {
    LoadMacroLibraryImage(image, library_);
    return true;
  }
  if (status == FileStatus::NotFound || status == FileStatus::PathNotFound) {
    outcome.Show(MessageBoxKind::Program, StoreMessage::FileNotFound, path);
  }
  return false;
}

bool MacroStore::SaveMacroLibrary(StoreOutcome& outcome) {
  const std::u16string path = Path();
  const bool existed = files_.Exists(path);
  if (!existed) outcome.Show(MessageBoxKind::Info, StoreMessage::FileNotFound, path);
  clock_.Sleep(100);
  const auto* bytes = reinterpret_cast<const uint8_t*>(library_.data());
  const FileStatus status = files_.WriteWholeFile(path, std::span(bytes, kMacroLibrarySize));
  clock_.Sleep(100);
  if (status == FileStatus::AccessDenied && !existed) outcome.Show(MessageBoxKind::Info, StoreMessage::FolderNotWritable);
  return status == FileStatus::Ok;
}

bool MacroStore::StoreMacroEntry(const MacroEntry* record, StoreOutcome& outcome) {
  if (!record || !IsStorable(*record)) return false;
  // A copy first: the record may be the target itself (a rename stores the entry in place).
  const MacroEntry source = *record;
  std::optional<size_t> target = FindMacroById(library_, source.macroId);
  if (!target) {
    for (size_t i = 0; i < library_.size() && !target; ++i) {
      if (IsFree(library_[i])) target = i;
    }
  }
  if (!target) return false;
  MacroEntry& entry = library_[*target];
  const std::span<const MacroEvent> events = MacroEvents(source);
  std::memset(entry.macroEvents, 0, sizeof entry.macroEvents);
  std::copy(events.begin(), events.end(), entry.macroEvents);
  entry.macroId = source.macroId;
  entry.eventCount = uint32_t(events.size());
  entry.repeatCount = source.repeatCount;
  entry.reserved = source.reserved;
  std::memcpy(entry.macroName, source.macroName, sizeof entry.macroName);
  entry.entrySize = source.entrySize;
  entry.entrySignature = source.entrySignature;
  SaveMacroLibrary(outcome);
  return true;
}

void MacroStore::DeleteMacroEntry(uint32_t id, StoreOutcome& outcome) {
  if (const auto index = FindMacroById(library_, id)) std::memset(&library_[*index], 0, sizeof(MacroEntry));
  SaveMacroLibrary(outcome);
}

void MacroStore::RenameMacro(uint32_t id, std::u16string_view name, StoreOutcome& outcome) {
  char16_t field[kMacroNameLength] = {};
  CopyToField(name, field, kMacroNameLength);
  const std::u16string newName = TextFromField(field, kMacroNameLength);
  for (MacroEntry& entry : library_) {
    if (entry.macroId != id || !IsListed(entry) || MacroName(entry) == newName) continue;
    CopyToField(newName, entry.macroName, kMacroNameLength);
    StoreMacroEntry(&entry, outcome);
  }
}

}  // namespace nx7
