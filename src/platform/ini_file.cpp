#include "platform/ini_file.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "common/text.h"
#include "platform/file_path.h"

namespace nx7 {

int ReadIniInt(IniFile& ini, std::u16string_view path, std::u16string_view section, std::u16string_view key,
               int fallback) {
  const std::u16string text = ini.ReadString(path, section, key, u"");
  if (text.empty()) return fallback;
  size_t i = 0;
  bool negative = false;
  if (text[i] == u'-' || text[i] == u'+') negative = text[i++] == u'-';
  unsigned base = 10;
  if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }
  uint32_t value = 0;  // wraps like the Windows conversion instead of overflowing
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    unsigned digit;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    else if (base == 16 && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    else if (base == 16 && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    else break;
    value = value * base + digit;
  }
  return static_cast<int>(negative ? 0u - value : value);
}

namespace {

struct IniText {
  std::vector<std::u16string> lines;
  bool utf16 = false;
};

bool ReadIniText(std::u16string_view path, IniText& out) {
  std::ifstream in(PathFromText(path), std::ios::binary);
  if (!in) return false;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::u16string text;
  if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE) {
    out.utf16 = true;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
      text += char16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8));
  } else {
    std::string_view body(bytes);
    if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
    text = Utf16FromUtf8(body);
  }
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    std::u16string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    out.lines.push_back(std::move(line));
    start = end + 1;
  }
  return true;
}

bool WriteIniText(std::u16string_view path, const IniText& ini) {
  std::u16string text;
  for (const std::u16string& line : ini.lines) text += line + u"\r\n";
  std::string bytes;
  if (ini.utf16) {
    bytes = "\xFF\xFE";
    for (char16_t c : text) {
      bytes += char(c & 0xFF);
      bytes += char(c >> 8);
    }
  } else {
    bytes = Utf8FromUtf16(text);
  }
  std::ofstream out(PathFromText(path), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(out.flush());
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char16_t FoldCase(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; }

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

// The section name of a "[name]" line, or nothing for other lines.
bool SectionName(std::u16string_view line, std::u16string_view& name) {
  line = Trim(line);
  if (line.empty() || line.front() != u'[') return false;
  const size_t close = line.find(u']');
  name = Trim(line.substr(1, close == std::u16string_view::npos ? std::u16string_view::npos : close - 1));
  return true;
}

// Splits a "key=value" line; comment lines and lines without '=' hold no key.
bool KeyAndValue(std::u16string_view line, std::u16string_view& key, std::u16string_view& value) {
  const std::u16string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == u';') return false;
  const size_t eq = trimmed.find(u'=');
  if (eq == std::u16string_view::npos) return false;
  key = Trim(trimmed.substr(0, eq));
  value = Trim(trimmed.substr(eq + 1));
  return true;
}

// Index range [begin, end) of the lines inside the first section named `section`; begin is npos
// when there is no such section.
void FindSection(const IniText& ini, std::u16string_view section, size_t& begin, size_t& end) {
  begin = end = std::u16string::npos;
  for (size_t i = 0; i < ini.lines.size(); ++i) {
    std::u16string_view name;
    if (!SectionName(ini.lines[i], name)) continue;
    if (begin != std::u16string::npos) {
      end = i;
      return;
    }
    if (SameName(name, section)) begin = i + 1;
  }
  if (begin != std::u16string::npos) end = ini.lines.size();
}

}  // namespace

std::u16string FileIniFile::ReadString(std::u16string_view path, std::u16string_view section,
                                       std::u16string_view key, std::u16string_view fallback) {
  IniText ini;
  size_t begin, end;
  if (!ReadIniText(path, ini)) return std::u16string(fallback);
  FindSection(ini, section, begin, end);
  for (size_t i = begin; begin != std::u16string::npos && i < end; ++i) {
    std::u16string_view name, value;
    if (!KeyAndValue(ini.lines[i], name, value) || !SameName(name, key)) continue;
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return std::u16string(value);
  }
  return std::u16string(fallback);
}

bool FileIniFile::WriteString(std::u16string_view path, std::u16string_view section, std::u16string_view key,
                              std::u16string_view value) {
  IniText ini;
  ReadIniText(path, ini);  // a missing file is created
  std::u16string line(key);
  line += u'=';
  line += value;
  size_t begin, end;
  FindSection(ini, section, begin, end);
  if (begin == std::u16string::npos) {
    if (!ini.lines.empty() && !Trim(ini.lines.back()).empty()) ini.lines.emplace_back();
    ini.lines.push_back(u"[" + std::u16string(section) + u"]");
    ini.lines.push_back(line);
    return WriteIniText(path, ini);
  }
  size_t insertAt = begin;
  for (size_t i = begin; i < end; ++i) {
    std::u16string_view name, old;
    if (KeyAndValue(ini.lines[i], name, old) && SameName(name, key)) {
      ini.lines[i] = line;
      return WriteIniText(path, ini);
    }
    if (!Trim(ini.lines[i]).empty()) insertAt = i + 1;
  }
  ini.lines.insert(ini.lines.begin() + std::ptrdiff_t(insertAt), line);
  return WriteIniText(path, ini);
}

}  // namespace nx7
