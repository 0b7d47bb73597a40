#pragma once
// The user-interface thread's message loop and its filters. A filter sees each queued message
// before it is translated and dispatched and may take it (dialog navigation of a modeless page,
// a tooltip's relayed mouse messages). The same filters run inside the modal loops Windows runs
// itself (a modal dialog box, a popup menu, scrolling, moving or sizing): while a loop of this
// layer or a modal dialog of this layer runs, a message-filter hook hands those loops' messages
// to the filters too, so a modeless page inside a modal dialog navigates like one outside it.
//
// Filters run newest first; filters belong to the thread that added them.
#include <windows.h>

#include <functional>

namespace nx7::win32 {

class MessageFilter {
 public:
  // True when the message was handled and must not be dispatched.
  virtual bool PreTranslateMessage(MSG& msg) = 0;

 protected:
  ~MessageFilter() = default;
};

// Adds and removes filters of the calling thread.
void AddMessageFilter(MessageFilter& filter);
void RemoveMessageFilter(MessageFilter& filter);
// Runs the calling thread's filters on `msg`; true when one took it.
bool RunMessageFilters(MSG& msg);

// Runs the thread's message loop until WM_QUIT (returning its exit code) or, with `until` given,
// until it holds after a message (returning 0).
int RunMessageLoop(const std::function<bool()>& until = nullptr);

// While it exists, the modal loops Windows runs on this thread (dialog boxes, menus, scroll,
// move and size loops) run the thread's filters as well. Nested scopes share one hook.
class ModalFilterScope {
 public:
  ModalFilterScope();
  ~ModalFilterScope();
  ModalFilterScope(const ModalFilterScope&) = delete;
  ModalFilterScope& operator=(const ModalFilterScope&) = delete;
};

// Dialog navigation (Tab, arrows, mnemonics, Enter and Escape) for a modeless dialog or page:
// the messages of `dialog` and its children go through IsDialogMessage.
class DialogNavigation final : public MessageFilter {
 public:
  void Start(HWND dialog);
  void Stop();
  ~DialogNavigation() { Stop(); }
  bool PreTranslateMessage(MSG& msg) override;

 private:
  HWND dialog_ = nullptr;
};

}  // namespace nx7::win32
