#pragma once
// The tooltip a control owns: created on first use (inactive), one tool covering the control's
// client area. Once watching its control, it is a filter of the thread's message loop
// (framework/message_loop.h) and relays the control's mouse messages before the control handles
// them, creating the tooltip window first if needed.
#include <windows.h>

#include <string>

#include "framework/handles.h"
#include "framework/message_loop.h"

namespace nx7::win32 {

class ToolTip final : public MessageFilter {
 public:
  ToolTip() = default;
  ~ToolTip() { Unwatch(); }
  ToolTip(const ToolTip&) = delete;
  ToolTip& operator=(const ToolTip&) = delete;

  // Relays the mouse messages of `control` from now on (the control has just been created).
  void Watch(HWND control);
  bool PreTranslateMessage(MSG& msg) override;

  // Creates the tooltip window for `control` if there is none yet.
  void Ensure(HWND control);
  // Sets the text of the tool covering `control` (adding the tool if needed) and activates or
  // deactivates the tooltip.
  void SetText(HWND control, const std::u16string& text, bool activate);
  // Hands a mouse message of `control` to the tooltip (TTM_RELAYEVENT), creating it if needed.
  void Relay(HWND control, UINT message, WPARAM w, LPARAM l);

  // Destroys the tooltip window (the control is going away).
  void Destroy() {
    Unwatch();
    window_.Reset();
    hasTool_ = false;
    active_ = false;
  }

  HWND Handle() const { return window_.Get(); }
  std::u16string Text(HWND control) const;
  bool IsActive() const { return active_; }

 private:
  void Unwatch();

  HWND watched_ = nullptr;
  Window window_;
  bool hasTool_ = false;
  bool active_ = false;
};

}  // namespace nx7::win32
