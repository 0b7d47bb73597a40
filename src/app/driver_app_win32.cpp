#include "app/driver_app_win32.h"

#include <windows.h>

#include <memory>

#include "app/app_context.h"
#include "app/main_dlg_win32.h"
#include "app/main_window_rules.h"
#include "app/program_services_win32.h"
#include "framework/ui_init.h"
#include "i18n/language_choice.h"
#include "platform/win32/owned_handle.h"
#include "platform/win32/program_folder_win32.h"
#include "platform/win32/wide.h"

namespace nx7::win32 {

int CNX70DriverApp::Run(const std::vector<std::u16string>& args) {
  const ParsedOptions parsed = ParseProgramOptions(args);
  if (!parsed.error.empty()) {
    ::MessageBoxW(nullptr, Wide(parsed.error), L"NX7Driver", MB_OK | MB_ICONERROR);
    return 2;
  }
  // 1. Common controls, the window layer and GDI+.
  InitUserInterface();
  // 2. One instance: a second start shows the first one's window and ends. The mutex is held
  // until the process ends.
  const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, kInstanceMutexName);
  if (mutex && ::GetLastError() == ERROR_ALREADY_EXISTS) {
    if (const HWND first = ::FindWindowW(nullptr, kMainWindowTitle))
      ::PostMessageW(first, WM_TRAY_NOTIFY, 0, WM_LBUTTONDBLCLK);
    return 0;
  }
  // 3. The download event is the worker's, made with the main window. 4. The program folder.
  const std::u16string folder = ProgramFolder();
  std::u16string error;
  std::unique_ptr<ProgramServices> services = ProgramServices::Make(parsed.options, error);
  if (!services) {
    ::MessageBoxW(nullptr, Wide(error), L"NX7Driver", MB_OK | MB_ICONERROR);
    return 1;
  }
  AppContext app(folder, services->TakeAppServices());
  // 5. The default catalogue, then the main window, modally; the process ends when it returns.
  LoadInitialCatalogue(app.Language());
  {
    CNX70DriverDlg dialog(app, *services);
    dialog.DoModal();
  }
  return 0;
}

}  // namespace nx7::win32
