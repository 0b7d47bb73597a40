// MenuEx.dll: the skinned popup menu library shipped beside the program (calls in menu_ex.h).
// One menu is open at a time in the process; it belongs to the thread that opened it.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#include "menu_ex.h"
#include "menu_ex_session_win32.h"

namespace nx7::menuex {
namespace {

HINSTANCE libraryInstance = nullptr;

// The open menu belongs to the thread that opened it; other threads only see its top level's
// window (openRoot) and ask that thread to close it.
std::unique_ptr<MenuSession> openMenu;
std::atomic<HWND> openRoot{nullptr};
HHOOK mouseHook = nullptr;
// Menus closed while one of their windows' messages was being handled: deleted once the
// outermost of those messages is done, so no handler runs on a deleted session.
std::vector<std::unique_ptr<MenuSession>> closedMenus;
int dispatchDepth = 0;

struct DispatchScope {
  DispatchScope() { ++dispatchDepth; }
  ~DispatchScope() {
    if (--dispatchDepth == 0) closedMenus.clear();
  }
};

void CloseMenu() {
  if (!openMenu) return;
  if (mouseHook) ::UnhookWindowsHookEx(mouseHook);
  mouseHook = nullptr;
  openRoot = nullptr;
  std::unique_ptr<MenuSession> menu = std::move(openMenu);
  menu->DestroyWindows();
  if (dispatchDepth > 0) closedMenus.push_back(std::move(menu));
}

// Ends the menu as `result` asks and reports a choice to the owner, after the menu is gone.
void Finish(const MenuSession::Result& result) {
  if (!result.end || !openMenu) return;
  const HWND owner = openMenu->Owner();
  CloseMenu();
  if (result.record && ::IsWindow(owner)) {
    ::SendMessageW(owner, WM_MENUEX_SELECT, static_cast<WPARAM>(*result.record),
                   static_cast<LPARAM>(static_cast<uint32_t>(result.id)));
  }
}

LRESULT CALLBACK LevelProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  DispatchScope scope;
  if (!openMenu || !openMenu->Owns(window)) return ::DefWindowProcW(window, message, w, l);
  const MenuSession::Result result = openMenu->Handle(window, message, w, l);
  Finish(result);
  return result.value;
}

// A press on any other window of the thread closes the menu, also when the menu never got the
// activation (its owner was not in the foreground).
LRESULT CALLBACK MouseHook(int code, WPARAM w, LPARAM l) {
  if (code == HC_ACTION && openMenu) {
    switch (w) {
      case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
      case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN: {
        const auto* mouse = reinterpret_cast<const MOUSEHOOKSTRUCT*>(l);
        if (!openMenu->Owns(mouse->hwnd)) ::PostMessageW(openMenu->Root(), kCloseMessage, 0, 0);
        break;
      }
      default:
        break;
    }
  }
  return ::CallNextHookEx(nullptr, code, w, l);
}

bool OpenOnThisThread() {
  const HWND root = openRoot.load();
  return root && ::GetWindowThreadProcessId(root, nullptr) == ::GetCurrentThreadId();
}

// A menu open on another thread is closed by that thread.
void CloseMenuOfOtherThread() {
  const HWND root = openRoot.load();
  if (!root || OpenOnThisThread()) return;
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(root, kCloseMessage, 0, 0, SMTO_NORMAL, 2000, &ignored);
}

bool RegisterLevelClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (::GetClassInfoExW(libraryInstance, kLevelClassName, &wc)) return true;
  wc = WNDCLASSEXW{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = LevelProc;
  wc.hInstance = libraryInstance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kLevelClassName;
  return ::RegisterClassExW(&wc) != 0;
}

// How many of `count` records can be read at all: a count beyond the array stops at the end of
// the readable memory it runs into.
long long ReadableRecords(const MenuExItem* items, long long count) {
  if (!items || count <= 0) return 0;
  count = std::min<long long>(count, static_cast<long long>(kMaxEntries));
  const auto* begin = reinterpret_cast<const char*>(items);
  const size_t wanted = static_cast<size_t>(count) * sizeof(MenuExItem);
  size_t readable = 0;
  constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                              PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
  while (readable < wanted) {
    MEMORY_BASIC_INFORMATION info{};
    if (!::VirtualQuery(begin + readable, &info, sizeof(info))) break;
    if (info.State != MEM_COMMIT || !(info.Protect & kReadable) || (info.Protect & PAGE_GUARD)) break;
    const char* regionEnd = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    readable = static_cast<size_t>(regionEnd - begin);
  }
  return static_cast<long long>(std::min(readable, wanted) / sizeof(MenuExItem));
}

}  // namespace
}  // namespace nx7::menuex

using namespace nx7::menuex;

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    libraryInstance = instance;
    ::DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && !reserved) {
    // Freed while the process goes on: a class left registered would point into freed code.
    ::UnregisterClassW(kLevelClassName, instance);
  }
  return TRUE;
}

__declspec(dllexport) BOOL WINAPI CreateMenuEx(HWND owner, int itemHeight, POINT position, COLORREF normalText,
                                               COLORREF hotText, COLORREF openText, const wchar_t* normalPicture,
                                               const wchar_t* overPicture, const wchar_t* downPicture,
                                               const wchar_t* openPicture, const wchar_t* normalSubPicture,
                                               const wchar_t* overSubPicture, const wchar_t* downSubPicture,
                                               const wchar_t* openSubPicture, const MenuExItem* items, int count) {
  if (!owner || !::IsWindow(owner)) return FALSE;
  CloseMenuOfOtherThread();
  if (openRoot.load() && !OpenOnThisThread()) return FALSE;  // its thread did not answer
  CloseMenu();
  MenuTree tree = MenuTree::FromRecords(items, ReadableRecords(items, count));
  if (tree.TopLevel().empty() || !RegisterLevelClass()) return FALSE;

  MenuStyle style;
  style.itemHeight = CheckedItemHeight(itemHeight);
  style.text = {normalText, hotText, openText};
  const wchar_t* pictures[kPictureCount] = {normalPicture,    overPicture,    downPicture,    openPicture,
                                            normalSubPicture, overSubPicture, downSubPicture, openSubPicture};
  for (int i = 0; i < kPictureCount; ++i) {
    if (pictures[i]) style.pictures[static_cast<size_t>(i)] = pictures[i];
  }
  auto menu = std::make_unique<MenuSession>(libraryInstance, owner, style);
  if (!menu->Create(std::move(tree), position)) return FALSE;
  openMenu = std::move(menu);
  openRoot = openMenu->Root();
  mouseHook = ::SetWindowsHookExW(WH_MOUSE, MouseHook, nullptr, ::GetCurrentThreadId());
  openMenu->Show();
  return TRUE;
}

__declspec(dllexport) void WINAPI DestroyMenuEx() {
  if (!OpenOnThisThread()) {
    CloseMenuOfOtherThread();
    return;
  }
  CloseMenu();
}

__declspec(dllexport) BOOL WINAPI DllPreTranslateMessage(MSG* message) {
  if (!message || !OpenOnThisThread() || !openMenu || openMenu->Owns(message->hwnd)) return FALSE;
  switch (message->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      DispatchScope scope;
      Finish(openMenu->Key(static_cast<UINT>(message->wParam)));
      return TRUE;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
      return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
      CloseMenu();
      return FALSE;
    default:
      return FALSE;
  }
}

}  // extern "C"
