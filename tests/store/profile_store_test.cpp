#include "store/profile_store.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/bytes.h"
#include "platform/virtual/virtual_file_system.h"
#include "platform/virtual/virtual_registry.h"
#include "store/fake_store_host.h"

namespace nx7 {
namespace {

const std::u16string kFolder = u"C:\\Vorna\\NX7";
std::u16string ProfilePath(int n) { return kFolder + u"\\Profile\\Profile" + char16_t(u'0' + n) + u".cfg"; }

std::vector<uint8_t> DefaultImage() {
  SettingsBlock block;
  FillWithDefaults(block, true);
  const auto image = SerialiseSettingsBlock(block);
  return {image.begin(), image.end()};
}

// A valid profile told apart from the defaults by its first DPI level.
std::vector<uint8_t> ProfileImage(int32_t firstDpi) {
  auto image = DefaultImage();
  WriteLe32(&image[22040], uint32_t(firstDpi));
  return image;
}

// The ConfigInfo image with the given slots active and macro ids for slot `idsSlot`.
std::vector<uint8_t> SlotTableImage(std::initializer_list<int> activeSlots) {
  std::vector<uint8_t> image(8000, 0);
  for (int k : activeSlots) {
    WriteLe32(&image[1600 * k], 0xBEBE);
    WriteLe32(&image[1600 * k + 4], 1);
  }
  return image;
}

class ProfileStoreTest : public ::testing::Test {
 protected:
  ProfileStoreTest() { fs.AddFolder(kFolder); }
  void PutSlotTable(const std::vector<uint8_t>& image) {
    reg.CreateKey(kProgramKey);
    reg.WriteBinary(kProgramKey, kConfigInfoValue, image);
  }
  std::vector<uint8_t> RegistryTable() const { return reg.Value(kProgramKey, kConfigInfoValue).value().data; }
  std::vector<uint8_t> Block() const {
    const auto image = SerialiseSettingsBlock(block);
    return {image.begin(), image.end()};
  }
  std::vector<bool> Checked(std::initializer_list<int> slots) const {
    std::vector<bool> expected(5, false);
    for (int k : slots) expected[k] = true;
    return expected;
  }

