// A small window program on which the end-to-end harness proves itself: it behaves in
// miniature as the NX7 program does towards the outside (a titled top-level window, a tray
// icon with a "Config"/"Exit" menu, close hides to the tray, files beside itself, a registry
// value) and logs every input it gets, so a test sees what its clicks and keys did.
//
//   nx7_e2e_window.exe [--title TEXT] [--exit-code N]
// Log: the file named by NX7_E2E_LOG, else "<program path>.log", one event a line.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

constexpr UINT kTrayMessage = 0x46C;
constexpr UINT kConfig = 0x6000;
constexpr UINT kExit = 0x6001;
constexpr int kButtonId = 100;

std::wstring g_title = L"NX7 e2e window";
int g_exitCode = 0;
bool g_inverted = false;  // the button swaps the bands' colours (a repaint to time)
NOTIFYICONDATAW g_tray{};

std::wstring ProgramPath() {
  wchar_t path[MAX_PATH * 2] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
  return path;
}

void Log(const std::wstring& line) {
  wchar_t name[MAX_PATH * 2] = {};
  std::wstring path = ::GetEnvironmentVariableW(L"NX7_E2E_LOG", name, MAX_PATH * 2) ? name : ProgramPath() + L".log";
  HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::wstring text = line + L"\n";
  char utf8[2048] = {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), utf8, sizeof utf8, nullptr, nullptr);
  DWORD written = 0;
  ::WriteFile(file, utf8, DWORD(size), &written, nullptr);
  ::CloseHandle(file);
}

void WriteBesideProgram() {
  std::wstring path = ProgramPath();
  path = path.substr(0, path.find_last_of(L'\\')) + L"\\Profile";
  ::CreateDirectoryW(path.c_str(), nullptr);
  HANDLE file = ::CreateFileW((path + L"\\written.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, "written", 7, &written, nullptr);
  ::CloseHandle(file);
}

void WriteRegistry() {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\VORNA\\NX7E2E", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
    return;
  const DWORD pid = ::GetCurrentProcessId();
  ::RegSetValueExW(key, L"Started", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&pid), sizeof pid);
  ::RegSetValueExW(key, L"Title", 0, REG_SZ, reinterpret_cast<const BYTE*>(g_title.c_str()),
                   DWORD((g_title.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);
}

void ShowTrayMenu(HWND window) {
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuW(menu, MF_STRING, kConfig, L"Config");
  ::AppendMenuW(menu, MF_STRING, kExit, L"Exit");
  POINT at{};
  ::GetCursorPos(&at);
  ::SetForegroundWindow(window);
  ::TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
  ::DestroyMenu(menu);
}

void Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(window, &ps);
  RECT client;
  ::GetClientRect(window, &client);
  // Bands of colour, so a screenshot of the window is not a single colour.
  for (int y = 0; y < client.bottom; y += 10) {
    RECT band{0, y, client.right, y + 10};
    HBRUSH brush = ::CreateSolidBrush(g_inverted ? RGB(160, 80, 40 + y % 200) : RGB(40 + y % 200, 80, 160));
    ::FillRect(dc, &band, brush);
    ::DeleteObject(brush);
  }
  ::SetBkMode(dc, TRANSPARENT);
  ::TextOutW(dc, 20, 100, g_title.c_str(), int(g_title.size()));
  ::EndPaint(window, &ps);
}

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_LBUTTONDOWN:
      Log(L"down " + std::to_wstring(short(LOWORD(l))) + L" " + std::to_wstring(short(HIWORD(l))));
      return 0;
    case WM_LBUTTONDBLCLK:
      Log(L"double " + std::to_wstring(short(LOWORD(l))) + L" " + std::to_wstring(short(HIWORD(l))));
      return 0;
    case WM_KEYDOWN:
      Log(L"key " + std::to_wstring(w));
      return 0;
    case WM_CHAR:
      Log(std::wstring(L"char ") + wchar_t(w));
      return 0;
    case WM_COMMAND:
      if (LOWORD(w) == kButtonId) {
        Log(L"button");
        g_inverted = !g_inverted;
        ::InvalidateRect(window, nullptr, FALSE);
      }
      if (LOWORD(w) == kConfig) ::ShowWindow(window, SW_SHOW);
      if (LOWORD(w) == kExit) {
        Log(L"exit");
        ::Shell_NotifyIconW(NIM_DELETE, &g_tray);
        ::DestroyWindow(window);
      }
      return 0;
    case kTrayMessage:
      Log(L"tray " + std::to_wstring(l));
      if (l == WM_LBUTTONDBLCLK) ::ShowWindow(window, SW_SHOW);
      if (l == WM_RBUTTONUP) ShowTrayMenu(window);
      return 0;
    case WM_CLOSE:  // the close box and Alt+F4 hide to the tray
      Log(L"hide");
      ::ShowWindow(window, SW_HIDE);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(g_exitCode);
      return 0;
  }
  return ::DefWindowProcW(window, message, w, l);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  for (int i = 1; i + 1 < count; i += 2) {
    const std::wstring option = arguments[i];
    if (option == L"--title") g_title = arguments[i + 1];
    if (option == L"--exit-code") g_exitCode = _wtoi(arguments[i + 1]);
  }
  ::LocalFree(arguments);

  wchar_t value[256] = {};
  ::GetEnvironmentVariableW(L"NX7_E2E_VALUE", value, 256);
  Log(std::wstring(L"start ") + value);
  WriteBesideProgram();
  WriteRegistry();

  WNDCLASSW wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"NX7E2EWindow";
  ::RegisterClassW(&wc);
  HWND window = ::CreateWindowExW(0, wc.lpszClassName, g_title.c_str(), WS_POPUP | WS_SYSMENU, 100, 100, 400, 300,
                                  nullptr, nullptr, instance, nullptr);
  ::CreateWindowExW(0, L"BUTTON", L"Press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 120, 40, window,
                    reinterpret_cast<HMENU>(kButtonId), instance, nullptr);

  g_tray.cbSize = sizeof g_tray;
  g_tray.hWnd = window;
  g_tray.uID = 0;
  g_tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  g_tray.uCallbackMessage = kTrayMessage;
  g_tray.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
  lstrcpynW(g_tray.szTip, g_title.c_str(), 128);
  ::Shell_NotifyIconW(NIM_ADD, &g_tray);

  ::ShowWindow(window, SW_SHOW);
  ::SetForegroundWindow(window);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  Log(L"end");
  return int(msg.wParam);
}
