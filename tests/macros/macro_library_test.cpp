#include "macros/macro_library.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "common/bytes.h"
#include "common/text.h"
#include "platform/virtual/virtual_clock.h"
#include "platform/virtual/virtual_file_system.h"
#include "store/fake_store_host.h"

namespace nx7 {
namespace {

const std::u16string kFolder = u"C:\\Vorna\\NX7";
const std::u16string kPath = kFolder + u"\\Macro.cfg";

// A record as the recorder hands it over: `items` list items, of which the events are stored.
MacroEntry Record(uint32_t id, std::initializer_list<MacroEvent> events, std::u16string_view name = u"New Macro") {
  MacroEntry r{};
  r.entrySize = kMacroEntryHeaderSize + 4 * uint32_t(events.size());
  r.entrySignature = kMacroEntrySignature;
  r.macroId = id;
  r.repeatCount = 1;
  r.eventCount = uint32_t(events.size());
  std::copy(events.begin(), events.end(), r.macroEvents);
  CopyToField(name, r.macroName, kMacroNameLength);
  return r;
}

constexpr MacroEvent kPressA = MakeMacroEvent(MacroEventType::Press, 0x41);
constexpr MacroEvent kReleaseA = MakeMacroEvent(MacroEventType::Release, 0x41);
constexpr MacroEvent kDelay50 = MakeMacroEvent(MacroEventType::Delay, 50);

class MacroStoreTest : public ::testing::Test {
 protected:
  MacroStoreTest() { fs.AddFolder(kFolder); }
  std::vector<uint8_t> LibraryBytes() const {
    const auto* p = reinterpret_cast<const uint8_t*>(library->data());
    return std::vector<uint8_t>(p, p + kMacroLibrarySize);
  }

  // The store as the macro page calls it: each operation's outcome is shown at once.
  struct ShownStore {
    MacroStore& store;
    FakeStoreHost& host;
    template <class F>
    auto Shown(F operation) {
      struct Apply {
        FakeStoreHost& host;
        ~Apply() { host.ApplyPending(); }
      } apply{host};
      return operation(host.pending);
    }
    bool LoadMacroLibrary() { return Shown([&](StoreOutcome& o) { return store.LoadMacroLibrary(o); }); }
    bool SaveMacroLibrary() { return Shown([&](StoreOutcome& o) { return store.SaveMacroLibrary(o); }); }
    bool StoreMacroEntry(const MacroEntry* r) { return Shown([&](StoreOutcome& o) { return store.StoreMacroEntry(r, o); }); }
    void DeleteMacroEntry(uint32_t id) { Shown([&](StoreOutcome& o) { store.DeleteMacroEntry(id, o); }); }
    void RenameMacro(uint32_t id, std::u16string_view name) {
      Shown([&](StoreOutcome& o) { store.RenameMacro(id, name, o); });
    }
  };

  VirtualFileSystem fs;
  FakeStoreHost host;
  VirtualClock clock{0x12345678};
  std::unique_ptr<MacroLibrary> library = std::make_unique<MacroLibrary>();
  MacroStore macroStore{fs, clock, kFolder, *library};
  ShownStore store{macroStore, host};
};

TEST_F(MacroStoreTest, NoFileAtStart) {
  EXPECT_FALSE(store.LoadMacroLibrary());
  EXPECT_EQ(host.events, std::vector<std::u16string>{u"box: Cannot find " + kPath + u"!"});
  EXPECT_EQ(LibraryBytes(), std::vector<uint8_t>(kMacroLibrarySize, 0));

  host.events.clear();
  const MacroEntry r = Record(0x15000001, {kPressA, kDelay50, kReleaseA});
  ASSERT_TRUE(store.StoreMacroEntry(&r));
  EXPECT_EQ(host.events, std::vector<std::u16string>{u"info: Cannot find " + kPath + u"!"});
  const auto file = fs.FileContent(kPath);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->size(), 2'052'000u);
  EXPECT_EQ(*file, LibraryBytes());
  EXPECT_EQ(ReadLe32(&(*file)[0]), 4112u);
  EXPECT_EQ(ReadLe32(&(*file)[4]), 0xE8E80010u);
  EXPECT_EQ(ReadLe32(&(*file)[8]), 0x15000001u);
  EXPECT_EQ(ReadLe32(&(*file)[24 + 4]), 0xA0000032u);
  EXPECT_EQ(clock.TotalSlept(), 200u);  // the pauses around the write

