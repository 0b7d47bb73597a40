#include "framework/dialog.h"

#include "framework/ui_init.h"

namespace nx7::win32 {
namespace {
HINSTANCE resourceModule = nullptr;
}

HINSTANCE ResourceModule() { return resourceModule ? resourceModule : ::GetModuleHandleW(nullptr); }
void SetResourceModule(HINSTANCE module) { resourceModule = module; }

const MessageTable& CDialogEx::Table() {
  static constexpr MessageEntry entries[] = {
      On<WM_INITDIALOG, &CDialogEx::HandleInitDialog>(),
      On<WM_COMMAND, &CDialogEx::HandleCommand>(),
  };
  static const MessageTable* const chained[] = {&CWnd::Table()};
  static const MessageTable table{entries, chained};
  return table;
}

const MessageTable& CDialogEx::Messages() const { return Table(); }

INT_PTR CDialogEx::DoModal() {
  if (GetSafeHwnd()) return -1;
  InitUserInterface();
  modal_ = true;
  ModalFilterScope filters;
  const INT_PTR result = ::DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(templateId_), parent_,
                                           &CDialogEx::StartProc, reinterpret_cast<LPARAM>(this));
  modal_ = false;
  return result;
}

bool CDialogEx::Create(HWND parent) {
  if (GetSafeHwnd()) return false;
  InitUserInterface();
  if (parent) parent_ = parent;
  modal_ = false;
  HWND dialog = ::CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(templateId_), parent_,
                                     &CDialogEx::StartProc, reinterpret_cast<LPARAM>(this));
  if (!dialog) return false;
  if (GetSafeHwnd() == dialog) navigation_.Start(dialog);
  return true;
}

void CDialogEx::EndDialog(INT_PTR result) {
  if (GetSafeHwnd()) ::EndDialog(GetSafeHwnd(), result);
}

void CDialogEx::Close(INT_PTR result) {
  if (modal_) {
    EndDialog(result);
  } else {
    DestroyWindow();
  }
}

void CDialogEx::HandleCommand(UINT code, UINT id, HWND control) {
  if (id == IDOK && code == BN_CLICKED) {
    OnOK();
  } else if (id == IDCANCEL && code == BN_CLICKED) {
    OnCancel();
  } else {
    Default();
  }
}

// The dialog procedure only attaches the object when WM_INITDIALOG arrives; from then on the
// subclass routes every message and this procedure leaves all to the dialog manager.
INT_PTR CALLBACK CDialogEx::StartProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  if (message != WM_INITDIALOG) return FALSE;
  auto* self = reinterpret_cast<CDialogEx*>(l);
  if (!self || FromHandle(hwnd) == self) return FALSE;
  if (!self->Attach(hwnd)) return FALSE;
  return self->Route(message, w, l);
}

}  // namespace nx7::win32
