#include "macros/input_hooks_win32.h"

#include <atomic>

#include "macros/hook_watch.h"
#include "platform/win32/win32_error.h"

namespace nx7::win32 {
namespace {

// The system gives the hook procedures no context, so they find their InputHooks here. It is set
// before the hooks are placed and cleared after they are gone.
std::atomic<InputHooks*> g_hooks{nullptr};
std::atomic<Win32HookInstaller*> g_owner{nullptr};
// How many events the hook procedures have seen, and how often the watch placed them again.
std::atomic<uint32_t> g_hookCalls{0};
std::atomic<unsigned> g_reinstalls{0};
constexpr UINT kDropHooks = WM_APP + 1;  // thread message: tests take the hooks away as the system would

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    if (InputHooks* hooks = g_hooks.load(std::memory_order_acquire)) {
      const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
      g_hookCalls.fetch_add(1, std::memory_order_relaxed);
      hooks->OnKeyboardEvent(event->vkCode, event->flags);  // never swallows
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    if (InputHooks* hooks = g_hooks.load(std::memory_order_acquire)) {
      const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
      g_hookCalls.fetch_add(1, std::memory_order_relaxed);
      if (hooks->OnMouseEvent(static_cast<uint32_t>(wParam), event->mouseData) == HookResult::kSwallow) {
        return 1;
      }
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

Win32HookInstaller::~Win32HookInstaller() { Remove(); }

DWORD WINAPI Win32HookInstaller::HookThread(void* param) {
  auto* self = static_cast<Win32HookInstaller*>(param);
  // The queue must exist before the installer may post WM_QUIT to this thread.
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  // Input waits for this thread: let it run ahead of ordinary work.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);

  // Both hooks are taken away when this thread ends.
  HINSTANCE module = GetModuleHandleW(nullptr);
  Hook keyboard(SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardProc, module, 0));
  if (!keyboard) self->lastError_ = LastErrorText("SetWindowsHookExW(WH_KEYBOARD_LL)");
  Hook mouse;
  if (keyboard) {
    mouse.Attach(SetWindowsHookExW(WH_MOUSE_LL, MouseProc, module, 0));
    if (!mouse) self->lastError_ = LastErrorText("SetWindowsHookExW(WH_MOUSE_LL)");
  }
  const bool installed = keyboard && mouse;
  self->threadInstalled_ = installed;
  SetEvent(self->ready_.Get());  // `self` may not be touched by this thread after this point
  if (!installed) return 1;

  HookWatch watch;
  UINT_PTR lookTimer = SetTimer(nullptr, 0, watch.NextLookMs(), nullptr);
  UINT lookPeriod = watch.NextLookMs();
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.hwnd == nullptr && msg.message == kDropHooks) {
      keyboard.Reset();
      mouse.Reset();
    } else if (msg.hwnd == nullptr && msg.message == WM_TIMER) {
      LASTINPUTINFO last{sizeof last, 0};
      if (GetLastInputInfo(&last) && watch.Look(last.dwTime, g_hookCalls.load(std::memory_order_relaxed))) {
        // Old handles first: two live hooks of a kind would report one event twice.
        keyboard.Reset();
        mouse.Reset();
        keyboard.Attach(SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardProc, module, 0));
        mouse.Attach(SetWindowsHookExW(WH_MOUSE_LL, MouseProc, module, 0));
        g_reinstalls.fetch_add(1, std::memory_order_relaxed);
      }
      // The same id takes the new period.
      if (watch.NextLookMs() != lookPeriod) {
        lookPeriod = watch.NextLookMs();
        SetTimer(nullptr, lookTimer, lookPeriod, nullptr);
      }
    } else {
      DispatchMessageW(&msg);
    }
  }
  return 0;
}

bool Win32HookInstaller::Install(InputHooks& hooks) {
  if (thread_) {
    g_hooks.store(&hooks, std::memory_order_release);
    return true;
  }
  Win32HookInstaller* expected = nullptr;
  if (!g_owner.compare_exchange_strong(expected, this)) {
    lastError_ = "another hook installer holds the hooks";
    return false;
  }
  g_hooks.store(&hooks, std::memory_order_release);

  ready_.Attach(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!ready_) {
    lastError_ = LastErrorText("CreateEventW");
  } else {
    threadInstalled_ = false;
    Thread thread(CreateThread(nullptr, 0, HookThread, this, 0, &threadId_));
    if (!thread) {
      lastError_ = LastErrorText("CreateThread");
    } else {
      WaitForSingleObject(ready_.Get(), INFINITE);
      if (threadInstalled_) {
        thread_ = std::move(thread);
      } else {
        WaitForSingleObject(thread.Get(), INFINITE);
      }
    }
    ready_.Reset();
  }
  if (!thread_) {
    g_hooks.store(nullptr, std::memory_order_release);
    g_owner.store(nullptr);
    return false;
  }
  return true;
}

unsigned Win32HookInstaller::Reinstalls() const { return g_reinstalls.load(std::memory_order_relaxed); }

void Win32HookInstaller::DropHooksAsTheSystemWould() {
  if (thread_) PostThreadMessageW(threadId_, kDropHooks, 0, 0);
}

void Win32HookInstaller::Remove() {
  if (!thread_) return;
  PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  WaitForSingleObject(thread_.Get(), INFINITE);
  thread_.Reset();
  threadId_ = 0;
  g_hooks.store(nullptr, std::memory_order_release);
  g_owner.store(nullptr);
}

}  // namespace nx7::win32
