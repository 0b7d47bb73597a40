#pragma once
// InputHooks: the process-wide watcher of the desktop's keyboard and mouse input.
//
// It decides, for every low-level keyboard and mouse event, what to post to its target window
// and whether the event is swallowed (never reaches the system) or passed on unchanged. Mouse
// inputs whose code is in the intercept table are swallowed, press and matching release, and
// reported once; every other press and wheel step is reported while mouse notification is on;
// while recording, every keyboard event is posted as WM_MACRO_INPUT.
//
// Threads: the hook procedures (OnKeyboardEvent, OnMouseEvent) run on the thread the
// HookInstaller delivers events on; the intercept table, flags and target may be changed from
// any other thread meanwhile. Every field is a single atomic word, read by the hook procedures
// without a lock and without ever waiting.
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "buttons/inputs.h"
#include "platform/message_poster.h"

namespace nx7 {

class InputHooks;

// Places the system's low-level keyboard and mouse hooks so that each event reaches
// InputHooks::OnKeyboardEvent / OnMouseEvent, and takes them away again.
class HookInstaller {
 public:
  virtual ~HookInstaller() = default;
  // True when both hooks are in place. Installing again while installed keeps the hooks that are
  // in place (each event is still seen once) and returns true.
  virtual bool Install(InputHooks& hooks) = 0;
  // Takes both hooks away; nothing happens when none are in place.
  virtual void Remove() = 0;
};

enum class HookResult { kPassOn, kSwallow };

// Told of every pointer move the mouse hook sees, on the hook's thread: it must return at once.
class PointerMoveListener {
 public:
  virtual void PointerMoved() = 0;

 protected:
  ~PointerMoveListener() = default;
};

class InputHooks {
 public:
  static constexpr int kInterceptEntries = 12;
  static constexpr uint32_t kKeyReleasedFlag = 0x80;

  // `poster` delivers the posts, `installer` places the hooks; both must outlive this object.
  InputHooks(MessagePoster& poster, HookInstaller& installer);
  // Takes the hooks away: they must not outlive the object they feed.
  ~InputHooks();
  InputHooks(const InputHooks&) = delete;
  InputHooks& operator=(const InputHooks&) = delete;

  // Target and default target become `window`, then both hooks are installed; true when both are
  // in place.
  bool InstallHooks(WindowHandle window);
  // Takes both hooks away; the table, flags and targets are kept.
  void RemoveHooks();

  void SetNotifyFlags(bool keyDown, bool mouse);
  // Every post goes to `window` from now on.
  void SetHookTarget(WindowHandle window);
  // Switching recording off also sends the posts back to the default target.
  void SetRecordMode(bool on);

  // Adds `code` to the intercept table (or, with `remove`, clears its entry). Adding a code that
  // is present, adding to a full table and removing an absent code change nothing. Always true.
  bool SetMouseIntercept(MouseEventCode code, bool remove);
  bool IsMouseIntercepted(MouseEventCode code) const;

  // The keyboard hook procedure: `vk` virtual-key code, `flags` the event's flags (0x80 release).
  // Keyboard events are never swallowed.
  HookResult OnKeyboardEvent(uint32_t vk, uint32_t flags);
  // The mouse hook procedure: `message` the mouse message (0x201 left press ...), `mouseData` the
  // event's mouse data (wheel delta or extra-button number in its upper half).
  HookResult OnMouseEvent(uint32_t message, uint32_t mouseData);

  // Pointer moves go to `listener` from now on (null: to nobody). Once this returns, the listener
  // that was replaced is called no more and may go.
  void SetPointerMoveListener(PointerMoveListener* listener);
  // Inspection, for tests and diagnostics.
  WindowHandle Target() const { return target_.load(std::memory_order_relaxed); }
  bool RecordMode() const { return recording_.load(std::memory_order_relaxed); }
  uint32_t PendingRelease() const { return pendingRelease_.load(std::memory_order_relaxed); }

 private:
  void PostToTarget(uint32_t message, uintptr_t wParam, intptr_t lParam);
  bool Intercepted(MouseEventCode code) const;

  MessagePoster& poster_;
  HookInstaller& installer_;
  std::array<std::atomic<uint32_t>, kInterceptEntries> intercepts_{};
  std::mutex tableWriters_;  // writers only; the hook procedures never take it
  std::atomic<bool> recording_{false};
  std::atomic<bool> keyDownNotify_{true};
  std::atomic<bool> mouseNotify_{true};
  std::atomic<WindowHandle> target_{nullptr};
  std::atomic<WindowHandle> defaultTarget_{nullptr};
  std::atomic<uint32_t> pendingRelease_{0};
  std::atomic<PointerMoveListener*> moveListener_{nullptr};
  std::atomic<int> moveCallsInFlight_{0};
};

}  // namespace nx7
