#pragma once
// The string catalogue: the 84 texts of the active language file (tooltips, hints, the names of
// the basic-function list, the advanced-function labels and three file messages). Every entry is
// empty until a language file is loaded; each load assigns all 84 entries, so a key missing from
// the file leaves an empty text rather than the previous language's one.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/text.h"  // FormatCatalogueText, which formats the catalogue's texts
#include "i18n/string_keys.h"

namespace nx7 {

class CXmlReader;

class StringCatalogue {
 public:
  const std::u16string& operator[](StringKey key) const { return texts_[static_cast<size_t>(key)]; }
  // By element name; "" for a name that is not a catalogue key.
  const std::u16string& Text(std::u16string_view keyName) const;

  // Reads all 84 keys from the document now in `reader` (section `config`), in catalogue order.
  void AssignFrom(CXmlReader& reader);

 private:
  std::array<std::u16string, kStringKeyCount> texts_;
};

// The element name `name` as a key, if it is one.
std::optional<StringKey> FindStringKey(std::u16string_view name);

// Loads the language file at `path` into `reader` and fills `catalogue` from it. A file that cannot
// be read leaves every entry empty; nothing is reported.
void LoadStringCatalogue(StringCatalogue& catalogue, CXmlReader& reader, const std::filesystem::path& path);

}  // namespace nx7
