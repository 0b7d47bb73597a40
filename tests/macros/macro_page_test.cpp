#include "macros/macro_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

#include "common/text.h"
#include "macros/hook_messages.h"
#include "macros/input_hooks_virtual.h"
#include "macro_entry_fixture.h"
#include "platform/virtual/recording_poster.h"
#include "platform/virtual/virtual_clock.h"
#include "platform/virtual/virtual_file_system.h"

namespace nx7 {
namespace {

using testing::Delay;
using testing::Press;
using testing::Release;
using testing::StoredMacro;

WindowHandle const kMainWindow = reinterpret_cast<WindowHandle>(0x1000);
WindowHandle const kMacroPage = reinterpret_cast<WindowHandle>(0x2000);
const std::u16string kFolder = u"C:\\Vorna\\NX7";
const std::u16string kPath = kFolder + u"\\Macro.cfg";
constexpr uint32_t VK_A = 'A', VK_B = 'B';

// The page window as the model sees it: two list boxes that keep what they are told, a caption,
// the editor's controls and the message box.
class FakeView : public MacroPageView {
 public:
  // MacroPageView
  void ClearMacros() override {
    macros.clear();
    macroSelection = -1;
  }
  void AddMacro(const MacroListItem& item, bool editName) override {
    macros.push_back(item);
    macroSelection = int(macros.size()) - 1;
    if (editName) editing = macroSelection;
  }
  void DeleteMacro(int index) override {
    macros.erase(macros.begin() + index);
    macroSelection = -1;
  }
  void SetMacroListRedraw(bool redraw) override { macroRedrawOff += redraw ? 0 : 1; }
  void SetCategoryCaption(std::u16string_view text) override { caption = std::u16string(text); }
  void ShowPageMessage(std::u16string_view text) override { pageMessages.emplace_back(text); }
  // MacroRecorderView
  void ClearEvents() override { events.clear(); }
  void AddEvent(const EventItem& item) override { events.push_back(item); }
  void InsertEvent(int index, const EventItem& item) override { events.insert(events.begin() + index, item); }
  void ReplaceEvent(int index, const EventItem& item) override { events.at(size_t(index)) = item; }
  void DeleteEvent(int index) override { events.erase(events.begin() + index); }
  void SetEventListRedraw(bool) override {}
  void ShowControl(EditorControl, bool) override {}
  void SetChoiceChecked(EditorControl, bool) override {}
  void EnableEditButtons(bool enabled) override { buttonsEnabled = enabled; }
  void SetEditText(EditorEdit edit, std::u16string_view text) override {
    if (edit != EditorEdit::Repeat) return;
    repeat = std::u16string(text);
    if (echo) echo(text);
  }
  void FocusEdit(EditorEdit) override {}
  void MoveCaretToEnd(EditorEdit) override {}
  void SetRecordCaption(RecordCaption c) override { recordCaption = c; }
  void ShowMessage(RecorderMessage message) override { recorderMessages.push_back(message); }
  void ShowStoreOutcome(const StoreOutcome& outcome) override { outcomes += int(outcome.steps.size()); }
  void DebugMessage(std::string_view) override {}
  int MacroSelection() override { return macroSelection; }
  std::optional<MacroListItem> MacroAt(int index) override {
    if (index < 0 || size_t(index) >= macros.size()) return std::nullopt;
    return macros[size_t(index)];
  }

  std::vector<std::u16string> Names() const {
    std::vector<std::u16string> names;
    for (const MacroListItem& m : macros) names.push_back(m.name);
    return names;
  }