  host.events.clear();
  ASSERT_TRUE(store.StoreMacroEntry(&r));
  EXPECT_TRUE(host.events.empty());  // the file exists now
}

TEST_F(MacroStoreTest, LoadClearsAndReadsAtMostTheLibrary) {
  std::vector<uint8_t> image(kMacroEntrySize + 10, 0);
  WriteLe32(&image[8], 0x01000002);
  WriteLe32(&image[20], 5000);  // an event count beyond the entry
  image.resize(kMacroEntrySize + 10);
  fs.PutFile(kPath, image);
  (*library)[7].macroId = 99;
  ASSERT_TRUE(store.LoadMacroLibrary());
  EXPECT_EQ((*library)[0].macroId, 0x01000002u);
  EXPECT_EQ((*library)[0].eventCount, 1000u);
  EXPECT_EQ(MacroEvents((*library)[0]).size(), 1000u);
  EXPECT_EQ((*library)[7].macroId, 0u);

  std::vector<uint8_t> longer(kMacroLibrarySize + 4096, 0x11);
  fs.PutFile(kPath, longer);
  ASSERT_TRUE(store.LoadMacroLibrary());
  EXPECT_EQ((*library)[499].macroName[39], 0x1111);
}

TEST_F(MacroStoreTest, NamesAndEventCountsAreReadWithinTheirBounds) {
  MacroEntry e = Record(1, {kPressA});
  for (char16_t& c : e.macroName) c = u'x';  // no terminator
  EXPECT_EQ(MacroName(e), std::u16string(40, u'x'));
  e.eventCount = 0xFFFFFFFF;
  EXPECT_EQ(MacroEvents(e).size(), 1000u);
  // Storing such a record copies at most the entry's 1000 events.
  e.entrySize = 4104;
  ASSERT_TRUE(store.StoreMacroEntry(&e));
  EXPECT_EQ((*library)[0].eventCount, 1000u);
}

TEST_F(MacroStoreTest, StoreTargets) {
  const MacroEntry a = Record(0x15000001, {kPressA}), b = Record(0x15000002, {kPressA}),
                   c = Record(0x15000003, {kPressA});
  ASSERT_TRUE(store.StoreMacroEntry(&a));
  ASSERT_TRUE(store.StoreMacroEntry(&b));
  ASSERT_TRUE(store.StoreMacroEntry(&c));
  store.DeleteMacroEntry(0x15000001);
  EXPECT_EQ(FindMacroById(*library, 0x15000001), std::nullopt);
  // An existing id is replaced in place although entry 0 is free.
  const MacroEntry c2 = Record(0x15000003, {kReleaseA}, u"Renamed");
  ASSERT_TRUE(store.StoreMacroEntry(&c2));
  EXPECT_EQ(FindMacroById(*library, 0x15000003), 2u);
  EXPECT_EQ((*library)[2].macroEvents[0], kReleaseA);
  // A new macro takes the lowest free entry, the one just freed.
  const MacroEntry d = Record(0x15000004, {kPressA});
  ASSERT_TRUE(store.StoreMacroEntry(&d));
  EXPECT_EQ(FindMacroById(*library, 0x15000004), 0u);
}

TEST_F(MacroStoreTest, UnstorableRecordsAndAFullLibraryChangeNothing) {
  MacroEntry small = Record(5, {kPressA});
  small.entrySize = 4100;
  MacroEntry unsigned_ = Record(6, {kPressA});
  unsigned_.entrySignature = 0x00000010;
  EXPECT_FALSE(store.StoreMacroEntry(nullptr));
  EXPECT_FALSE(store.StoreMacroEntry(&small));
  EXPECT_FALSE(store.StoreMacroEntry(&unsigned_));
  EXPECT_FALSE(fs.FileContent(kPath));

  for (MacroEntry& e : *library) e.entrySignature = 1;
  const auto before = LibraryBytes();
  fs.PutFile(kPath, before);
  const MacroEntry fresh = Record(0x15000009, {kPressA});
  const int steps = fs.StepsTaken();
  EXPECT_FALSE(store.StoreMacroEntry(&fresh));
  EXPECT_EQ(LibraryBytes(), before);
  EXPECT_EQ(fs.StepsTaken(), steps);  // nothing written
}

TEST_F(MacroStoreTest, StoringAgainFromAShorterListClearsTheOldEvents) {
  const MacroEntry three = Record(0x02000010, {kPressA, kDelay50, kReleaseA});
  ASSERT_TRUE(store.StoreMacroEntry(&three));
  EXPECT_EQ((*library)[0].entrySize, 4112u);
  const MacroEntry one = Record(0x02000010, {kPressA});
  ASSERT_TRUE(store.StoreMacroEntry(&one));
  EXPECT_EQ((*library)[0].entrySize, 4104u);
  for (size_t i = 1; i < 1000; ++i) ASSERT_EQ((*library)[0].macroEvents[i], 0u) << i;
}

TEST_F(MacroStoreTest, RenameKeepsTheEvents) {
  const MacroEntry r = Record(0x15000001, {kPressA, kDelay50, kReleaseA}, u"Old");
  ASSERT_TRUE(store.StoreMacroEntry(&r));
  store.RenameMacro(0x15000001, u"Grenade");
  EXPECT_EQ(MacroName((*library)[0]), u"Grenade");
  EXPECT_EQ((*library)[0].eventCount, 3u);
  EXPECT_EQ((*library)[0].macroEvents[2], kReleaseA);
  EXPECT_EQ(*fs.FileContent(kPath), LibraryBytes());
  store.RenameMacro(0x15000001, std::u16string(60, u'n'));
  EXPECT_EQ(MacroName((*library)[0]), std::u16string(39, u'n'));
}

TEST_F(MacroStoreTest, SaveFailures) {
  // Creation refused: the "Info" messages, the library unchanged in memory.
  fs.DenyWrites(kFolder);
  const MacroEntry r = Record(0x15000001, {kPressA});
  EXPECT_TRUE(store.StoreMacroEntry(&r));
  EXPECT_EQ(host.events, (std::vector<std::u16string>{u"info: Cannot find " + kPath + u"!",
                                                      u"info: No write access to the folder"}));
  EXPECT_EQ((*library)[0].macroId, 0x15000001u);
  EXPECT_FALSE(fs.FileContent(kPath));

  // Any step of rewriting an existing file failing or crashing leaves the old file whole.
  fs.AllowWrites(kFolder);
  ASSERT_TRUE(store.SaveMacroLibrary());
  const auto before = *fs.FileContent(kPath);
  for (auto step : VirtualFileSystem::kAllWriteSteps) {
    fs.FailAt(step, FileStatus::Failed);
    store.DeleteMacroEntry(0x15000001);
    EXPECT_EQ(*fs.FileContent(kPath), before);
    (*library)[0] = r;
    (*library)[1].macroId = 77;  // a change the crash must not half-write
    fs.CrashAt(step);
    EXPECT_THROW(store.SaveMacroLibrary(), SimulatedCrash);
    EXPECT_EQ(*fs.FileContent(kPath), before);
    (*library)[1].macroId = 0;
  }
}

TEST(MacroLibrary, InUseByAnySlotOrAMacroButton) {
  ProfileSlotTable slots{};
  auto block = std::make_unique<SettingsBlock>();
  slots[4].macroIds[6] = 0x15000007;
  block->buttons[2].type = 6;
  block->buttons[2].macroId = 0x15000008;
  block->buttons[3].type = 5;
  block->buttons[3].macroId = 0x15000009;  // stale id of a key-combination button
  EXPECT_TRUE(IsMacroInUse(0x15000007, slots, *block));
  EXPECT_TRUE(IsMacroInUse(0x15000008, slots, *block));
  EXPECT_FALSE(IsMacroInUse(0x15000009, slots, *block));
}

TEST(MacroLibrary, NewIdsAndEventTexts) {
  VirtualClock clock(0xAB123456);
  EXPECT_EQ(NewMacroId(21, clock), 0x15123456u);
  EXPECT_EQ(MacroEventText(kDelay50), "delay 50");
  EXPECT_EQ(MacroEventText(kPressA), "press 0x41");
  EXPECT_EQ(MacroEventText(MakeMacroEvent(MacroEventType::Release, 1)), "release 0x01");
  EXPECT_EQ(MacroEventText(0x12000003), "0x12000003");
}

TEST(MacroLibrary, EntryStates) {
  const struct {
    uint32_t size, signature;
    bool listed, storable, playable, free;
  } cases[] = {
      {0, 0, false, false, false, true},
      {4104, 0xE8E80010, true, true, true, false},
      {4100, 0xE8E80010, true, false, true, false},
      {4104, 0, true, false, true, true},
      {0, 0xE8E80000, true, false, false, false},
  };
  for (const auto& c : cases) {
    MacroEntry e{};
    e.entrySize = c.size;
    e.entrySignature = c.signature;
    EXPECT_EQ(IsListed(e), c.listed) << c.size << " " << c.signature;
    EXPECT_EQ(IsStorable(e), c.storable) << c.size << " " << c.signature;
    EXPECT_EQ(IsPlayable(e), c.playable) << c.size << " " << c.signature;
    EXPECT_EQ(IsFree(e), c.free) << c.size << " " << c.signature;
  }
}

}  // namespace
}  // namespace nx7
