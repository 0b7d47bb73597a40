#include "i18n/xml_charsets.h"

#include <iterator>

namespace nx7 {
namespace {

struct Charset {
  const char* name;  // lower case
  unsigned codePage;
};

// The usual IANA and Windows aliases.
constexpr Charset kCharsets[] = {
    {"utf-8", 65001}, {"unicode-1-1-utf-8", 65001}, {"unicode-2-0-utf-8", 65001},
    {"x-unicode20utf8", 65001}, {"utf8", 65001}, {"utf-16", 1200}, {"unicode", 1200},
    {"ucs-2", 1200}, {"iso-10646-ucs-2", 1200}, {"csunicode", 1200}, {"utf-16le", 1200},
    {"unicodefffe", 1201}, {"utf-16be", 1201}, {"utf-7", 65000}, {"unicode-1-1-utf-7", 65000},
    {"unicode-2-0-utf-7", 65000}, {"x-unicode20utf7", 65000}, {"csunicode11utf7", 65000},
    {"x-unicode2-0-utf-7", 65000}, {"utf-32", 12000}, {"utf-32le", 12000}, {"utf-32be", 12001},
    {"us-ascii", 20127}, {"ascii", 20127}, {"us", 20127}, {"iso646-us", 20127}, {"iso-ir-6", 20127},
    {"ansi_x3.4-1968", 20127}, {"ansi_x3.4-1986", 20127}, {"cp367", 20127}, {"ibm367", 20127},
    {"csascii", 20127}, {"iso_646.irv:1991", 20127}, {"iso-8859-1", 28591}, {"iso8859-1", 28591},
    {"iso_8859-1", 28591}, {"iso_8859-1:1987", 28591}, {"latin1", 28591}, {"l1", 28591},
    {"iso-ir-100", 28591}, {"ibm819", 28591}, {"cp819", 28591}, {"csisolatin1", 28591},
    {"iso-8859-2", 28592}, {"iso_8859-2", 28592}, {"iso_8859-2:1987", 28592}, {"latin2", 28592},
    {"l2", 28592}, {"iso-ir-101", 28592}, {"csisolatin2", 28592}, {"iso-8859-3", 28593},
    {"iso_8859-3", 28593}, {"iso_8859-3:1988", 28593}, {"latin3", 28593}, {"l3", 28593},
    {"iso-ir-109", 28593}, {"csisolatin3", 28593}, {"iso-8859-4", 28594}, {"iso_8859-4", 28594},
    {"iso_8859-4:1988", 28594}, {"latin4", 28594}, {"l4", 28594}, {"iso-ir-110", 28594},
    {"csisolatin4", 28594}, {"iso-8859-5", 28595}, {"iso_8859-5", 28595},
    {"iso_8859-5:1988", 28595}, {"cyrillic", 28595}, {"iso-ir-144", 28595},
    {"csisolatincyrillic", 28595}, {"iso-8859-6", 28596}, {"iso_8859-6", 28596},
    {"iso_8859-6:1987", 28596}, {"arabic", 28596}, {"iso-ir-127", 28596}, {"ecma-114", 28596},
    {"csisolatinarabic", 28596}, {"asmo-708", 708}, {"iso-8859-7", 28597}, {"iso_8859-7", 28597},
    {"iso_8859-7:1987", 28597}, {"greek", 28597}, {"greek8", 28597}, {"iso-ir-126", 28597},
    {"ecma-118", 28597}, {"elot_928", 28597}, {"csisolatingreek", 28597}, {"iso-8859-8", 28598},
    {"iso_8859-8", 28598}, {"iso_8859-8:1988", 28598}, {"hebrew", 28598}, {"iso-ir-138", 28598},
    {"csisolatinhebrew", 28598}, {"iso-8859-8 visual", 28598}, {"visual", 28598},
    {"iso-8859-8-i", 38598}, {"logical", 38598}, {"iso-8859-9", 28599}, {"iso_8859-9", 28599},
    {"iso_8859-9:1989", 28599}, {"latin5", 28599}, {"l5", 28599}, {"iso-ir-148", 28599},
    {"csisolatin5", 28599}, {"iso-8859-11", 874}, {"iso-8859-13", 28603}, {"iso-8859-15", 28605},
    {"iso_8859-15", 28605}, {"latin-9", 28605}, {"latin9", 28605}, {"l9", 28605},
    {"csisolatin9", 28605}, {"windows-1250", 1250}, {"windows-1251", 1251}, {"windows-1252", 1252},
    {"windows-1253", 1253}, {"windows-1254", 1254}, {"windows-1255", 1255}, {"windows-1256", 1256},
    {"windows-1257", 1257}, {"windows-1258", 1258}, {"x-cp1250", 1250}, {"x-cp1251", 1251},
    {"cp1250", 1250}, {"cp1251", 1251}, {"cp1252", 1252}, {"cp1253", 1253}, {"cp1254", 1254},
    {"cp1255", 1255}, {"cp1256", 1256}, {"cp1257", 1257}, {"cp1258", 1258}, {"windows-874", 874},
    {"tis-620", 874}, {"dos-874", 874}, {"cp874", 874}, {"ibm437", 437}, {"cp437", 437},
    {"437", 437}, {"cspc8codepage437", 437}, {"ibm850", 850}, {"cp850", 850}, {"850", 850},
    {"cspc850multilingual", 850}, {"ibm852", 852}, {"cp852", 852}, {"852", 852}, {"cspcp852", 852},
    {"ibm855", 855}, {"cp855", 855}, {"ibm857", 857}, {"cp857", 857}, {"ibm00858", 858},
    {"cp858", 858}, {"ibm860", 860}, {"cp860", 860}, {"ibm861", 861}, {"cp861", 861},
    {"ibm862", 862}, {"dos-862", 862}, {"cp862", 862}, {"ibm863", 863}, {"cp863", 863},
    {"ibm864", 864}, {"cp864", 864}, {"ibm865", 865}, {"cp865", 865}, {"ibm866", 866},
    {"cp866", 866}, {"ibm869", 869}, {"cp869", 869}, {"ibm737", 737}, {"ibm775", 775},
    {"dos-720", 720}, {"ibm037", 37}, {"cp037", 37}, {"ebcdic-cp-us", 37}, {"ibm500", 500},
    {"ebcdic-cp-be", 500}, {"ibm870", 870}, {"cp875", 875}, {"ibm1026", 1026}, {"ibm01047", 1047},
    {"koi8-r", 20866}, {"koi", 20866}, {"koi8", 20866}, {"koi8r", 20866}, {"cskoi8r", 20866},
    {"koi8-ru", 21866}, {"koi8-u", 21866}, {"shift_jis", 932}, {"shift-jis", 932}, {"sjis", 932},
    {"ms_kanji", 932}, {"csshiftjis", 932}, {"cswindows31j", 932}, {"windows-31j", 932},
    {"x-sjis", 932}, {"x-ms-cp932", 932}, {"cp932", 932}, {"euc-jp", 51932}, {"x-euc-jp", 51932},
    {"x-euc", 51932}, {"cseucpkdfmtjapanese", 51932},
    {"extended_unix_code_packed_format_for_japanese", 51932}, {"iso-2022-jp", 50220},
    {"csiso2022jp", 50221}, {"iso-2022-kr", 50225}, {"csiso2022kr", 50225}, {"x-cp50227", 50227},
    {"gb2312", 936}, {"gbk", 936}, {"gb_2312-80", 936}, {"csgb231280", 936}, {"csgb2312", 936},
    {"chinese", 936}, {"iso-ir-58", 936}, {"csiso58gb231280", 936}, {"cp936", 936}, {"ms936", 936},
    {"windows-936", 936}, {"euc-cn", 936}, {"x-euc-cn", 936}, {"x-gbk", 936}, {"gb18030", 54936},
    {"hz-gb-2312", 52936}, {"x-cp20936", 20936}, {"big5", 950}, {"big-5", 950}, {"cn-big5", 950},
    {"csbig5", 950}, {"x-x-big5", 950}, {"cp950", 950}, {"big5-hkscs", 950}, {"euc-kr", 949},
    {"ks_c_5601-1987", 949}, {"ks_c_5601", 949}, {"ks_c_5601-1989", 949}, {"ks_c_5601_1987", 949},
    {"ksc5601", 949}, {"ksc_5601", 949}, {"korean", 949}, {"iso-ir-149", 949},
    {"csksc56011987", 949}, {"cseuckr", 949}, {"windows-949", 949}, {"cp949", 949}, {"johab", 1361},
    {"x-cp20949", 20949}, {"macintosh", 10000}, {"x-mac-cyrillic", 10007}, {"x-mac-ce", 10029},
    {"x-mac-icelandic", 10079}, {"x-mac-turkish", 10081},
};

bool EqualsIgnoringAsciiCase(std::u16string_view text, const char* lower) {
  size_t k = 0;
  for (; k < text.size(); ++k) {
    if (lower[k] == 0) return false;
    char16_t c = text[k];
    if (c >= u'A' && c <= u'Z') c = char16_t(c + 32);
    if (c != char16_t(static_cast<unsigned char>(lower[k]))) return false;
  }
  return lower[k] == 0;
}

}  // namespace

size_t CharsetNameCount() { return std::size(kCharsets); }

unsigned CodePageFromCharsetName(std::u16string_view name) {
  if (name.empty() || name.size() >= 100) return 0;
  for (const auto& charset : kCharsets)
    if (EqualsIgnoringAsciiCase(name, charset.name)) return charset.codePage;
  return 0;
}

}  // namespace nx7
