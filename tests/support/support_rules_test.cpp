#include "support/support_rules.h"

#include <gtest/gtest.h>

#include <optional>

#include "common/bytes.h"
#include "platform/virtual/virtual_file_system.h"

namespace nx7 {
namespace {

const std::u16string kFile = u"C:\\Users\\me\\Profiles\\mine.cfg";

std::vector<uint8_t> Image(const SettingsBlock& block) {
  const auto image = SerialiseSettingsBlock(block);
  return {image.begin(), image.end()};
}

// Bytes in which every position tells its offset (no zero run hides a misplaced copy), with the
// settings magic in front.
std::vector<uint8_t> ProfileBytes(size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = uint8_t(i * 7 + 1);
  if (size >= 4) WriteLe32(bytes.data(), kSettingsMagic);
  return bytes;
}

TEST(ImportProfile, ReplacesTheBlockOnlyWithAFileThatStartsWithTheMagic) {
  SettingsBlock defaults{};
  FillWithDefaults(defaults, false);
  const std::vector<uint8_t> longFile = ProfileBytes(kSettingsBlockSize + 300);
  std::vector<uint8_t> wrongMagic = ProfileBytes(kSettingsBlockSize);
  wrongMagic[3] = 0x81;
  const struct {
    const char* name;
    std::optional<std::vector<uint8_t>> file;  // nothing: no such file
    bool unreadable;
    std::optional<std::vector<uint8_t>> block;  // the block afterwards; nothing: unchanged
  } cases[] = {
      {"short: the rest becomes zeros", ProfileBytes(100), false,
       [] { auto b = ProfileBytes(100); b.resize(kSettingsBlockSize, 0); return b; }()},
      {"only the magic", ProfileBytes(4), false,
       [] { auto b = ProfileBytes(4); b.resize(kSettingsBlockSize, 0); return b; }()},
      {"exact size", ProfileBytes(kSettingsBlockSize), false, ProfileBytes(kSettingsBlockSize)},
      {"long: its first 22252 bytes", longFile, false,
       std::vector<uint8_t>(longFile.begin(), longFile.begin() + kSettingsBlockSize)},
      {"wrong magic", wrongMagic, false, std::nullopt},
      {"two bytes of the magic", std::vector<uint8_t>{0x65, 0x02}, false, std::nullopt},
      {"empty", std::vector<uint8_t>{}, false, std::nullopt},
      {"unreadable", ProfileBytes(kSettingsBlockSize), true, std::nullopt},
      {"missing", std::nullopt, false, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    VirtualFileSystem files;
    files.AddFolder(u"C:\\Users\\me\\Profiles");
    if (c.file) files.PutFile(kFile, *c.file);
    if (c.unreadable) files.DenyAccessToFile(kFile);
    SettingsBlock block = defaults;
    const ProfileTransfer result = ImportProfile(files, kFile, block);
    EXPECT_EQ(result.succeeded, c.block.has_value());
    EXPECT_EQ(result.message, kFile + (c.block ? u" import success!" : u" is an invaild Profile!"));
    EXPECT_EQ(Image(block), c.block.value_or(Image(defaults)));
  }
}

TEST(ExportProfile, WritesTheBlockByteForByteOverAnyEarlierFile) {
  SettingsBlock block{};
  FillWithDefaults(block, true);
  block.dpiLevels[0] = 1234;
  block.wheelLines = -1;
  VirtualFileSystem files;
  files.PutFile(kFile, std::vector<uint8_t>(kSettingsBlockSize + 5000, 0xEE));  // an older, longer file
  const ProfileTransfer result = ExportProfile(files, kFile, block);
  EXPECT_TRUE(result.succeeded);
  EXPECT_EQ(result.message, kFile + u" export success!");
  const auto written = files.FileContent(kFile);
  ASSERT_TRUE(written);
  EXPECT_EQ(written->size(), kSettingsBlockSize);
  EXPECT_EQ(*written, Image(block));
  EXPECT_EQ(files.AllFiles(), std::vector<std::u16string>{kFile});  // no temporary left behind
  // What was exported imports back to the same block.
  SettingsBlock back{};
  EXPECT_TRUE(ImportProfile(files, kFile, back).succeeded);
  EXPECT_EQ(Image(back), Image(block));
}

TEST(ExportProfile, AFailureAtAnyStepLeavesTheEarlierFileAsItWasAndSaysExportFailed) {
  SettingsBlock block{};
  FillWithDefaults(block, false);
  const std::vector<uint8_t> earlier = ProfileBytes(kSettingsBlockSize);
  for (VirtualFileSystem::WriteStep step : VirtualFileSystem::kAllWriteSteps) {
    SCOPED_TRACE(int(step));
    VirtualFileSystem files;
    files.PutFile(kFile, earlier);
    files.FailAt(step, FileStatus::Failed);
    const ProfileTransfer result = ExportProfile(files, kFile, block);
    EXPECT_FALSE(result.succeeded);
    EXPECT_EQ(result.message, kFile + u" export failed!");
    EXPECT_EQ(files.FileContent(kFile), earlier);
    EXPECT_EQ(files.AllFiles(), std::vector<std::u16string>{kFile});
  }
}

TEST(ExportProfile, AFolderThatIsMissingOrReadOnlyFailsWithoutAFile) {
  SettingsBlock block{};
  VirtualFileSystem files;
  files.AddFolder(u"C:\\Locked");
  files.DenyWrites(u"C:\\Locked");
  for (const std::u16string path : {u"C:\\Missing\\a.cfg", u"C:\\Locked\\a.cfg"}) {
    SCOPED_TRACE(std::string(path.begin(), path.end()));
    const ProfileTransfer result = ExportProfile(files, path, block);
    EXPECT_FALSE(result.succeeded);
    EXPECT_EQ(result.message, path + u" export failed!");
    EXPECT_FALSE(files.Exists(path));
  }
}

TEST(ProfileFileDialogOptions, BothOfferCfgFilesAndOnlyTheOpenDialogKeepsTheCurrentFolder) {
  FileDialogOptions open{u"CFG Files(*.cfg)|*.cfg||", u".cfg", true, true, true, {}, {}};
  FileDialogOptions save = open;
  save.keepCurrentFolder = false;
  EXPECT_EQ(ProfileFileDialogOptions(FileDialogKind::Open), open);
  EXPECT_EQ(ProfileFileDialogOptions(FileDialogKind::Save), save);
}

TEST(FirmwareVersionDisplay, DigitsToText) {
  const struct {
    std::u16string digits, shown;
  } cases[] = {{u"", u"Unknown"},       {u"7", u"V 0.0.7"},       {u"0", u"V 0.0.0"},
               {u"12", u"V 0.1.2"},     {u"15", u"V 0.1.5"},      {u"100", u"V 1.0.0"},
               {u"123", u"V 1.2.3"},    {u"1234", u"V 12.3.4"},   {u"4294967295", u"V 42949672.9.5"}};
  for (const auto& c : cases) EXPECT_EQ(FirmwareVersionDisplay(c.digits), c.shown);
}

}  // namespace
}  // namespace nx7
