#include "i18n/string_catalogue.h"

#include "i18n/xml_reader.h"

namespace nx7 {

namespace {
const std::u16string kEmpty;
}

const std::u16string& StringCatalogue::Text(std::u16string_view keyName) const {
  const std::optional<StringKey> key = FindStringKey(keyName);
  return key ? (*this)[*key] : kEmpty;
}

void StringCatalogue::AssignFrom(CXmlReader& reader) {
  for (size_t i = 0; i < kStringKeyCount; ++i) texts_[i] = reader.ReadXmlValue(u"config", kStringKeyNames[i]);
}

std::optional<StringKey> FindStringKey(std::u16string_view name) {
  for (size_t i = 0; i < kStringKeyCount; ++i)
    if (kStringKeyNames[i] == name) return static_cast<StringKey>(i);
  return std::nullopt;
}

void LoadStringCatalogue(StringCatalogue& catalogue, CXmlReader& reader, const std::filesystem::path& path) {
  // The result of Load is deliberately ignored: a document with recoverable faults still yields
  // the texts it holds, and an unreadable one leaves the reader empty, so every entry becomes "".
  reader.Load(path);
  catalogue.AssignFrom(reader);
}

}  // namespace nx7
