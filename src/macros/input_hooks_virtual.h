#pragma once
// A HookInstaller without a system: it remembers which InputHooks it serves so that a test can
// feed events straight into the hook procedures, and it can be told to fail.
#include "macros/input_hooks.h"

namespace nx7 {

class VirtualHookInstaller : public HookInstaller {
 public:
  bool Install(InputHooks& hooks) override {
    ++installCalls;
    if (!succeed) return false;
    installed = &hooks;
    return true;
  }
  void Remove() override { installed = nullptr; }

  bool succeed = true;      // what the next Install returns
  int installCalls = 0;
  InputHooks* installed = nullptr;  // the hooks events go to, null while removed
};

}  // namespace nx7
