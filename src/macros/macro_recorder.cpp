#include "macros/macro_recorder.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "common/text.h"
#include "i18n/chinese_text.h"
#include "macros/hook_messages.h"

namespace nx7 {

namespace {

struct KeyNameRow {
  uint8_t code;
  std::u16string_view name;
};

// Searched in this order; the first row with the code names it.
constexpr std::array<KeyNameRow, 106> kKeyNameTable = {{
    {0x51, u"Q"}, {0x57, u"W"}, {0x45, u"E"}, {0x52, u"R"}, {0x54, u"T"}, {0x59, u"Y"}, {0x55, u"U"},
    {0x49, u"I"}, {0x4F, u"O"}, {0x50, u"P"}, {0x41, u"A"}, {0x53, u"S"}, {0x44, u"D"}, {0x46, u"F"},
    {0x47, u"G"}, {0x48, u"H"}, {0x4A, u"J"}, {0x4B, u"K"}, {0x4C, u"L"}, {0x5A, u"Z"}, {0x58, u"X"},
    {0x43, u"C"}, {0x56, u"V"}, {0x42, u"B"}, {0x4E, u"N"}, {0x4D, u"M"}, {0xC0, u"~"}, {0x31, u"1"},
    {0x32, u"2"}, {0x33, u"3"}, {0x34, u"4"}, {0x35, u"5"}, {0x36, u"6"}, {0x37, u"7"}, {0x38, u"8"},
    {0x39, u"9"}, {0x30, u"0"}, {0xBD, u"-"}, {0xBB, u"="}, {0x08, u"Backspace"}, {0xDC, u"|"},
    {0xDB, u"["}, {0xDD, u"]"}, {0xBA, u";"}, {0xDE, u"'"}, {0x0D, u"Enter"}, {0xBC, u"<"}, {0xBE, u">"},
    {0xBF, u"?"}, {0x09, u"Tab"}, {0x14, u"Cap"}, {0xA0, u"L_Shift"}, {0xA2, u"L_Ctrl"}, {0xA4, u"L_Alt"},
    {0x5B, u"L_Win"}, {0xA1, u"R_Shift"}, {0xA3, u"R_Ctrl"}, {0xA5, u"R_Alt"}, {0x5C, u"R_Win"},
    {0x20, u"Space"}, {0x1B, u"ESC"}, {0x70, u"F1"}, {0x71, u"F2"}, {0x72, u"F3"}, {0x73, u"F4"},
    {0x74, u"F5"}, {0x75, u"F6"}, {0x76, u"F7"}, {0x77, u"F8"}, {0x78, u"F9"}, {0x79, u"F10"},
    {0x7A, u"F11"}, {0x7B, u"F12"}, {0x61, u"NUM 1"}, {0x62, u"NUM 2"}, {0x63, u"NUM 3"}, {0x64, u"NUM 4"},
    {0x65, u"NUM 5"}, {0x66, u"NUM 6"}, {0x67, u"NUM 7"}, {0x68, u"NUM 8"}, {0x69, u"NUM 9"},
    {0x60, u"NUM 0"}, {0x6D, u"NUM -"}, {0x6B, u"NUM +"}, {0x6A, u"NUM *"}, {0x6F, u"NUM /"},
    {0x6C, u"NUM Enter"}, {0x6E, u"NUM Del"}, {0x90, u"NUM Lock"}, {0x2A, u"Print"}, {0x91, u"Scroll"},
    {0x13, u"Pause"}, {0x2D, u"Insert"}, {0x24, u"Home"}, {0x2E, u"Delete"}, {0x23, u"End"},
    {0x21, u"Page Up"}, {0x22, u"Page Down"}, {0x26, u"UP"}, {0x28, u"DOWN"}, {0x25, u"LEFT"},
    {0x27, u"RIGHT"}, {0x01, u"Left Button"}, {0x02, u"Right Button"}, {0x04, u"Middle Button"},
}};

// A whole base-10 number, or nothing for empty text or any other character. Large numbers
// saturate, which every caller limits further.
std::optional<uint64_t> ParseDecimal(std::u16string_view text) {
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = std::min<uint64_t>(value * 10 + uint64_t(c - u'0'), uint64_t(1) << 40);
  }
  return value;
}

std::u16string DecimalText(uint64_t value) { return Utf16FromUtf8(std::to_string(value)); }

bool IsKeyKind(EventItemKind kind) { return kind != EventItemKind::Delay; }

}  // namespace

