#pragma once
// The tooltip a control owns: created on first use (inactive), one tool covering the control's
// client area, mouse messages relayed to it by the control.
#include <windows.h>

#include <string>

#include "framework/handles.h"

namespace nx7::win32 {

class ToolTip {
 public:
  // Creates the tooltip window for `control` if there is none yet.
  void Ensure(HWND control);
  // Sets the text of the tool covering `control` (adding the tool if needed) and activates or
  // deactivates the tooltip.
  void SetText(HWND control, const std::u16string& text, bool activate);
  // Hands a mouse message of `control` to the tooltip (TTM_RELAYEVENT), creating it if needed.
  void Relay(HWND control, UINT message, WPARAM w, LPARAM l);

  // Destroys the tooltip window (the control is going away).
  void Destroy() { window_.Reset(); hasTool_ = false; active_ = false; }

  HWND Handle() const { return window_; }
  std::u16string Text(HWND control) const;
  bool IsActive() const { return active_; }

 private:
  Window window_;
  bool hasTool_ = false;
  bool active_ = false;
};

}  // namespace nx7::win32
