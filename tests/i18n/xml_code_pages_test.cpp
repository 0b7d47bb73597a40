// Declared encodings that go through the platform's code-page converter (iconv natively,
// MultiByteToWideChar on Windows): both must read them alike.
#include <gtest/gtest.h>

#include "i18n/xml_reader.h"
#include "platform/code_pages.h"

namespace nx7 {
namespace {

TEST(XmlCodePages, DeclaredEncodingsConvertThroughThePlatform) {
  struct Case {
    const char* encoding;
    std::string text;
    std::u16string expected;
  } cases[] = {
      {"windows-1251", "\xCF\xF0\xE8\xE2\xE5\xF2", u"\u041F\u0440\u0438\u0432\u0435\u0442"},
      {"gb2312", "\xD6\xD0\xCE\xC4", u"\u4E2D\u6587"},
      {"big5", "\xA4\xA4\xA4\xE5", u"\u4E2D\u6587"},
      {"shift_jis", "\x93\xFA\x96\x7B", u"\u65E5\u672C"},
      {"euc-kr", "\xC7\xD1\xB1\xB9", u"\uD55C\uAD6D"},
      {"iso-8859-1", "caf\xE9", u"caf\u00E9"},
      {"windows-1252", "\x80", u"\u20AC"},
      {"koi8-r", "\xF0\xD2", u"\u041F\u0440"},
      {"us-ascii", "plain", u"plain"},
  };
  CXmlReader reader;
  for (const auto& c : cases) {
    reader.LoadFromBytes(std::string("<?xml version=\"1.0\" encoding=\"") + c.encoding + "\"?><r><s><k>" + c.text +
                         "</k></s></r>");
    EXPECT_EQ(reader.ReadXmlValue(u"s", u"k"), c.expected) << c.encoding;
  }
}

TEST(XmlCodePages, UnsupportedCodePageIsRefusedAndInvalidBytesReplaced) {
  std::u16string out = u"kept";
  EXPECT_FALSE(ConvertFromCodePage(12345, "abc", out));
  EXPECT_EQ(out, u"kept");
  out.clear();
  ASSERT_TRUE(ConvertFromCodePage(932, "a\x81", out));  // a lead byte cut off at the end
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0], u'a');
  EXPECT_TRUE(out[1] == u'\uFFFD' || out[1] == u'?' || out[1] == u'\u30FB') << int(out[1]);
}

}  // namespace
}  // namespace nx7