  VirtualRegistry reg;
  VirtualFileSystem fs;
  FakeStoreHost host;
  SettingsBlock block{};
  ButtonMacroIds macroIds{};
  bool chineseText = true;
  ProfileStore store{reg, fs, kFolder, block, macroIds, chineseText};
};

TEST_F(ProfileStoreTest, FirstStartOnACleanMachine) {
  host.Apply(store.LoadAtStart());
  EXPECT_TRUE(host.events.empty());  // the slot-0 fallback writes its file silently
  EXPECT_EQ(RegistryTable(), std::vector<uint8_t>(8000, 0));
  EXPECT_EQ(fs.FileContent(ProfilePath(1)), DefaultImage());
  EXPECT_EQ(Block(), DefaultImage());
  EXPECT_EQ(store.CurrentSlot(), 0u);
  EXPECT_EQ(host.buttons, Checked({0}));
  EXPECT_EQ(store.Slots()[0].active, 1);
  for (size_t k = 0; k < 5; ++k) {
    EXPECT_EQ(store.Slots()[k].slotMagic, 0xBEBEu);
    EXPECT_EQ(store.SlotName(k), u"Profile" + std::u16string(1, char16_t(u'1' + k)));
    EXPECT_EQ(store.SlotPath(k), ProfilePath(int(k) + 1));
  }
  // The table reaches the registry only with the first successful download.
  macroIds = {0, 0, 0, 0, 0, 0, 0x15000042};
  host.Apply(store.SaveAfterDownload());
  const auto table = RegistryTable();
  EXPECT_EQ(ReadLe32(&table[0]), 0xBEBEu);
  EXPECT_EQ(ReadLe32(&table[4]), 1u);
  EXPECT_EQ(ReadLe32(&table[1572 + 6 * 4]), 0x15000042u);
  EXPECT_EQ(table[12], 'P');
  EXPECT_EQ(fs.FileContent(ProfilePath(1)), DefaultImage());  // the ids never go into the file
}

TEST_F(ProfileStoreTest, StartLoadsTheFirstActiveSlot) {
  PutSlotTable(SlotTableImage({3, 4}));
  fs.PutFile(ProfilePath(4), ProfileImage(2500));
  fs.PutFile(ProfilePath(5), ProfileImage(3000));
  host.Apply(store.LoadAtStart());
  EXPECT_EQ(store.CurrentSlot(), 3u);
  EXPECT_EQ(block.dpiLevels[0], 2500);
  EXPECT_EQ(host.buttons, Checked({3, 4}));  // every active slot is shown checked
  EXPECT_TRUE(host.events.empty());
}

TEST_F(ProfileStoreTest, DeletedActiveProfileIsRecreatedAndTheSearchGoesOn) {
  PutSlotTable(SlotTableImage({2}));
  fs.PutFile(ProfilePath(1), ProfileImage(1000));
  host.Apply(store.LoadAtStart());
  EXPECT_EQ(host.events, std::vector<std::u16string>{u"box: Failed to open file, check whether there is a " +
                                                     ProfilePath(3) + u" path?"});
  EXPECT_EQ(fs.FileContent(ProfilePath(3)), DefaultImage());
  EXPECT_EQ(store.Slots()[2].active, 0);
  EXPECT_EQ(store.CurrentSlot(), 0u);
  EXPECT_EQ(block.dpiLevels[0], 1000);
  EXPECT_EQ(host.buttons, Checked({0}));
}

TEST_F(ProfileStoreTest, WrongSignatureIsRejectedAndRewrittenAtStart) {
  PutSlotTable(SlotTableImage({0}));
  auto image = ProfileImage(1000);
  image[3] = 0x81;
  fs.PutFile(ProfilePath(1), image);
  host.Apply(store.LoadAtStart());
  EXPECT_EQ(host.events, std::vector<std::u16string>{u"info: " + ProfilePath(1) + u" is an invaild Profile!"});
  EXPECT_EQ(fs.FileContent(ProfilePath(1)), DefaultImage());
  EXPECT_EQ(Block(), DefaultImage());
  EXPECT_EQ(store.CurrentSlot(), 0u);
}

TEST_F(ProfileStoreTest, LoadResults) {
  const struct {
    const char* what;
    std::optional<std::vector<uint8_t>> file;
    bool create;
    int expected;
    size_t messages;
    bool fileAfter;
  } cases[] = {
      {"valid", ProfileImage(500), true, kProfileLoaded, 0, true},
      {"missing, create", std::nullopt, true, kProfileNotLoaded, 1, true},
      {"missing, no create", std::nullopt, false, kProfileNotLoaded, 0, false},
      {"empty file", std::vector<uint8_t>{}, true, kNotAProfile, 1, true},
      {"three bytes", std::vector<uint8_t>{0x65, 0x02, 0x80}, true, kNotAProfile, 1, true},
  };
  for (const auto& c : cases) {
    VirtualFileSystem files;
    files.AddFolder(kFolder + u"\\Profile");
    if (c.file) files.PutFile(ProfilePath(2), *c.file);
    FakeStoreHost h;
    ProfileStore s(reg, files, kFolder, block, macroIds, chineseText);
    EXPECT_EQ(s.LoadProfileFile(ProfilePath(2), c.create, h.pending), c.expected) << c.what;
    h.ApplyPending();
    EXPECT_EQ(h.events.size(), c.messages) << c.what;
    EXPECT_EQ(files.FileContent(ProfilePath(2)).has_value(), c.fileAfter) << c.what;
  }
}

TEST_F(ProfileStoreTest, ShortAndLongFilesAreReadUpToOneBlock) {
  auto image = ProfileImage(750);
  image.resize(22040 + 4);  // ends with the first DPI level
  fs.PutFile(ProfilePath(1), image);
  std::memset(&block, 0x5A, sizeof block);
  ASSERT_EQ(store.LoadProfileFile(ProfilePath(1), false, host.pending), kProfileLoaded);
  EXPECT_EQ(block.dpiLevels[0], 750);
  EXPECT_EQ(block.dpiLevels[1], 0);
  EXPECT_EQ(block.wheelLines, 0);

  auto longer = ProfileImage(900);
  longer.resize(40000, 0xFF);
  fs.PutFile(ProfilePath(1), longer);
  ASSERT_EQ(store.LoadProfileFile(ProfilePath(1), false, host.pending), kProfileLoaded);
  longer.resize(22252);
  EXPECT_EQ(Block(), longer);
}

TEST_F(ProfileStoreTest, ReadOnlyProfileFolder) {
  fs.AddFolder(kFolder + u"\\Profile");
  fs.DenyWrites(kFolder + u"\\Profile");
  host.Apply(store.LoadAtStart());
  // Creating the default file is refused: the message, and the block is not reset.
  EXPECT_EQ(host.events, std::vector<std::u16string>{u"box: No write access to the folder"});
  EXPECT_EQ(block.magic, 0u);
  EXPECT_FALSE(fs.FileContent(ProfilePath(1)));

  // A download on profile 1 is kept in DefaultSetting and read from there afterwards.
  host.events.clear();
  FillWithDefaults(block, true);
  block.dpiLevels[0] = 6000;
  const auto saved = Block();
  host.Apply(store.SaveAfterDownload());
  EXPECT_EQ(host.events, std::vector<std::u16string>{u"finished"});
  EXPECT_TRUE(store.Profile1InRegistry());
  const auto value = reg.Value(kProgramKey, kDefaultSettingValue);
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, RegistryType::Binary);
  EXPECT_EQ(value->data, saved);
  FillWithDefaults(block, true);
  EXPECT_EQ(store.LoadProfileFile(ProfilePath(1), true, host.pending), kProfileLoaded);
  EXPECT_EQ(Block(), saved);

