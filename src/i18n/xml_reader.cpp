#include "i18n/xml_reader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "common/text.h"
#include "i18n/xml_charsets.h"
#include "i18n/xml_references.h"
#include "i18n/xml_scan.h"
#include "platform/code_pages.h"
#include "platform/file_bytes.h"

namespace nx7 {

using namespace xml;

namespace {

constexpr unsigned kUtf8 = 65001;
constexpr unsigned kUtf16LittleEndian = 1200;
constexpr unsigned kUtf16BigEndian = 1201;
// Bytes examined for a byte-order mark and a declared encoding.
constexpr size_t kPrefixBytes = 1024;

char16_t LowerAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }

bool StartsWithIgnoringCase(std::u16string_view text, size_t at, std::u16string_view lower) {
  if (at > text.size() || text.size() - at < lower.size()) return false;
  for (size_t k = 0; k < lower.size(); ++k)
    if (LowerAscii(text[at + k]) != lower[k]) return false;
  return true;
}

size_t FindIgnoringCase(std::u16string_view text, size_t from, size_t end, std::u16string_view lower) {
  for (size_t i = from; i + lower.size() <= end; ++i)
    if (StartsWithIgnoringCase(text, i, lower)) return i;
  return std::u16string_view::npos;
}

size_t SkipSpace(std::u16string_view text, size_t i, size_t end) {
  while (i < end && IsSpace(text[i])) ++i;
  return i;
}

// The value of attribute `lowerName` inside the tag text [from, end), names compared without case;
// npos in `found` when absent.
bool AttributeValue(std::u16string_view text, size_t from, size_t end, std::u16string_view lowerName,
                    std::u16string_view& value) {
  size_t i = from;
  while (i < end) {
    i = SkipSpace(text, i, end);
    const size_t nameStart = i;
    while (i < end && !IsSpace(text[i]) && text[i] != u'=' && text[i] != u'>' && text[i] != u'/' && text[i] != u'?')
      ++i;
    const std::u16string_view name = text.substr(nameStart, i - nameStart);
    i = SkipSpace(text, i, end);
    if (i >= end || text[i] != u'=') {
      if (i == nameStart) ++i;  // a stray character: step over it
      continue;
    }
    i = SkipSpace(text, i + 1, end);
    size_t valueStart = i;
    size_t valueEnd;
    if (i < end && (text[i] == u'"' || text[i] == u'\'')) {
      const char16_t quote = text[i];
      valueStart = i + 1;
      valueEnd = std::min(end, text.find(quote, valueStart));
      i = valueEnd + 1;
    } else {
      while (i < end && !IsSpace(text[i]) && text[i] != u'>' && text[i] != u'?') ++i;
      valueEnd = i;
    }
    if (name.size() == lowerName.size() && StartsWithIgnoringCase(name, 0, lowerName)) {
      value = text.substr(valueStart, valueEnd - valueStart);
      return true;
    }
  }
  return false;
}

// The charset of an HTML document's Content-Type meta element before the end of its head.
bool HtmlMetaCharset(std::u16string_view text, std::u16string_view& charset) {
  // The first element: step over white space, processing instructions, comments and DOCTYPE.
  size_t i = 0;
  for (;;) {
    i = SkipSpace(text, i, text.size());
    if (text.substr(i, 4) == u"<!--") {
      i = text.find(u"-->", i + 4);
    } else if (text.substr(i, 2) == u"<?" || text.substr(i, 2) == u"<!") {
      i = text.find(u'>', i);
    } else {
      break;
    }
    if (i == std::u16string_view::npos) return false;
    ++i;
  }
  if (!StartsWithIgnoringCase(text, i, u"<html") || (i + 5 < text.size() && !Is(text[i + 5], kNameEnd)))
    return false;
  size_t headEnd = FindIgnoringCase(text, i, text.size(), u"</head");
  if (headEnd == std::u16string_view::npos) headEnd = text.size();
  for (size_t meta = FindIgnoringCase(text, i, headEnd, u"<meta"); meta != std::u16string_view::npos;
       meta = FindIgnoringCase(text, meta + 5, headEnd, u"<meta")) {
    const size_t tagEnd = std::min(headEnd, text.find(u'>', meta));
    std::u16string_view httpEquiv, content;
    if (!AttributeValue(text, meta + 5, tagEnd, u"http-equiv", httpEquiv) || httpEquiv.size() != 12 ||
        !StartsWithIgnoringCase(httpEquiv, 0, u"content-type") ||
        !AttributeValue(text, meta + 5, tagEnd, u"content", content))
      continue;
    const size_t at = FindIgnoringCase(content, 0, content.size(), u"charset=");
    if (at == std::u16string_view::npos) return false;
    size_t valueEnd = at + 8;
    while (valueEnd < content.size() && content[valueEnd] != u';' && !IsSpace(content[valueEnd]) &&
           content[valueEnd] != u'"' && content[valueEnd] != u'\'')
      ++valueEnd;
    charset = content.substr(at + 8, valueEnd - at - 8);
    return true;
  }
  return false;
}

// The encoding a document names for itself in its first bytes (already decoded as UTF-8): the
// XML declaration's encoding attribute, or an HTML document's Content-Type charset.
bool DeclaredEncoding(std::u16string_view prefix, std::u16string_view& name) {
  if (prefix.substr(0, 5) == u"<?xml") {
    const size_t end = std::min(prefix.size(), prefix.find(u"?>"));
    return AttributeValue(prefix, 5, end, u"encoding", name);
  }
  return HtmlMetaCharset(prefix, name);
}

struct MallocBuffer {
  char16_t* data = nullptr;
  explicit MallocBuffer(size_t units) : data(static_cast<char16_t*>(std::malloc(std::max<size_t>(units, 1) * 2))) {
    if (!data) throw std::bad_alloc();
  }
  ~MallocBuffer() { std::free(data); }
  char16_t* release() { return std::exchange(data, nullptr); }
};

}  // namespace

