#pragma once
// Which language the catalogue holds: the default language of the skin settings at start, the
// choice stored in the registry, and the switch made from the language menu. Only what needs no
// window is here; the main window shows the returned flag picture, refreshes its tooltips and
// reports a failed save.
#include <cstdint>
#include <string>
#include <string_view>

#include "i18n/language_table.h"

namespace nx7 {

class CXmlReader;
class IniFile;
class Registry;
class StringCatalogue;

// What the language choice reads and writes.
struct LanguageContext {
  std::u16string programFolder;  // the executable's folder, path text without a final separator
  IniFile& ini;
  Registry& registry;
  StringCatalogue& catalogue;
  CXmlReader& reader;
  bool& chineseText;  // the display language's flag of the built-in texts
};

// Where the choice lives.
inline constexpr std::u16string_view kLanguageValueName = u"Language";
inline constexpr std::u16string_view kLanguageTypeIni = u"skins\\languagetype.ini";
inline constexpr std::u16string_view kFlasherConfigIni = u"FWUpdate\\Config.ini";

// Shown in a message box captioned "Error" when the choice cannot be saved.
inline constexpr std::u16string_view kLanguageSaveFailedText = u"Reg_SaveData Create key failed";
inline constexpr std::u16string_view kLanguageSaveFailedCaption = u"Error";

// wParam of the WM_LANGUAGE_SELECTED the main window posts itself once at start.
inline constexpr uintptr_t kLanguageSelectedAtStart = 0x110;

// Program start, before any window: the Chinese file, so that the catalogue is never unset.
void LoadInitialCatalogue(const LanguageContext& context);

// Main window initialisation, before the pages exist: value 1 of the skin settings'
// [languagetype] value means Chinese, anything else (a missing file too) English. Sets
// `chineseText`, loads that language's file, records the choice for the firmware flashing tool
// ([Language] Type = "1" or "0" in FWUpdate\Config.ini) and returns the flag bitmap to show.
int ApplyDefaultLanguage(const LanguageContext& context);

// The stored choice: the 4-byte little-endian REG_BINARY value Language of the LANGUAGE key,
// or 0 when the key cannot be opened for reading and writing, the value is missing, longer than
// 4 bytes or not binary. A shorter value counts with its missing high bytes as zero.
LanguageId ReadStoredLanguage(Registry& registry);
// Stores `id`, creating the key when it cannot be opened. Returns false only when the key can
// neither be opened nor created; a failing write of the value itself is not reported.
bool StoreLanguage(Registry& registry, LanguageId id);

// Whether WM_LANGUAGE_SELECTED is acted on: not for lParam 0 (the menu closed without a
// choice), nor when no language menu is open unless it is the start-up message.
bool IsLanguageSelectionHandled(uintptr_t wParam, LanguageId id, bool languageMenuOpen);

struct LanguageSwitch {
  int flagBitmapId = 0;  // the picture to show, 0 when no language was loaded and it stays
  bool saved = true;     // false: show kLanguageSaveFailedText; the switch has taken effect anyway
};

// The switch to `id`: `chineseText` becomes true for Chinese (1) and false for every other id;
// a language of the table is loaded into the catalogue, an unknown id loads nothing. The id is
// stored in the registry in every case, an unknown one too.
LanguageSwitch SwitchLanguage(const LanguageContext& context, LanguageId id);

}  // namespace nx7
