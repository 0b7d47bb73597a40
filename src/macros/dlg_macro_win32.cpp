#include "macros/dlg_macro_win32.h"

#include <tuple>
#include <utility>

#include "app/messages.h"
#include "macros/hook_messages.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"
#include "skin/dlg_info_win32.h"
#include "skin/layout_win32.h"
#include "skin/menuex/menu_ex_library_win32.h"
#include "skin/scroll_bar_win32.h"

namespace nx7::win32 {

namespace mp = layout::macro_page;

namespace {

constexpr COLORREF kCategoryText = 0x676153;
constexpr COLORREF kRecordText = 0xD3BB3D;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kMenuOpenText = 0xB98C15;
constexpr int kMenuItemHeight = 24;
// The lists' item texts and backgrounds, normal and selected.
constexpr COLORREF kListText = 0x676153;
constexpr COLORREF kListSelectedText = 0xB98C15;
constexpr COLORREF kListBackground = CDlgMacro::kPageColour;
constexpr COLORREF kListSelected = 0x2A2620;

std::u16string WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(size_t(length) + 1, L'\0');
  text.resize(size_t(::GetWindowTextW(window, text.data(), length + 1)));
  return FromWide(text);
}

}  // namespace

CDlgMacro::CDlgMacro(AppContext& app, TimerSource& timers)
    : WindowClass(IDD_DLG_MACRO, app, kPictures),
      timers_(timers),
      pageBrush_(::CreateSolidBrush(kPageColour)) {}

CDlgMacro::~CDlgMacro() { DestroyWindow(); }

std::span<const MessageEntry> CDlgMacro::MessageEntries() {
  static constexpr auto entries = Entries(
      On<WM_COMMAND, &CDlgMacro::OnCommand>(),
      OnRaw<WM_LIST_SELCHANGE, &CDlgMacro::OnListSelChange>(),
      OnRaw<WM_LIST_ITEM_EDITED, &CDlgMacro::OnListItemEdited>(),
      OnRaw<WM_MACRO_INPUT, &CDlgMacro::OnMacroInput>(),
      OnRaw<WM_BUTTON_MOUSE, &CDlgMacro::OnButtonMouse>(),
      OnRaw<menuex::WM_MENUEX_SELECT, &CDlgMacro::OnMenuExSelect>(),
      On<WM_TIMER, &CDlgMacro::OnTimer>(),
      On<WM_MOUSEMOVE, &CDlgMacro::OnMouseMove>(),
      On<WM_LBUTTONDOWN, &CDlgMacro::OnLButtonDown>(),
      On<WM_CTLCOLOREDIT, &CDlgMacro::OnCtlColorEdit>(),
      On<WM_DESTROY, &CDlgMacro::OnDestroy>());
  return entries;
}