std::u16string_view GetKeyName(uint32_t value) {
  const uint8_t code = uint8_t(value & 0xFF);
  for (const KeyNameRow& row : kKeyNameTable) {
    if (row.code == code) return row.name;
  }
  return {};
}

EventItem MakeEventItem(EventItemKind kind, uint32_t value) {
  value &= 0xFFFFFF;
  if (kind == EventItemKind::Delay) return {kind, value, DecimalText(value) + u"  ms"};
  return {kind, value, std::u16string(GetKeyName(value))};
}

std::u16string_view RecordCaptionText(RecordCaption caption, bool chinese) {
  return caption == RecordCaption::StopRecord ? BilingualText(chinese, u"停止录制", u"Stop Record")
                                              : BilingualText(chinese, u"开始录制", u"Start Record");
}

std::u16string_view RecorderMessageText(RecorderMessage message, bool chinese) {
  switch (message) {
    case RecorderMessage::RecordRefusedKeyEdit:
      return BilingualText(chinese, u"正在修改/插入一个键，无法录制",
                           u"It is Modifying or inserting a button,you can not record");
    case RecorderMessage::RecordRefusedDelayEdit:
      return BilingualText(chinese, u"正在修改/插入一个延时，无法录制",
                           u"It is Modifying or inserting a delay,you can not record");
    case RecorderMessage::MacroFull:
      return BilingualText(chinese, u"宏已满，无法再添加按键或延时。",
                           u"The macro is full and cannot take more keys or delays.");
    case RecorderMessage::LibraryFull:
      return BilingualText(chinese, u"宏库已满（500 个宏），此宏未能保存。请先删除一个宏再试。",
                           u"The macro library is full (500 macros): this macro was not saved. "
                           u"Delete a macro and try again.");
  }
  return {};
}

uint32_t PadKeyCode(MousePad pad) {
  switch (pad) {
    case MousePad::Left: return 1;
    case MousePad::Middle: return 4;
    case MousePad::Right: return 2;
  }
  return 0;
}

MacroRecorder::MacroRecorder(MacroRecorderView& view, InputHooks& hooks, MessagePoster& poster, WindowHandle page,
                             Clock& clock, const MacroLibrary& library, MacroStore& store)
    : view_(view), hooks_(hooks), poster_(poster), page_(page), clock_(clock), library_(library), store_(store) {}

// --- the event list ---------------------------------------------------------------------------

void MacroRecorder::ClearList() {
  events_.clear();
  selected_ = -1;
  view_.ClearEvents();
}

void MacroRecorder::AddItem(EventItemKind kind, uint32_t value) {
  events_.push_back(MakeEventItem(kind, value));
  selected_ = int(events_.size()) - 1;
  view_.AddEvent(events_.back());
}

void MacroRecorder::InsertItem(int index, EventItemKind kind, uint32_t value) {
  events_.insert(events_.begin() + index, MakeEventItem(kind, value));
  selected_ = index;
  view_.InsertEvent(index, events_[size_t(index)]);
}

void MacroRecorder::ReplaceItem(int index, EventItemKind kind, uint32_t value) {
  events_[size_t(index)] = MakeEventItem(kind, value);
  selected_ = index;
  view_.ReplaceEvent(index, events_[size_t(index)]);
}

void MacroRecorder::DeleteItem(int index) {
  events_.erase(events_.begin() + index);
  if (selected_ == index) {
    selected_ = -1;
  } else if (selected_ > index) {
    --selected_;
  }
  view_.DeleteEvent(index);
}

// --- loading ----------------------------------------------------------------------------------

