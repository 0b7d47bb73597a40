#pragma once
// CSettingDlg: the modal dialog (template 108) in which the user chooses the function of one input
// through four pages: a key combination typed on the keyboard, a macro, a basic function or a
// launch. It only produces a SettingResult; EditInputFunction then applies it.
//
// The dialog's window text is its title ("Key setting panel" / "按键设定面板"), so that a test or a
// tool finds it; its buttons have control id 0 and sit at the places of layout::setting_dialog.
#include <array>
#include <memory>
#include <string>

#include "app/app_context.h"
#include "buttons/setting_dialog_rules.h"
#include "buttons/setting_pages_win32.h"
#include "framework/dialog.h"
#include "framework/double_buffer.h"
#include "framework/message_loop.h"
#include "framework/window_class.h"
#include "platform/keyboard_layout.h"
#include "platform/shell.h"
#include "skin/gdi_bitmap_btn_win32.h"
#include "skin/skin_images_win32.h"

namespace nx7::win32 {

class CSettingDlg : public WindowClass<CSettingDlg, CDialogEx, DoubleBufferedPaint<CSettingDlg>>,
                    private MessageFilter {
 public:
  // For input `buttonIndex` over `parent`; `currentFunction` is the text of what the input does now.
  CSettingDlg(AppContext& app, Shell& shell, KeyboardLayout& layout, HWND parent, int buttonIndex,
              std::u16string currentFunction);
  ~CSettingDlg() override;
  static std::span<const MessageEntry> MessageEntries();

  // Modeless (tests and tools): as CDialogEx::Create, with the swallowing of Enter, Escape and
  // Space placed before the dialog's own navigation, as in the modal loop.
  bool Create(HWND parent);

  const SettingResult& Result() const { return rules_.Result(); }
  // IDOK or IDCANCEL once closed (also when created modeless), 0 while open.
  INT_PTR ClosedWith() const { return closedWith_; }
  const SettingDialogRules& Rules() const { return rules_; }
  // The line drawn under the title: "Current function: " and the text given.
  std::u16string CurrentFunctionLine() const;

  // The controls, for the tests and tools that drive the dialog.
  HWND CloseButton() const { return close_.GetSafeHwnd(); }
  HWND Tab(SettingPage page) const { return tabs_[size_t(page)].GetSafeHwnd(); }
  HWND DisableBox() const { return disable_.GetSafeHwnd(); }
  HWND RestoreButton() const { return restore_.GetSafeHwnd(); }
  HWND OkButton() const { return ok_.GetSafeHwnd(); }
  CSetting_SingleComboDlg& ComboPage() { return *combo_; }
  CSetting_MacroDlg& MacroPage() { return *macro_; }
  CSetting_BaseDlg& BasePage() { return *base_; }
  CSetting_AdvanceDlg& AdvancePage() { return *advance_; }
  HWND Page(SettingPage page) const;

 protected:
  BOOL OnInitDialog() override;
  // Enter never reaches here (swallowed, so that the combination page can capture it).
  void OnOK() override {}
  // The close button, Escape's and Alt+F4's WM_CLOSE.
  void OnCancel() override;

 private:
  friend DoubleBufferedPaint<CSettingDlg>;
  bool PreTranslateMessage(MSG& msg) override;
  void Paint(HDC dc);
  void OnCommand(UINT code, UINT id, HWND control);
  void OnLButtonDown(UINT flags, POINT point);
  void OnDestroy();
  void SelectTab(SettingPage page);
  void Show();
  void Apply(SettingDialogRules::Recording recording);
  void OnRestore();
  void OnOkButton();
  void CreateButton(CGDIBitmapBtn& button, const layout::Rect& r, bool check);
  void CloseWith(INT_PTR result);

  AppContext& app_;
  Shell& shell_;
  KeyboardLayout& layout_;
  SettingDialogRules rules_;
  std::u16string current_;
  bool chinese_ = false;
  bool filtering_ = false;
  INT_PTR closedWith_ = 0;
  SharedSkinBitmap normal_, down_, over_;
  CGDIBitmapBtn close_, disable_, restore_, ok_;
  std::array<CGDIBitmapBtn, kSettingPageCount> tabs_;
  std::unique_ptr<CSetting_SingleComboDlg> combo_;
  std::unique_ptr<CSetting_MacroDlg> macro_;
  std::unique_ptr<CSetting_BaseDlg> base_;
  std::unique_ptr<CSetting_AdvanceDlg> advance_;
};

// Opens the button settings dialog for `input` over `parent`; after OK applies the choice to the settings block being edited through the assignment rules, showing a refusal in the message box. Returns true when the input's assignment changed.
bool EditInputFunction(AppContext& app, HWND parent, int input);

// The same with the shell that runs the file and folder choosers and the keyboard layout that
// names keys given (the system's above; a test's recording ones under test).
bool EditInputFunction(AppContext& app, HWND parent, int input, Shell& shell, KeyboardLayout& layout);

}  // namespace nx7::win32
