#include "i18n/language_choice.h"

#include "common/bytes.h"
#include "i18n/string_catalogue.h"
#include "platform/file_path.h"
#include "platform/ini_file.h"
#include "platform/registry.h"

namespace nx7 {

namespace {

void LoadLanguageFile(const LanguageContext& context, const LanguageInfo& language) {
  LoadStringCatalogue(context.catalogue, context.reader, PathFromText(JoinPathText(context.programFolder, language.file)));
}

}  // namespace

void LoadInitialCatalogue(const LanguageContext& context) {
  LoadLanguageFile(context, *FindLanguage(kLanguageChinese));
}

int ApplyDefaultLanguage(const LanguageContext& context) {
  const int value = ReadIniInt(context.ini, JoinPathText(context.programFolder, kLanguageTypeIni), u"languagetype",
                               u"value", 0);
  context.chineseText = value == 1;
  const LanguageInfo& language = *FindLanguage(context.chineseText ? kLanguageChinese : kLanguageEnglish);
  LoadLanguageFile(context, language);
  // The flashing tool only learns the language from this file; a missing FWUpdate folder just
  // leaves it without one.
  context.ini.WriteString(JoinPathText(context.programFolder, kFlasherConfigIni), u"Language", u"Type",
                          context.chineseText ? u"1" : u"0");
  return language.flagBitmapId;
}

LanguageId ReadStoredLanguage(Registry& registry) {
  if (registry.OpenKey(kLanguageKey) != RegistryStatus::Ok) return 0;
  RegistryValue value;
  if (registry.ReadValue(kLanguageKey, kLanguageValueName, 4, value) != RegistryStatus::Ok) return 0;
  if (value.type != RegistryType::Binary) return 0;
  uint8_t bytes[4] = {};
  for (size_t i = 0; i < value.data.size() && i < 4; ++i) bytes[i] = value.data[i];
  return ReadLe32(bytes);
}

bool StoreLanguage(Registry& registry, LanguageId id) {
  if (registry.OpenKey(kLanguageKey) != RegistryStatus::Ok &&
      registry.CreateKey(kLanguageKey) != RegistryStatus::Ok)
    return false;
  uint8_t bytes[4];
  WriteLe32(bytes, id);
  registry.WriteBinary(kLanguageKey, kLanguageValueName, bytes);
  return true;
}

bool IsLanguageSelectionHandled(uintptr_t wParam, LanguageId id, bool languageMenuOpen) {
  return id != 0 && (languageMenuOpen || wParam == kLanguageSelectedAtStart);
}

LanguageSwitch SwitchLanguage(const LanguageContext& context, LanguageId id) {
  LanguageSwitch result;
  context.chineseText = false;
  if (const LanguageInfo* language = FindLanguage(id)) {
    LoadLanguageFile(context, *language);
    result.flagBitmapId = language->flagBitmapId;
    context.chineseText = id == kLanguageChinese;
  }
  result.saved = StoreLanguage(context.registry, id);
  return result;
}

}  // namespace nx7