BOOL CDlgMacro::OnInitDialog() {
  CSkinPage::OnInitDialog();
  const HWND self = GetSafeHwnd();
  // Places follow the layout the skin pictures were drawn in, fixed from now on.
  const bool zh = ChineseLayout();
  const SkinLook& look = SkinLook::ForLayout(zh);
  LoadButtonPictures();
  auto bits = [](const SharedSkinBitmap& p) { return p ? p->bitmap.Get() : HBITMAP(nullptr); };
  auto button = [&](CGDIBitmapBtn& b, const layout::Rect& r, bool shown = true) {
    b.Create(self, ToRect(r), WS_CHILD | (shown ? WS_VISIBLE : 0) | BS_OWNERDRAW);
    b.SetLook(look);
    b.SetSkin(r.left, r.top, r.right, r.bottom, bits(normal_), bits(over_), bits(down_), bits(normal_));
  };
  button(category_, mp::kCategoryButton);
  SetCaption(category_, CategoryCaption(kCustomCategory, app_.ChineseText()));
  category_.SetTextColors(kCategoryText, kWhite, kWhite);
  button(newMacro_, mp::kNewMacroButton);
  button(deleteMacro_, mp::kDeleteMacroButton);
  button(insert_, mp::kInsertButton.pick(zh));
  button(deleteEvent_, mp::kDeleteEventButton.pick(zh));
  button(modify_, mp::kModifyButton.pick(zh));
  button(record_, mp::kRecordButton);
  SetCaption(record_, RecordCaptionText(RecordCaption::StartRecord, app_.ChineseText()));
  record_.SetTextColors(kRecordText, kWhite, kWhite);
  button(delayToggle_, mp::kDelayToggle);
  delayToggle_.SetCheckMode(true, false);
  for (auto [pad, r] : {std::pair{&leftPad_, mp::kLeftPad}, {&middlePad_, mp::kMiddlePad}, {&rightPad_, mp::kRightPad}}) {
    button(*pad, r.pick(zh));
    pad->SetPressNotify(true);
  }
  button(keyChoice_, mp::kKeyChoice.pick(zh), false);
  keyChoice_.SetCheckMode(true, false);
  button(keyConfirm_, mp::kKeyConfirm.pick(zh), false);
  button(delayChoice_, mp::kDelayChoice.pick(zh), false);
  delayChoice_.SetCheckMode(true, false);
  button(delayConfirm_, mp::kDelayConfirm.pick(zh), false);
  // Every button holds its pieces now: the whole pressed and hover pictures can go.
  DropButtonPictures();

  const SharedSkinBitmap listSkin = SharedResourceBitmap(layout::resource::kScrollSkin);
  for (auto [list, r, id] : {std::tuple{&macroList_, mp::kMacroList, kMacroListId}, {&eventList_, mp::kEventList, kEventListId}}) {
    list->SetLook(look);
    list->SetProgramFolder(app_.ProgramFolder() + u"\\");
    list->Create(ToRect(r), self, id);
    list->SetColors(kListBackground, kListSelected);
    list->SetTextColors(kListText, kListSelectedText);
    SkinWndScroll(list->GetSafeHwnd(), listSkin);
  }

  PlaceEdit(Edit(EditorEdit::Repeat), mp::kRepeatEdit, 5, true);
  ::SetWindowTextW(Edit(EditorEdit::Repeat), L"1");
  PlaceEdit(Edit(EditorEdit::Key), mp::kKeyEdit.pick(zh), 1, false);
  PlaceEdit(Edit(EditorEdit::Delay), mp::kDelayEdit.pick(zh), 4, true);
  ::ShowWindow(Edit(EditorEdit::Repeat), SW_SHOW);

  RefreshToolTips();
  MacroPageView& view = *this;
  rules_ = std::make_unique<MacroPage>(view, app_.hooks(), app_.poster(), static_cast<WindowHandle>(self), app_.clock(),
                                       app_.library(), app_.macros(),
                                       MacroUse{app_.profiles().Slots(), app_.settings()}, app_.model().chineseText);
  rules_->Recorder().LoadMacroToList(macroList_.GetCurSel());
  timers_.Start(self, kRepeatCheckTimer, kRepeatCheckPeriodMs);
  return TRUE;
}

void CDlgMacro::PlaceEdit(HWND edit, const layout::Rect& r, int limit, bool digitsOnly) {
  ::MoveWindow(edit, r.left, r.top, r.width(), r.height(), FALSE);
  ::SendMessageW(edit, EM_LIMITTEXT, WPARAM(limit), 0);
  const LONG style = ::GetWindowLongW(edit, GWL_STYLE);
  ::SetWindowLongW(edit, GWL_STYLE, digitsOnly ? style | ES_NUMBER : style & ~LONG(ES_NUMBER));
  ::ShowWindow(edit, SW_HIDE);
}

void CDlgMacro::RefreshToolTips() {
  if (!GetSafeHwnd()) return;
  const StringCatalogue& texts = app_.catalogue();
  const std::pair<CGDIBitmapBtn*, StringKey> tips[] = {
      {&newMacro_, StringKey::str_new_macro},       {&deleteMacro_, StringKey::str_del_macro},
      {&insert_, StringKey::str_macro_new},         {&deleteEvent_, StringKey::str_macro_del},
      {&modify_, StringKey::str_macro_modify},      {&delayToggle_, StringKey::str_macro_delay},
      {&leftPad_, StringKey::str_click},            {&middlePad_, StringKey::str_middle},
      {&rightPad_, StringKey::str_menu},            {&keyChoice_, StringKey::str_macro_msg6},
      {&keyConfirm_, StringKey::str_macro_msg6},    {&delayChoice_, StringKey::str_macro_msg7},
      {&delayConfirm_, StringKey::str_macro_msg7},
  };
  for (const auto& [b, key] : tips) b->SetToolTipText(texts[key], true);
  // The captions follow the language too (the places stay those of the layout at creation).
  if (rules_) {
    SetCaption(category_, CategoryCaption(rules_->Category(), app_.ChineseText()));
    SetRecordCaption(Recording() ? RecordCaption::StopRecord : RecordCaption::StartRecord);
  }
}

