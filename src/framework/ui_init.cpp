#include "framework/ui_init.h"

#include <windows.h>
#include <objidl.h>
#include <commctrl.h>
#include <gdiplus.h>

#include <mutex>

namespace nx7::win32 {

bool InitUserInterface() {
  static std::once_flag once;
  static bool gdiplusStarted = false;
  std::call_once(once, [] {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&icc);
    // GDI+ stays up for the whole process: images may be released by static objects at exit,
    // after any shutdown call would have run.
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    gdiplusStarted = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  });
  return gdiplusStarted;
}

}  // namespace nx7::win32