void MacroRecorder::LoadMacroToList(int index) {
  if (index == -1) return;
  const std::optional<MacroListItem> macro = view_.MacroAt(index);
  if (!macro) return;
  ClearList();
  // Every entry with the id is shown in turn, so the last one stays (ids may repeat).
  for (const MacroEntry& entry : library_) {
    if (entry.macroId != macro->macroId) continue;
    ClearList();
    SetRepeatText(entry.repeatCount == kSinglePressRepeat ? std::u16string(u"1") : DecimalText(entry.repeatCount));
    view_.SetEventListRedraw(false);
    for (MacroEvent event : MacroEvents(entry)) {
      const uint8_t type = MacroEventTypeOf(event);
      if (type == uint8_t(MacroEventType::Release)) {
        AddItem(EventItemKind::Release, MacroEventValue(event));
      } else if (type == uint8_t(MacroEventType::Press)) {
        AddItem(EventItemKind::Press, MacroEventValue(event));
      } else if (type == uint8_t(MacroEventType::Delay)) {
        AddItem(EventItemKind::Delay, MacroEventValue(event));
      } else {
        view_.DebugMessage("LoadMacroToList:  Not a vaild item");
        break;
      }
    }
    view_.SetEventListRedraw(true);
  }
}

// --- recording --------------------------------------------------------------------------------

void MacroRecorder::RecordButton() {
  if (mode_ == EditMode::InsertKey || mode_ == EditMode::ChangeKey) {
    view_.ShowMessage(RecorderMessage::RecordRefusedKeyEdit);
    return;
  }
  if (mode_ == EditMode::InsertDelay || mode_ == EditMode::ChangeDelay) {
    view_.ShowMessage(RecorderMessage::RecordRefusedDelayEdit);
    return;
  }
  hooks_.SetRecordMode(false);
  ResetEditor();
  // A recording always ends here, even when the macro list lost its selection meanwhile: it is
  // stored into the macro it was started for.
  if (recording_) {
    StopRecording();
    return;
  }
  const int macro = view_.MacroSelection();
  if (macro == -1) return;
  StartRecording(macro);
}

void MacroRecorder::StartRecording(int macroIndex) {
  rememberedMacro_ = macroIndex;
  view_.SetRecordCaption(RecordCaption::StopRecord);
  view_.EnableEditButtons(false);
  ClearList();
  recordedKeys_ = 0;
  lastTick_ = 0;
  heldKeys_.clear();
  recordingFull_ = false;
  hooks_.SetHookTarget(page_);
  hooks_.SetRecordMode(true);
  recording_ = true;
}

void MacroRecorder::StopRecording() {
  view_.SetRecordCaption(RecordCaption::StartRecord);
  view_.EnableEditButtons(true);
  hooks_.SetRecordMode(false);
  SaveMacroFromList();  // while still recording: into the remembered macro
  recording_ = false;
}

bool MacroRecorder::RecordingHasRoomFor(uint32_t vk, bool released) const {
  const bool held = std::find(heldKeys_.begin(), heldKeys_.end(), vk) != heldKeys_.end();
  // Once full, only the keys still held may be let go: a key refused its press stays out.
  if (recordingFull_ && !(released && held)) return false;
  const size_t heldAfter = heldKeys_.size() + (!released && !held ? 1 : 0) - (released && held ? 1 : 0);
  // Every key still held afterwards needs its release later, perhaps with a delay before it.
  const bool delayBefore = !delayToggleOn_ && lastTick_ != 0;
  const size_t itemsAfter = events_.size() + (delayBefore ? 2 : 1) + 2 * heldAfter;
  const size_t keysAfter = recordedKeys_ + 1 + heldAfter;
  return itemsAfter <= kMacroEventCapacity && keysAfter <= kMaxRecordedKeys;
}

void MacroRecorder::RefuseFull() {
  if (recordingFull_) return;
  recordingFull_ = true;
  view_.ShowMessage(RecorderMessage::MacroFull);
}

void MacroRecorder::MacroInput(uint32_t vk, uint32_t flags) {
  const bool released = (flags & InputHooks::kKeyReleasedFlag) != 0;
  // The system repeats a held key's press; only its first press counts.
  if (vk == lastRecorded_.vk && released == ((lastRecorded_.flags & InputHooks::kKeyReleasedFlag) != 0)) return;
  if (mode_ == EditMode::InsertKey || mode_ == EditMode::ChangeKey) {
    view_.SetEditText(EditorEdit::Key, GetKeyName(vk));
    capturedKey_ = vk;
    return;
  }
  // A key event still queued when the recording ended is not recorded.
  if (!recording_) return;
  if (!RecordingHasRoomFor(vk, released)) {
    RefuseFull();
    return;
  }
  if (!delayToggleOn_) {
    const uint32_t now = clock_.TickCount();
    if (lastTick_ != 0) AddItem(EventItemKind::Delay, now - lastTick_);
    lastTick_ = now;
  }
  AddItem(released ? EventItemKind::Release : EventItemKind::Press, vk);
  ++recordedKeys_;
  lastRecorded_ = {vk, flags};
  const auto held = std::find(heldKeys_.begin(), heldKeys_.end(), vk);
  if (released && held != heldKeys_.end()) heldKeys_.erase(held);
  if (!released && held == heldKeys_.end()) heldKeys_.push_back(vk);
}

