#pragma once
// The macro page's recorder and event editor without the window: the event list of the selected
// macro, recording keys, pad clicks and the delays between them through the keyboard hook,
// inserting, changing and deleting single events, and storing the list back into the library.
//
// The page forwards its clicks and messages to MacroRecorder and carries out what the recorder
// asks of it through MacroRecorderView: the event list box mirrors the recorder's list, the
// editor's controls are shown, hidden, checked and filled as told, and messages are shown in the
// program's message box. The recorder decides everything; it never shows a window itself.
//
// Limits: an entry holds 1000 events, so the list never holds more than 1000 items. A recording
// also stops taking keys at 999 key items. Both limits keep room for the releases of the keys
// that are still held, so a stored macro never leaves a key pressed. Events that do not fit are
// refused with RecorderMessage::MacroFull (shown once per recording); after that a recording
// takes only the releases of the keys still held.
//
// Everything runs on the user-interface thread.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "macros/input_hooks.h"
#include "macros/macro_library.h"
#include "platform/clock.h"
#include "platform/message_poster.h"
#include "store/store_outcome.h"

namespace nx7 {

// The kind of an event list item, in bits 24-31 of its item value. Also the list box's icon.
enum class EventItemKind : uint8_t { Release = 2, Press = 3, Delay = 4 };

struct EventItem {
  EventItemKind kind;
  uint32_t value;  // 24 bits: a key code or milliseconds
  std::u16string text;

  // The list box's item value: kind << 24 | value.
  uint32_t ItemValue() const { return (uint32_t(kind) << 24) | (value & 0xFFFFFF); }
  bool operator==(const EventItem&) const = default;
};

inline constexpr size_t kMaxRecordedKeys = 999;
// Recorded delays and inserted delay sums are limited to this many milliseconds.
inline constexpr uint32_t kMaxMergedDelay = 327670;
// A delay changed by hand may take any 24-bit value.
inline constexpr uint32_t kMaxChangedDelay = 0xFFFFFF;
inline constexpr uint32_t kMaxRepeatCount = 65533;
inline constexpr uint32_t kSinglePressRepeat = 0xFFFE;

// The name of a key code's low 8 bits in the event list ("Q", "NUM 5", "Left Button" ...), or
// empty text for a code without a name. The same in every language.
std::u16string_view GetKeyName(uint32_t value);
// The item of an event: a key's name, or "<ms>  ms" for a delay.
EventItem MakeEventItem(EventItemKind kind, uint32_t value);

enum class EditMode { None = 0, InsertKey = 1, InsertDelay = 2, ChangeKey = 3, ChangeDelay = 4 };

// The editor's controls that the recorder shows and hides.
enum class EditorControl { KeyChoice, KeyEdit, KeyConfirm, DelayChoice, DelayEdit, DelayConfirm };
enum class EditorEdit { Repeat, Key, Delay };

enum class RecordCaption { StartRecord, StopRecord };
std::u16string_view RecordCaptionText(RecordCaption caption, bool chinese);

// The messages the recorder shows (the program's message box, one OK button).
enum class RecorderMessage {
  RecordRefusedKeyEdit,    // record button while a key is inserted or changed
  RecordRefusedDelayEdit,  // record button while a delay is inserted or changed
  MacroFull,               // an event that would not fit into the macro was refused
  LibraryFull,             // the list could not be stored: no entry is free
};
std::u16string_view RecorderMessageText(RecorderMessage message, bool chinese);

// The three mouse pads of the page, by the button they stand for.
enum class MousePad { Left, Middle, Right };
// The key code a pad records: 1 left, 4 middle, 2 right.
uint32_t PadKeyCode(MousePad pad);

struct MacroListItem {
  uint32_t macroId;
  std::u16string name;
};

// What the macro page does for the recorder.
class MacroRecorderView {
 public:
  virtual ~MacroRecorderView() = default;

  // The event list box, kept equal to MacroRecorder::Events(). Adding, inserting and replacing
  // select the item; deleting keeps the selection on its item (none when it was the one deleted).
  virtual void ClearEvents() = 0;
  virtual void AddEvent(const EventItem& item) = 0;
  virtual void InsertEvent(int index, const EventItem& item) = 0;
  virtual void ReplaceEvent(int index, const EventItem& item) = 0;
  virtual void DeleteEvent(int index) = 0;
  // Drawing of the event list is suspended (false) while many items are added.
  virtual void SetEventListRedraw(bool redraw) = 0;

  virtual void ShowControl(EditorControl control, bool shown) = 0;
  // The on/off state of KeyChoice or DelayChoice.
  virtual void SetChoiceChecked(EditorControl choice, bool checked) = 0;
  // The new-macro, delete-macro, insert, delete-event and modify buttons.
  virtual void EnableEditButtons(bool enabled) = 0;
  // Changes of the repeat edit made here may be reported back through RepeatTextChanged; the
  // recorder ignores them.
  virtual void SetEditText(EditorEdit edit, std::u16string_view text) = 0;
  virtual void FocusEdit(EditorEdit edit) = 0;
  virtual void MoveCaretToEnd(EditorEdit edit) = 0;
  virtual void SetRecordCaption(RecordCaption caption) = 0;

  virtual void ShowMessage(RecorderMessage message) = 0;
  // What saving Macro.cfg reported (a missing file, a folder without write access).
  virtual void ShowStoreOutcome(const StoreOutcome& outcome) = 0;
  // A diagnostic for the debugger's output, never shown to the user.
  virtual void DebugMessage(std::string_view text) = 0;