void CDlgMacro::FillMacroList(uint32_t category) {
  if (rules_) rules_->FillMacroList(category);
}

bool CDlgMacro::Recording() const { return rules_ && rules_->Recorder().Recording(); }

void CDlgMacro::ToggleRecord() {
  if (rules_) rules_->Recorder().RecordButton();
}

void CDlgMacro::CommitPendingEdit() {
  // A name still being typed is taken now: its notification would arrive after the download.
  if (!macroList_.IsEditing()) return;
  const int index = macroList_.EditIndex();
  macroList_.CommitEdit();
  if (rules_ && index >= 0 && index < macroList_.GetCount())
    rules_->MacroRenamed({macroList_.GetItemData(index), macroList_.GetItemText(index)});
}

void CDlgMacro::CloseCategoryMenu() { ProgramMenuExLibrary().DestroyMenu(); }

void CDlgMacro::OpenCategoryMenu() {
  MenuExLibrary& menu = ProgramMenuExLibrary();
  if (!menu.Load()) {
    // The page stays usable; the button says why its menu cannot open.
    SetCaption(category_, menu.Problem(app_.ChineseText()));
    return;
  }
  FillCategoryMenu(menuRecords_, app_.ChineseText());
  RECT button{};
  ::GetWindowRect(category_, &button);
  menu.CreateMenu(GetSafeHwnd(), kMenuItemHeight, POINT{button.left + 1, button.bottom + 1}, kCategoryText, kWhite,
                  kMenuOpenText, CategoryMenuPictures(Wide(app_.ProgramFolder())), menuRecords_.data(),
                  kCategoryMenuCount);
}

void CDlgMacro::OnCommand(UINT code, UINT id, HWND control) {
  if (!rules_) {
    HandleCommand(code, id, control);
    return;
  }
  MacroRecorder& recorder = rules_->Recorder();
  if (id == IDC_MACRO_REPEAT_EDIT && code == EN_CHANGE) {
    recorder.RepeatTextChanged(WindowText(Edit(EditorEdit::Repeat)));
    return;
  }
  if (!control || code != BN_CLICKED) {
    HandleCommand(code, id, control);
    return;
  }
  if (control == category_.GetSafeHwnd()) OpenCategoryMenu();
  else if (control == newMacro_.GetSafeHwnd()) rules_->NewMacro();
  else if (control == deleteMacro_.GetSafeHwnd()) rules_->DeleteMacro();
  else if (control == insert_.GetSafeHwnd()) recorder.Insert();
  else if (control == deleteEvent_.GetSafeHwnd()) recorder.DeleteEvent();
  else if (control == modify_.GetSafeHwnd()) recorder.Modify();
  else if (control == record_.GetSafeHwnd()) recorder.RecordButton();
  else if (control == keyChoice_.GetSafeHwnd()) recorder.KeyChoice();
  else if (control == delayChoice_.GetSafeHwnd()) recorder.DelayChoice();
  else if (control == keyConfirm_.GetSafeHwnd()) recorder.KeyConfirm();
  else if (control == delayConfirm_.GetSafeHwnd()) recorder.DelayConfirm(WindowText(Edit(EditorEdit::Delay)));
  else if (control == delayToggle_.GetSafeHwnd()) {
    recorder.ToggleDelays();
    delayToggle_.SetCheck(recorder.DelayToggleOn());
  }
}

LRESULT CDlgMacro::OnListSelChange(WPARAM list, LPARAM index) {
  if (!rules_) return 0;
  if (list == kMacroListId) rules_->MacroSelectionChanged(int(index));
  if (list == kEventListId) rules_->Recorder().EventSelectionChanged(int(index));
  return 0;
}

