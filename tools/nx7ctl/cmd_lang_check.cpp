// nx7ctl lang-check FILE: shows what the program will read from a language file.
#include <filesystem>
#include <fstream>
#include <ostream>

#include "command.h"
#include "common/text.h"
#include "i18n/string_catalogue.h"
#include "i18n/xml_reader.h"

namespace nx7::ctl {

namespace {

// One entry per line: a line break inside a text is written as an escape.
std::string OneLine(const std::u16string& text) {
  std::string line;
  for (char c : Utf8FromUtf16(text)) {
    if (c == '\n') line += "\\n";
    else if (c == '\r') line += "\\r";
    else line += c;
  }
  return line;
}

int Run(const Invocation& inv) {
  const ParsedArgs args = ParseArgs(inv.args, {}, 1, 1);
  const std::filesystem::path file(Utf16FromUtf8(args.positional[0]));
  // The catalogue itself stays silent about an unreadable file; a translator wants to hear it.
  if (!std::ifstream(file, std::ios::binary)) throw CommandError("cannot read " + args.positional[0]);
  CXmlReader reader;
  StringCatalogue catalogue;
  LoadStringCatalogue(catalogue, reader, file);
  std::string empty;
  for (size_t i = 0; i < kStringKeyCount; ++i) {
    const std::string key = Utf8FromUtf16(kStringKeyNames[i]);
    const std::u16string& text = catalogue[StringKey(i)];
    inv.out << key << '\t' << OneLine(text) << '\n';
    if (text.empty()) empty += (empty.empty() ? "" : ", ") + key;
  }
  if (empty.empty()) return 0;
  inv.err << "nx7ctl lang-check: empty entries: " << empty << '\n';
  return 1;
}

}  // namespace

extern const Command kLangCheckCommand{
    "lang-check", "print the 84 catalogue entries of a language file",
    "lang-check FILE\n"
    "Loads FILE as the program loads a language file and prints its 84 catalogue entries in\n"
    "catalogue order, one per line as KEY<TAB>TEXT (a line break inside a text is written as \\n,\n"
    "a carriage return as \\r). Exits 0 when every entry has a text, 1 naming the empty ones.\n",
    &Run};

}  // namespace nx7::ctl
