#pragma once
// Sets the display-language flag of built-in texts for one test scope and restores it after.
#include "i18n/chinese_text.h"

namespace nx7 {

struct LanguageScope {
  explicit LanguageScope(bool chinese) : saved(chineseText) { chineseText = chinese; }
  ~LanguageScope() { chineseText = saved; }
  LanguageScope(const LanguageScope&) = delete;
  LanguageScope& operator=(const LanguageScope&) = delete;
  bool saved;
};

}  // namespace nx7
