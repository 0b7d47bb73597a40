#pragma once
// The display-language flag of the built-in texts: every text the program carries itself (not
// read from a language file) exists in a Chinese and an English form, and this flag picks one
// at the moment the text is produced. It is true at program start; the language choice changes it.
// Read and written on the user-interface thread only.
#include <string_view>

namespace nx7 {

extern bool chineseText;

// The form of a built-in bilingual text that `chineseText` selects right now.
inline std::u16string_view BilingualText(std::u16string_view chinese, std::u16string_view english) {
  return chineseText ? chinese : english;
}

}  // namespace nx7
