#include "buttons/setting_dlg_win32.h"

#include "buttons/setting_result.h"
#include "common/text.h"
#include "framework/timer_source.h"
#include "platform/win32/keyboard_layout_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"
#include "skin/dlg_info_win32.h"
#include "skin/layout_win32.h"
#include "skin/skin_look_win32.h"

namespace nx7::win32 {
namespace {

namespace sd = layout::setting_dialog;

constexpr COLORREF kTitleColor = 0x695F58;
constexpr COLORREF kTextColor = 0xC8BDBD;
constexpr COLORREF kTabTextNormal = 0x676153;
constexpr COLORREF kTabTextLit = 0xFFFFFF;

HBITMAP Bits(const SharedSkinBitmap& p) { return p ? p->bitmap.Get() : nullptr; }

const char16_t* Pick(bool chinese, const char16_t* zh, const char16_t* en) { return chinese ? zh : en; }

const wchar_t* Title(bool chinese) { return chinese ? L"\u6309\u952E\u8BBE\u5B9A\u9762\u677F" : L"Key setting panel"; }

bool IsSwallowedKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP && msg.message != WM_CHAR) return false;
  return msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE || msg.wParam == VK_SPACE;
}

}  // namespace

CSettingDlg::CSettingDlg(AppContext& app, Shell& shell, KeyboardLayout& layout, HWND parent, int buttonIndex,
                         std::u16string currentFunction)
    : WindowClass(IDD_SETTING, parent),
      app_(app),
      shell_(shell),
      layout_(layout),
      rules_(buttonIndex),
      current_(std::move(currentFunction)) {}

CSettingDlg::~CSettingDlg() {
  DestroyWindow();
  if (filtering_) RemoveMessageFilter(*this);
}

bool CSettingDlg::Create(HWND parent) {
  if (!CDialogEx::Create(parent)) return false;
  if (filtering_) {
    RemoveMessageFilter(*this);
    AddMessageFilter(*this);
  }
  return true;
}

std::span<const MessageEntry> CSettingDlg::MessageEntries() {
  static constexpr auto entries = Entries(
      On<WM_COMMAND, &CSettingDlg::OnCommand>(),
      On<WM_LBUTTONDOWN, &CSettingDlg::OnLButtonDown>(),
      On<WM_DESTROY, &CSettingDlg::OnDestroy>());
  return entries;
}

void CSettingDlg::CreateButton(CGDIBitmapBtn& button, const layout::Rect& r, bool check) {
  button.Create(GetSafeHwnd(), ToRect(r));
  button.SetLook(SkinLook::ForLayout(chinese_));
  button.SetSkin(r.left, r.top, r.right, r.bottom, Bits(normal_), Bits(over_), Bits(down_), Bits(normal_));
  if (check) button.SetCheckMode(true, false);
}

