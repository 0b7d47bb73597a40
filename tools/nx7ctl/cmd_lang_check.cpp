// nx7ctl lang-check FILE: shows what the program will read from a language file.
#include <filesystem>
#include <fstream>
#include <ostream>

#include "command.h"
#include "command_files.h"
#include "common/text.h"
#include "i18n/string_catalogue.h"
#include "i18n/xml_reader.h"
#include "platform/file_path.h"

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
  const std::string& name = args.positional[0];
  RefuseFolder(name);
  const std::filesystem::path file = PathFromText(PathArgument(name));
  CXmlReader reader;
  StringCatalogue catalogue;
  LoadStringCatalogue(catalogue, reader, file);
  // The catalogue itself stays silent about a file that did not load; a translator wants to hear
  // why: the system's reason, or the first parse error and its line.
  if (reader.Text().empty() && !reader.Diagnostic().empty() && reader.ParseError().empty())
    throw CommandError("cannot read " + name + ": " + Utf8FromUtf16(reader.Diagnostic()));
  const bool illFormed = !reader.ParseError().empty();
  if (illFormed) {
    inv.err << "nx7ctl lang-check: " << name;
    if (reader.ParseErrorOffset() != std::u16string::npos)
      inv.err << " line " << reader.LineOf(reader.ParseErrorOffset());
    inv.err << ": " << Utf8FromUtf16(reader.ParseError()) << '\n';
  }
  std::string empty;
  for (size_t i = 0; i < kStringKeyCount; ++i) {
    const std::string key = Utf8FromUtf16(kStringKeyNames[i]);
    const std::u16string& text = catalogue[StringKey(i)];
    inv.out << key << '\t' << OneLine(text) << '\n';
    if (text.empty()) empty += (empty.empty() ? "" : ", ") + key;
  }
  if (!empty.empty()) inv.err << "nx7ctl lang-check: empty entries: " << empty << '\n';
  return empty.empty() && !illFormed ? 0 : 1;
}

}  // namespace

extern const Command kLangCheckCommand{
    "lang-check", "print the 84 catalogue entries of a language file",
    "lang-check FILE\n"
    "Loads FILE as the program loads a language file and prints its 84 catalogue entries in\n"
    "catalogue order, one per line as KEY<TAB>TEXT (a line break inside a text is written as \\n,\n"
    "a carriage return as \\r). Exits 0 when every entry has a text and the file is\n"
    "well-formed; 1 naming the empty ones, and the first error of an ill-formed file with its line.\n",
    &Run};

}  // namespace nx7::ctl