LRESULT CDlgMacro::OnListItemEdited(WPARAM list, LPARAM index) {
  const int i = int(index);
  if (rules_ && list == kMacroListId && i >= 0 && i < macroList_.GetCount())
    rules_->MacroRenamed({macroList_.GetItemData(i), macroList_.GetItemText(i)});
  return 0;
}

LRESULT CDlgMacro::OnMacroInput(WPARAM vk, LPARAM flags) {
  if (rules_) rules_->Recorder().MacroInput(uint32_t(vk), uint32_t(flags));
  return 0;
}

LRESULT CDlgMacro::OnButtonMouse(WPARAM action, LPARAM pad) {
  const HWND window = reinterpret_cast<HWND>(pad);
  if (!rules_ || (action != WM_LBUTTONDOWN && action != WM_LBUTTONUP)) return 0;
  const bool released = action == WM_LBUTTONUP;
  if (window == leftPad_.GetSafeHwnd()) rules_->Recorder().PadEvent(MousePad::Left, released);
  if (window == middlePad_.GetSafeHwnd()) rules_->Recorder().PadEvent(MousePad::Middle, released);
  if (window == rightPad_.GetSafeHwnd()) rules_->Recorder().PadEvent(MousePad::Right, released);
  return 0;
}

LRESULT CDlgMacro::OnMenuExSelect(WPARAM, LPARAM id) {
  CloseCategoryMenu();
  if (rules_) rules_->CategoryChosen(uint32_t(id));
  return 0;
}

void CDlgMacro::OnTimer(UINT_PTR id) {
  if (id == kRepeatCheckTimer && rules_) rules_->Recorder().CheckRepeatText();
}

void CDlgMacro::OnMouseMove(UINT, POINT point) {
  for (int hint : MacroPageHintsAt({point.x, point.y}, ChineseLayout(), Recording()))
    ::PostMessageW(MainWindow(), WM_SHOW_HINT, 0, hint);
}

void CDlgMacro::OnLButtonDown(UINT, POINT) {
  CloseCategoryMenu();
  Decline();
}

HBRUSH CDlgMacro::OnCtlColorEdit(HDC dc, HWND) {
  ::SetTextColor(dc, kEditText);
  ::SetBkColor(dc, kPageColour);
  return pageBrush_.Get();
}

void CDlgMacro::OnDestroy() {
  timers_.Stop(GetSafeHwnd(), kRepeatCheckTimer);
  // A recording or key capture aimed at this window ends with it.
  if (rules_ && app_.hooks().RecordMode()) app_.hooks().SetRecordMode(false);
  Decline();
}

HWND CDlgMacro::Edit(EditorEdit edit) const {
  const int id = edit == EditorEdit::Repeat ? IDC_MACRO_REPEAT_EDIT
                 : edit == EditorEdit::Key  ? IDC_MACRO_KEY_EDIT
                                            : IDC_MACRO_DELAY_EDIT;
  return ::GetDlgItem(GetSafeHwnd(), id);
}

HWND CDlgMacro::Control(EditorControl control) const {
  switch (control) {
    case EditorControl::KeyChoice: return keyChoice_.GetSafeHwnd();
    case EditorControl::KeyEdit: return Edit(EditorEdit::Key);
    case EditorControl::KeyConfirm: return keyConfirm_.GetSafeHwnd();
    case EditorControl::DelayChoice: return delayChoice_.GetSafeHwnd();
    case EditorControl::DelayEdit: return Edit(EditorEdit::Delay);
    case EditorControl::DelayConfirm: return delayConfirm_.GetSafeHwnd();
  }
  return nullptr;
}

// --- MacroPageView ------------------------------------------------------------------------------

void CDlgMacro::ClearMacros() { macroList_.DeleteAllItems(); }

void CDlgMacro::AddMacro(const MacroListItem& item, bool editName) {
  const int index = macroList_.AddItem(0, item.name, item.macroId, false);
  if (editName && index >= 0) {
    macroList_.EditItem(index);
    ::SendMessageW(macroList_.EditWindow(), EM_LIMITTEXT, kMacroNameEditLimit, 0);
  }
}

void CDlgMacro::DeleteMacro(int index) { macroList_.DeleteItem(index); }