BOOL CSettingDlg::OnInitDialog() {
  chinese_ = app_.ChineseText();
  const HWND self = GetSafeHwnd();
  ::SetWindowTextW(self, Title(chinese_));
  const std::u16string skins = app_.ProgramFolder() + u"\\skins\\setting\\";
  normal_ = SharedFileBitmap(skins + u"Setting_Normal.bmp");
  down_ = SharedFileBitmap(skins + u"Setting_Down.bmp");
  over_ = SharedFileBitmap(skins + u"Setting_Over.bmp");

  // The size of the normal picture, centred over the parent's window.
  const int width = normal_ && *normal_ ? normal_->width : sd::kClient.width;
  const int height = normal_ && *normal_ ? normal_->height : sd::kClient.height;
  RECT over{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  if (const HWND parent = ::GetParent(self)) ::GetWindowRect(parent, &over);
  ::SetWindowPos(self, nullptr, over.left + (over.right - over.left - width) / 2,
                 over.top + (over.bottom - over.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

  CreateButton(close_, sd::kCloseButton, false);
  static constexpr std::array<const char16_t*, 4> kTabZh{u"组合键", u"宏设置", u"基本功能", u"高级功能"};
  static constexpr std::array<const char16_t*, 4> kTabEn{u"Singlecomb", u"Macro Set", u"Base", u"Advanced"};
  for (size_t t = 0; t < tabs_.size(); ++t) {
    CreateButton(tabs_[t], sd::kTabs[t], true);
    tabs_[t].SetTextColors(kTabTextNormal, kTabTextLit, kTabTextLit);
    tabs_[t].SetText(chinese_ ? kTabZh[t] : kTabEn[t]);
  }
  CreateButton(disable_, sd::kDisableCheck, true);
  CreateButton(restore_, sd::kRestoreButton, false);
  restore_.SetText(Pick(chinese_, u"恢复默认", u"Restore"));
  CreateButton(ok_, sd::kOkButton, false);
  ok_.SetText(Pick(chinese_, u"确定", u"OK"));

  const RECT area = ToRect(sd::kPageArea);
  combo_ = std::make_unique<CSetting_SingleComboDlg>(app_, layout_);
  macro_ = std::make_unique<CSetting_MacroDlg>(app_);
  base_ = std::make_unique<CSetting_BaseDlg>(app_);
  advance_ = std::make_unique<CSetting_AdvanceDlg>(app_, shell_, rules_.Result().buttonIndex);
  combo_->CreatePage(self, area);
  macro_->CreatePage(self, area);
  base_->CreatePage(self, area);
  advance_->CreatePage(self, area);

  // Added after the pages, so it runs before their own dialog navigation.
  AddMessageFilter(*this);
  filtering_ = true;
  SelectTab(SettingPage::kCombination);
  return TRUE;
}

HWND CSettingDlg::Page(SettingPage page) const {
  switch (page) {
    case SettingPage::kCombination: return combo_ ? combo_->GetSafeHwnd() : nullptr;
    case SettingPage::kMacro: return macro_ ? macro_->GetSafeHwnd() : nullptr;
    case SettingPage::kBasic: return base_ ? base_->GetSafeHwnd() : nullptr;
    case SettingPage::kLaunch: return advance_ ? advance_->GetSafeHwnd() : nullptr;
  }
  return nullptr;
}

bool CSettingDlg::PreTranslateMessage(MSG& msg) {
  const HWND self = GetSafeHwnd();
  if (!self || !IsSwallowedKey(msg)) return false;
  return msg.hwnd == self || ::IsChild(self, msg.hwnd);
}

void CSettingDlg::Apply(SettingDialogRules::Recording recording) {
  InputHooks& hooks = app_.hooks();
  switch (recording) {
    case SettingDialogRules::Recording::kOn:
      hooks.SetHookTarget(combo_ ? combo_->GetSafeHwnd() : nullptr);
      hooks.SetRecordMode(true);
      break;
    case SettingDialogRules::Recording::kOff: hooks.SetRecordMode(false); break;
    case SettingDialogRules::Recording::kUnchanged: break;
  }
}

void CSettingDlg::SelectTab(SettingPage page) {
  Apply(rules_.SelectTab(page));
  Show();
}

void CSettingDlg::Show() {
  disable_.SetCheck(rules_.Disabled());
  for (int p = 0; p < kSettingPageCount; ++p) {
    tabs_[size_t(p)].SetCheck(rules_.SelectedTab() == p);
    if (const HWND page = Page(SettingPage(p))) ::ShowWindow(page, rules_.VisiblePage() == p ? SW_SHOW : SW_HIDE);
  }
}

void CSettingDlg::OnCommand(UINT code, UINT id, HWND control) {
  if (!control || code != BN_CLICKED) {
    HandleCommand(code, id, control);
    return;
  }
  if (control == close_.GetSafeHwnd()) {
    OnCancel();
  } else if (control == disable_.GetSafeHwnd()) {
    Apply(rules_.ToggleDisable());
    Show();
  } else if (control == restore_.GetSafeHwnd()) {
    OnRestore();
  } else if (control == ok_.GetSafeHwnd()) {
    OnOkButton();
  } else {
    for (int t = 0; t < kSettingPageCount; ++t)
      if (control == tabs_[size_t(t)].GetSafeHwnd()) SelectTab(SettingPage(t));
  }
}

void CSettingDlg::OnRestore() {
  rules_.Restore();
  CloseWith(IDOK);
}

void CSettingDlg::OnOkButton() {
  const bool chosen = rules_.Ok([this](SettingPage page, SettingResult& result) {
    switch (page) {
      case SettingPage::kCombination: combo_->FillResult(result); break;
      case SettingPage::kMacro: macro_->FillResult(result); break;
      case SettingPage::kBasic: base_->FillResult(result); break;
      case SettingPage::kLaunch: advance_->FillResult(result); break;
    }
  });
  CloseWith(chosen ? IDOK : IDCANCEL);
}

void CSettingDlg::OnCancel() { CloseWith(IDCANCEL); }

void CSettingDlg::CloseWith(INT_PTR result) {
  Apply(SettingDialogRules::kOnClose);
  closedWith_ = result;
  if (result == IDOK) {
    CDialogEx::OnOK();
  } else {
    CDialogEx::OnCancel();
  }
}

void CSettingDlg::OnDestroy() {
  // However the window goes, the keyboard goes back to the main window.
  Apply(SettingDialogRules::kOnClose);
  if (filtering_) {
    RemoveMessageFilter(*this);
    filtering_ = false;
  }
  Default();
}

void CSettingDlg::OnLButtonDown(UINT, POINT point) {
  // The background drags the dialog, as its caption would.
  ::ClientToScreen(GetSafeHwnd(), &point);
  ::PostMessageW(GetSafeHwnd(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
}

std::u16string CSettingDlg::CurrentFunctionLine() const {
  return std::u16string(Pick(chinese_, u"当前功能: ", u"Current function: ")) + current_;
}

void CSettingDlg::Paint(HDC dc) {
  if (normal_ && *normal_) {
    BitmapDc source(dc, normal_->bitmap.Get());
    ::BitBlt(dc, 0, 0, normal_->width, normal_->height, source, 0, 0, SRCCOPY);
  } else {
    const RECT client = GetClientRect();
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  }
  SelectGuard font(dc, SkinLook::ForLayout(chinese_).CaptionFont());
  ::SetBkMode(dc, TRANSPARENT);
  constexpr UINT kLine = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
  ::SetTextColor(dc, kTitleColor);
  RECT title = ToRect(sd::kTitle);
  ::DrawTextW(dc, Title(chinese_), -1, &title, DT_CENTER | kLine);
  ::SetTextColor(dc, kTextColor);
  const std::u16string current = CurrentFunctionLine();
  RECT currentRect = ToRect(sd::kCurrentFunction);
  ::DrawTextW(dc, Wide(current), -1, &currentRect, DT_LEFT | kLine);
  RECT disableLabel = ToRect(sd::kDisableLabel);
  ::DrawTextW(dc, Wide(std::u16string(Pick(chinese_, u"禁用按键", u"Disable key"))), -1, &disableLabel,
              DT_LEFT | kLine);
}

bool EditInputFunction(AppContext& app, HWND parent, int input, Shell& shell, KeyboardLayout& layout) {
  if (input < 0 || size_t(input) >= kInputCount) return false;
  const ButtonAssignment& button = app.settings().buttons[size_t(input)];
  CSettingDlg dialog(app, shell, layout, parent, input, TextFromField(button.displayName, kTextFieldLength));
  const INT_PTR closed = dialog.DoModal();
  ButtonRecords records{app.settings(), app.macroIds(), app.library(), layout, app.ChineseText()};
  const AppliedSetting applied = ApplySettingResult(records, dialog.Result(), closed == IDOK);
  if (!applied.refusal.empty()) {
    CDlgInfo box(parent, app.clock(), WindowTimers());
    box.chineseText = app.ChineseText();
    box.text = applied.refusal;
    box.DoModal();
  }
  return applied.changed;
}

bool EditInputFunction(AppContext& app, HWND parent, int input) {
  Win32Shell shell;
  Win32KeyboardLayout layout;
  return EditInputFunction(app, parent, input, shell, layout);
}

}  // namespace nx7::win32