  // The macro list: its selected index (-1 for none) and the item at an index.
  virtual int MacroSelection() = 0;
  virtual std::optional<MacroListItem> MacroAt(int index) = 0;
};

class MacroRecorder {
 public:
  // `page` is the window WM_MACRO_INPUT is delivered to: the hook target while recording or
  // capturing a key, and the receiver of the pads' posts. Everything given must outlive the
  // recorder.
  MacroRecorder(MacroRecorderView& view, InputHooks& hooks, MessagePoster& poster, WindowHandle page, Clock& clock,
                const MacroLibrary& library, MacroStore& store);

  // Shows the macro at `index` of the macro list (-1: nothing happens).
  void LoadMacroToList(int index);
  // The record button: starts or stops a recording; refused while an event is being edited.
  void RecordButton();
  // WM_MACRO_INPUT from the keyboard hook or a pad: `vk` key code, `flags` bit 7 set on release.
  void MacroInput(uint32_t vk, uint32_t flags);
  // WM_BUTTON_MOUSE from a pad. Posts WM_MACRO_INPUT to the page while recording or capturing a
  // key; does nothing otherwise.
  void PadEvent(MousePad pad, bool released);
  // The delay toggle was clicked: recording with delays (off) or without them (on).
  void ToggleDelays();

  // The event editor. Insert offers the key and delay choices (refused when the list is full);
  // a choice picks what is inserted, or keeps the kind of the event being changed; Modify changes
  // the selected event. A key is taken from the next key pressed anywhere or a pad. A confirm
  // inserts before the selected event (never before the first one) or changes it, then stores
  // the list; unreadable delay text and a missing key change nothing.
  void Insert();
  void KeyChoice();
  void DelayChoice();
  void Modify();
  void KeyConfirm();
  // `delayText` is the delay edit's text.
  void DelayConfirm(std::u16string_view delayText);
  void DeleteEvent();
  // WM_LIST_SELCHANGE from the event list.
  void EventSelectionChanged(int index);
  // WM_LIST_SELCHANGE from the macro list: ends editing and recording (the recording is stored
  // into the macro it was made for), then shows the macro at `index`.
  void MacroSelectionChanged(int index);
  // The page remembers a macro selection it made itself (a new macro, a refilled list).
  void RememberMacroSelection(int index) { rememberedMacro_ = index; }
  void RememberEventSelection(int index) { rememberedEvent_ = index; }
  // The macro list lost its selection (its macro was deleted, the list is refilled): ends
  // editing and recording as a selection change does, then empties the event list.
  void ForgetMacro();

  enum class SaveResult { NothingToStore, Stored, LibraryFull };
  // Merges neighbouring delays and stores the list into the macro being recorded or, when not
  // recording, the selected macro. A full library is reported with RecorderMessage::LibraryFull.
  SaveResult SaveMacroFromList();

  // The periodic check of the repeat edit: leading zeros go, an unreadable or zero count becomes
  // "1" and a count above 65533 becomes "65533".
  void CheckRepeatText();
  // EN_CHANGE of the repeat edit with its new text.
  void RepeatTextChanged(std::u16string_view text);

  bool Recording() const { return recording_; }
  EditMode Mode() const { return mode_; }
  bool DelayToggleOn() const { return delayToggleOn_; }
  const std::vector<EventItem>& Events() const { return events_; }
  int Selection() const { return selected_; }
  uint32_t CapturedKey() const { return capturedKey_; }
  size_t RecordedKeyCount() const { return recordedKeys_; }
  const std::u16string& RepeatText() const { return repeatText_; }

 private:
  struct KeyPair {
    uint32_t vk = 0;
    uint32_t flags = 0;
  };

  void StartRecording(int macroIndex);
  void StopRecording();
  void ResetEditor();
  void EndEditing();  // hook recording off, editor reset, EditMode 0
  void ShowKeyEditor(bool focus);
  void ShowDelayEditor();
  void InsertKey();
  void InsertDelay(std::u16string_view delayText);
  void ChangeEvent(std::optional<std::u16string_view> delayText);
  bool RecordingHasRoomFor(uint32_t vk, bool released) const;
  void RefuseFull();
  void SetRepeatText(std::u16string text);

  void ClearList();
  void AddItem(EventItemKind kind, uint32_t value);
  void InsertItem(int index, EventItemKind kind, uint32_t value);
  void ReplaceItem(int index, EventItemKind kind, uint32_t value);
  void DeleteItem(int index);

  MacroRecorderView& view_;
  InputHooks& hooks_;
  MessagePoster& poster_;
  WindowHandle page_;
  Clock& clock_;
  const MacroLibrary& library_;
  MacroStore& store_;

  std::vector<EventItem> events_;
  int selected_ = -1;  // the event list's selection
  bool recording_ = false;
  EditMode mode_ = EditMode::None;
  bool delayToggleOn_ = false;  // the delay toggle, on = no delays recorded
  uint32_t capturedKey_ = 0;
  size_t recordedKeys_ = 0;
  uint32_t lastTick_ = 0;              // of the last recorded key event, 0 = none
  std::vector<uint32_t> heldKeys_;     // pressed in this recording and not yet released
  bool recordingFull_ = false;         // an event was refused; MacroFull shown once
  // The last recorded key event. Lives as long as the page, across recordings: a new recording
  // drops a first event that repeats it (a key still held from the last one).
  KeyPair lastRecorded_;
  int rememberedMacro_ = -1;  // the macro list index being recorded
  int rememberedEvent_ = -1;
  std::u16string repeatText_ = u"1";
  bool settingRepeatText_ = false;  // its own change, reported back by the edit
  bool switching_ = false;          // handling a change of the macro selection
};

}  // namespace nx7
