#include "i18n/language_choice.h"

#include <gtest/gtest.h>

#include "i18n/language_files.h"
#include "i18n/string_catalogue.h"
#include "i18n/xml_reader.h"
#include "platform/ini_file.h"
#include "platform/virtual/virtual_registry.h"
#include "temp_folder.h"

namespace nx7::testing {
namespace {

const std::u16string kChineseOk = u"应用：将当前设置写入鼠标";
const std::u16string kEnglishOk = u"Apply: write these settings to the mouse";

class LanguageChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallLanguageFiles(folder_.Path());
    std::filesystem::create_directories(folder_.Path() / "FWUpdate");
  }

  void SetDefaultLanguage(const char* value) {
    folder_.Write("skins/languagetype.ini", std::string("[languagetype]\r\nvalue=") + value + "\r\n");
  }
  void StoreRaw(RegistryType type, std::vector<uint8_t> bytes) {
    registry_.CreateKey(kLanguageKey);
    registry_.WriteValue(kLanguageKey, kLanguageValueName, type, bytes);
  }
  std::vector<uint8_t> Stored() {
    const auto value = registry_.Value(kLanguageKey, kLanguageValueName);
    return value && value->type == RegistryType::Binary ? value->data : std::vector<uint8_t>{};
  }
  std::u16string FlasherType() {
    return ini_.ReadString((folder_.Path() / "FWUpdate" / "Config.ini").u16string(), u"Language", u"Type", u"none");
  }
  // Start-up as the program does it: default language, then the stored choice if it is handled.
  LanguageSwitch StartUp(int& defaultFlag) {
    LoadInitialCatalogue(context_);
    defaultFlag = ApplyDefaultLanguage(context_);
    const LanguageId stored = ReadStoredLanguage(registry_);
    if (!IsLanguageSelectionHandled(kLanguageSelectedAtStart, stored, false)) return {};
    return SwitchLanguage(context_, stored);
  }

  bool chineseText = true;  // program start: Chinese built-in texts
  TempFolder folder_;
  FileIniFile ini_;
  VirtualRegistry registry_;
  StringCatalogue catalogue_;
  CXmlReader reader_;
  LanguageContext context_{folder_.Text(), ini_, registry_, catalogue_, reader_, chineseText};
};

TEST_F(LanguageChoiceTest, InitialCatalogueIsChinese) {
  LoadInitialCatalogue(context_);
  EXPECT_EQ(catalogue_[StringKey::str_ok], kChineseOk);
}

TEST_F(LanguageChoiceTest, DefaultChineseWithoutStoredChoice) {
  SetDefaultLanguage("1");
  int flag = 0;
  const LanguageSwitch change = StartUp(flag);
  EXPECT_EQ(flag, 142);
  EXPECT_EQ(change.flagBitmapId, 0);  // no stored choice: nothing switched
  EXPECT_TRUE(chineseText);
  EXPECT_EQ(catalogue_[StringKey::str_ok], kChineseOk);
  EXPECT_EQ(FlasherType(), u"1");
  EXPECT_FALSE(registry_.Value(kLanguageKey, kLanguageValueName));
}

TEST_F(LanguageChoiceTest, DefaultEnglishForAnyOtherValueOrNoFile) {
  const char* const values[] = {"0", "2", "", nullptr};
  for (const char* value : values) {
    SCOPED_TRACE(value ? value : "(no file)");
    std::filesystem::remove(folder_.Path() / "skins" / "languagetype.ini");
    if (value) SetDefaultLanguage(value);
    chineseText = true;
    EXPECT_EQ(ApplyDefaultLanguage(context_), 143);
    EXPECT_FALSE(chineseText);
    EXPECT_EQ(catalogue_[StringKey::str_ok], kEnglishOk);
    EXPECT_EQ(FlasherType(), u"0");
  }
}

TEST_F(LanguageChoiceTest, StoredEnglishOverridesChineseDefault) {
  SetDefaultLanguage("1");
  StoreRaw(RegistryType::Binary, {2, 0, 0, 0});
  int flag = 0;
  const LanguageSwitch change = StartUp(flag);
  EXPECT_EQ(flag, 142);  // the pages were laid out for Chinese before the switch
  EXPECT_EQ(change.flagBitmapId, 143);
  EXPECT_TRUE(change.saved);
  EXPECT_FALSE(chineseText);
  EXPECT_EQ(catalogue_[StringKey::str_ok], kEnglishOk);
  EXPECT_EQ(Stored(), (std::vector<uint8_t>{2, 0, 0, 0}));
}

