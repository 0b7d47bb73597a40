#pragma once
// The tooltip a control owns: one tool covering the control's client area, inactive until given
// a text. Once watching its control, it is a filter of the thread's message loop
// (framework/message_loop.h) and relays the control's mouse messages before the control handles
// them.
//
// The tools of a thread's controls live in one tooltip window, made on first use and destroyed
// with the last tool: making a tooltip window costs Wine about 3 ms, and a page has dozens of
// controls. A control's tooltip being inactive means its mouse messages are not relayed, so its
// tip never shows; the others are not affected.
#include <windows.h>

#include <string>

#include "framework/message_loop.h"

namespace nx7::win32 {

class ToolTip final : public MessageFilter {
 public:
  ToolTip() = default;
  ~ToolTip() { Destroy(); }
  ToolTip(const ToolTip&) = delete;
  ToolTip& operator=(const ToolTip&) = delete;

  // Relays the mouse messages of `control` from now on (the control has just been created).
  void Watch(HWND control);
  bool PreTranslateMessage(MSG& msg) override;

  // Adds the tool covering `control` to the thread's tooltip window if it has none yet.
  void Ensure(HWND control);
  // Sets the text of the tool covering `control` (adding the tool if needed) and activates or
  // deactivates it.
  void SetText(HWND control, const std::u16string& text, bool activate);
  // Hands a mouse message of `control` to the tooltip (TTM_RELAYEVENT) while it is active.
  void Relay(HWND control, UINT message, WPARAM w, LPARAM l);

  // Removes the tool (the control is going away).
  void Destroy();

  // The thread's tooltip window holding the tool; none before the tool exists.
  HWND Handle() const;
  std::u16string Text(HWND control) const;
  bool IsActive() const { return active_; }

 private:
  void Unwatch();

  HWND watched_ = nullptr;
  HWND tool_ = nullptr;  // the control whose tool this is
  bool active_ = false;
};

}  // namespace nx7::win32
