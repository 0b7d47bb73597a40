#include "macros/macro_recorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
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

constexpr uint32_t kIdA = 0x15000001;
constexpr uint32_t kIdB = 0x15000002;
constexpr uint32_t kIdNew = 0x15000003;  // in the macro list, never stored
constexpr uint32_t VK_A = 'A', VK_B = 'B', VK_SHIFT = 0xA0;

// The macro page as the recorder sees it: the list box mirrors what it is told, the controls
// keep their last state, and the repeat edit reports its changes back as the real edit does.
class FakePage : public MacroRecorderView {
 public:
  void ClearEvents() override {
    list.clear();
    selection = -1;
  }
  void AddEvent(const EventItem& item) override {
    list.push_back(item);
    selection = int(list.size()) - 1;
  }
  void InsertEvent(int index, const EventItem& item) override {
    list.insert(list.begin() + index, item);
    selection = index;
  }
  void ReplaceEvent(int index, const EventItem& item) override {
    list.at(size_t(index)) = item;
    selection = index;
  }
  void DeleteEvent(int index) override {
    list.erase(list.begin() + index);
    selection = selection == index ? -1 : selection > index ? selection - 1 : selection;
  }
  void SetEventListRedraw(bool redraw) override { redrawOff += redraw ? 0 : 1; }
  void ShowControl(EditorControl control, bool shown) override { this->shown[control] = shown; }
  void SetChoiceChecked(EditorControl choice, bool checked) override { this->checked[choice] = checked; }
  void EnableEditButtons(bool enabled) override { buttonsEnabled = enabled; }
  void SetEditText(EditorEdit edit, std::u16string_view text) override {
    texts[edit] = std::u16string(text);
    if (edit == EditorEdit::Repeat && echo) echo(text);
  }
  void FocusEdit(EditorEdit edit) override { focused = edit; }
  void MoveCaretToEnd(EditorEdit edit) override { caretToEnd.push_back(edit); }
  void SetRecordCaption(RecordCaption caption) override { this->caption = caption; }
  void ShowMessage(RecorderMessage message) override { messages.push_back(message); }
  void ShowStoreOutcome(const StoreOutcome& outcome) override { outcomes += int(outcome.steps.size()); }
  void DebugMessage(std::string_view text) override { debug.emplace_back(text); }
  int MacroSelection() override { return macroSelection; }
  std::optional<MacroListItem> MacroAt(int index) override {
    if (index < 0 || size_t(index) >= macros.size()) return std::nullopt;
    return macros[size_t(index)];
  }

  bool Shown(EditorControl control) const { return shown.count(control) && shown.at(control); }
  bool Checked(EditorControl control) const { return checked.count(control) && checked.at(control); }
  std::u16string Text(EditorEdit edit) const { return texts.count(edit) ? texts.at(edit) : u""; }

  std::vector<EventItem> list;
  int selection = -1;
  int redrawOff = 0;
  std::map<EditorControl, bool> shown, checked;
  bool buttonsEnabled = true;
  std::map<EditorEdit, std::u16string> texts{{EditorEdit::Repeat, u"1"}};
  std::optional<EditorEdit> focused;
  std::vector<EditorEdit> caretToEnd;
  RecordCaption caption = RecordCaption::StartRecord;
  std::vector<RecorderMessage> messages;
  int outcomes = 0;
  std::vector<std::string> debug;
  std::vector<MacroListItem> macros{{kIdA, u"Macro A"}, {kIdB, u"Macro B"}, {kIdNew, u"New Macro"}};
  int macroSelection = 0;
  std::function<void(std::u16string_view)> echo;
};

// "v A" pressed, "^ A" released, "50  ms" a delay.
std::vector<std::string> Describe(const std::vector<EventItem>& items) {
  std::vector<std::string> out;
  for (const EventItem& item : items) {
    const std::string text = Utf8FromUtf16(item.text);
    out.push_back(item.kind == EventItemKind::Press     ? "v " + text
                  : item.kind == EventItemKind::Release ? "^ " + text
                                                        : text);
  }
  return out;
}

// Whether each press has its release later in the list.
bool EveryPressReleased(const std::vector<EventItem>& items) {
  std::vector<uint32_t> held;
  for (const EventItem& item : items) {
    const auto at = std::find(held.begin(), held.end(), item.value);
    if (item.kind == EventItemKind::Press && at == held.end()) held.push_back(item.value);
    if (item.kind == EventItemKind::Release && at != held.end()) held.erase(at);
  }
  return held.empty();
}