CXmlReader::CXmlReader() = default;
CXmlReader::~CXmlReader() = default;

void CXmlReader::Clear() {
  text_.reset();
  textLength_ = 0;
  segments_.clear();
  count_ = 0;
  capacity_ = 0;
  wellFormed_ = false;
  diagnostic_.clear();
  parseError_.clear();
  parseErrorOffset_ = std::u16string::npos;
  Rewind();
}

bool CXmlReader::Load(const std::filesystem::path& path) {
  Clear();
  std::string bytes;
  std::u16string error;
  if (!ReadFileBytes(path, kMaxDocumentBytes, bytes, error)) {
    diagnostic_ = std::move(error);
    return false;
  }
  return LoadFromBytes(bytes);
}

bool CXmlReader::LoadFromBytes(std::string_view bytes) {
  Clear();
  if (bytes.size() > kMaxDocumentBytes) {
    diagnostic_ = FileTooLargeText(kMaxDocumentBytes);
    return false;
  }
  std::u16string notes;
  LoadText(bytes, notes);
  BuildIndex();
  diagnostic_ = notes + parseError_;
  return wellFormed_;
}

size_t CXmlReader::LineOf(size_t offset) const {
  const size_t end = std::min(offset, textLength_);
  return size_t(1) + size_t(std::count(text_.get(), text_.get() + end, u'\n'));
}