void MacroRecorder::PadEvent(MousePad pad, bool released) {
  if (!recording_ && mode_ != EditMode::InsertKey && mode_ != EditMode::ChangeKey) return;
  poster_.Post(page_, WM_MACRO_INPUT, PadKeyCode(pad), released ? InputHooks::kKeyReleasedFlag : 0);
}

void MacroRecorder::ToggleDelays() { delayToggleOn_ = !delayToggleOn_; }

// --- editing ----------------------------------------------------------------------------------

void MacroRecorder::ResetEditor() {
  view_.SetChoiceChecked(EditorControl::KeyChoice, false);
  view_.SetChoiceChecked(EditorControl::DelayChoice, false);
  for (EditorControl control : {EditorControl::KeyChoice, EditorControl::DelayChoice, EditorControl::KeyEdit,
                                EditorControl::KeyConfirm, EditorControl::DelayEdit, EditorControl::DelayConfirm}) {
    view_.ShowControl(control, false);
  }
}

void MacroRecorder::EndEditing() {
  hooks_.SetRecordMode(false);
  ResetEditor();
  mode_ = EditMode::None;
}

void MacroRecorder::Insert() {
  if (events_.size() >= kMacroEventCapacity) {
    view_.ShowMessage(RecorderMessage::MacroFull);
    return;
  }
  mode_ = EditMode::InsertKey;
  view_.SetChoiceChecked(EditorControl::KeyChoice, false);
  view_.SetChoiceChecked(EditorControl::DelayChoice, false);
  view_.ShowControl(EditorControl::KeyChoice, true);
  view_.ShowControl(EditorControl::DelayChoice, true);
}

void MacroRecorder::ShowKeyEditor(bool focus) {
  view_.SetEditText(EditorEdit::Key, u"");
  view_.ShowControl(EditorControl::KeyEdit, true);
  if (focus) view_.FocusEdit(EditorEdit::Key);
  view_.ShowControl(EditorControl::KeyConfirm, true);
  view_.ShowControl(EditorControl::DelayEdit, false);
  view_.ShowControl(EditorControl::DelayConfirm, false);
  capturedKey_ = 0;
  // The next key pressed anywhere, or a pad, is captured.
  hooks_.SetHookTarget(page_);
  hooks_.SetRecordMode(true);
}

void MacroRecorder::ShowDelayEditor() {
  view_.SetEditText(EditorEdit::Delay, u"");
  view_.ShowControl(EditorControl::DelayEdit, true);
  view_.FocusEdit(EditorEdit::Delay);
  view_.ShowControl(EditorControl::DelayConfirm, true);
  view_.ShowControl(EditorControl::KeyEdit, false);
  view_.ShowControl(EditorControl::KeyConfirm, false);
}

void MacroRecorder::KeyChoice() {
  if (mode_ == EditMode::InsertKey || mode_ == EditMode::InsertDelay) mode_ = EditMode::InsertKey;
  view_.SetChoiceChecked(EditorControl::KeyChoice, true);
  view_.SetChoiceChecked(EditorControl::DelayChoice, false);
  ShowKeyEditor(false);
}

void MacroRecorder::DelayChoice() {
  if (mode_ == EditMode::InsertKey || mode_ == EditMode::InsertDelay) mode_ = EditMode::InsertDelay;
  view_.SetChoiceChecked(EditorControl::DelayChoice, true);
  view_.SetChoiceChecked(EditorControl::KeyChoice, false);
  ShowDelayEditor();
  hooks_.SetRecordMode(false);
}