std::vector<MacroEvent> Events(const MacroEntry& entry) {
  const std::span<const MacroEvent> events = MacroEvents(entry);
  return {events.begin(), events.end()};
}

class MacroRecorderTest : public ::testing::Test {
 protected:
  MacroRecorderTest() {
    fs.PutFile(kPath, std::vector<uint8_t>(kMacroLibrarySize, 0));
    EXPECT_TRUE(hooks.InstallHooks(kMainWindow));
    hooks.SetNotifyFlags(false, true);
    page.echo = [this](std::u16string_view text) { recorder.RepeatTextChanged(text); };
  }
  void TearDown() override {
    // The list box never drifts from the recorder's list.
    EXPECT_EQ(Describe(page.list), Describe(recorder.Events()));
    EXPECT_EQ(page.selection, recorder.Selection());
  }

  void Put(size_t index, const MacroEntry& entry) { (*library)[index] = entry; }
  const MacroEntry& Entry(uint32_t id) { return (*library)[FindMacroById(*library, id).value()]; }

  // Delivers the posts the page would receive.
  void Pump() {
    for (const PostedMessage& post : poster.Take()) {
      if (post.window == kMacroPage && post.message == WM_MACRO_INPUT) {
        recorder.MacroInput(uint32_t(post.wParam), uint32_t(post.lParam));
      }
    }
  }
  // A key event anywhere on the desktop, `afterMs` after the previous one.
  void Key(uint32_t vk, bool released, uint32_t afterMs = 10) {
    clock.Advance(afterMs);
    hooks.OnKeyboardEvent(vk, released ? InputHooks::kKeyReleasedFlag : 0);
    Pump();
  }
  void Pad(MousePad pad, bool released) {
    recorder.PadEvent(pad, released);
    Pump();
  }
  void Select(int index) {
    page.selection = index;
    recorder.EventSelectionChanged(index);
  }
  std::vector<std::string> List() const { return Describe(recorder.Events()); }

  VirtualFileSystem fs;
  VirtualClock clock{0x10000};
  std::unique_ptr<MacroLibrary> library = std::make_unique<MacroLibrary>();
  MacroStore store{fs, clock, kFolder, *library};
  RecordingPoster poster;
  VirtualHookInstaller installer;
  InputHooks hooks{poster, installer};
  FakePage page;
  MacroRecorder recorder{page, hooks, poster, kMacroPage, clock, *library, store};
};

TEST(KeyNameTableTest, NamesTheLowByteByTheFirstMatchingRow) {
  const struct {
    uint32_t value;
    std::u16string_view name;
  } cases[] = {
      {0x51, u"Q"},          {0xC0, u"~"},           {0x14, u"Cap"},   {0x1B, u"ESC"},
      {0x65, u"NUM 5"},      {0x6C, u"NUM Enter"},   {0x7B, u"F12"},   {0x21, u"Page Up"},
      {0x01, u"Left Button"}, {0x104, u"Middle Button"}, {0xA3, u"R_Ctrl"}, {0x10, u""},
      {0x00, u""},           {0xFF, u""},
  };
  for (const auto& c : cases) EXPECT_EQ(GetKeyName(c.value), c.name) << std::hex << c.value;

  const EventItem delay = MakeEventItem(EventItemKind::Delay, 0x1000096);
  EXPECT_EQ(delay.text, u"150  ms");
  EXPECT_EQ(delay.ItemValue(), 0x04000096u);
  EXPECT_EQ(MakeEventItem(EventItemKind::Release, 0x41).ItemValue(), 0x02000041u);
  EXPECT_EQ(MakeEventItem(EventItemKind::Press, 0x41).ItemValue(), 0x03000041u);
}

TEST(RecorderTextsTest, BothLanguages) {
  EXPECT_EQ(RecordCaptionText(RecordCaption::StartRecord, false), u"Start Record");
  EXPECT_EQ(RecordCaptionText(RecordCaption::StopRecord, true), u"停止录制");
  EXPECT_EQ(RecorderMessageText(RecorderMessage::RecordRefusedKeyEdit, false),
            u"It is Modifying or inserting a button,you can not record");
  EXPECT_EQ(RecorderMessageText(RecorderMessage::RecordRefusedDelayEdit, true), u"正在修改/插入一个延时，无法录制");
  for (RecorderMessage m : {RecorderMessage::MacroFull, RecorderMessage::LibraryFull}) {
    EXPECT_FALSE(RecorderMessageText(m, false).empty());
    EXPECT_NE(RecorderMessageText(m, true), RecorderMessageText(m, false));
  }
}

