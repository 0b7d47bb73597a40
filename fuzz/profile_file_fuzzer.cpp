// A profile file of any content as Profile1.cfg of the active slot at start, then saved back.
#include <cstring>
#include <memory>

#include "common/text.h"
#include "fuzz_check.h"
#include "platform/virtual/virtual_file_system.h"
#include "platform/virtual/virtual_registry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nx7;
  const std::u16string folder = u"C:\\NX7";
  const std::u16string path = folder + u"\\Profile\\Profile1.cfg";
  VirtualFileSystem fs;
  fs.PutFile(path, std::vector<uint8_t>(data, data + size));
  VirtualRegistry reg;
  reg.CreateKey(kProgramKey);
  std::vector<uint8_t> table(kProfileSlotTableSize, 0);
  table[0] = 0xBE, table[1] = 0xBE, table[4] = 1;
  reg.WriteBinary(kProgramKey, kConfigInfoValue, table);

  StoreOutcome outcome;
  auto block = std::make_unique<SettingsBlock>();
  ButtonMacroIds ids{};
  const bool chineseText = true;
  ProfileStore store(reg, fs, folder, *block, ids, chineseText);
  outcome = store.LoadAtStart();
  FUZZ_CHECK(store.CurrentSlot() == 0);
  FUZZ_CHECK(block->magic == kSettingsMagic);
  const bool accepted = size >= 4 && std::memcmp(data, "\x65\x02\x80\x80", 4) == 0;
  // What was loaded is the file's first 22252 bytes, zero after a short file.
  std::vector<uint8_t> expected(data, data + std::min(size, kSettingsBlockSize));
  expected.resize(kSettingsBlockSize, 0);
  if (accepted) FUZZ_CHECK(std::memcmp(block.get(), expected.data(), kSettingsBlockSize) == 0);
  FUZZ_CHECK(outcome.steps.size() == (accepted ? 0 : 1));

  // Everything a page would read stays within its field.
  for (const ButtonAssignment& button : block->buttons) {
    FUZZ_CHECK(TextFromField(button.displayName, kTextFieldLength).size() <= kTextFieldLength);
    FUZZ_CHECK(TextFromField(button.launchPath, kTextFieldLength).size() <= kTextFieldLength);
  }
  outcome = store.SaveAfterDownload();
  const auto saved = fs.FileContent(path);
  FUZZ_CHECK(saved && saved->size() == kSettingsBlockSize);
  if (accepted) FUZZ_CHECK(*saved == expected);
  return 0;
}