void MacroRecorder::Modify() {
  hooks_.SetRecordMode(false);
  if (selected_ == -1) return;
  if (IsKeyKind(events_[size_t(selected_)].kind)) {
    mode_ = EditMode::ChangeKey;
    view_.SetChoiceChecked(EditorControl::KeyChoice, true);
    view_.ShowControl(EditorControl::KeyChoice, true);
    view_.ShowControl(EditorControl::DelayChoice, false);
    ShowKeyEditor(true);
  } else {
    mode_ = EditMode::ChangeDelay;
    view_.SetChoiceChecked(EditorControl::DelayChoice, true);
    view_.ShowControl(EditorControl::DelayChoice, true);
    view_.ShowControl(EditorControl::KeyChoice, false);
    ShowDelayEditor();
  }
}

void MacroRecorder::KeyConfirm() {
  if (mode_ == EditMode::InsertKey) InsertKey();
  if (mode_ == EditMode::ChangeKey) ChangeEvent(std::nullopt);
  SaveMacroFromList();
  mode_ = EditMode::None;
}

void MacroRecorder::DelayConfirm(std::u16string_view delayText) {
  if (mode_ == EditMode::InsertDelay) InsertDelay(delayText);
  if (mode_ == EditMode::ChangeDelay) ChangeEvent(delayText);
  SaveMacroFromList();
  mode_ = EditMode::None;
}

void MacroRecorder::InsertKey() {
  hooks_.SetRecordMode(false);
  if (selected_ != -1 && capturedKey_ != 0) {
    if (events_.size() + 2 > kMacroEventCapacity) {
      view_.ShowMessage(RecorderMessage::MacroFull);
    } else {
      const int s = selected_;
      InsertItem(s, EventItemKind::Press, capturedKey_);
      InsertItem(s + 1, EventItemKind::Release, capturedKey_);
    }
  }
  ResetEditor();
}

void MacroRecorder::InsertDelay(std::u16string_view delayText) {
  hooks_.SetRecordMode(false);
  const std::optional<uint64_t> number = ParseDecimal(delayText);
  const int s = selected_;
  // Nothing goes before the first event: a macro never begins with a delay.
  if (s > 0 && number) {
    const uint32_t v = uint32_t(*number & 0xFFFFFF);
    const auto sum = [&](int at) {
      return uint32_t(std::min<uint64_t>(uint64_t(events_[size_t(at)].value) + v, kMaxMergedDelay));
    };
    if (events_[size_t(s - 1)].kind == EventItemKind::Delay) {
      ReplaceItem(s - 1, EventItemKind::Delay, sum(s - 1));
    } else if (events_[size_t(s)].kind == EventItemKind::Delay) {
      ReplaceItem(s, EventItemKind::Delay, sum(s));
    } else if (events_.size() + 1 > kMacroEventCapacity) {
      view_.ShowMessage(RecorderMessage::MacroFull);
    } else {
      InsertItem(s, EventItemKind::Delay, v);
    }
  }
  ResetEditor();
}

void MacroRecorder::ChangeEvent(std::optional<std::u16string_view> delayText) {
  if (selected_ != -1) {
    const int s = selected_;
    const EventItemKind kind = events_[size_t(s)].kind;
    if (IsKeyKind(kind)) {
      if (capturedKey_ != 0) ReplaceItem(s, kind, capturedKey_);
    } else if (delayText) {
      if (const std::optional<uint64_t> number = ParseDecimal(*delayText)) {
        ReplaceItem(s, kind, uint32_t(std::min<uint64_t>(*number, kMaxChangedDelay)));
      }
    }
  }
  hooks_.SetRecordMode(false);
  ResetEditor();
}

void MacroRecorder::DeleteEvent() {
  if (selected_ == -1) return;
  DeleteItem(selected_);
  if (!events_.empty()) SaveMacroFromList();
}

void MacroRecorder::EventSelectionChanged(int index) {
  selected_ = index >= 0 && size_t(index) < events_.size() ? index : -1;
  if (index == rememberedEvent_) return;
  rememberedEvent_ = index;
  if (mode_ != EditMode::None) EndEditing();
}

void MacroRecorder::MacroSelectionChanged(int index) {
  if (index == rememberedMacro_) return;
  switching_ = true;
  if (mode_ != EditMode::None) EndEditing();
  if (recording_) StopRecording();
  rememberedMacro_ = index;
  LoadMacroToList(index);
  if (events_.empty()) SetRepeatText(u"1");
  rememberedEvent_ = selected_;
  switching_ = false;
}