TEST_F(MacroRecorderTest, LoadShowsTheThreeKindsAndStopsAtABadEvent) {
  Put(3, StoredMacro(kIdA, u"Macro A", {Press(VK_A), Delay(50), Release(VK_A), 0x12000041, Press(VK_B)}, 5));
  recorder.LoadMacroToList(0);
  EXPECT_EQ(List(), (std::vector<std::string>{"v A", "50  ms", "^ A"}));
  EXPECT_EQ(recorder.Events()[1].ItemValue(), 0x04000032u);
  EXPECT_EQ(recorder.Selection(), 2) << "each added item is selected";
  EXPECT_EQ(page.Text(EditorEdit::Repeat), u"5");
  EXPECT_EQ(page.debug, std::vector<std::string>{"LoadMacroToList:  Not a vaild item"});
  EXPECT_EQ(page.redrawOff, 1);
  EXPECT_EQ(Events(Entry(kIdA)).size(), 5u) << "loading stores nothing";

  // A single press shows the repeat text "1"; with two entries of one id the last is shown.
  Put(7, StoredMacro(kIdB, u"Macro B", {Press(VK_B)}, kSinglePressRepeat));
  Put(9, StoredMacro(kIdB, u"Macro B", {Release(VK_B)}, 0xFFFE));
  recorder.LoadMacroToList(1);
  EXPECT_EQ(List(), (std::vector<std::string>{"^ B"}));
  EXPECT_EQ(page.Text(EditorEdit::Repeat), u"1");

  // A macro never stored: empty list, repeat text unchanged; -1 does nothing at all.
  recorder.RepeatTextChanged(u"9");
  recorder.LoadMacroToList(2);
  EXPECT_TRUE(List().empty());
  EXPECT_EQ(recorder.RepeatText(), u"9");
  Put(3, StoredMacro(kIdA, u"Macro A", {Press(VK_A)}));
  recorder.LoadMacroToList(-1);
  EXPECT_TRUE(List().empty());
}

TEST_F(MacroRecorderTest, RecordsKeysWithDelaysAndStoresOnStop) {
  page.macroSelection = 2;
  recorder.RecordButton();
  ASSERT_TRUE(recorder.Recording());
  EXPECT_EQ(page.caption, RecordCaption::StopRecord);
  EXPECT_FALSE(page.buttonsEnabled);
  EXPECT_TRUE(hooks.RecordMode());
  EXPECT_EQ(hooks.Target(), kMacroPage);

  Key(VK_A, false, 500);
  Key(VK_A, false, 250);  // the system's repeats of a held key
  Key(VK_A, false, 30);
  Key(VK_A, true, 20);
  Key(VK_B, false, 100);
  Key(VK_B, true, 40);
  EXPECT_EQ(List(), (std::vector<std::string>{"v A", "300  ms", "^ A", "100  ms", "v B", "40  ms", "^ B"}));
  EXPECT_EQ(recorder.RecordedKeyCount(), 4u);

  hooks.OnKeyboardEvent(VK_A, 0);  // still queued when the recording stops
  recorder.RecordButton();
  Pump();
  EXPECT_FALSE(recorder.Recording());
  EXPECT_EQ(page.caption, RecordCaption::StartRecord);
  EXPECT_TRUE(page.buttonsEnabled);
  EXPECT_FALSE(hooks.RecordMode());
  EXPECT_EQ(hooks.Target(), kMainWindow);
  EXPECT_EQ(recorder.Events().size(), 7u) << "a key arriving after the stop is not recorded";

  const MacroEntry& stored = Entry(kIdNew);
  EXPECT_EQ(Events(stored), (std::vector<MacroEvent>{Press(VK_A), Delay(300), Release(VK_A), Delay(100), Press(VK_B),
                                                      Delay(40), Release(VK_B)}));
  EXPECT_EQ(stored.entrySize, 4100u + 4 * 7);
  EXPECT_EQ(stored.entrySignature, kMacroEntrySignature);
  EXPECT_EQ(stored.repeatCount, 1u);
  EXPECT_EQ(MacroName(stored), u"New Macro");
  EXPECT_EQ(fs.FileContent(kPath)->size(), kMacroLibrarySize);
}

