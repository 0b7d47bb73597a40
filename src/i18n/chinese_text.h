#pragma once
// The built-in bilingual texts: every text the program carries itself (not read from a language
// file) exists in a Chinese and an English form, and the display language's flag (`chineseText`
// of the application's model, true at program start, changed by the language choice) picks one at
// the moment the text is produced.
#include <string_view>

namespace nx7 {

// The form of a built-in bilingual text that `chinese` selects.
constexpr std::u16string_view BilingualText(bool chinese, std::u16string_view chineseForm, std::u16string_view english) {
  return chinese ? chineseForm : english;
}

}  // namespace nx7