void MacroRecorder::ForgetMacro() {
  switching_ = true;
  if (mode_ != EditMode::None) EndEditing();
  if (recording_) StopRecording();
  switching_ = false;
  ClearList();
  rememberedMacro_ = -1;
  rememberedEvent_ = -1;
}

// --- storing ----------------------------------------------------------------------------------

MacroRecorder::SaveResult MacroRecorder::SaveMacroFromList() {
  if (events_.empty()) return SaveResult::NothingToStore;
  // A run of delays becomes one delay where its last item was.
  for (size_t i = 1; i < events_.size();) {
    if (events_[i - 1].kind == EventItemKind::Delay && events_[i].kind == EventItemKind::Delay) {
      const uint64_t sum = uint64_t(events_[i - 1].value) + events_[i].value;
      ReplaceItem(int(i), EventItemKind::Delay, uint32_t(std::min<uint64_t>(sum, kMaxMergedDelay)));
      DeleteItem(int(i - 1));
    } else {
      ++i;
    }
  }

  MacroEntry record{};
  record.entrySize = kMacroEntryHeaderSize + 4 * uint32_t(events_.size());
  record.entrySignature = kMacroEntrySignature;
  bool keySeen = false;
  for (const EventItem& item : events_) {
    if (item.kind == EventItemKind::Delay && !keySeen) continue;
    keySeen = true;
    // The list never holds more than an entry does; this only keeps the record whole.
    if (record.eventCount == kMacroEventCapacity) break;
    const MacroEventType type = item.kind == EventItemKind::Release ? MacroEventType::Release
                                : item.kind == EventItemKind::Press ? MacroEventType::Press
                                                                    : MacroEventType::Delay;
    record.macroEvents[record.eventCount++] = MakeMacroEvent(type, item.value);
  }
  if (record.eventCount == 1 && MacroEventTypeOf(record.macroEvents[0]) == uint8_t(MacroEventType::Press)) {
    record.repeatCount = kSinglePressRepeat;
  } else {
    const std::optional<uint64_t> repeat = ParseDecimal(repeatText_);
    record.repeatCount = !repeat || *repeat == 0 ? 1 : uint32_t(std::min<uint64_t>(*repeat, kMaxRepeatCount));
  }

  const std::optional<MacroListItem> macro = view_.MacroAt(recording_ ? rememberedMacro_ : view_.MacroSelection());
  if (!macro) return SaveResult::NothingToStore;
  record.macroId = macro->macroId;
  CopyToField(macro->name, record.macroName, kMacroNameLength);

  StoreOutcome outcome;
  const bool stored = store_.StoreMacroEntry(&record, outcome);
  if (!outcome.steps.empty()) view_.ShowStoreOutcome(outcome);
  if (stored) return SaveResult::Stored;
  view_.ShowMessage(RecorderMessage::LibraryFull);
  return SaveResult::LibraryFull;
}

// --- the repeat count -------------------------------------------------------------------------

void MacroRecorder::SetRepeatText(std::u16string text) {
  repeatText_ = std::move(text);
  settingRepeatText_ = true;
  view_.SetEditText(EditorEdit::Repeat, repeatText_);
  settingRepeatText_ = false;
  if (!switching_) SaveMacroFromList();
}

void MacroRecorder::RepeatTextChanged(std::u16string_view text) {
  if (settingRepeatText_) return;
  repeatText_ = std::u16string(text);
  if (!switching_) SaveMacroFromList();
}

void MacroRecorder::CheckRepeatText() {
  const size_t zeros = repeatText_.find_first_not_of(u'0');
  if (zeros != 0 && zeros != std::u16string::npos) {
    SetRepeatText(repeatText_.substr(zeros));
    view_.MoveCaretToEnd(EditorEdit::Repeat);
  }
  const std::optional<uint64_t> repeat = ParseDecimal(repeatText_);
  if (!repeat || *repeat == 0) {
    SetRepeatText(u"1");
  } else if (*repeat > kMaxRepeatCount) {
    SetRepeatText(DecimalText(kMaxRepeatCount));
  }
}

}  // namespace nx7
