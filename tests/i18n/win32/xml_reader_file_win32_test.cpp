// Reading documents from disk on Windows: a file that cannot be read leaves the first line of the
// system's own message as the reader's diagnostic.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "i18n/xml_reader.h"

namespace nx7 {
namespace {

std::u16string SystemMessageLine(DWORD code) {
  wchar_t text[512] = {};
  const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        text, DWORD(std::size(text)), nullptr);
  std::u16string line(reinterpret_cast<const char16_t*>(text), length);
  return line.substr(0, line.find_first_of(u"\r\n"));
}

TEST(XmlReaderFiles, ReadsAFileAndReportsWhyOthersCannotBeRead) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "nx7_xml_reader_files";
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / L"\u8BED\u8A00.xml";  // a name outside the ANSI code page
  std::ofstream(file, std::ios::binary) << "<r><config><str_ok>OK</str_ok></config></r>";

  CXmlReader reader;
  EXPECT_TRUE(reader.Load(file));
  EXPECT_EQ(reader.ReadXmlValue(u"config", u"str_ok"), u"OK");

  const struct {
    std::filesystem::path path;
    DWORD error;
  } failures[] = {
      {folder / "missing.xml", ERROR_FILE_NOT_FOUND},
      {folder / "no-such-folder" / "x.xml", ERROR_PATH_NOT_FOUND},
      {folder, ERROR_ACCESS_DENIED},  // a folder opens as no file
  };
  for (const auto& f : failures) {
    EXPECT_FALSE(reader.Load(f.path)) << f.path.string();
    EXPECT_FALSE(SystemMessageLine(f.error).empty());
    EXPECT_EQ(reader.Diagnostic(), SystemMessageLine(f.error)) << f.path.string();
    EXPECT_EQ(reader.Text(), u"");
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace nx7
