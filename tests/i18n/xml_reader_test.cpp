#include "i18n/xml_reader.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

#include "common/text.h"
#include "i18n/xml_charsets.h"
#include "i18n/xml_references.h"

namespace nx7 {
namespace {

std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
  std::string bytes;
  for (char16_t c : text) {
    const char hi = char(c >> 8), lo = char(c & 0xFF);
    bytes += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
  }
  return bytes;
}

TEST(XmlReader, ParseErrorsAndRecovery) {
  struct Case {
    std::string document;
    bool loaded;
    std::u16string error;
  } cases[] = {
      {"<?xml version='1.0'?><!DOCTYPE a [<!ENTITY e '>'>]><a x='>'><!-- c --><b/><![CDATA[</a>]]></a>", true, u""},
      {"", false, u"Empty document"},
      {" \r\n", false, u"No root element"},
      {"<a/><b/>", false, u"Root element has sibling"},
      {"<a></b></a>", false, u"No start tag for end tag 'b' at offset 3"},
      {"<config><k>v</config>", false, u"End tag 'config' at offset 12 does not match start tag 'k' at offset 8"},
      {"<a><b>", false, u"Element 'b' at offset 3 not ended"},
      {"<a><1/></a>", false, u"Incorrect tag name character at offset 3"},
      {"<a></-a></a>", false, u"Incorrect tag name character at offset 3"},
      {"<a><!X></a>", false, u"Incorrect ! tag at offset 3"},
      {"<a><!-x></a>", false, u"Incorrect comment tag at offset 3"},
      {"<a><![X[x]]></a>", false, u"Incorrect tag at offset 3"},
      {"<a><b x='></a>", false, u"Element tag at offset 3 unterminated"},
      {"<a></a", false, u"Element end tag at offset 3 unterminated"},
      {"<a><![CDATA[x</a>", false, u"CDATA Section at offset 3 unterminated"},
      {"<a><?pi x</a>", false, u"Processing instruction at offset 3 unterminated"},
      {"<a><!-- x</a>", false, u"Comment at offset 3 unterminated"},
      {"<!DOCTYPE a [<!ENTITY x '>'>", false, u"Doctype at offset 0 unterminated"},
      {"<a><", false, u"tag at offset 3 unterminated"},
      {"<a></b><c></a>", false, u"No start tag for end tag 'b' at offset 3"},  // only the first error
  };
  CXmlReader reader;
  for (const auto& c : cases) {
    EXPECT_EQ(reader.LoadFromBytes(c.document), c.loaded) << c.document;
    EXPECT_EQ(reader.ParseError(), c.error) << c.document;
    EXPECT_TRUE(reader.Diagnostic().ends_with(c.error)) << c.document;
  }
}

TEST(XmlReader, ElementText) {
  struct Case {
    std::string document;
    std::u16string expected;
  } cases[] = {
      {"<r><s><k>&amp; &#x4E2D; &eacute; &bogus; a & b</k></s></r>", u"& \u4E2D \u00E9 &bogus; a & b"},
      {"<r><s><k>&#233;&#0;&#X1F600;&apos;&#xD800;&Eacute;&EACUTE;&abcdefghij;&;&#12a;</k></s></r>",
       u"\u00E9&#0;\U0001F600'&#xD800;\u00C9&EACUTE;&abcdefghij;&;&#12a;"},
      {"<r><s><k> x </k></s></r>", u" x "},
      {"<r><s><k>a\r\nb</k></s></r>", u"a\r\nb"},
      {"<r><s><k><![CDATA[<b>&amp;]]></k></s></r>", u"<b>&amp;"},
      {"<r><s><k>x<e/></k></s></r>", u""},
      {"<r><s><k/></s></r>", u""},
      {"<r><s><k> <!--c--> a&lt;<?p?>b <![CDATA[]]>\n</k></s></r>", u" a<b "},
      {"<r><s><k attr='1' other=\">\">v</k></s></r>", u"v"},
      {"<r><s><x>no</x><k>first</k><k>second</k></s></r>", u"first"},
      {"<r><S><k>v</k></S></r>", u""},                                    // names are case-sensitive
      {"<r><s/><s><k>v</k></s></r>", u""},                                // only the first section
      {"<r><s><s><k>deep</k></s></s></r>", u"deep"},                      // then sections inside it
      {"<r><config><k>one</config></r>", u""},                            // key never ended
      {"<r><s><a>one<k>two</k></s></r>", u"two"},                         // moved up beside <a>
      {"<r><s><k>1</k></s></r><r2><s><k>2</k></s></r2>", u"1"},           // first top-level element
      {"<s><k>v</k></s>", u""},                                           // root itself named s
      {"<r><s><k>x\xE4\xB8\xAD</k></s></r>", u"x\u4E2D"},
  };
  CXmlReader reader;
  for (const auto& c : cases) {
    reader.LoadFromBytes(c.document);
    EXPECT_EQ(reader.ReadXmlValue(u"s", u"k"), c.expected) << c.document;
  }
  reader.LoadFromBytes("<r><config><k>from config</k></config></r>");
  EXPECT_EQ(reader.ReadXmlValue(u"config", u"k"), u"from config");
}

TEST(XmlReader, Encodings) {
  const std::u16string chinese = u"<r><s><k>\u4E2D\u6587\u6309\u94AE</k></s></r>";
  struct Case {
    const char* what;
    std::string bytes;
    std::u16string expected;
  } cases[] = {
      {"UTF-16LE with BOM", "\xFF\xFE" + Utf16Bytes(chinese, false), u"\u4E2D\u6587\u6309\u94AE"},
      {"UTF-16BE with BOM", "\xFE\xFF" + Utf16Bytes(chinese, true), u"\u4E2D\u6587\u6309\u94AE"},
      {"UTF-8 with BOM", "\xEF\xBB\xBF" + Utf8FromUtf16(chinese), u"\u4E2D\u6587\u6309\u94AE"},
      {"UTF-8 without BOM", Utf8FromUtf16(chinese), u"\u4E2D\u6587\u6309\u94AE"},
      {"UTF-16LE declared, no BOM", Utf16Bytes(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + chinese, false),
       u"\u4E2D\u6587\u6309\u94AE"},
      {"UTF-16BE declared as utf-16, no BOM", Utf16Bytes(u"<?xml version='1.0' encoding='utf-16'?>" + chinese, true),
       u"\u4E2D\u6587\u6309\u94AE"},
      {"UTF-8 mislabelled utf-16", "<?xml version='1.0' encoding='utf-16'?><r><s><k>caf\xC3\xA9</k></s></r>",
       u"caf\u00E9"},
      {"declared windows-1251", "<?xml version='1.0' encoding='windows-1251'?><r><s><k>\xCF\xF0\xE8</k></s></r>",
       u"\u041F\u0440\u0438"},
      {"declared GB2312", "<?xml version=\"1.0\" encoding=\"GB2312\" ?><r><s><k>\xD6\xD0\xCE\xC4</k></s></r>",
       u"\u4E2D\u6587"},
      {"unknown name takes ANSI", "<?xml version='1.0' encoding='x-none'?><r><s><k>\x80</k></s></r>", u"\u20AC"},
      {"HTML meta charset",
       "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\"/></head>"
       "<s><k>\xCF\xF0</k></s></html>",
       u"\u041F\u0440"},
      {"undeclared, not UTF-8, not starting with '<'", " <r><s><k>caf\xE9 \x80</k></s></r>", u"caf\u00E9 \u20AC"},
      {"undeclared, valid UTF-8, not starting with '<'", "\n<r><s><k>caf\xC3\xA9</k></s></r>", u"caf\u00E9"},
      {"UTF-8 by first byte, ill-formed byte", "<r><s><k>a\xFF" "b</k></s></r>", u"a\uFFFDb"},
      {"NUL bytes dropped", std::string("<r><s>\0<k>a\0b</k></s></r>", 25), u"ab"},
  };
  CXmlReader reader;
  for (const auto& c : cases) {
    reader.LoadFromBytes(c.bytes);
    EXPECT_EQ(reader.ReadXmlValue(u"s", u"k"), c.expected) << c.what;
  }
}

TEST(XmlReader, DiagnosticNotes) {
  struct Case {
    std::string bytes;
    std::u16string diagnostic;
  } cases[] = {
      {"", u"0 length Empty document"},
      {"<a/>", u"UTF-8 length 4 to 4 wide chars "},
      {std::string("\xFE\xFF\0<\0a\0/\0>\0\0", 12), u"UTF-16BE BOM + length 12 (1 nulls removed) endian swap to 4 wide chars "},
      {" <a>\xE9</a>", u"length 9 (used UTF-8 detection) ANSI to 9 wide chars "},
      {"<?xml encoding='koi8-r'?><a/>", u"koi8-r length 29 to 29 wide chars "},
  };
  CXmlReader reader;
  for (const auto& c : cases) {
    reader.LoadFromBytes(c.bytes);
    EXPECT_EQ(reader.Diagnostic(), c.diagnostic) << c.bytes;
  }
}

TEST(XmlReader, IndexRecords) {
  CXmlReader reader;
  //                         0    5      12        22     29
  ASSERT_TRUE(reader.LoadFromBytes("<a x><b/>text<c>y</c ></a>"));
  ASSERT_EQ(reader.ElementCount(), 3u);
  struct Expected {
    uint32_t start, length, startTag, endTag, flags, depth, parent, first, next, prev;
  } expected[] = {
      {0, 26, 0, 0, 0, 0, 0, 1, 0, 0},                  // document node
      {0, 26, 5, 4, 0, 1, 0, 2, 0, 1},                  // a
      {5, 4, 4, 0, kXmlEmptyElement, 2, 1, 0, 3, 3},    // b: first child, prev = last child
      {13, 9, 3, 5, 0, 2, 1, 0, 0, 2},                  // c
  };
  for (uint32_t i = 0; i < 4; ++i) {
    const XmlElementRecord& r = reader.Element(i);
    const Expected& e = expected[i];
    EXPECT_EQ(r.start, e.start) << i;
    EXPECT_EQ(r.length, e.length) << i;
    EXPECT_EQ(r.tagLengths & 0x3FFFFF, e.startTag) << i;
    EXPECT_EQ(r.tagLengths >> 22, e.endTag) << i;
    EXPECT_EQ(r.flagsDepth & 0xFFFF, e.flags) << i;
    EXPECT_EQ(r.flagsDepth >> 16, e.depth) << i;
    EXPECT_EQ(r.parent, e.parent) << i;
    EXPECT_EQ(r.firstChild, e.first) << i;
    EXPECT_EQ(r.nextSibling, e.next) << i;
    EXPECT_EQ(r.prevSibling, e.prev) << i;
  }
}

TEST(XmlReader, ElementsClosedWithoutEndTagHandTheirChildrenToTheirParent) {
  CXmlReader reader;
  EXPECT_FALSE(reader.LoadFromBytes("<r><a><b/><c><d/></r>"));
  EXPECT_EQ(reader.ParseError(), u"End tag 'r' at offset 17 does not match start tag 'c' at offset 10");
  std::u16string order;
  for (uint32_t i = reader.Element(1).firstChild; i != 0; i = reader.Element(i).nextSibling) {
    EXPECT_EQ(reader.Element(i).parent, 1u);
    order += reader.ElementName(i);
  }
  EXPECT_EQ(order, u"abcd");
  EXPECT_EQ(reader.Element(reader.Element(1).firstChild).prevSibling, 5u);  // d is the last child
  for (uint32_t i : {2u, 4u}) {
    EXPECT_EQ(reader.Element(i).flagsDepth & kXmlNotEnded, kXmlNotEnded);
    EXPECT_EQ(reader.Element(i).length, 3u);
    EXPECT_EQ(reader.Element(i).firstChild, 0u);
  }
}

TEST(XmlReader, LargeTablesSpanSegmentsAndKeepOneRecordPerElement) {
  constexpr uint32_t kElements = 150000;  // three segments
  std::string document = "<r>";
  for (uint32_t i = 0; i < kElements; ++i) document += i % 2 ? "<e/>" : "<f>";
  document += "</r>";
  CXmlReader reader;
  EXPECT_TRUE(reader.LoadFromBytes(std::string(document.begin(), document.end() - 4) + "<x>last</x></r>") == false);
  reader.LoadFromBytes(document.substr(0, document.size() - 4) + "<x>last</x></r>");
  EXPECT_EQ(reader.ElementCount(), kElements + 2);
  EXPECT_EQ(reader.IndexBytes(), size_t(kElements + 3) * sizeof(XmlElementRecord));
  uint32_t children = 0;
  for (uint32_t i = reader.Element(1).firstChild; i != 0; i = reader.Element(i).nextSibling) ++children;
  EXPECT_EQ(children, kElements + 1);  // every unended <f> handed its content up to <r>
  reader.Rewind();
  ASSERT_TRUE(reader.FindChild(u"x"));
  EXPECT_EQ(reader.CurrentChild(), kElements + 2);
  EXPECT_EQ(reader.GetChildText(), u"last");
}

TEST(XmlReader, DeepUnendedNestingFlattensInLinearTime) {
  std::string document;
  for (int i = 0; i < 100000; ++i) document += "<a>";
  CXmlReader reader;
  EXPECT_FALSE(reader.LoadFromBytes(document));
  EXPECT_EQ(reader.ParseError(), u"Element 'a' at offset 299997 not ended");
  uint32_t topLevel = 0;
  for (uint32_t i = reader.Element(0).firstChild; i != 0; i = reader.Element(i).nextSibling) ++topLevel;
  EXPECT_EQ(topLevel, 100000u);
}

TEST(XmlReader, Navigation) {
  CXmlReader reader;
  reader.LoadFromBytes("<r><k>1</k><m/><k>2</k></r>");
  EXPECT_FALSE(reader.Descend());  // no current child yet
  ASSERT_TRUE(reader.FindChild(u"k"));
  EXPECT_EQ(reader.CurrentElement(), 1u);
  EXPECT_EQ(reader.GetChildText(), u"1");
  ASSERT_TRUE(reader.FindChild(u"k"));
  EXPECT_EQ(reader.GetChildText(), u"2");
  EXPECT_FALSE(reader.FindChild(u"k"));
  EXPECT_EQ(reader.GetChildText(), u"2");  // a failed search keeps the position
  EXPECT_TRUE(reader.Descend());
  EXPECT_EQ(reader.CurrentParent(), 1u);
  EXPECT_EQ(reader.CurrentChild(), 0u);
  EXPECT_EQ(reader.GetChildText(), u"");
  reader.Rewind();
  EXPECT_EQ(reader.CurrentElement(), 0u);
  ASSERT_TRUE(reader.FindChild(u"k"));
  EXPECT_EQ(reader.GetChildText(), u"1");
}

TEST(XmlReader, LoadsFilesAndFailsCleanlyOnMissingOnes) {
  const auto path = std::filesystem::temp_directory_path() / ("nx7_xml_reader_test_" + std::to_string(::getpid()) + ".xml");
  {
    std::ofstream out(path, std::ios::binary);
    out << "\xFF\xFE" << Utf16Bytes(u"<r><config><str_ok>\u786E\u5B9A</str_ok></config></r>", false);
  }
  CXmlReader reader;
  EXPECT_TRUE(reader.Load(path));
  EXPECT_EQ(reader.ReadXmlValue(u"config", u"str_ok"), u"\u786E\u5B9A");
  std::filesystem::remove(path);
  EXPECT_FALSE(reader.Load(path));
  EXPECT_EQ(reader.Diagnostic(), Utf16FromUtf8(std::strerror(ENOENT)));  // the system's words
  EXPECT_EQ(reader.Text(), u"");
  EXPECT_EQ(reader.ReadXmlValue(u"config", u"str_ok"), u"");
  EXPECT_FALSE(reader.FindChild(u"config"));
  EXPECT_FALSE(reader.Load(std::filesystem::temp_directory_path()));  // a folder is no document
  EXPECT_EQ(reader.Diagnostic(), Utf16FromUtf8(std::strerror(EISDIR)));
}

// End tags are matched through chains of open elements by name: an end tag finds its element far
// out past many others (closing them as not ended, exactly as a full search would), and a wrong
// name closes nothing.
TEST(XmlReader, EndTagsFindTheirElementPastManyOpenOnes) {
  std::string document = "<r><config>";
  for (int i = 0; i < 2000; ++i) document += "<e" + std::to_string(i) + ">";
  document += "</wrong></config><k>v</k></r>";
  CXmlReader reader;
  EXPECT_FALSE(reader.LoadFromBytes(document));
  EXPECT_EQ(reader.ParseError(), u"No start tag for end tag 'wrong' at offset " + Utf16FromUtf8(std::to_string(document.find("</wrong>"))));
  EXPECT_EQ(reader.ParseErrorOffset(), document.find("</wrong>"));
  uint32_t underConfig = 0;
  for (uint32_t i = reader.Element(2).firstChild; i != 0; i = reader.Element(i).nextSibling) ++underConfig;
  EXPECT_EQ(underConfig, 2000u);  // every unended element handed up to config, which was ended
  EXPECT_EQ(reader.Element(2).length, document.find("</config>") + 9 - 3);
  reader.Rewind();
  ASSERT_TRUE(reader.FindChild(u"config"));
  ASSERT_TRUE(reader.Descend());
  EXPECT_TRUE(reader.FindChild(u"e1999"));
  reader.Rewind();
  ASSERT_TRUE(reader.FindChild(u"k"));
  EXPECT_EQ(reader.GetChildText(), u"v");
}

// Documents over the size limit are refused whole, with a clear reason; one at the limit loads.
TEST(XmlReader, RefusesDocumentsOverTheSizeLimit) {
  const size_t limit = CXmlReader::kMaxDocumentBytes;
  std::string document = "<r>" + std::string(limit - 7, ' ') + "</r>";
  ASSERT_EQ(document.size(), limit);
  CXmlReader reader;
  EXPECT_TRUE(reader.LoadFromBytes(document));
  document += ' ';
  EXPECT_FALSE(reader.LoadFromBytes(document));
  const std::u16string reason = u"File too large: more than " + Utf16FromUtf8(std::to_string(limit)) + u" bytes";
  EXPECT_EQ(reader.Diagnostic(), reason);
  EXPECT_EQ(reader.ElementCount(), 0u);
  const auto path = std::filesystem::temp_directory_path() / ("nx7_xml_large_" + std::to_string(::getpid()) + ".xml");
  std::ofstream(path, std::ios::binary) << document;
  EXPECT_FALSE(reader.Load(path));
  EXPECT_EQ(reader.Diagnostic(), reason);
  std::filesystem::remove(path);
}

// A pipe has no size to measure: it is read as what it yields, up to the limit.
TEST(XmlReader, ReadsAPipeAsItsContent) {
  const auto path = std::filesystem::temp_directory_path() / ("nx7_xml_fifo_" + std::to_string(::getpid()));
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  std::thread writer([&] { std::ofstream(path, std::ios::binary) << "<r><config><str_ok>OK</str_ok></config></r>"; });
  CXmlReader reader;
  EXPECT_TRUE(reader.Load(path)) << Utf8FromUtf16(reader.Diagnostic());
  writer.join();
  EXPECT_EQ(reader.ReadXmlValue(u"config", u"str_ok"), u"OK");
  std::filesystem::remove(path);
}

TEST(XmlReader, LinesOfOffsets) {
  CXmlReader reader;
  EXPECT_FALSE(reader.LoadFromBytes("<r>\n<a>\r\n</b>\n</r>"));
  EXPECT_EQ(reader.ParseErrorOffset(), 9u);
  EXPECT_EQ(reader.LineOf(reader.ParseErrorOffset()), 3u);
  EXPECT_EQ(reader.LineOf(0), 1u);
}

TEST(XmlReader, CharsetTable) {
  struct Case {
    std::u16string name;
    unsigned codePage;
  } cases[] = {
      {u"UTF-8", 65001}, {u"utf-16", 1200}, {u"Unicode", 1200}, {u"unicodeFFFE", 1201}, {u"GB2312", 936},
      {u"gbk", 936}, {u"Big5", 950}, {u"EUC-KR", 949}, {u"ks_c_5601-1987", 949}, {u"Shift_JIS", 932},
      {u"windows-1250", 1250}, {u"WINDOWS-1258", 1258}, {u"iso-8859-1", 28591}, {u"koi8-r", 20866},
      {u"us-ascii", 20127}, {u"", 0}, {u"utf-8 ", 0}, {u"latin-1x", 0}, {std::u16string(100, u'a'), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(CodePageFromCharsetName(c.name), c.codePage) << Utf8FromUtf16(c.name);
  EXPECT_EQ(CharsetNameCount(), 254u);
}

TEST(XmlReader, NamedReferences) {
  EXPECT_EQ(NamedReferenceCount(), 253u);
  struct Case {
    std::u16string name;
    char16_t value;
  } cases[] = {{u"amp", u'&'}, {u"lt", u'<'}, {u"gt", u'>'}, {u"quot", u'"'}, {u"apos", u'\''},
               {u"nbsp", 0xA0}, {u"yuml", 0xFF}, {u"Yuml", 0x178}, {u"AElig", 0xC6}, {u"euro", 0x20AC},
               {u"diams", 0x2666}, {u"thetasym", 0x3D1}, {u"Aacute", 0xC1}, {u"aacute", 0xE1},
               {u"zwj", 0x200D}, {u"Amp", 0}, {u"ap", 0}, {u"ampx", 0}};
  for (const auto& c : cases) EXPECT_EQ(NamedReference(c.name), c.value) << Utf8FromUtf16(c.name);
}

}  // namespace
}  // namespace nx7
