#pragma once
// CWnd: one window of the program. The object attaches itself to its window handle (by replacing
// the window's procedure, so standard controls and dialogs are handled the same way) and
// routes every message through its class's message table; unhandled or declined messages go on
// to the window's own procedure. No exception leaves a handler: the router catches it, writes it
// to the failure log (framework/failure_log.h) and answers the message with the default
// processing.
//
// Reflection: notifications a parent receives about one of the layer's controls (owner drawing
// and measuring, control colours, WM_NOTIFY, scroll-bar scrolling) are offered to that control
// first, as kReflect + message; what it does not take goes on to the parent's own table.
//
// Ownership: the object owns its window, and the window must go while the object is whole: a
// derived class whose window may still exist destroys it in its own destructor (DestroyWindow),
// so no handler ever runs on a half-destroyed object. The base destructor checks this: a window
// found alive there is a fault, logged and counted (WindowsLeftToBase), before the base destroys
// it without routing. Destroying the window (by the user or by its parent) detaches the object,
// which can then be created again.
#include <windows.h>

#include <string>

#include "framework/message_table.h"

namespace nx7::win32 {

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND GetSafeHwnd() const { return hwnd_; }
  operator HWND() const { return hwnd_; }
  bool IsWindow() const { return hwnd_ && ::IsWindow(hwnd_); }

  // Creates a window of a registered class (a standard control's class such as L"BUTTON", or
  // the layer's plain class when `className` is null) and attaches to it. `rect` is in the
  // parent's client coordinates. PreCreateWindow may change styles first.
  bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect,
                HWND parent, UINT id);
  // Attaches to an existing window (subclassing it). Fails when the window is already attached.
  bool Attach(HWND hwnd);
  // Stops routing and gives the window up without destroying it.
  HWND Detach();
  bool DestroyWindow();

  // The object attached to `hwnd`, or null.
  static CWnd* FromHandle(HWND hwnd);

  // Message helpers.
  LRESULT Send(UINT message, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageW(hwnd_, message, w, l); }
  bool Post(UINT message, WPARAM w = 0, LPARAM l = 0) const { return ::PostMessageW(hwnd_, message, w, l) != 0; }
  void Invalidate(bool erase = true) const { ::InvalidateRect(hwnd_, nullptr, erase); }
  void ModifyStyle(DWORD remove, DWORD add) const;
  std::wstring GetWindowText() const;
  RECT GetClientRect() const;

  // Number of exceptions caught at window procedures in this process (tests and diagnostics).
  static unsigned CaughtExceptions();
  // Number of windows still alive when the CWnd base destructor ran (each one a fault).
  static unsigned WindowsLeftToBase();

  // This class's message table: the layer's base, to be chained by every window class.
  static const MessageTable& Table();

  // Called by a handler that does not take the message after all: routing goes on with the
  // next entry for the message (in this table or a chained one) and then the default processing.
  void Decline() { current_.declined = true; }

  // The layer's plain window class (double clicks, arrow cursor, no background brush).
  static const wchar_t* PlainClassName();

 protected:
  // The table of the object's class (WindowClass generates it).
  virtual const MessageTable& Messages() const;

  // Called before the window is created with its CREATESTRUCT; may change style bits.
  virtual void PreCreateWindow(CREATESTRUCTW& cs) {}
  // Sees every message before the table does (tooltip relaying, for example).
  virtual void BeforeMessage(UINT message, WPARAM w, LPARAM l) {}
  // Called after the last message (WM_NCDESTROY), when the object is detached, and only once no
  // handler of this object is running any more: a window destroyed from inside one of its own
  // handlers gets it when that handler has returned. An override may delete the object.
  virtual void OnFinalMessage() {}

  // The default processing of the message being handled.
  LRESULT Default();
  // The number of the message being handled.
  UINT CurrentMessage() const { return current_.message; }
  // The default processing as if `message` had arrived with the current arguments.
  LRESULT DefaultAs(UINT message);

  // Routes one message through the table; false when no entry handles it.
  bool Dispatch(UINT message, WPARAM w, LPARAM l, LRESULT& result);
  LRESULT Route(UINT message, WPARAM w, LPARAM l);

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  bool Reflect(UINT message, WPARAM w, LPARAM l, LRESULT& result);

  struct MessageArgs {
    UINT message = 0;
    WPARAM w = 0;
    LPARAM l = 0;
    bool declined = false;
  };
  // Runs the entries of `table` for the message until one takes it.
  bool RunEntries(const MessageTable& table, UINT message, WPARAM w, LPARAM l, LRESULT& result);
  // Runs OnFinalMessage, recording an exception as a window procedure would.
  void RunFinalMessage(HWND destroyed);

  HWND hwnd_ = nullptr;
  WNDPROC previous_ = nullptr;  // the procedure this object's replaced, given what it does not take
  MessageArgs current_;
  int routeDepth_ = 0;         // handlers of this object now running (messages nest)
  HWND finalPending_ = nullptr;  // destroyed while routeDepth_ > 0: OnFinalMessage is due

  friend class CDialogEx;
};

}  // namespace nx7::win32
