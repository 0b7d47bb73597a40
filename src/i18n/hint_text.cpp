#include "i18n/hint_text.h"

#include "buttons/inputs.h"
#include "common/text.h"
#include "i18n/string_catalogue.h"
#include "store/settings_block.h"

namespace nx7 {

std::optional<StringKey> HintKey(HintId id) {
  // Hints 1 to 18 are the first 18 keys; 26 to 60 are keys 47 to 81, skipping the 24 names of
  // the basic-function list and the four advanced labels, which have no hint.
  if (id >= 1 && id <= 18) return static_cast<StringKey>(id - 1);
  if (id >= 26 && id <= 60) return static_cast<StringKey>(static_cast<int>(StringKey::str_ledspe) + id - 26);
  return std::nullopt;
}

bool RewriteDefaultButtonName(size_t input, std::span<char16_t> displayName, bool chinese) {
  if (input >= kInputCount || displayName.empty()) return false;
  const std::u16string_view current(displayName.data(), BoundedLength(displayName.data(), displayName.size()));
  const DefaultButtonName& names = kInputs[input].defaultName;
  const std::u16string_view from = chinese ? names.english : names.chinese;
  const std::u16string_view to = chinese ? names.chinese : names.english;
  if (current != from) return false;
  CopyToField(to, displayName.data(), displayName.size());
  return true;
}

std::u16string HintText(HintId id, const StringCatalogue& catalogue, SettingsBlock& settings, bool chinese) {
  if (const std::optional<StringKey> key = HintKey(id)) return catalogue[*key];
  if (id < kFirstButtonHint || id > kLastButtonHint) return {};
  const size_t input = size_t(id - kFirstButtonHint);
  char16_t* name = settings.buttons[input].displayName;
  RewriteDefaultButtonName(input, std::span<char16_t>(name, kTextFieldLength), chinese);
  return TextFromField(name, kTextFieldLength);
}

}  // namespace nx7
