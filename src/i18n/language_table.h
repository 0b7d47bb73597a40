#pragma once
// The twelve display languages: the number stored in the registry and carried by the language
// menu, the menu text, the language file and the two pictures of each.
#include <array>
#include <cstdint>
#include <string_view>

namespace nx7 {

// 1 to 12 for the languages of the table; other values can arrive (a stored value from elsewhere)
// and select no language.
using LanguageId = uint32_t;

inline constexpr LanguageId kLanguageChinese = 1;
inline constexpr LanguageId kLanguageEnglish = 2;
inline constexpr LanguageId kLanguageTradChinese = 12;

struct LanguageInfo {
  LanguageId id;
  std::u16string_view menuText;
  std::u16string_view file;  // relative to the program folder, Windows separators
  int flagBitmapId;          // 37 x 22 bitmap shown above the language button
  int menuIconId;            // 19 x 11 PNG of the language menu
};

// Trad.Chinese shows the same flag picture as Chinese, but only Chinese selects the Chinese form of
// the built-in texts.
inline constexpr std::array<LanguageInfo, 12> kLanguageTable = {{
    {1, u"Chinese", u"Language\\sc.xml", 142, 130},
    {2, u"English", u"Language\\en.xml", 143, 131},
    {3, u"French", u"Language\\fre.xml", 144, 132},
    {4, u"Korean", u"Language\\kor.xml", 145, 133},
    {5, u"German", u"Language\\ger.xml", 146, 134},
    {6, u"Italian", u"Language\\ita.xml", 147, 135},
    {7, u"Spanish", u"Language\\span.xml", 148, 136},
    {8, u"Dutch", u"Language\\dutch.xml", 149, 137},
    {9, u"Portuguese", u"Language\\pt.xml", 150, 138},
    {10, u"Russian", u"Language\\rus.xml", 151, 139},
    {11, u"Ukrainian", u"Language\\ukr.xml", 152, 140},
    {12, u"Trad.Chinese", u"Language\\tw.xml", 153, 141},
}};

// The row of `id`, or nullptr when `id` is not 1 to 12.
inline constexpr const LanguageInfo* FindLanguage(LanguageId id) {
  return id >= 1 && id <= kLanguageTable.size() ? &kLanguageTable[id - 1] : nullptr;
}

}  // namespace nx7