  std::vector<MacroListItem> macros;
  int macroSelection = -1;
  int editing = -1;
  int macroRedrawOff = 0;
  std::u16string caption = u"Customisze";
  std::vector<std::u16string> pageMessages;
  std::vector<EventItem> events;
  bool buttonsEnabled = true;
  std::u16string repeat = u"1";
  RecordCaption recordCaption = RecordCaption::StartRecord;
  std::vector<RecorderMessage> recorderMessages;
  int outcomes = 0;
  std::function<void(std::u16string_view)> echo;
};

std::vector<std::u16string> EventTexts(const std::vector<EventItem>& events) {
  std::vector<std::u16string> texts;
  for (const EventItem& e : events) texts.push_back(e.text);
  return texts;
}

std::vector<MacroEvent> Events(const MacroEntry& entry) {
  const std::span<const MacroEvent> events = MacroEvents(entry);
  return {events.begin(), events.end()};
}

class MacroPageTest : public ::testing::Test {
 protected:
  MacroPageTest() {
    fs.PutFile(kPath, std::vector<uint8_t>(kMacroLibrarySize, 0));
    EXPECT_TRUE(hooks.InstallHooks(kMainWindow));
    hooks.SetNotifyFlags(false, true);
    view.echo = [this](std::u16string_view text) { page.Recorder().RepeatTextChanged(text); };
  }
  void TearDown() override {
    // The event list box never drifts from the recorder's list.
    EXPECT_EQ(EventTexts(view.events), EventTexts(page.Recorder().Events()));
  }

  void Put(size_t index, const MacroEntry& entry) { (*library)[index] = entry; }
  std::optional<MacroEntry> Stored(uint32_t id) const {
    const auto index = FindMacroById(*library, id);
    if (!index || !IsListed((*library)[*index])) return std::nullopt;
    return (*library)[*index];
  }
  // The library as Macro.cfg holds it now.
  std::optional<MacroEntry> InFile(uint32_t id) const {
    auto fromFile = std::make_unique<MacroLibrary>();
    LoadMacroLibraryImage(*fs.FileContent(kPath), *fromFile);
    const auto index = FindMacroById(*fromFile, id);
    if (!index || !IsListed((*fromFile)[*index])) return std::nullopt;
    return (*fromFile)[*index];
  }
  void Key(uint32_t vk, bool released, uint32_t afterMs = 10) {
    clock.Advance(afterMs);
    hooks.OnKeyboardEvent(vk, released ? InputHooks::kKeyReleasedFlag : 0);
    for (const PostedMessage& post : poster.Take())
      if (post.window == kMacroPage && post.message == WM_MACRO_INPUT)
        page.Recorder().MacroInput(uint32_t(post.wParam), uint32_t(post.lParam));
  }
  void Tap(uint32_t vk) {
    Key(vk, false);
    Key(vk, true);
  }
  // The user clicks item `index` of the macro list.
  void Select(int index) {
    view.macroSelection = index;
    page.MacroSelectionChanged(index);
  }

