// nx7_post TITLE MESSAGE [WPARAM [LPARAM]]: posts a window message to the top-level window with
// that title (numbers in decimal or 0x hexadecimal) and exits 0, or 1 when no such window exists.
// The Windows tests use it to unplug and plug the virtual mouse of a running NX7Driver.exe
// (NX7Driver.exe --virtual; message 0x8101, wParam 0 unplug, 1 plug). Never shipped.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fwprintf(stderr, L"usage: nx7_post TITLE MESSAGE [WPARAM [LPARAM]]\n");
    return 2;
  }
  const HWND window = ::FindWindowW(nullptr, argv[1]);
  if (!window) return 1;
  const UINT message = static_cast<UINT>(std::wcstoul(argv[2], nullptr, 0));
  const WPARAM w = argc > 3 ? static_cast<WPARAM>(std::wcstoull(argv[3], nullptr, 0)) : 0;
  const LPARAM l = argc > 4 ? static_cast<LPARAM>(std::wcstoll(argv[4], nullptr, 0)) : 0;
  return ::PostMessageW(window, message, w, l) ? 0 : 1;
}
