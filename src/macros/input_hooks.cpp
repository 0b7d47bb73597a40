#include "macros/input_hooks.h"

#include <thread>

#include "macros/hook_messages.h"

namespace nx7 {
namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

constexpr uint32_t kMove = 0x200;
constexpr uint32_t kLeftPress = 0x201;
constexpr uint32_t kRightPress = 0x204;
constexpr uint32_t kMiddlePress = 0x207;
constexpr uint32_t kWheel = 0x20A;
constexpr uint32_t kExtraPress = 0x20B;
constexpr uint32_t kExtraRelease = 0x20C;

// Keyboard flags below this value mark a press: the release bit (0x80) is clear and so are the
// higher flag combinations.
constexpr uint32_t kKeyPressFlagsLimit = 0x22;
constexpr uintptr_t kKeyDownNotification = 1;

}  // namespace

InputHooks::InputHooks(MessagePoster& poster, HookInstaller& installer)
    : poster_(poster), installer_(installer) {}

InputHooks::~InputHooks() { installer_.Remove(); }

bool InputHooks::InstallHooks(WindowHandle window) {
  target_.store(window, kRelaxed);
  defaultTarget_.store(window, kRelaxed);
  return installer_.Install(*this);
}

void InputHooks::RemoveHooks() { installer_.Remove(); }

void InputHooks::SetNotifyFlags(bool keyDown, bool mouse) {
  keyDownNotify_.store(keyDown, kRelaxed);
  mouseNotify_.store(mouse, kRelaxed);
}

void InputHooks::SetHookTarget(WindowHandle window) { target_.store(window, kRelaxed); }

void InputHooks::SetRecordMode(bool on) {
  recording_.store(on, kRelaxed);
  if (!on) target_.store(defaultTarget_.load(kRelaxed), kRelaxed);
}

bool InputHooks::SetMouseIntercept(MouseEventCode code, bool remove) {
  std::lock_guard lock(tableWriters_);
  for (auto& entry : intercepts_) {
    if (entry.load(kRelaxed) == code) {
      if (remove) entry.store(0, kRelaxed);
      return true;
    }
  }
  if (remove) return true;
  for (auto& entry : intercepts_) {
    if (entry.load(kRelaxed) == 0) {
      entry.store(code, kRelaxed);
      return true;
    }
  }
  return true;  // full: the code is not taken, and that is no error
}

bool InputHooks::IsMouseIntercepted(MouseEventCode code) const { return Intercepted(code); }

bool InputHooks::Intercepted(MouseEventCode code) const {
  for (const auto& entry : intercepts_) {
    if (entry.load(kRelaxed) == code) return true;
  }
  return false;
}

void InputHooks::PostToTarget(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  // Without a target there is no receiver; a null window would land in the hook thread's queue.
  if (WindowHandle target = target_.load(kRelaxed)) poster_.Post(target, message, wParam, lParam);
}

HookResult InputHooks::OnKeyboardEvent(uint32_t vk, uint32_t flags) {
  if (flags < kKeyPressFlagsLimit && keyDownNotify_.load(kRelaxed)) {
    PostToTarget(WM_HOOKED_INPUT, kKeyDownNotification, static_cast<intptr_t>(flags));
  }
  if (recording_.load(kRelaxed)) PostToTarget(WM_MACRO_INPUT, vk, static_cast<intptr_t>(flags));
  return HookResult::kPassOn;
}

void InputHooks::SetPointerMoveListener(PointerMoveListener* listener) {
  moveListener_.store(listener);
  // A hook call that picked up the old listener before the store is let finish.
  while (moveCallsInFlight_.load() != 0) std::this_thread::yield();
}

HookResult InputHooks::OnMouseEvent(uint32_t message, uint32_t mouseData) {
  if (message == kMove) {
    moveCallsInFlight_.fetch_add(1);
    if (PointerMoveListener* listener = moveListener_.load()) listener->PointerMoved();
    moveCallsInFlight_.fetch_sub(1);
    return HookResult::kPassOn;
  }
  MouseEventCode code = 0;
  uint32_t release = 0;  // the release to swallow after an intercepted press; 0 for the wheel
  switch (message) {
    case kLeftPress:
    case kRightPress:
    case kMiddlePress:
      code = message;
      release = message + 1;
      break;
    case kWheel:
      code = static_cast<int32_t>(mouseData) >= 0 ? kMouseWheelForward : kMouseWheelBackward;
      break;
    case kExtraPress:
      code = kExtraPress + mouseData;
      release = kExtraRelease;
      break;
    default:
      break;
  }
  if (code != 0) {
    if (Intercepted(code)) {
      PostToTarget(WM_HOOKED_INPUT, code, 0);
      if (release != 0) pendingRelease_.store(release, kRelaxed);
      return HookResult::kSwallow;
    }
    if (mouseNotify_.load(kRelaxed)) PostToTarget(WM_HOOKED_INPUT, code, 0);
  }
  const uint32_t pending = pendingRelease_.load(kRelaxed);
  if (pending != 0 && message == pending) {
    pendingRelease_.store(0, kRelaxed);
    return HookResult::kSwallow;
  }
  return HookResult::kPassOn;
}

}  // namespace nx7