TEST_F(MacroRecorderTest, DelayToggleAndTheLastPairAcrossRecordings) {
  recorder.ToggleDelays();  // no delays
  recorder.RecordButton();
  Key(VK_A, false, 500);
  Key(VK_A, true, 100);
  recorder.ToggleDelays();  // delays again: counted from the last key recorded with them (none)
  Key(VK_B, false, 70);
  Key(VK_B, true, 30);
  recorder.ToggleDelays();
  Key(VK_SHIFT, false, 200);
  recorder.ToggleDelays();
  Key(VK_SHIFT, true, 5);  // 5 + 200 ms after B's release
  EXPECT_EQ(List(), (std::vector<std::string>{"v A", "^ A", "v B", "30  ms", "^ B", "v L_Shift", "205  ms",
                                              "^ L_Shift"}));
  recorder.RecordButton();

  // The previous recording ended with Shift's release: a new one drops that event first.
  page.macroSelection = 1;
  recorder.RecordButton();
  Key(VK_SHIFT, true);
  Key(VK_SHIFT, false);
  EXPECT_EQ(List(), (std::vector<std::string>{"v L_Shift"}));
  recorder.RecordButton();
  EXPECT_EQ(Entry(kIdB).repeatCount, kSinglePressRepeat) << "a macro of one press";
}

TEST_F(MacroRecorderTest, RecordingStoppedBeforeAnyKeyLeavesTheEntry) {
  Put(0, StoredMacro(kIdA, u"Macro A", {Press(VK_A), Release(VK_A)}, 3));
  recorder.LoadMacroToList(0);
  const std::vector<uint8_t> before = *fs.FileContent(kPath);
  recorder.RecordButton();
  EXPECT_TRUE(List().empty());
  recorder.RecordButton();
  EXPECT_TRUE(List().empty());
  EXPECT_EQ(Events(Entry(kIdA)), (std::vector<MacroEvent>{Press(VK_A), Release(VK_A)}));
  EXPECT_EQ(*fs.FileContent(kPath), before);
  recorder.LoadMacroToList(0);
  EXPECT_EQ(List(), (std::vector<std::string>{"v A", "^ A"}));

  page.macroSelection = -1;  // no macro selected: the record button does not start
  recorder.RecordButton();
  EXPECT_FALSE(recorder.Recording());
}

TEST_F(MacroRecorderTest, RecordButtonIsRefusedInEveryEditMode) {
  Put(0, StoredMacro(kIdA, u"Macro A", {Press(VK_A), Delay(50), Release(VK_A)}));
  const struct {
    std::function<void()> enter;
    EditMode mode;
    RecorderMessage message;
  } cases[] = {
      {[&] { recorder.Insert(); }, EditMode::InsertKey, RecorderMessage::RecordRefusedKeyEdit},
      {[&] { recorder.Insert(), recorder.DelayChoice(); }, EditMode::InsertDelay, RecorderMessage::RecordRefusedDelayEdit},
      {[&] { Select(0), recorder.Modify(); }, EditMode::ChangeKey, RecorderMessage::RecordRefusedKeyEdit},
      {[&] { Select(1), recorder.Modify(); }, EditMode::ChangeDelay, RecorderMessage::RecordRefusedDelayEdit},
  };
  for (const auto& c : cases) {
    recorder.LoadMacroToList(0);
    Select(2);
    page.messages.clear();
    c.enter();
    ASSERT_EQ(recorder.Mode(), c.mode);
    const bool hookRecording = hooks.RecordMode();
    recorder.RecordButton();
    EXPECT_EQ(page.messages, std::vector<RecorderMessage>{c.message});
    EXPECT_EQ(recorder.Mode(), c.mode);
    EXPECT_FALSE(recorder.Recording());
    EXPECT_EQ(hooks.RecordMode(), hookRecording);
    EXPECT_EQ(List().size(), 3u);
    Select(-1);  // another selection ends the edit
    EXPECT_EQ(recorder.Mode(), EditMode::None);
    EXPECT_FALSE(hooks.RecordMode());
    EXPECT_FALSE(page.Shown(EditorControl::KeyEdit) || page.Shown(EditorControl::DelayEdit));
  }
}

