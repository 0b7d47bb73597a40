// A JSON profile of any content through the importer; whatever it accepts exports and imports
// again to the same bytes. Inputs that begin with the profile signature are also taken as a
// profile's bytes: exported, imported, and back byte for byte when every value is in range.
#include <cstring>
#include <memory>
#include <string_view>

#include "common/text.h"
#include "fuzz_check.h"
#include "platform/virtual/us_keyboard_layout.h"
#include "store/profile_json.h"

namespace {

nx7::MacroLibrary& Library() {
  static const auto library = [] {
    auto l = std::make_unique<nx7::MacroLibrary>();
    const char16_t* names[] = {u"Jump", u"Twin", u"Twin"};
    for (size_t i = 0; i < 3; ++i) {
      nx7::MacroEntry& e = (*l)[i];
      e.entrySize = 4104;
      e.entrySignature = nx7::kMacroEntrySignature;
      e.macroId = 0x15000001 + uint32_t(i);
      nx7::CopyToField(names[i], e.macroName, nx7::kMacroNameLength);
    }
    return l;
  }();
  return *library;
}

bool SameBytes(const nx7::SettingsBlock& a, const nx7::SettingsBlock& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nx7;
  UsKeyboardLayout layout;
  const ProfileJsonContext context{&Library(), &layout, (size & 1) != 0};
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  auto block = std::make_unique<SettingsBlock>();
  FillWithDefaults(*block, false);
  auto before = std::make_unique<SettingsBlock>(*block);
  if (ProfileFromJson(text, context, *block)) {
    FUZZ_CHECK(SameBytes(*block, *before));  // a refusal leaves the block alone
  } else {
    FUZZ_CHECK(!CheckProfileValues(*block));
    auto again = std::make_unique<SettingsBlock>();
    FUZZ_CHECK(!ProfileFromJson(ProfileToJson(*block, context), context, *again));
    FUZZ_CHECK(SameBytes(*block, *again));
  }

  if (size >= 4 && std::memcmp(data, "\x65\x02\x80\x80", 4) == 0) {
    DeserialiseSettingsBlock(std::span(data, size), *block);
    auto back = std::make_unique<SettingsBlock>();
    const auto problem = ProfileFromJson(ProfileToJson(*block, context), context, *back);
    // Refused exactly when a value is out of range, and then for that reason.
    const auto range = CheckProfileValues(*block);
    FUZZ_CHECK(bool(problem) == bool(range));
    if (problem) FUZZ_CHECK(*problem == *range);
    if (!problem) FUZZ_CHECK(SameBytes(*block, *back));
  }
  return 0;
}
