#include "i18n/string_catalogue.h"

#include <gtest/gtest.h>

#include "i18n/language_table.h"
#include "i18n/xml_reader.h"
#include "i18n/language_files.h"
#include "temp_folder.h"

namespace nx7::testing {
namespace {

TEST(StringKeys, AreTheElementNamesOfTheShippedFilesInOrder) {
  const auto texts = TranslatorTexts("en");
  ASSERT_EQ(texts.size(), kStringKeyCount);
  for (size_t i = 0; i < kStringKeyCount; ++i) EXPECT_EQ(Utf8FromUtf16(kStringKeyNames[i]), texts[i].first);
  EXPECT_EQ(FindStringKey(u"str_msg5"), StringKey::str_msg5);
  EXPECT_EQ(FindStringKey(u"STR_MSG5"), std::nullopt);
}

// Every shipped file, whatever its encoding, yields exactly the translators' texts.
TEST(LoadStringCatalogue, ReadsEveryShippedLanguageCompletely) {
  for (const LanguageInfo& language : kLanguageTable) {
    const std::string stem = LanguageStem(language);
    SCOPED_TRACE(stem);
    CXmlReader reader;
    StringCatalogue catalogue;
    LoadStringCatalogue(catalogue, reader, SourceRoot() / "Language" / (stem + ".xml"));
    const auto texts = TranslatorTexts(stem);
    ASSERT_EQ(texts.size(), kStringKeyCount);
    for (size_t i = 0; i < kStringKeyCount; ++i) {
      EXPECT_EQ(Utf8FromUtf16(catalogue[StringKey(i)]), Utf8FromUtf16(texts[i].second)) << texts[i].first;
    }
    const std::u16string& msg2 = catalogue[StringKey::str_msg2];
    const size_t first = msg2.find(u"%s");
    EXPECT_NE(first, std::u16string::npos);
    EXPECT_EQ(msg2.find(u"%s", first + 1), std::u16string::npos);
  }
}

struct DocumentCase {
  const char* name;
  std::string document;
  std::u16string ok;      // expected str_ok
  std::u16string msg5;    // expected str_msg5
};

TEST(LoadStringCatalogue, FollowsTheLookupRules) {
  const DocumentCase cases[] = {
      {"plain", "<l><config><str_ok>OK</str_ok><str_msg5>M</str_msg5></config></l>", u"OK", u"M"},
      {"key missing", "<l><config><str_ok>OK</str_ok></config></l>", u"OK", u""},
      {"first of two wins", "<l><config><str_ok>1</str_ok><str_ok>2</str_ok></config></l>", u"1", u""},
      {"element content", "<l><config><str_ok>a<b/>c</str_ok></config></l>", u"", u""},
      {"root named config", "<config><str_ok>OK</str_ok></config>", u"", u""},
      {"names are case-sensitive", "<l><Config><str_ok>x</str_ok></Config><config><STR_OK>y</STR_OK></config></l>",
       u"", u""},
      {"nested config searched next",
       "<l><config><str_msg5>M</str_msg5><config><str_ok>deep</str_ok></config></config></l>", u"deep", u"M"},
      {"only the first config of the root", "<l><config/><config><str_ok>x</str_ok></config></l>", u"", u""},
      {"references and spaces kept", "<l><config><str_ok> A &amp; &#x4E2D; </str_ok></config></l>",
       u" A & \u4E2D ", u""},
  };
  for (const DocumentCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    CXmlReader reader;
    StringCatalogue catalogue;
    LoadStringCatalogue(catalogue, reader, folder.Write("l.xml", c.document));
    EXPECT_EQ(catalogue[StringKey::str_ok], c.ok);
    EXPECT_EQ(catalogue[StringKey::str_msg5], c.msg5);
    EXPECT_EQ(catalogue.Text(u"str_ok"), c.ok);
  }
}

TEST(LoadStringCatalogue, EachLoadReplacesEveryEntry) {
  TempFolder folder;
  CXmlReader reader;
  StringCatalogue catalogue;
  LoadStringCatalogue(catalogue, reader, SourceRoot() / "Language" / "en.xml");
  ASSERT_FALSE(catalogue[StringKey::str_main].empty());
  LoadStringCatalogue(catalogue, reader, folder.Write("few.xml", "<l><config><str_ok>OK</str_ok></config></l>"));
  EXPECT_EQ(catalogue[StringKey::str_ok], u"OK");
  EXPECT_EQ(catalogue[StringKey::str_main], u"");  // not kept from English
  LoadStringCatalogue(catalogue, reader, folder.Path() / "missing.xml");
  for (size_t i = 0; i < kStringKeyCount; ++i) EXPECT_EQ(catalogue[StringKey(i)], u"") << i;
}

TEST(LoadStringCatalogue, KeepsItsTextsWhenTheReaderLoadsAnotherDocument) {
  TempFolder folder;
  CXmlReader reader;
  StringCatalogue catalogue;
  LoadStringCatalogue(catalogue, reader, SourceRoot() / "Language" / "en.xml");
  reader.Load(folder.Write("update.xml", "<u><firmware><current>5</current></firmware></u>"));
  EXPECT_EQ(catalogue[StringKey::str_ok], u"Apply: write these settings to the mouse");
}

TEST(FormatCatalogueText, PutsTheArgumentInPlaceOfTheFirstPercentS) {
  const struct {
    const char16_t* format;
    const char16_t* expected;  // with argument "C:\\p"
  } cases[] = {
      {u"%s is missing", u"C:\\p is missing"},
      {u"File missing.", u"File missing."},
      {u"%s and %s", u"C:\\p and %s"},
      {u"%d %x %n %s", u"%d %x %n C:\\p"},
      {u"100%% of %s", u"100% of C:\\p"},
      {u"ends in %", u"ends in %"},
      {u"", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Utf8FromUtf16(c.format));
    EXPECT_EQ(FormatCatalogueText(c.format, u"C:\\p"), c.expected);
  }
}

}  // namespace
}  // namespace nx7::testing
