#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/code_pages.h"

namespace nx7 {
namespace {

// iconv names of the Windows code pages that iconv knows under another name than "CP<number>".
struct IconvName {
  unsigned codePage;
  const char* name;
};
constexpr IconvName kIconvNames[] = {
    {37, "IBM037"},          {500, "IBM500"},         {708, "ASMO-708"},       {870, "IBM870"},
    {875, "IBM875"},         {1026, "IBM1026"},       {1047, "IBM1047"},       {10000, "MACINTOSH"},
    {10007, "MAC-CYRILLIC"}, {10079, "MAC-IS"},       {12000, "UTF-32LE"},     {12001, "UTF-32BE"},
    {20127, "ASCII"},        {20866, "KOI8-R"},       {21866, "KOI8-U"},       {20932, "EUC-JP"},
    {20936, "GB2312"},       {28591, "ISO-8859-1"},   {28592, "ISO-8859-2"},   {28593, "ISO-8859-3"},
    {28594, "ISO-8859-4"},   {28595, "ISO-8859-5"},   {28596, "ISO-8859-6"},   {28597, "ISO-8859-7"},
    {28598, "ISO-8859-8"},   {28599, "ISO-8859-9"},   {28603, "ISO-8859-13"},  {28605, "ISO-8859-15"},
    {38598, "ISO-8859-8"},   {50220, "ISO-2022-JP"},  {50221, "ISO-2022-JP"},  {50222, "ISO-2022-JP"},
    {50225, "ISO-2022-KR"},  {50227, "ISO-2022-CN"},  {51932, "EUC-JP"},       {51936, "GB2312"},
    {51949, "EUC-KR"},       {52936, "GB2312"},       {54936, "GB18030"},      {65000, "UTF-7"},
    {1361, "JOHAB"},         {950, "BIG5"},
};

std::string IconvNameOf(unsigned codePage) {
  for (const auto& entry : kIconvNames)
    if (entry.codePage == codePage) return entry.name;
  char name[16];
  std::snprintf(name, sizeof name, "CP%u", codePage);
  return name;
}

class Converter {
 public:
  explicit Converter(const std::string& from) : cd_(iconv_open("UTF-16LE", from.c_str())) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != iconv_t(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

}  // namespace

unsigned DefaultAnsiCodePage() { return 1252; }

bool ConvertFromCodePage(unsigned codePage, std::string_view bytes, std::u16string& out) {
  Converter converter(IconvNameOf(codePage));
  if (!converter.ok()) return false;
  // Every supported code page yields at most one UTF-16 unit per byte, except surrogate pairs from
  // four-byte sequences; the buffer still grows on E2BIG should a converter need more.
  std::vector<char> buffer(bytes.size() * 2 + 16);
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  size_t used = 0;
  auto room = [&](size_t need) {
    if (buffer.size() - used < need) buffer.resize(buffer.size() * 2 + need);
  };
  while (inLeft > 0) {
    char* outPtr = buffer.data() + used;
    size_t outLeft = buffer.size() - used;
    const size_t rc = iconv(converter.get(), &in, &inLeft, &outPtr, &outLeft);
    used = size_t(outPtr - buffer.data());
    if (rc != size_t(-1)) continue;
    if (errno == E2BIG) {
      room(16);
      continue;
    }
    // EILSEQ (invalid byte) or EINVAL (sequence cut off at the end): one U+FFFD, skip one byte.
    room(2);
    buffer[used++] = char(0xFD);
    buffer[used++] = char(0xFF);
    ++in;
    --inLeft;
  }
  // Ends any shift state (ISO-2022, UTF-7); a stateless converter writes nothing here.
  for (;;) {
    room(16);
    char* outPtr = buffer.data() + used;
    size_t outLeft = buffer.size() - used;
    const size_t rc = iconv(converter.get(), nullptr, nullptr, &outPtr, &outLeft);
    used = size_t(outPtr - buffer.data());
    if (rc != size_t(-1) || errno != E2BIG) break;
  }
  const size_t first = out.size();
  out.resize(first + used / 2);
  for (size_t k = 0; k < used / 2; ++k)
    out[first + k] = char16_t(uint8_t(buffer[2 * k]) | (uint8_t(buffer[2 * k + 1]) << 8));
  return true;
}

}  // namespace nx7