  VirtualFileSystem fs;
  VirtualClock clock{0x12345678};
  std::unique_ptr<MacroLibrary> library = std::make_unique<MacroLibrary>();
  MacroStore store{fs, clock, kFolder, *library};
  RecordingPoster poster;
  VirtualHookInstaller installer;
  InputHooks hooks{poster, installer};
  ProfileSlotTable slots{};
  SettingsBlock block{};
  bool chinese = false;
  FakeView view;
  MacroPage page{view, hooks, poster, kMacroPage, clock, *library, store, MacroUse{slots, block}, chinese};
};

TEST(GameCategoryTableTest, MenuTextsAndCaptionsInBothLanguages) {
  const struct {
    uint32_t id;
    bool chinese;
    std::u16string_view menu, caption;
  } cases[] = {
      {1, false, u"Battlefield 3 ", u"Battlefield 3"},
      {1, true, u"战地 3 ", u"战地 3"},
      {5, false, u"Team Fortress 2", u"Team Fortress 2"},
      {5, true, u"军团要塞2", u"军团要塞 2"},
      {7, false, u"Civilization 5 ", u"Civilization 5 "},
      {11, true, u"英雄联盟(LOL)", u"英雄联盟(LOL)"},
      {13, false, u"Dota 2 ", u"Dota 2 "},
      {13, true, u"远古遗迹守卫2（Dota 2） ", u"远古遗迹守卫2（Dota 2）"},
      {16, false, u"Football Manager 2013 (SEGA)", u"Football Manager 2013 (SEGA)"},
      {19, true, u"流亡黯道", u"流亡黯道"},
      {21, false, u"Customize", u"Customisze"},
      {21, true, u"玩家自定义", u"玩家自定义"},
      {0, false, u"", u""},
      {22, true, u"", u""},
      {0x10015, false, u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CategoryMenuText(c.id, c.chinese), c.menu) << c.id << " " << c.chinese;
    EXPECT_EQ(CategoryCaption(c.id, c.chinese), c.caption) << c.id << " " << c.chinese;
  }
  for (size_t i = 0; i < GameCategoryTable.size(); ++i) {
    EXPECT_EQ(GameCategoryTable[i].id, i + 1);
    for (bool zh : {false, true}) EXPECT_FALSE(CategoryMenuText(uint32_t(i + 1), zh).empty()) << i + 1;
  }
}

TEST(CategoryMenuTest, TwoHundredRecordsWithTheTwentyOneCategoriesFirst) {
  for (bool zh : {false, true}) {
    CategoryMenuRecords records;
    std::memset(records.data(), 0xCC, sizeof(records));
    FillCategoryMenu(records, zh);
    ASSERT_EQ(sizeof(records), 200u * 88u);
    for (uint32_t id = 1; id <= 21; ++id) {
      const menuex::MenuExItem& r = records[id - 1];
      EXPECT_EQ(r.parentId, 0xFF);
      EXPECT_EQ(r.id, int32_t(id));
      EXPECT_EQ(menuex::ItemText(r), CategoryMenuText(id, zh)) << id;
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(&records[21]);
    EXPECT_TRUE(std::all_of(bytes, bytes + 179 * 88, [](uint8_t b) { return b == 0; }));
  }
  EXPECT_EQ(kCategoryMenuCount, 21);
}

TEST(MacroPageHintsTest, EachControlGrownByOnePixelPostsItsHint) {
  const struct {
    int x, y;
    bool chinese, recording;
    std::vector<int> hints;
  } cases[] = {
      {26, 412, false, false, {40}},   {25, 411, false, false, {40}},  {24, 411, false, false, {}},
      {100, 430, true, false, {41}},   {360, 420, false, false, {42}}, {359, 420, true, false, {}},
      {375, 420, true, false, {42}},   {439, 420, false, false, {44}}, {800, 30, false, false, {45}},
      {800, 30, false, true, {46}},    {700, 66, true, false, {47}},   {870, 95, false, false, {48}},
      {725, 195, false, false, {49}},  {725, 235, true, false, {49}},  {768, 177, false, false, {50}},
      {810, 195, false, false, {51}},  {700, 325, false, false, {52}}, {700, 350, false, false, {52}},
      {700, 370, false, false, {53}},  {700, 420, true, false, {53}},  {870, 349, false, false, {}},
      {100, 200, false, false, {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MacroPageHintsAt({c.x, c.y}, c.chinese, c.recording), c.hints) << c.x << "," << c.y << " " << c.chinese;
}

TEST_F(MacroPageTest, FillListsTheCategorysStoredMacrosInLibraryOrderAndShowsTheLast) {
  Put(3, StoredMacro(0x15000003, u"third", {Press(VK_A), Release(VK_A)}, 4));
  Put(5, StoredMacro(0x02000001, u"other category", {Press(VK_B), Release(VK_B)}));
  Put(7, StoredMacro(0x15000001, u"first", {Press(VK_B)}));
  MacroEntry unlisted = StoredMacro(0x15000009, u"free", {Press(VK_A)});
  unlisted.entrySignature = 0;
  unlisted.entrySize = 4100;
  Put(8, unlisted);
  Put(9, StoredMacro(0x15000002, u"last", {Press(VK_A), Delay(50), Release(VK_A)}, 7));

  page.FillMacroList(21);
  EXPECT_EQ(view.Names(), (std::vector<std::u16string>{u"third", u"first", u"last"}));
  EXPECT_EQ(view.macroSelection, 2);
  EXPECT_EQ(EventTexts(view.events), (std::vector<std::u16string>{u"A", u"50  ms", u"A"}));
  EXPECT_EQ(view.repeat, u"7");
  EXPECT_GE(view.macroRedrawOff, 1);

  // The list knows what it shows: choosing the first item loads it.
  Select(0);
  EXPECT_EQ(EventTexts(view.events), (std::vector<std::u16string>{u"A", u"A"}));
  EXPECT_EQ(view.repeat, u"4");
}

TEST_F(MacroPageTest, ChoosingACategorySetsTheCaptionAndTheListOfThatCategory) {
  Put(0, StoredMacro(0x05000001, u"tf2", {Press(VK_A), Release(VK_A)}, 3));
  Put(1, StoredMacro(0x15000001, u"custom", {Press(VK_B), Release(VK_B)}, 9));
  page.FillMacroList(21);
  ASSERT_EQ(view.repeat, u"9");
  const struct {
    uint32_t lParam;
    bool chinese;
    std::u16string caption;
    std::vector<std::u16string> names;
    std::u16string repeat;  // an empty category keeps the text it had
  } cases[] = {
      {5, false, u"Team Fortress 2", {u"tf2"}, u"3"},
      {0x7FFF0015, true, u"玩家自定义", {u"custom"}, u"9"},
      {5, true, u"军团要塞 2", {u"tf2"}, u"3"},
      {13, false, u"Dota 2 ", {}, u"3"},
      {0, false, u"", {}, u"3"},
      {21, false, u"Customisze", {u"custom"}, u"9"},
  };
  for (const auto& c : cases) {
    chinese = c.chinese;
    page.CategoryChosen(c.lParam);
    EXPECT_EQ(page.Category(), c.lParam & 0xFFFF);
    EXPECT_EQ(view.caption, c.caption) << c.lParam;
    EXPECT_EQ(view.Names(), c.names) << c.lParam;
    EXPECT_EQ(view.repeat, c.repeat) << c.lParam;
    if (c.names.empty()) {
      EXPECT_TRUE(view.events.empty());
    }
  }
}

TEST_F(MacroPageTest, ANewMacroIsNamedAndSelectedAndStoredWithItsFirstEvents) {
  Put(0, StoredMacro(0x15000001, u"old", {Press(VK_A), Release(VK_A)}, 5));
  page.FillMacroList(21);
  page.CategoryChosen(9);
  for (bool zh : {false, true}) {
    chinese = zh;
    clock.Advance(1);
    const uint32_t id = (9u << 24) | (clock.TickCount() & 0xFFFFFF);
    page.NewMacro();
    ASSERT_FALSE(view.macros.empty());
    EXPECT_EQ(view.macros.back().macroId, id);
    EXPECT_EQ(view.macros.back().name, zh ? u"新建宏" : u"New Macro");
    EXPECT_EQ(view.macroSelection, int(view.macros.size()) - 1);
    EXPECT_EQ(view.editing, view.macroSelection);
    EXPECT_TRUE(view.events.empty());
    EXPECT_EQ(view.repeat, u"1");
    EXPECT_FALSE(Stored(id)) << "stored before it has events";
  }
  // The user names the second one and records it: stored under its name.
  view.macros.back().name = u"Jump";
  page.MacroRenamed(view.macros.back());
  const uint32_t id = view.macros.back().macroId;
  EXPECT_FALSE(Stored(id));
  page.Recorder().RecordButton();
  Tap(VK_B);
  page.Recorder().RecordButton();
  ASSERT_TRUE(InFile(id));
  EXPECT_EQ(MacroName(*InFile(id)), u"Jump");
  EXPECT_EQ(Events(*InFile(id)), (std::vector<MacroEvent>{Press(VK_B), Delay(10), Release(VK_B)}));
}

TEST_F(MacroPageTest, ANameGivenBeforeAnyEventIsLostWhenTheCategoryIsLeft) {
  page.FillMacroList(21);
  page.NewMacro();
  view.macros.back().name = u"Unsaved";
  page.MacroRenamed(view.macros.back());
  page.CategoryChosen(3);
  page.CategoryChosen(21);
  EXPECT_TRUE(view.macros.empty());
}

TEST_F(MacroPageTest, RenamingAStoredMacroRewritesTheFile) {
  Put(2, StoredMacro(0x15000001, u"before", {Press(VK_A), Release(VK_A)}));
  page.FillMacroList(21);
  const struct {
    std::u16string typed, stored;
  } cases[] = {
      {u"after", u"after"},
      {u"", u""},
      {std::u16string(45, u'x'), std::u16string(39, u'x')},
  };
  for (const auto& c : cases) {
    page.MacroRenamed({0x15000001, c.typed});
    ASSERT_TRUE(InFile(0x15000001));
    EXPECT_EQ(MacroName(*InFile(0x15000001)), c.stored);
    EXPECT_EQ(Events(*InFile(0x15000001)), (std::vector<MacroEvent>{Press(VK_A), Release(VK_A)}));
  }
}

TEST_F(MacroPageTest, AMacroAssignedAnywhereIsNotDeleted) {
  constexpr uint32_t kId = 0x15000001;
  const struct {
    const char* where;
    std::function<void(ProfileSlotTable&, SettingsBlock&)> assign;
    bool inUse;
  } cases[] = {
      {"nowhere", [](ProfileSlotTable&, SettingsBlock&) {}, false},
      {"slot 5 input 7", [](ProfileSlotTable& s, SettingsBlock&) { s[4].macroIds[6] = int32_t(kId); }, true},
      {"slot 1 input 1", [](ProfileSlotTable& s, SettingsBlock&) { s[0].macroIds[0] = int32_t(kId); }, true},
      {"a macro button of the block", [](ProfileSlotTable&, SettingsBlock& b) {
         b.buttons[2].type = 6;
         b.buttons[2].macroId = int32_t(kId);
       }, true},
      {"the id left in a key button", [](ProfileSlotTable&, SettingsBlock& b) {
         b.buttons[2].type = 1;
         b.buttons[2].macroId = int32_t(kId);
       }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where);
    slots = {};
    block = {};
    c.assign(slots, block);
    Put(0, StoredMacro(0x15000002, u"keep", {Press(VK_B), Release(VK_B)}));
    Put(1, StoredMacro(kId, u"target", {Press(VK_A), Release(VK_A)}));
    page.FillMacroList(21);
    ASSERT_EQ(view.macroSelection, 1);
    view.pageMessages.clear();
    page.DeleteMacro();
    if (c.inUse) {
      EXPECT_EQ(view.pageMessages, (std::vector<std::u16string>{u"The macro is being applied and cannot be deleted!"}));
      EXPECT_TRUE(Stored(kId));
      EXPECT_EQ(view.Names(), (std::vector<std::u16string>{u"keep", u"target"}));
      EXPECT_FALSE(view.events.empty());
    } else {
      EXPECT_TRUE(view.pageMessages.empty());
      EXPECT_FALSE(Stored(kId));
      EXPECT_FALSE(InFile(kId));
      EXPECT_EQ(view.Names(), (std::vector<std::u16string>{u"keep"}));
      EXPECT_TRUE(view.events.empty());
      EXPECT_TRUE(InFile(0x15000002));
    }
  }
  chinese = true;
  slots[0].macroIds[3] = int32_t(kId);
  Put(1, StoredMacro(kId, u"target", {Press(VK_A)}));
  page.FillMacroList(21);
  view.pageMessages.clear();
  page.DeleteMacro();
  EXPECT_EQ(view.pageMessages, (std::vector<std::u16string>{u"当前宏正在被使用，不能删除！"}));
}

TEST_F(MacroPageTest, DeletingWithoutASelectionOrANeverStoredMacro) {
  page.FillMacroList(21);
  page.DeleteMacro();  // nothing selected: nothing happens
  EXPECT_TRUE(view.pageMessages.empty());
  EXPECT_EQ(*fs.FileContent(kPath), std::vector<uint8_t>(kMacroLibrarySize, 0));

  page.NewMacro();
  const uint32_t id = view.macros.back().macroId;
  page.DeleteMacro();
  EXPECT_TRUE(view.macros.empty());
  EXPECT_FALSE(InFile(id));
  // The item that takes its place is selectable again.
  Put(0, StoredMacro(0x15000001, u"a", {Press(VK_A), Release(VK_A)}));
  Put(1, StoredMacro(0x15000002, u"b", {Press(VK_B), Release(VK_B)}));
  page.FillMacroList(21);
  page.DeleteMacro();
  Select(0);
  EXPECT_EQ(EventTexts(view.events), (std::vector<std::u16string>{u"A", u"A"}));
}

TEST_F(MacroPageTest, SelectingAnotherMacroWhileRecordingStoresTheRecordingInTheRecordedMacro) {
  Put(0, StoredMacro(0x15000001, u"a", {Press(VK_A), Release(VK_A)}));
  Put(1, StoredMacro(0x15000002, u"b", {Press(VK_B), Release(VK_B)}, 6));
  page.FillMacroList(21);
  Select(0);
  page.Recorder().RecordButton();
  EXPECT_FALSE(view.buttonsEnabled);
  Tap(VK_B);
  Tap(VK_B);
  Select(1);
  EXPECT_FALSE(page.Recorder().Recording());
  EXPECT_TRUE(view.buttonsEnabled);
  EXPECT_EQ(view.recordCaption, RecordCaption::StartRecord);
  EXPECT_EQ(Events(*InFile(0x15000001)),
            (std::vector<MacroEvent>{Press(VK_B), Delay(10), Release(VK_B), Delay(10), Press(VK_B), Delay(10), Release(VK_B)}));
  EXPECT_EQ(EventTexts(view.events), (std::vector<std::u16string>{u"B", u"B"}));
  EXPECT_EQ(view.repeat, u"6");
}

TEST_F(MacroPageTest, ChoosingACategoryWhileRecordingStoresTheRecordingFirst) {
  Put(0, StoredMacro(0x15000001, u"a", {Press(VK_A), Release(VK_A)}));
  page.FillMacroList(21);
  page.Recorder().RecordButton();
  Tap(VK_B);
  page.CategoryChosen(4);
  EXPECT_FALSE(page.Recorder().Recording());
  EXPECT_EQ(Events(*InFile(0x15000001)), (std::vector<MacroEvent>{Press(VK_B), Delay(10), Release(VK_B)}));
  EXPECT_TRUE(view.macros.empty());
  EXPECT_TRUE(view.events.empty());
}

TEST_F(MacroPageTest, TheRepeatCountTypedIsStoredWithinItsLimits) {
  Put(0, StoredMacro(0x15000001, u"a", {Press(VK_A), Release(VK_A)}));
  page.FillMacroList(21);
  const struct {
    std::u16string typed;
    uint32_t stored;
    std::u16string afterCheck;
  } cases[] = {
      {u"5", 5, u"5"},   {u"65533", 65533, u"65533"}, {u"65534", 65533, u"65533"}, {u"99999", 65533, u"65533"},
      {u"0", 1, u"1"},   {u"", 1, u"1"},              {u"007", 7, u"7"},
  };
  for (const auto& c : cases) {
    page.Recorder().RepeatTextChanged(c.typed);
    EXPECT_EQ(InFile(0x15000001)->repeatCount, c.stored) << Utf8FromUtf16(c.typed);
    page.Recorder().CheckRepeatText();
    EXPECT_EQ(page.Recorder().RepeatText(), c.afterCheck) << Utf8FromUtf16(c.typed);
    EXPECT_EQ(InFile(0x15000001)->repeatCount, c.stored) << Utf8FromUtf16(c.typed);
  }
}

TEST_F(MacroPageTest, ANewMacroInAFullLibraryIsRefusedWhenItIsStored) {
  for (size_t i = 0; i < kMacroEntryCount; ++i)
    Put(i, StoredMacro(0x01000000 + uint32_t(i), u"full", {Press(VK_A), Release(VK_A)}));
  page.FillMacroList(21);
  page.NewMacro();
  const uint32_t id = view.macros.back().macroId;
  page.Recorder().RecordButton();
  Tap(VK_A);
  page.Recorder().RecordButton();
  EXPECT_EQ(view.recorderMessages, (std::vector<RecorderMessage>{RecorderMessage::LibraryFull}));
  EXPECT_FALSE(Stored(id));
  // The list keeps the macro and its events: nothing the user made vanishes from sight.
  EXPECT_EQ(view.macros.size(), 1u);
  EXPECT_EQ(view.events.size(), 3u);
}

}  // namespace
}  // namespace nx7