bool CXmlReader::LoadText(std::string_view bytes, std::u16string& notes) {
  if (bytes.empty()) {
    notes = u"0 length ";
    return true;
  }
  const auto byte = [&](size_t i) { return i < bytes.size() ? uint8_t(bytes[i]) : 0u; };

  // 1. Byte-order mark, else a declared encoding, else UTF-8 for a document starting with '<'.
  unsigned codePage = 0;  // 0: not known yet
  size_t bom = 0;
  std::u16string encodingName;
  bool ansi = false;
  if (byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
    codePage = kUtf8, bom = 3, encodingName = u"UTF-8";
  } else if (byte(0) == 0xFF && byte(1) == 0xFE) {
    codePage = kUtf16LittleEndian, bom = 2, encodingName = u"UTF-16LE";
  } else if (byte(0) == 0xFE && byte(1) == 0xFF) {
    codePage = kUtf16BigEndian, bom = 2, encodingName = u"UTF-16BE";
  } else {
    std::string_view prefix = bytes.substr(0, kPrefixBytes);
    std::string withoutNuls;
    if (std::memchr(prefix.data(), 0, prefix.size()) != nullptr) {
      // Dropping NULs first lets a UTF-16 document without byte-order mark show its declaration.
      withoutNuls.assign(prefix);
      withoutNuls.erase(std::remove(withoutNuls.begin(), withoutNuls.end(), '\0'), withoutNuls.end());
      prefix = withoutNuls;
    }
    // Nothing after an XML declaration's "?>" can name the encoding.
    if (prefix.starts_with("<?xml"))
      if (const size_t end = prefix.find("?>"); end != std::string_view::npos) prefix = prefix.substr(0, end + 2);
    const std::u16string prefixText = Utf16FromUtf8(prefix);
    std::u16string_view declared;
    if (DeclaredEncoding(prefixText, declared)) {
      encodingName = std::u16string(declared.substr(0, 99));
      codePage = CodePageFromCharsetName(declared);
      if (codePage == 0) codePage = DefaultAnsiCodePage(), ansi = true;
      if (codePage == kUtf16LittleEndian || codePage == kUtf16BigEndian) {
        // Without a byte-order mark the zero byte of the first character tells the byte order;
        // a document whose first two bytes hold no zero is 8-bit text whatever it declares.
        if (byte(0) == 0 && byte(1) != 0) {
          codePage = kUtf16BigEndian;
        } else if (byte(0) != 0 && byte(1) == 0) {
          codePage = kUtf16LittleEndian;
        } else if (byte(0) != 0 && byte(1) != 0) {
          codePage = 0;
        }
      }
    } else if (byte(0) == '<') {
      codePage = kUtf8, encodingName = u"UTF-8";
    }
  }
  const std::string_view content = bytes.substr(bom);
  notes = encodingName.empty() ? u"" : encodingName + (bom ? u" BOM +" : u"") + u" ";
  notes += u"length " + Decimal(bytes.size()) + u" ";

  // 2. UTF-16: 16-bit units, NULs dropped, bytes swapped when big-endian.
  if (codePage == kUtf16LittleEndian || codePage == kUtf16BigEndian) {
    const bool swap = codePage == kUtf16BigEndian;
    const size_t units = content.size() / 2;
    MallocBuffer buffer(units);
    size_t length = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(content.data());
    for (size_t k = 0; k < units; ++k) {
      const char16_t unit = swap ? char16_t((p[2 * k] << 8) | p[2 * k + 1]) : char16_t(p[2 * k] | (p[2 * k + 1] << 8));
      if (unit != 0) buffer.data[length++] = unit;
    }
    if (units > length) notes += u"(" + Decimal(units - length) + u" nulls removed) ";
    if (swap) notes += u"endian swap ";
    text_.reset(buffer.release());
    textLength_ = length;
    notes += u"to " + Decimal(textLength_) + u" wide chars ";
    return true;
  }

  // 3. Everything else is 8-bit or multi-byte text: NUL bytes dropped, then converted.
  std::string withoutNuls;
  std::string_view source = content;
  if (std::memchr(content.data(), 0, content.size()) != nullptr) {
    withoutNuls.reserve(content.size());
    for (char c : content)
      if (c != 0) withoutNuls.push_back(c);
    notes += u"(" + Decimal(content.size() - withoutNuls.size()) + u" nulls removed) ";
    source = withoutNuls;
  }
  MallocBuffer buffer(source.size());
  size_t length = kIllFormedUtf8;
  if (codePage == 0) {
    notes += u"(used UTF-8 detection) ";
    length = DecodeUtf8(source, buffer.data, true);
    if (length == kIllFormedUtf8) codePage = DefaultAnsiCodePage(), ansi = true;
  } else if (codePage == kUtf8) {
    length = DecodeUtf8(source, buffer.data, false);
  }
  if (ansi) notes += u"ANSI ";
  if (length != kIllFormedUtf8) {
    // Text that shrank much in decoding (CJK in UTF-8) gives its surplus back.
    if (length < source.size() / 4 * 3)
      if (void* shrunk = std::realloc(buffer.data, std::max<size_t>(length, 1) * 2))
        buffer.data = static_cast<char16_t*>(shrunk);
    text_.reset(buffer.release());
    textLength_ = length;
  } else {
    std::u16string converted;
    if (!ConvertFromCodePage(codePage, source, converted) &&
        !ConvertFromCodePage(DefaultAnsiCodePage(), source, converted)) {
      // No converter at all: keep the bytes as Latin-1 rather than lose the document.
      converted.assign(source.begin(), source.end());
      for (char16_t& c : converted) c = char16_t(uint8_t(c));
    }
    converted.erase(std::remove(converted.begin(), converted.end(), u'\0'), converted.end());
    MallocBuffer exact(converted.size());
    std::memcpy(exact.data, converted.data(), converted.size() * 2);
    text_.reset(exact.release());
    textLength_ = converted.size();
  }
  notes += u"to " + Decimal(textLength_) + u" wide chars ";
  return true;
}