TEST_F(MacroRecorderTest, InsertAndChangeAKey) {
  Put(0, StoredMacro(kIdA, u"Macro A", {Press(VK_A), Delay(50), Release(VK_A)}));
  recorder.LoadMacroToList(0);
  Select(2);
  recorder.Insert();
  EXPECT_TRUE(page.Shown(EditorControl::KeyChoice) && page.Shown(EditorControl::DelayChoice));
  EXPECT_FALSE(page.Checked(EditorControl::KeyChoice) || page.Checked(EditorControl::DelayChoice));
  recorder.DelayChoice();  // the user changes their mind
  EXPECT_EQ(recorder.Mode(), EditMode::InsertDelay);
  EXPECT_EQ(page.focused, EditorEdit::Delay);
  recorder.KeyChoice();
  EXPECT_EQ(recorder.Mode(), EditMode::InsertKey);
  EXPECT_TRUE(page.Shown(EditorControl::KeyEdit) && page.Shown(EditorControl::KeyConfirm));
  EXPECT_FALSE(page.Shown(EditorControl::DelayEdit) || page.Shown(EditorControl::DelayConfirm));
  EXPECT_TRUE(hooks.RecordMode());
  Key(VK_B, false);
  Key(VK_B, true);
  EXPECT_EQ(recorder.CapturedKey(), VK_B);
  EXPECT_EQ(page.Text(EditorEdit::Key), u"B");
  EXPECT_EQ(recorder.Events().size(), 3u) << "a captured key is not recorded";
  recorder.KeyConfirm();
  EXPECT_EQ(List(), (std::vector<std::string>{"v A", "50  ms", "v B", "^ B", "^ A"}));
  EXPECT_EQ(recorder.Selection(), 3);
  EXPECT_EQ(recorder.Mode(), EditMode::None);
  EXPECT_FALSE(hooks.RecordMode());
  EXPECT_FALSE(page.Shown(EditorControl::KeyChoice) || page.Shown(EditorControl::KeyEdit));
  EXPECT_EQ(Events(Entry(kIdA)).size(), 5u);

  // Change the release of A to the right pad (key code 2), keeping the kind.
  Select(4);
  recorder.Modify();
  EXPECT_EQ(recorder.Mode(), EditMode::ChangeKey);
  EXPECT_TRUE(page.Checked(EditorControl::KeyChoice));
  EXPECT_FALSE(page.Shown(EditorControl::DelayChoice));
  recorder.KeyChoice();  // stays a change
  EXPECT_EQ(recorder.Mode(), EditMode::ChangeKey);
  Pad(MousePad::Right, false);
  recorder.KeyConfirm();
  EXPECT_EQ(List(), (std::vector<std::string>{"v A", "50  ms", "v B", "^ B", "^ Right Button"}));
  EXPECT_EQ(Events(Entry(kIdA)).back(), Release(2));

  // Without a captured key, or with no event selected, nothing changes.
  Select(0);
  recorder.Modify();
  recorder.KeyConfirm();
  Select(-1);
  recorder.Modify();
  EXPECT_EQ(recorder.Mode(), EditMode::None);
  EXPECT_EQ(List(), (std::vector<std::string>{"v A", "50  ms", "v B", "^ B", "^ Right Button"}));
}

TEST_F(MacroRecorderTest, InsertADelay) {
  const struct {
    int selected;
    std::u16string text;
    std::vector<std::string> expected;
  } cases[] = {
      {3, u"100", {"v A", "^ A", "v B", "150  ms", "^ B"}},  // the delay after joins
      {4, u"100", {"v A", "^ A", "v B", "150  ms", "^ B"}},  // the delay before joins
      {2, u"100", {"v A", "^ A", "100  ms", "v B", "50  ms", "^ B"}},
      {0, u"100", {"v A", "^ A", "v B", "50  ms", "^ B"}},  // never before the first event
      {2, u"", {"v A", "^ A", "v B", "50  ms", "^ B"}},
      {2, u"1x", {"v A", "^ A", "v B", "50  ms", "^ B"}},
      {-1, u"100", {"v A", "^ A", "v B", "50  ms", "^ B"}},
  };
  for (const auto& c : cases) {
    Put(0, StoredMacro(kIdA, u"Macro A", {Press(VK_A), Release(VK_A), Press(VK_B), Delay(50), Release(VK_B)}));
    recorder.LoadMacroToList(0);
    Select(c.selected);
    recorder.Insert();
    recorder.DelayChoice();
    EXPECT_FALSE(hooks.RecordMode());
    recorder.DelayConfirm(c.text);
    EXPECT_EQ(List(), c.expected) << c.selected << " " << Utf8FromUtf16(c.text);
    EXPECT_EQ(Events(Entry(kIdA)).size(), c.expected.size());
    EXPECT_EQ(recorder.Mode(), EditMode::None);
    EXPECT_FALSE(page.Shown(EditorControl::DelayEdit));
  }

  // A sum stops at 327670.
  Put(0, StoredMacro(kIdA, u"Macro A", {Press(VK_A), Delay(327600), Release(VK_A)}));
  recorder.LoadMacroToList(0);
  Select(2);
  recorder.Insert();
  recorder.DelayChoice();
  recorder.DelayConfirm(u"9999");
  EXPECT_EQ(Events(Entry(kIdA))[1], Delay(327670));
}