  // Another profile is not saved anywhere, and nothing is said.
  host.Apply(store.SwitchToSlot(1, false));
  host.events.clear();
  host.Apply(store.SaveAfterDownload());
  EXPECT_EQ(host.events, std::vector<std::u16string>{u"finished"});
  EXPECT_FALSE(fs.FileContent(ProfilePath(2)));
}

// The registry stands in for the first slot whatever the language: its name in the catalogue is
// translated, the stored slot name is not. Other slots are never stored there.
TEST_F(ProfileStoreTest, DefaultSettingStandsInForTheFirstSlotInEveryLanguage) {
  host.catalogue["str_profile1"] = u"\u914D\u7F6E1";  // a translated name
  chineseText = true;
  fs.AddFolder(kFolder + u"\\Profile");
  host.Apply(store.LoadAtStart());
  for (size_t slot : {1u, 0u}) {
    host.Apply(store.SwitchToSlot(slot, false));
    fs.DenyAccessToFile(ProfilePath(int(slot) + 1));
    FillWithDefaults(block, chineseText);
    block.dpiLevels[0] = 4000 + int(slot);
    host.events.clear();
    host.Apply(store.SaveAfterDownload());
    EXPECT_EQ(host.events, std::vector<std::u16string>{u"finished"}) << slot;
    EXPECT_EQ(store.Profile1InRegistry(), slot == 0) << slot;
    const auto value = reg.Value(kProgramKey, kDefaultSettingValue);
    ASSERT_EQ(bool(value), slot == 0) << slot;
    if (value) {
      EXPECT_EQ(value->data, Block());
    }
  }
}

TEST_F(ProfileStoreTest, DefaultSettingThatCannotBeWrittenIsReported) {
  fs.AddFolder(kFolder + u"\\Profile");
  host.Apply(store.LoadAtStart());
  fs.DenyAccessToFile(ProfilePath(1));
  reg.FailWrites(RegistryStatus::Failed);
  host.events.clear();
  host.Apply(store.SaveAfterDownload());
  EXPECT_EQ(host.events, (std::vector<std::u16string>{u"info: Cannot save the profile", u"finished"}));
  EXPECT_FALSE(store.Profile1InRegistry());
}

TEST_F(ProfileStoreTest, ConfigInfoOfAnotherTypeOrSizeIsRewritten) {
  const struct {
    RegistryType type;
    size_t size;
    bool rewritten;
  } cases[] = {
      {RegistryType::String, 8000, true},
      {RegistryType::Binary, 9000, true},  // too large to be read
      {RegistryType::Binary, 100, false},  // read as far as it goes
  };
  for (const auto& c : cases) {
    VirtualRegistry r;
    r.CreateKey(kProgramKey);
    std::vector<uint8_t> value(c.size, 0);
    r.WriteValue(kProgramKey, kConfigInfoValue, c.type, value);
    const int writesBefore = r.WriteCount();
    VirtualFileSystem files;
    FakeStoreHost h;
    SettingsBlock b{};
    ButtonMacroIds ids{};
    ProfileStore s(r, files, kFolder, b, ids, chineseText);
    h.Apply(s.LoadAtStart());
    const auto stored = r.Value(kProgramKey, kConfigInfoValue).value();
    EXPECT_EQ(r.WriteCount() - writesBefore, c.rewritten ? 1 : 0) << c.size;
    if (c.rewritten) {
      EXPECT_EQ(stored.type, RegistryType::Binary);
      EXPECT_EQ(stored.data.size(), 8000u);
    }
  }
}

TEST_F(ProfileStoreTest, SwitchCarriesTheMacroIdsThroughTheSlot) {
  host.Apply(store.LoadAtStart());
  fs.PutFile(ProfilePath(3), ProfileImage(3500));
  macroIds = {0, 0, 0x15001234, 0, 0, 0, 0};
  host.Apply(store.SaveAfterDownload());  // slot 0 keeps the ids
  host.events.clear();

  host.Apply(store.SwitchToSlot(2, false));
  EXPECT_EQ(block.dpiLevels[0], 3500);
  EXPECT_EQ(macroIds, ButtonMacroIds{});
  EXPECT_EQ(host.buttons, Checked({2}));
  EXPECT_EQ(host.events, std::vector<std::u16string>{u"refresh"});

  host.events.clear();
  host.Apply(store.SwitchToSlot(0, true));
  EXPECT_EQ(macroIds, (ButtonMacroIds{0, 0, 0x15001234, 0, 0, 0, 0}));
  EXPECT_EQ(host.events, (std::vector<std::u16string>{u"download", u"refresh"}));
  EXPECT_EQ(host.buttons, Checked({0}));
}

TEST_F(ProfileStoreTest, FailedSwitchChangesNothingButTheCurrentSlot) {
  host.Apply(store.LoadAtStart());
  auto bad = ProfileImage(1000);
  bad[0] = 0;
  fs.PutFile(ProfilePath(4), bad);
  macroIds = {1, 2, 3, 4, 5, 6, 7};
  host.events.clear();
  host.Apply(store.SwitchToSlot(3, true));
  EXPECT_EQ(store.CurrentSlot(), 3u);
  EXPECT_EQ(store.Slots()[0].active, 1);
  EXPECT_EQ(store.Slots()[3].active, 0);
  EXPECT_EQ(macroIds, (ButtonMacroIds{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(host.events.size(), 1u);  // only the "invaild Profile" box
  EXPECT_EQ(host.buttons, Checked({0}));
}

TEST_F(ProfileStoreTest, RestoreDefaults) {
  host.Apply(store.LoadAtStart());
  block.ledMode = 6;
  macroIds = {9, 9, 9, 9, 9, 9, 9};
  host.events.clear();
  host.Apply(store.RestoreDefaults());
  EXPECT_EQ(Block(), DefaultImage());
  EXPECT_EQ(macroIds, ButtonMacroIds{});
  EXPECT_EQ(host.events, (std::vector<std::u16string>{u"refresh", u"download+progress"}));
  EXPECT_EQ(fs.FileContent(ProfilePath(1)), DefaultImage());  // the file changes only with the save
}

// A save that fails at any step of writing the file leaves the previous file byte for byte.
TEST_F(ProfileStoreTest, InterruptedSaveKeepsThePreviousFile) {
  host.Apply(store.LoadAtStart());
  const auto before = fs.FileContent(ProfilePath(1)).value();
  block.dpiLevels[0] = 7000;
  const int first = fs.StepsTaken() + 1;
  host.Apply(store.SaveAfterDownload());
  const int steps = fs.StepsTaken() - first + 1;
  ASSERT_GE(steps, 4);
  const auto after = fs.FileContent(ProfilePath(1)).value();
  ASSERT_NE(before, after);
  for (int step = 0; step < steps; ++step) {
    fs.PutFile(ProfilePath(1), before);
    fs.FailAtStepNumber(fs.StepsTaken() + 1 + step, FileStatus::Failed);
    host.events.clear();
    host.Apply(store.SaveAfterDownload());
    EXPECT_EQ(fs.FileContent(ProfilePath(1)), before) << "step " << step;
    EXPECT_EQ(fs.AllFiles().size(), 1u) << "step " << step;
    EXPECT_EQ(host.events, std::vector<std::u16string>{u"finished"});

    fs.PutFile(ProfilePath(1), before);
    fs.CrashAtStepNumber(fs.StepsTaken() + 1 + step);
    EXPECT_THROW(host.Apply(store.SaveAfterDownload()), SimulatedCrash);
    EXPECT_EQ(fs.FileContent(ProfilePath(1)), before) << "crash at step " << step;
  }
}

TEST(FormatCatalogueText, ReplacesOnlyTheFirstPlaceholderOfAStoreText) {
  EXPECT_EQ(FormatCatalogueText(u"Cannot find %s!", u"C:\\a"), u"Cannot find C:\\a!");
  EXPECT_EQ(FormatCatalogueText(u"%s %s %d %n", u"x"), u"x %s %d %n");
  EXPECT_EQ(FormatCatalogueText(u"no placeholder", u"x"), u"no placeholder");
  EXPECT_EQ(FormatCatalogueText(u"%s", u"50%s"), u"50%s");
}

}  // namespace
}  // namespace nx7
