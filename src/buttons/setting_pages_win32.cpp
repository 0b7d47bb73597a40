#include "buttons/setting_pages_win32.h"

#include "app/messages.h"
#include "buttons/key_names.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"
#include "skin/layout_win32.h"
#include "skin/scroll_bar_win32.h"
#include "skin/skin_look_win32.h"

namespace nx7::win32 {
namespace {

namespace sp = layout::setting_pages;

constexpr COLORREF kKeyNameColor = 0xC39417;
constexpr COLORREF kLabelColor = 0x695F58;

HBITMAP Bits(const SharedSkinBitmap& p) { return p ? p->bitmap.Get() : nullptr; }

// A button cut from the page's pictures, the pressed look showing while it is checked.
void MakeCheckButton(CGDIBitmapBtn& button, HWND page, const layout::Rect& r, const SkinLook& look,
                     const SharedSkinBitmap& normal, const SharedSkinBitmap& over, const SharedSkinBitmap& down) {
  button.Create(page, ToRect(r));
  button.SetLook(look);
  button.SetSkin(r.left, r.top, r.right, r.bottom, Bits(normal), Bits(over), Bits(down), Bits(normal));
  button.SetCheckMode(true, false);
}

void DrawLine(HDC dc, const std::u16string& text, const layout::Rect& r, COLORREF color, const SkinLook& look) {
  SelectGuard font(dc, look.CaptionFont());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, color);
  RECT place = ToRect(r);
  ::DrawTextW(dc, Wide(text), -1, &place, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

// A skinned list over the page: bitmap 166 draws its scroll bar.
void MakeList(CListBoxEx& list, HWND page, const layout::Rect& r, UINT id, const AppContext& app, bool chinese) {
  list.Create(ToRect(r), page, id);
  list.SetLook(SkinLook::ForLayout(chinese));
  list.SetProgramFolder(app.ProgramFolder() + u"\\");
  SkinWndScroll(list, SharedResourceBitmap(layout::resource::kScrollSkin));
}

}  // namespace

// ---- Key combination page ----------------------------------------------------------------------

CSetting_SingleComboDlg::CSetting_SingleComboDlg(AppContext& app, KeyboardLayout& layout)
    : WindowClass(IDD_SETTING_COMBO, app, u"combo\\Combo_Normal.bmp", u"combo\\Combo_Down.bmp",
                  u"combo\\Combo_Over.bmp"),
      layout_(layout) {}

std::span<const MessageEntry> CSetting_SingleComboDlg::MessageEntries() {
  static constexpr auto entries = Entries(
      OnRaw<WM_MACRO_INPUT, &CSetting_SingleComboDlg::OnMacroInput>(),
      On<WM_COMMAND, &CSetting_SingleComboDlg::OnCommand>());
  return entries;
}

BOOL CSetting_SingleComboDlg::OnInitDialog() {
  CSkinPage::OnInitDialog();
  LoadButtonPictures();
  const SkinLook& look = SkinLook::ForLayout(app_.ChineseText());
  for (size_t m = 0; m < kModifierCount; ++m)
    MakeCheckButton(boxes_[m], GetSafeHwnd(), sp::kModifierChecks[m], look, normal_, over_, down_);
  DropButtonPictures();
  return TRUE;
}

std::u16string CSetting_SingleComboDlg::KeyNameText() const { return KeyName(rules_.CapturedKey(), layout_); }

LRESULT CSetting_SingleComboDlg::OnMacroInput(WPARAM virtualKey, LPARAM flags) {
  switch (rules_.OnKeyEvent(uint32_t(virtualKey), uint32_t(flags))) {
    case CombinationPage::Change::kModifier: ShowBoxes(); break;
    case CombinationPage::Change::kKey: {
      const RECT area = ToRect(sp::kKeyName);
      ::InvalidateRect(GetSafeHwnd(), &area, FALSE);
      break;
    }
    case CombinationPage::Change::kNone: break;
  }
  return 0;
}

void CSetting_SingleComboDlg::OnCommand(UINT code, UINT id, HWND control) {
  for (size_t m = 0; m < kModifierCount; ++m) {
    if (control && control == boxes_[m].GetSafeHwnd() && code == BN_CLICKED) {
      rules_.Toggle(Modifier(m));
      ShowBoxes();
      return;
    }
  }
  HandleCommand(code, id, control);
}

void CSetting_SingleComboDlg::ShowBoxes() {
  for (size_t m = 0; m < kModifierCount; ++m) boxes_[m].SetCheck(rules_.Checked(Modifier(m)));
}

void CSetting_SingleComboDlg::PaintOver(HDC dc) {
  DrawLine(dc, KeyNameText(), sp::kKeyName, kKeyNameColor, SkinLook::ForLayout(app_.ChineseText()));
}

// ---- Macro page ---------------------------------------------------------------------------------

CSetting_MacroDlg::CSetting_MacroDlg(AppContext& app)
    : WindowClass(IDD_SETTING_MACRO, app, u"macro\\Macro_Normal.bmp", u"macro\\Macro_Down.bmp",
                  u"macro\\Macro_Over.bmp") {}

std::span<const MessageEntry> CSetting_MacroDlg::MessageEntries() {
  static constexpr auto entries = Entries(OnRaw<WM_LIST_SELCHANGE, &CSetting_MacroDlg::OnListSelChange>());
  return entries;
}

BOOL CSetting_MacroDlg::OnInitDialog() {
  CSkinPage::OnInitDialog();
  const bool chinese = app_.ChineseText();
  MakeList(categories_, GetSafeHwnd(), sp::kCategoryList, kCategoryListId, app_, chinese);
  MakeList(macros_, GetSafeHwnd(), sp::kMacroList, kMacroListId, app_, chinese);
  for (int item = 0; item < kSettingCategoryCount; ++item)
    categories_.AddItem(listbox::kPlain, std::u16string(SettingCategoryName(item, chinese)), uint32_t(item));
  // Adding selects (and scrolls to) each new row; the page opens at the top, nothing chosen.
  categories_.SetCurSel(-1);
  categories_.Send(LB_SETTOPINDEX, 0);
  ShowMacros();
  return TRUE;
}

LRESULT CSetting_MacroDlg::OnListSelChange(WPARAM listId, LPARAM selection) {
  if (listId == kCategoryListId && rules_.OnCategorySelected(int(selection))) ShowMacros();
  return 0;
}

void CSetting_MacroDlg::ShowMacros() {
  macros_.Send(WM_SETREDRAW, FALSE);
  macros_.DeleteAllItems();
  for (const MacroRow& row : MacrosOfCategory(app_.library(), rules_.ShownCategory()))
    macros_.AddItem(listbox::kPlain, row.name, row.macroId);
  // No macro is chosen until the user picks one.
  macros_.SetCurSel(-1);
  macros_.Send(LB_SETTOPINDEX, 0);
  macros_.Send(WM_SETREDRAW, TRUE);
  ::InvalidateRect(macros_, nullptr, TRUE);
}

void CSetting_MacroDlg::FillResult(SettingResult& result) const {
  const int row = macros_.GetCurSel();
  FillMacroResult(row >= 0 ? std::optional<uint32_t>(macros_.GetItemData(row)) : std::nullopt, result);
}

// ---- Basic-function page -----------------------------------------------------------------------

CSetting_BaseDlg::CSetting_BaseDlg(AppContext& app)
    : WindowClass(IDD_SETTING_BASE, app, u"base\\Base_Normal.bmp", u"base\\Base_Down.bmp", u"base\\Base_Over.bmp") {}

std::span<const MessageEntry> CSetting_BaseDlg::MessageEntries() {
  static constexpr std::array<MessageEntry, 0> none{};
  return none;
}

BOOL CSetting_BaseDlg::OnInitDialog() {
  CSkinPage::OnInitDialog();
  MakeList(list_, GetSafeHwnd(), sp::kFunctionList, kListId, app_, app_.ChineseText());
  for (const BaseFunctionRow& row : kBaseFunctionRows)
    list_.AddItem(listbox::kPlain, app_.catalogue()[row.text], uint32_t(row.type));
  list_.SetCurSel(-1);
  list_.Send(LB_SETTOPINDEX, 0);
  return TRUE;
}

// ---- Advanced page ------------------------------------------------------------------------------

std::span<const MessageEntry> CLaunchPathBox::MessageEntries() {
  static constexpr auto entries = Entries(
      On<WM_LBUTTONDOWN, &CLaunchPathBox::OnLButtonDown>(),
      On<WM_LBUTTONUP, &CLaunchPathBox::OnLButtonUp>(),
      On<WM_LBUTTONDBLCLK, &CLaunchPathBox::OnLButtonDblClk>());
  return entries;
}

void CLaunchPathBox::OnLButtonDblClk(UINT, POINT) {
  ::SendMessageW(::GetParent(GetSafeHwnd()), WM_COMMAND, MAKEWPARAM(0, BN_DOUBLECLICKED),
                 reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

CSetting_AdvanceDlg::CSetting_AdvanceDlg(AppContext& app, Shell& shell, int buttonIndex)
    : WindowClass(IDD_SETTING_ADVANCE, app, u"advanced\\Advanced_Normal.bmp", u"advanced\\Advanced_Down.bmp",
                  u"advanced\\Advanced_Over.bmp"),
      shell_(shell),
      rules_(buttonIndex) {}

std::span<const MessageEntry> CSetting_AdvanceDlg::MessageEntries() {
  static constexpr auto entries = Entries(On<WM_COMMAND, &CSetting_AdvanceDlg::OnCommand>());
  return entries;
}

BOOL CSetting_AdvanceDlg::OnInitDialog() {
  CSkinPage::OnInitDialog();
  LoadButtonPictures();
  const bool chinese = app_.ChineseText();
  const SkinLook& look = SkinLook::ForLayout(chinese);
  const HWND self = GetSafeHwnd();
  for (size_t row = 0; row < size_t(kLaunchRowCount); ++row) {
    const sp::LaunchRow& place = sp::kLaunchRows[row];
    MakeCheckButton(radios_[row], self, place.radio, look, normal_, over_, down_);
    const RECT path = ToRect(place.path);
    paths_[row].Create(self, path);
    paths_[row].SetLook(look);
    paths_[row].SetSkin(path.left, path.top, path.right, path.bottom, Bits(normal_), Bits(normal_), Bits(normal_),
                        Bits(normal_));
    const RECT browse = ToRect(place.browse);
    browse_[row].Create(self, browse);
    browse_[row].SetLook(look);
    browse_[row].SetSkin(browse.left, browse.top, browse.right, browse.bottom, Bits(normal_), Bits(over_), Bits(down_),
                         Bits(normal_));
    browse_[row].SetText(chinese ? u"浏览" : u"Browse");
  }
  DropButtonPictures();
  return TRUE;
}

void CSetting_AdvanceDlg::OnCommand(UINT code, UINT id, HWND control) {
  for (int row = 0; control && row < kLaunchRowCount; ++row) {
    if (control == radios_[size_t(row)].GetSafeHwnd() && code == BN_CLICKED) {
      rules_.Check(row);
      ShowRows();
      return;
    }
    if ((control == browse_[size_t(row)].GetSafeHwnd() && code == BN_CLICKED) ||
        (control == paths_[size_t(row)].GetSafeHwnd() && code == BN_DOUBLECLICKED)) {
      Browse(row);
      return;
    }
  }
  HandleCommand(code, id, control);
}

void CSetting_AdvanceDlg::Browse(int row) {
  // The row is checked before the chooser opens, whatever the user then decides.
  rules_.Check(row);
  ShowRows();
  rules_.Browse(row, shell_, ::GetAncestor(GetSafeHwnd(), GA_ROOT));
  ShowRows();
}

void CSetting_AdvanceDlg::ShowRows() {
  for (int row = 0; row < kLaunchRowCount; ++row) {
    radios_[size_t(row)].SetCheck(rules_.CheckedRow() == row);
    if (paths_[size_t(row)].GetText() != rules_.Path(row)) paths_[size_t(row)].SetText(rules_.Path(row));
  }
}

void CSetting_AdvanceDlg::PaintOver(HDC dc) {
  const SkinLook& look = SkinLook::ForLayout(app_.ChineseText());
  for (size_t row = 0; row < size_t(kLaunchRowCount); ++row)
    DrawLine(dc, app_.catalogue()[kLaunchRowLabels[row]], sp::kLaunchRows[row].label, kLabelColor, look);
}

}  // namespace nx7::win32
