// ConfigInfo of any content and type at start, with one valid profile file on disk.
#include <memory>

#include "common/text.h"
#include "fuzz_check.h"
#include "platform/virtual/virtual_file_system.h"
#include "platform/virtual/virtual_registry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nx7;
  if (size == 0) return 0;
  const std::u16string folder = u"C:\\NX7";
  VirtualRegistry reg;
  reg.CreateKey(kProgramKey);
  // The first byte picks the value's type; the rest is the value.
  const RegistryType type = (data[0] & 1) ? RegistryType::Binary : RegistryType(data[0] >> 1);
  reg.WriteValue(kProgramKey, kConfigInfoValue, type, std::span(data + 1, size - 1));
  VirtualFileSystem fs;
  SettingsBlock defaults;
  FillWithDefaults(defaults, true);
  const auto image = SerialiseSettingsBlock(defaults);
  fs.PutFile(folder + u"\\Profile\\Profile3.cfg", std::vector<uint8_t>(image.begin(), image.end()));

  StoreOutcome outcome;
  auto block = std::make_unique<SettingsBlock>();
  ButtonMacroIds ids{};
  const bool chineseText = true;
  ProfileStore store(reg, fs, folder, *block, ids, chineseText);
  outcome = store.LoadAtStart();
  FUZZ_CHECK(store.CurrentSlot() < kProfileCount);
  FUZZ_CHECK(block->magic == kSettingsMagic);
  FUZZ_CHECK(store.Slots()[store.CurrentSlot()].active != 0);
  for (size_t k = 0; k < kProfileCount; ++k) {
    FUZZ_CHECK(store.Slots()[k].slotMagic == kSlotMagic);
    FUZZ_CHECK(store.SlotPath(k) == folder + u"\\Profile\\Profile" + char16_t(u'1' + k) + u".cfg");
    FUZZ_CHECK(fs.Exists(store.SlotPath(k)) || k != store.CurrentSlot());
  }
  store.CopySlotMacroIdsToButtons();
  const auto stored = reg.Value(kProgramKey, kConfigInfoValue);
  FUZZ_CHECK(stored && (stored->type == RegistryType::Binary));
  return 0;
}
