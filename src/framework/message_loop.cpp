#include "framework/message_loop.h"

#include <algorithm>
#include <vector>

#include "platform/win32/owned_handle.h"

namespace nx7::win32 {
namespace {

struct ThreadFilters {
  std::vector<MessageFilter*> filters;
  Hook hook;
  int hookUsers = 0;
};

ThreadFilters& Current() {
  thread_local ThreadFilters state;
  return state;
}

LRESULT CALLBACK MessageFilterHook(int code, WPARAM w, LPARAM l) {
  if (code >= 0 && l && RunMessageFilters(*reinterpret_cast<MSG*>(l))) return TRUE;
  return ::CallNextHookEx(nullptr, code, w, l);
}

}  // namespace

void AddMessageFilter(MessageFilter& filter) {
  auto& filters = Current().filters;
  if (std::find(filters.begin(), filters.end(), &filter) == filters.end()) filters.push_back(&filter);
}

void RemoveMessageFilter(MessageFilter& filter) {
  auto& filters = Current().filters;
  filters.erase(std::remove(filters.begin(), filters.end(), &filter), filters.end());
}

bool RunMessageFilters(MSG& msg) {
  // A filter may add or remove filters (a page destroyed by a key): run over a copy.
  const std::vector<MessageFilter*> filters = Current().filters;
  for (auto it = filters.rbegin(); it != filters.rend(); ++it) {
    const auto& live = Current().filters;
    if (std::find(live.begin(), live.end(), *it) == live.end()) continue;
    if ((*it)->PreTranslateMessage(msg)) return true;
  }
  return false;
}

ModalFilterScope::ModalFilterScope() {
  ThreadFilters& state = Current();
  if (state.hookUsers++ == 0) {
    state.hook.Attach(::SetWindowsHookExW(WH_MSGFILTER, &MessageFilterHook, nullptr, ::GetCurrentThreadId()));
  }
}

ModalFilterScope::~ModalFilterScope() {
  ThreadFilters& state = Current();
  if (--state.hookUsers == 0) state.hook.Reset();
}

int RunMessageLoop(const std::function<bool()>& until) {
  ModalFilterScope modalLoops;
  MSG msg{};
  while (!(until && until())) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      // Leave the quit message for an outer loop when this one only runs until a condition.
      if (until) ::PostQuitMessage(static_cast<int>(msg.wParam));
      return static_cast<int>(msg.wParam);
    }
    if (got == -1) return -1;
    if (RunMessageFilters(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}

void DialogNavigation::Start(HWND dialog) {
  dialog_ = dialog;
  AddMessageFilter(*this);
}

void DialogNavigation::Stop() {
  if (!dialog_) return;
  RemoveMessageFilter(*this);
  dialog_ = nullptr;
}

bool DialogNavigation::PreTranslateMessage(MSG& msg) {
  if (!dialog_ || !msg.hwnd || (msg.hwnd != dialog_ && !::IsChild(dialog_, msg.hwnd))) return false;
  // Only keyboard input navigates; everything else is dispatched as usual.
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  return ::IsDialogMessageW(dialog_, &msg) != FALSE;
}

}  // namespace nx7::win32
