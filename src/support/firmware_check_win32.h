#pragma once
// The firmware check of the support page's update button (support/firmware_check.h) on Windows:
// questions and messages in the program's message box, fetches through URLDownloadToFileW with a
// wait cursor, the flashing tool started through the shell and WM_CLOSE posted to the main window
// after the hand-over. Runs to its end on the user-interface thread, inside the button's handler.
#include <windows.h>

#include <string>

#include "app/app_context.h"
#include "platform/shell.h"
#include "support/firmware_check.h"

namespace nx7::win32 {

// `owner` owns the message boxes (the support page); `mainWindow` receives WM_CLOSE once the
// flashing tool has been started. `firmwareVersionText` is the page's FirmwareVersionText and
// `firmwareAddress` the image address it keeps. Paths, the manifest address (UpdateServer.ini),
// the XML reader, the files and the language come from `app`.
FirmwareCheckResult RunFirmwareCheck(AppContext& app, Shell& shell, HWND owner, HWND mainWindow,
                                     const std::u16string& firmwareVersionText, std::u16string& firmwareAddress);
// The same, starting the flashing tool through ShellExecuteW.
FirmwareCheckResult RunFirmwareCheck(AppContext& app, HWND owner, HWND mainWindow,
                                     const std::u16string& firmwareVersionText, std::u16string& firmwareAddress);

}  // namespace nx7::win32
