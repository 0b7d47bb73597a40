// NX7Driver.exe: the configuration program of the NX7 mouse.
#include <windows.h>

#include <string>
#include <vector>

#include "app/driver_app_win32.h"
#include "platform/win32/wide.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::vector<std::u16string> args;
  for (int i = 1; i < __argc; ++i) args.push_back(nx7::win32::FromWide(__wargv[i]));
  return nx7::win32::CNX70DriverApp().Run(args);
}