TEST_F(MacroRecorderTest, ChangeADelay) {
  const struct {
    std::u16string text;
    MacroEvent expected;
  } cases[] = {
      {u"75", Delay(75)}, {u"0", Delay(0)}, {u"99999999", Delay(16777215)}, {u"", Delay(50)}, {u"7a", Delay(50)},
  };
  for (const auto& c : cases) {
    Put(0, StoredMacro(kIdA, u"Macro A", {Press(VK_A), Delay(50), Release(VK_A)}));
    recorder.LoadMacroToList(0);
    Select(1);
    recorder.Modify();
    EXPECT_EQ(recorder.Mode(), EditMode::ChangeDelay);
    EXPECT_TRUE(page.Checked(EditorControl::DelayChoice));
    EXPECT_FALSE(page.Shown(EditorControl::KeyChoice));
    EXPECT_FALSE(hooks.RecordMode());
    recorder.DelayConfirm(c.text);
    EXPECT_EQ(Events(Entry(kIdA))[1], c.expected) << Utf8FromUtf16(c.text);
    EXPECT_EQ(recorder.Mode(), EditMode::None);
  }
}

TEST_F(MacroRecorderTest, StoringMergesDelaysAndSkipsLeadingOnes) {
  Put(0, StoredMacro(kIdA, u"Macro A",
                     {Delay(10), Press(VK_A), Delay(20), Delay(30), Delay(327660), Release(VK_A), Delay(5)}));
  recorder.LoadMacroToList(0);
  recorder.RepeatTextChanged(u"3");
  EXPECT_EQ(List(), (std::vector<std::string>{"10  ms", "v A", "327670  ms", "^ A", "5  ms"}));
  const MacroEntry& stored = Entry(kIdA);
  EXPECT_EQ(Events(stored), (std::vector<MacroEvent>{Press(VK_A), Delay(327670), Release(VK_A), Delay(5)}));
  EXPECT_EQ(stored.entrySize, 4100u + 4 * 5) << "the size counts the list's items";
  EXPECT_EQ(stored.repeatCount, 3u);
  EXPECT_EQ(stored.macroEvents[4], 0u);
}

TEST_F(MacroRecorderTest, DeletingEvents) {
  Put(0, StoredMacro(kIdA, u"Macro A", {Press(VK_A), Delay(50), Release(VK_A)}));
  recorder.LoadMacroToList(0);
  Select(0);
  recorder.DeleteEvent();
  EXPECT_EQ(recorder.Selection(), -1);
  recorder.DeleteEvent();  // nothing selected
  Select(1);
  recorder.DeleteEvent();
  EXPECT_EQ(List(), (std::vector<std::string>{"50  ms"}));
  const MacroEntry& stored = Entry(kIdA);
  EXPECT_EQ(stored.eventCount, 0u) << "only delays";
  EXPECT_EQ(stored.entrySize, 4104u);

  Select(0);
  recorder.DeleteEvent();
  EXPECT_TRUE(List().empty());
  EXPECT_EQ(Entry(kIdA).entrySize, 4104u) << "deleting the last event stores nothing";
}

TEST_F(MacroRecorderTest, RepeatTextCheckAndStoredRepeatCount) {
  Put(0, StoredMacro(kIdA, u"Macro A", {Press(VK_A), Release(VK_A)}));
  recorder.LoadMacroToList(0);
  const struct {
    std::u16string typed;
    uint32_t stored;
    std::u16string checked;
  } cases[] = {
      {u"007", 7, u"7"},      {u"0", 1, u"1"},   {u"000", 1, u"1"},     {u"99999", 65533, u"65533"},
      {u"12", 12, u"12"},     {u"", 1, u"1"},    {u"65533", 65533, u"65533"},
  };
  for (const auto& c : cases) {
    page.texts[EditorEdit::Repeat] = c.typed;
    page.caretToEnd.clear();
    recorder.RepeatTextChanged(c.typed);
    EXPECT_EQ(Entry(kIdA).repeatCount, c.stored) << Utf8FromUtf16(c.typed);
    recorder.CheckRepeatText();
    EXPECT_EQ(page.Text(EditorEdit::Repeat), c.checked) << Utf8FromUtf16(c.typed);
    EXPECT_EQ(recorder.RepeatText(), c.checked);
    EXPECT_EQ(Entry(kIdA).repeatCount, c.stored);
    EXPECT_EQ(page.caretToEnd.size(), c.typed == u"007" ? 1u : 0u);
  }
}