TEST_F(LanguageChoiceTest, EveryLanguageOfTheTableSwitches) {
  for (const LanguageInfo& language : kLanguageTable) {
    SCOPED_TRACE(LanguageStem(language));
    chineseText = true;
    const LanguageSwitch change = SwitchLanguage(context_, language.id);
    EXPECT_EQ(change.flagBitmapId, language.flagBitmapId);
    EXPECT_EQ(chineseText, language.id == kLanguageChinese);  // Trad.Chinese uses the English built-ins
    EXPECT_EQ(catalogue_[StringKey::str_msg5], TranslatorTexts(LanguageStem(language)).back().second);
    EXPECT_EQ(Stored(), (std::vector<uint8_t>{uint8_t(language.id), 0, 0, 0}));
  }
}

TEST_F(LanguageChoiceTest, UnknownIdLoadsNothingButIsStored) {
  SwitchLanguage(context_, kLanguageChinese);
  const LanguageSwitch change = SwitchLanguage(context_, 13);
  EXPECT_EQ(change.flagBitmapId, 0);
  EXPECT_FALSE(chineseText);
  EXPECT_EQ(catalogue_[StringKey::str_ok], kChineseOk);
  EXPECT_EQ(Stored(), (std::vector<uint8_t>{13, 0, 0, 0}));
}

TEST_F(LanguageChoiceTest, FailedSaveIsReportedAfterTheSwitch) {
  registry_.DenyAccess(true);
  const LanguageSwitch change = SwitchLanguage(context_, kLanguageEnglish);
  EXPECT_FALSE(change.saved);
  EXPECT_EQ(change.flagBitmapId, 143);
  EXPECT_EQ(catalogue_[StringKey::str_ok], kEnglishOk);
}

TEST_F(LanguageChoiceTest, MissingFlasherFolderIsNotCreated) {
  std::filesystem::remove_all(folder_.Path() / "FWUpdate");
  SetDefaultLanguage("1");
  EXPECT_EQ(ApplyDefaultLanguage(context_), 142);
  EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "FWUpdate"));
}

TEST(LanguageRegistry, ReadsOnlyAFourByteBinaryValue) {
  const struct {
    const char* name;
    bool present;
    RegistryType type;
    std::vector<uint8_t> bytes;
    LanguageId expected;
  } cases[] = {
      {"binary 7", true, RegistryType::Binary, {7, 0, 0, 0}, 7},
      {"little-endian", true, RegistryType::Binary, {0x0C, 0x01, 0, 0}, 0x10C},
      {"short value", true, RegistryType::Binary, {5}, 5},
      {"too long", true, RegistryType::Binary, {2, 0, 0, 0, 0}, 0},
      {"DWORD type", true, RegistryType::Dword, {2, 0, 0, 0}, 0},
      {"no value", false, RegistryType::Binary, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    VirtualRegistry registry;
    registry.CreateKey(kLanguageKey);
    if (c.present) registry.WriteValue(kLanguageKey, kLanguageValueName, c.type, c.bytes);
    EXPECT_EQ(ReadStoredLanguage(registry), c.expected);
  }
  VirtualRegistry noKey;
  EXPECT_EQ(ReadStoredLanguage(noKey), 0u);
}

TEST(LanguageRegistry, StoreCreatesTheKeyAndRoundTrips) {
  VirtualRegistry registry;
  ASSERT_TRUE(StoreLanguage(registry, 11));
  EXPECT_TRUE(registry.HasKey(kLanguageKey));
  EXPECT_EQ(ReadStoredLanguage(registry), 11u);
  ASSERT_TRUE(StoreLanguage(registry, 0xA1B2C3D4));
  EXPECT_EQ(registry.Value(kLanguageKey, kLanguageValueName)->data, (std::vector<uint8_t>{0xD4, 0xC3, 0xB2, 0xA1}));
  registry.DenyAccess(true);
  EXPECT_FALSE(StoreLanguage(registry, 3));
  EXPECT_EQ(ReadStoredLanguage(registry), 0u);
}

TEST(LanguageSelection, IsHandledForAChoiceFromTheMenuOrAtStart) {
  const struct {
    uintptr_t wParam;
    LanguageId id;
    bool menuOpen;
    bool handled;
  } cases[] = {
      {0, 3, true, true},   {0, 0, true, false},  {0, 3, false, false},
      {0x110, 3, false, true}, {0x110, 0, false, false}, {0x110, 13, false, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsLanguageSelectionHandled(c.wParam, c.id, c.menuOpen), c.handled)
        << c.wParam << " " << c.id << " " << c.menuOpen;
}

}  // namespace
}  // namespace nx7::testing