void CXmlReader::Rewind() {
  parent_ = 0;
  current_ = 0;
  child_ = 0;
}

bool CXmlReader::FindChild(std::u16string_view name) {
  if (count_ == 0) return false;
  if (current_ == 0) {
    current_ = Record(0).firstChild;
    if (current_ == 0) return false;
  }
  for (uint32_t c = child_ ? Record(child_).nextSibling : Record(current_).firstChild; c != 0;
       c = Record(c).nextSibling) {
    if (ElementName(c) == name) {
      child_ = c;
      return true;
    }
  }
  return false;
}

bool CXmlReader::Descend() {
  if (current_ == 0 || child_ == 0) return false;
  parent_ = current_;
  current_ = child_;
  child_ = 0;
  return true;
}

std::u16string CXmlReader::GetChildText() const {
  std::u16string out;
  if (child_ == 0) return out;
  const XmlElementRecord& e = Record(child_);
  const uint32_t startTag = e.tagLengths & ((1u << 22) - 1);
  const uint32_t endTag = e.tagLengths >> 22;
  if (e.firstChild != 0 || e.length <= startTag || e.length - startTag < endTag) return out;
  const char16_t* t = text_.get();
  const size_t begin = e.start + startTag;
  const size_t end = e.start + e.length - endTag;
  const std::u16string_view text(t, textLength_);
  if (FindUnit(t, begin, end, u'<') == end) {
    AppendDecodedText(text.substr(begin, end - begin), out);
    return out;
  }
  for (size_t i = begin; i < end;) {
    if (t[i] != u'<') {
      const size_t next = FindUnit(t, i, end, u'<');
      const bool blank = std::all_of(t + i, t + next, IsSpace);
      if (!blank) AppendDecodedText(text.substr(i, next - i), out);
      i = next;
      continue;
    }
    const auto starts = [&](std::u16string_view s) { return text.substr(i, std::min(s.size(), end - i)) == s; };
    size_t close;
    if (starts(u"<![C")) {
      close = FindTriple(t, i + 3, end, u"]]>");
      const size_t body = std::min(i + 9, close);
      out.append(text.substr(body, close - body));
      i = close + 3;
    } else if (starts(u"<!--")) {
      i = FindTriple(t, i + 4, end, u"-->") + 3;
    } else if (starts(u"<?")) {
      i = FindPair(t, i + 2, end, u'?', u'>') + 2;
    } else {
      i = FindUnit(t, i + 1, end, u'>') + 1;
    }
  }
  return out;
}

std::u16string CXmlReader::ReadXmlValue(std::u16string_view section, std::u16string_view key) {
  Rewind();
  for (;;) {
    if (!FindChild(section)) return {};
    Descend();
    if (FindChild(key)) return GetChildText();
  }
}

}  // namespace nx7
