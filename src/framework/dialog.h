#pragma once
// CDialogEx: a dialog made from a dialog template in the program's resources, run modally
// (DoModal returns the value given to EndDialog) or created modeless (a page inside another
// window, for instance). Templates are empty frames: controls are created in code.
//
// Default commands: IDOK calls OnOK, IDCANCEL (Escape, WM_CLOSE) calls OnCancel; both end a
// modal dialog with their id and destroy a modeless one.
//
// Keyboard navigation: a modal dialog's loop runs the thread's message filters (a modeless page
// inside it navigates too); a modeless dialog adds its own dialog navigation to those filters.
#include <windows.h>

#include "framework/message_loop.h"
#include "framework/wnd.h"

namespace nx7::win32 {

// The module whose resources hold the templates, bitmaps and icons (the program itself unless
// set otherwise).
HINSTANCE ResourceModule();
void SetResourceModule(HINSTANCE module);

class CDialogEx : public CWnd {
 public:
  explicit CDialogEx(UINT templateId, HWND parent = nullptr) : templateId_(templateId), parent_(parent) {}
  ~CDialogEx() override { DestroyWindow(); }

  static const MessageTable& Table();

  // Runs the dialog modally; -1 when the template is missing or the dialog cannot be created.
  INT_PTR DoModal();
  // Creates the dialog modeless (visible or not as its template says).
  bool Create(HWND parent = nullptr);
  void EndDialog(INT_PTR result);
  // The owner of the next DoModal or Create (a dialog object shown over different windows).
  void SetParentWindow(HWND parent) { parent_ = parent; }
  bool IsModal() const { return modal_; }
  UINT TemplateId() const { return templateId_; }

 protected:
  const MessageTable& Messages() const override;
  void OnFinalMessage() override { navigation_.Stop(); }

  // WM_INITDIALOG; return TRUE to let the dialog manager set the focus.
  virtual BOOL OnInitDialog() { return TRUE; }
  virtual void OnOK() { Close(IDOK); }
  virtual void OnCancel() { Close(IDCANCEL); }
  // The dialog's own command handling (IDOK, IDCANCEL); windows with their own WM_COMMAND
  // handler pass the commands they do not take here.
  void HandleCommand(UINT code, UINT id, HWND control);

 private:
  static INT_PTR CALLBACK StartProc(HWND, UINT, WPARAM, LPARAM);
  BOOL HandleInitDialog() { return OnInitDialog(); }
  void Close(INT_PTR result);

  UINT templateId_;
  HWND parent_;
  bool modal_ = false;
  DialogNavigation navigation_;
};

}  // namespace nx7::win32