TEST_F(MacroRecorderTest, PadsWorkOnlyWhileRecordingOrCapturing) {
  Pad(MousePad::Left, false);
  EXPECT_TRUE(poster.Take().empty());
  EXPECT_TRUE(List().empty()) << "a pad click with neither recording nor a key edit does nothing";

  recorder.ToggleDelays();
  recorder.RecordButton();
  for (MousePad pad : {MousePad::Left, MousePad::Middle, MousePad::Right}) {
    recorder.PadEvent(pad, false);
    recorder.PadEvent(pad, true);
  }
  EXPECT_EQ(poster.Take(), (std::vector<PostedMessage>{{kMacroPage, WM_MACRO_INPUT, 1, 0},
                                                       {kMacroPage, WM_MACRO_INPUT, 1, 0x80},
                                                       {kMacroPage, WM_MACRO_INPUT, 4, 0},
                                                       {kMacroPage, WM_MACRO_INPUT, 4, 0x80},
                                                       {kMacroPage, WM_MACRO_INPUT, 2, 0},
                                                       {kMacroPage, WM_MACRO_INPUT, 2, 0x80}}));
  recorder.RecordButton();

  Put(0, StoredMacro(kIdA, u"Macro A", {Press(VK_A), Release(VK_A)}));
  recorder.LoadMacroToList(0);
  Select(0);
  recorder.Insert();
  recorder.KeyChoice();
  Pad(MousePad::Middle, false);
  EXPECT_EQ(page.Text(EditorEdit::Key), u"Middle Button");
  EXPECT_EQ(recorder.CapturedKey(), 4u);
}

TEST_F(MacroRecorderTest, RecordingStopsTakingKeysAt999) {
  recorder.ToggleDelays();
  recorder.RecordButton();
  for (int i = 0; i < 600; ++i) {
    Key(VK_A, false);
    Key(VK_A, true);
  }
  // 998 balanced key items: a 999th would be a press whose release could not follow.
  EXPECT_EQ(recorder.RecordedKeyCount(), 998u);
  EXPECT_EQ(page.messages, std::vector<RecorderMessage>{RecorderMessage::MacroFull});
  EXPECT_EQ(List().back(), "^ A");
  recorder.RecordButton();
  EXPECT_EQ(Entry(kIdA).eventCount, 998u);
}

TEST_F(MacroRecorderTest, RecordingWithDelaysStopsAtTheEntrysThousandEvents) {
  recorder.RecordButton();
  Key(VK_SHIFT, false);  // held through the whole recording
  for (int i = 0; i < 400; ++i) {
    Key(VK_A, false);
    Key(VK_A, true);
    Key(VK_B, false);  // refused once full, and so is its release
    Key(VK_B, true);
  }
  const size_t full = recorder.Events().size();
  EXPECT_GT(full, kMacroEventCapacity - 8) << "refused only when the next key no longer fits";
  Key(VK_SHIFT, true);
  EXPECT_EQ(List().back(), "^ L_Shift") << "room was kept for the held key";
  EXPECT_EQ(recorder.Events().size(), full + 2);
  EXPECT_LE(recorder.Events().size(), kMacroEventCapacity);
  EXPECT_TRUE(EveryPressReleased(recorder.Events()));
  EXPECT_EQ(page.messages, std::vector<RecorderMessage>{RecorderMessage::MacroFull});
  recorder.RecordButton();
  const MacroEntry& stored = Entry(kIdA);
  EXPECT_EQ(stored.eventCount, recorder.Events().size());
  EXPECT_EQ(stored.entrySize, 4100 + 4 * stored.eventCount);
}

