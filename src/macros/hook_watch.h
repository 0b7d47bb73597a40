#pragma once
// Noticing low-level hooks the system took away. Windows removes a low-level hook whose procedure
// answered too slowly once, and says nothing: the hook simply stops being called. The hook
// thread therefore looks every so often at two figures: the time of the desktop's last input,
// and how many events its hooks have seen. Input with no hook call since is a hook gone.
//
// Input is time-stamped before the hooks run, so a look can fall between the two; a hook call
// that is merely late arrives well before the next look. Only input the hooks have still not
// seen one look later counts.
//
// An idle desktop gives nothing to notice, so the looks space out while no input comes: a hook
// lost then is noticed with the first input it misses, one idle period later at most.
#include <cstdint>

namespace nx7 {

class HookWatch {
 public:
  static constexpr uint32_t kBusyLookMs = 500;
  static constexpr uint32_t kIdleLookMs = 2000;

  // One look: `lastInputTime` is the desktop's last-input stamp, `hookCalls` the hooks' running
  // count of events. Returns true when the hooks must be placed again.
  bool Look(uint32_t lastInputTime, uint32_t hookCalls) {
    const bool newInput = started_ && lastInputTime != lastInput_;
    const bool newCalls = started_ && hookCalls != calls_;
    const bool gone = suspect_ && !newCalls;
    suspect_ = !gone && newInput && !newCalls;
    busy_ = newInput || newCalls || suspect_ || gone;
    started_ = true;
    lastInput_ = lastInputTime;
    calls_ = hookCalls;
    return gone;
  }
  // How long until the next look.
  uint32_t NextLookMs() const { return busy_ ? kBusyLookMs : kIdleLookMs; }

 private:
  bool started_ = false;
  bool suspect_ = false;
  bool busy_ = true;
  uint32_t lastInput_ = 0;
  uint32_t calls_ = 0;
};

}  // namespace nx7
