#pragma once
// The shipped language files and the translators' texts they are built from, for tests that load
// real data.
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "common/text.h"
#include "i18n/language_table.h"

namespace nx7::testing {

inline std::filesystem::path SourceRoot() { return std::filesystem::path(NX7_SOURCE_DIR); }

// "sc", "en", ... : the file name of a language without folder and extension.
inline std::string LanguageStem(const LanguageInfo& language) {
  std::string file = Utf8FromUtf16(language.file);
  file = file.substr(file.find('\\') + 1);
  return file.substr(0, file.size() - 4);
}

// The key<TAB>text lines of tools/lang/texts/<stem>.txt.
inline std::vector<std::pair<std::string, std::u16string>> TranslatorTexts(const std::string& stem) {
  std::ifstream in(SourceRoot() / "tools" / "lang" / "texts" / (stem + ".txt"), std::ios::binary);
  std::vector<std::pair<std::string, std::u16string>> texts;
  for (std::string line; std::getline(in, line);) {
    const size_t tab = line.find('\t');
    texts.emplace_back(line.substr(0, tab), Utf16FromUtf8(line.substr(tab + 1)));
  }
  return texts;
}

// Copies Language/ into `programFolder`, as it is installed beside the program.
inline void InstallLanguageFiles(const std::filesystem::path& programFolder) {
  std::filesystem::copy(SourceRoot() / "Language", programFolder / "Language",
                        std::filesystem::copy_options::recursive);
}

}  // namespace nx7::testing