TEST_F(MacroRecorderTest, InsertingIntoAFullMacroIsRefused) {
  MacroEntry full = StoredMacro(kIdA, u"Macro A", {});
  for (size_t i = 0; i < kMacroEventCapacity - 1; ++i) full.macroEvents[i] = i % 2 ? Release(VK_A) : Press(VK_A);
  full.eventCount = kMacroEventCapacity - 1;
  full.entrySize = 4100 + 4 * full.eventCount;
  Put(0, full);
  recorder.LoadMacroToList(0);

  Select(1);
  recorder.Insert();
  recorder.KeyChoice();
  Key(VK_B, false);
  recorder.KeyConfirm();  // a key needs two places, one is left
  EXPECT_EQ(page.messages, std::vector<RecorderMessage>{RecorderMessage::MacroFull});
  EXPECT_EQ(recorder.Events().size(), 999u);

  Select(1);
  recorder.Insert();
  recorder.DelayChoice();
  recorder.DelayConfirm(u"20");  // a delay takes the last one
  EXPECT_EQ(recorder.Events().size(), 1000u);
  EXPECT_EQ(Entry(kIdA).eventCount, 1000u);
  EXPECT_EQ(Entry(kIdA).macroEvents[1], Delay(20));

  recorder.Insert();
  EXPECT_EQ(recorder.Mode(), EditMode::None);
  EXPECT_EQ(page.messages.size(), 2u);
  EXPECT_FALSE(page.Shown(EditorControl::KeyChoice));
}

TEST_F(MacroRecorderTest, AFullLibraryIsReportedAndKeepsTheList) {
  for (size_t i = 0; i < kMacroEntryCount; ++i) Put(i, StoredMacro(0x01000000 + uint32_t(i), u"Other", {Press(VK_B)}));
  fs.PutFile(kPath, std::vector<uint8_t>(reinterpret_cast<const uint8_t*>(library->data()),
                                         reinterpret_cast<const uint8_t*>(library->data()) + kMacroLibrarySize));
  page.macroSelection = 2;
  recorder.RecordButton();
  Key(VK_A, false);
  Key(VK_A, true);
  recorder.RecordButton();
  EXPECT_EQ(page.messages, std::vector<RecorderMessage>{RecorderMessage::LibraryFull});
  EXPECT_EQ(List(), (std::vector<std::string>{"v A", "10  ms", "^ A"}));
  EXPECT_FALSE(FindMacroById(*library, kIdNew));
  EXPECT_EQ(*fs.FileContent(kPath), std::vector<uint8_t>(reinterpret_cast<const uint8_t*>(library->data()),
                                                         reinterpret_cast<const uint8_t*>(library->data()) +
                                                             kMacroLibrarySize));
  EXPECT_EQ(recorder.SaveMacroFromList(), MacroRecorder::SaveResult::LibraryFull);

  // A macro that is in the library is still stored in place.
  page.macroSelection = 0;
  (*library)[0].macroId = kIdA;
  EXPECT_EQ(recorder.SaveMacroFromList(), MacroRecorder::SaveResult::Stored);
  EXPECT_EQ(Events(Entry(kIdA)), (std::vector<MacroEvent>{Press(VK_A), Delay(10), Release(VK_A)}));
}

TEST_F(MacroRecorderTest, ChangingTheMacroWhileRecordingStoresIntoTheRecordedOne) {
  Put(0, StoredMacro(kIdB, u"Macro B", {Press(VK_B), Release(VK_B)}, 4));
  recorder.MacroSelectionChanged(0);  // Macro A, never stored
  page.macroSelection = 0;
  recorder.RecordButton();
  Key(VK_A, false);
  Key(VK_A, true);
  page.macroSelection = 1;
  const int savesBefore = int(clock.TotalSlept() / 200);
  recorder.MacroSelectionChanged(1);
  EXPECT_FALSE(recorder.Recording());
  EXPECT_FALSE(hooks.RecordMode());
  EXPECT_EQ(Events(Entry(kIdA)), (std::vector<MacroEvent>{Press(VK_A), Delay(10), Release(VK_A)}));
  EXPECT_EQ(List(), (std::vector<std::string>{"v B", "^ B"}));
  EXPECT_EQ(page.Text(EditorEdit::Repeat), u"4");
  EXPECT_EQ(int(clock.TotalSlept() / 200) - savesBefore, 1) << "the switch itself stores only the recording";

  page.macroSelection = 2;
  recorder.MacroSelectionChanged(2);  // never stored: empty, repeat "1"
  EXPECT_TRUE(List().empty());
  EXPECT_EQ(page.Text(EditorEdit::Repeat), u"1");
}

}  // namespace
}  // namespace nx7
