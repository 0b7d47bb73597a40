#pragma once
// The text of the main window's hint line for a HintId (1 to 60), posted with WM_SHOW_HINT by the
// main window and the pages when the pointer is over a control.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "i18n/string_keys.h"

namespace nx7 {

class StringCatalogue;
struct SettingsBlock;

using HintId = int;

// HintIds 19 to 25 show the display names of inputs 0 to 6 instead of a catalogue text.
inline constexpr HintId kFirstButtonHint = 19;
inline constexpr HintId kLastButtonHint = 25;

// The catalogue key whose text is the hint, or nothing for 19 to 25 and for ids outside 1 to 60.
std::optional<StringKey> HintKey(HintId id);

// If the NUL-terminated name in `displayName` is the default name of `input` in the other language
// than the one `chinese` selects, overwrites it in place with the default name in the selected one
// and returns true. Any other name is left alone.
bool RewriteDefaultButtonName(size_t input, std::span<char16_t> displayName, bool chinese);

// The hint text for `id`: the catalogue text for 1 to 18 and 26 to 60; for 19 to 25 the display
// name of input id - 19 in `settings`, first rewritten by RewriteDefaultButtonName (the rewrite
// stays in the settings, so it is saved with the profile); "" for any other id.
std::u16string HintText(HintId id, const StringCatalogue& catalogue, SettingsBlock& settings, bool chinese);

}  // namespace nx7