void CDlgMacro::SetMacroListRedraw(bool redraw) {
  ::SendMessageW(macroList_, WM_SETREDRAW, redraw, 0);
  if (redraw) ::InvalidateRect(macroList_, nullptr, TRUE);
}

void CDlgMacro::SetCategoryCaption(std::u16string_view caption) { SetCaption(category_, caption); }

void CDlgMacro::SetCaption(CGDIBitmapBtn& button, std::u16string_view caption) {
  const std::u16string text(caption);
  button.SetText(text);
  ::SetWindowTextW(button, Wide(text));
}

void CDlgMacro::ShowPageMessage(std::u16string_view text) {
  CDlgInfo box(MainWindow(), app_.clock(), timers_);
  box.text = std::u16string(text);
  box.chineseText = app_.ChineseText();
  box.DoModal();
}

void CDlgMacro::ClearEvents() { eventList_.DeleteAllItems(); }

void CDlgMacro::AddEvent(const EventItem& item) { eventList_.AddItem(int(item.kind), item.text, item.value); }

void CDlgMacro::InsertEvent(int index, const EventItem& item) {
  eventList_.InsertItem(index, int(item.kind), item.text, item.value);
}

void CDlgMacro::ReplaceEvent(int index, const EventItem& item) {
  eventList_.ReplaceItem(index, int(item.kind), item.text, item.value);
}

void CDlgMacro::DeleteEvent(int index) { eventList_.DeleteItem(index); }

void CDlgMacro::SetEventListRedraw(bool redraw) {
  ::SendMessageW(eventList_, WM_SETREDRAW, redraw, 0);
  if (redraw) ::InvalidateRect(eventList_, nullptr, TRUE);
}

void CDlgMacro::ShowControl(EditorControl control, bool shown) {
  ::ShowWindow(Control(control), shown ? SW_SHOW : SW_HIDE);
}

void CDlgMacro::SetChoiceChecked(EditorControl choice, bool checked) {
  if (choice == EditorControl::KeyChoice) keyChoice_.SetCheck(checked);
  if (choice == EditorControl::DelayChoice) delayChoice_.SetCheck(checked);
}

void CDlgMacro::EnableEditButtons(bool enabled) {
  for (CGDIBitmapBtn* b : {&newMacro_, &deleteMacro_, &insert_, &deleteEvent_, &modify_})
    ::EnableWindow(b->GetSafeHwnd(), enabled);
}

void CDlgMacro::SetEditText(EditorEdit edit, std::u16string_view text) {
  const std::u16string shown(text);
  ::SetWindowTextW(Edit(edit), Wide(shown));
}

void CDlgMacro::FocusEdit(EditorEdit edit) { ::SetFocus(Edit(edit)); }

void CDlgMacro::MoveCaretToEnd(EditorEdit edit) {
  const int length = ::GetWindowTextLengthW(Edit(edit));
  ::SendMessageW(Edit(edit), EM_SETSEL, WPARAM(length), LPARAM(length));
}

void CDlgMacro::SetRecordCaption(RecordCaption caption) {
  SetCaption(record_, RecordCaptionText(caption, app_.ChineseText()));
}

void CDlgMacro::ShowMessage(RecorderMessage message) { ShowPageMessage(RecorderMessageText(message, app_.ChineseText())); }

void CDlgMacro::ShowStoreOutcome(const StoreOutcome& outcome) {
  for (const StoreStep& step : outcome.steps) {
    if (step.kind != StoreStep::Kind::Show) continue;
    const std::u16string text = StoreMessageText(step, [this](StringKey key) { return app_.catalogue()[key]; });
    if (step.box == MessageBoxKind::Info) ::MessageBoxW(MainWindow(), Wide(text), L"Info", MB_OK);
    else ShowPageMessage(text);
  }
}

void CDlgMacro::DebugMessage(std::string_view text) { ::OutputDebugStringA(std::string(text).c_str()); }

int CDlgMacro::MacroSelection() { return macroList_.GetCurSel(); }

std::optional<MacroListItem> CDlgMacro::MacroAt(int index) {
  if (index < 0 || index >= macroList_.GetCount()) return std::nullopt;
  return MacroListItem{macroList_.GetItemData(index), macroList_.GetItemText(index)};
}

}  // namespace nx7::win32
