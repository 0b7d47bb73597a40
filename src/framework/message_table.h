#pragma once
// Message tables: each window class lists the messages it handles, one entry per message (or per
// control, for commands and notifications), each naming a typed handler. The entry's thunk cracks
// WPARAM/LPARAM into the handler's arguments. A window class states its table once, with
// WindowClass (framework/window_class.h):
//
//   class CDlgInfo : public WindowClass<CDlgInfo, CDialogEx, DoubleBufferedPaint<CDlgInfo>> {
//     ...
//     static constexpr auto MessageEntries() {
//       return Entries(On<WM_TIMER, &CDlgInfo::OnTimer>(),
//                      OnControl<&CDlgInfo::ok_, &CDlgInfo::OnOk>());
//     }
//   };
//
// Routing walks the table's own entries first, then each chained table in order (mix-ins giving
// shared behaviour to many windows, then the base class), and finally the window's default
// processing. A handler that wants the default processing as well calls CWnd::Default(); one
// that does not take this particular message calls CWnd::Decline(), and routing goes on with the
// next entry for the message as if the handler were not there.
#include <windows.h>
#include <windowsx.h>

#include <array>
#include <span>
#include <type_traits>

namespace nx7::win32 {

class CWnd;

using MessageThunk = LRESULT (*)(CWnd& window, WPARAM wParam, LPARAM lParam);

struct MessageEntry {
  UINT message;
  MessageThunk thunk;
};

struct MessageTable {
  std::span<const MessageEntry> entries;
  std::span<const MessageTable* const> chained;

  // The thunk of the first entry for `message`, here or in a chained table; null when none.
  MessageThunk Find(UINT message) const;
  // Calls `visit(thunk)` for each entry for `message`, in routing order, until it returns true.
  template <class Visit>
  bool ForEach(UINT message, Visit&& visit) const {
    for (const MessageEntry& entry : entries) {
      if (entry.message == message && visit(entry.thunk)) return true;
    }
    for (const MessageTable* table : chained) {
      if (table->ForEach(message, visit)) return true;
    }
    return false;
  }
};

// A table's entry list, as one array whatever its length.
template <class... E>
constexpr std::array<MessageEntry, sizeof...(E)> Entries(E... entries) {
  return {entries...};
}

// Reflected messages: notifications a parent receives about a child of this layer
// (owner drawing, control colours) are handed to that child first, as kReflect + message.
inline constexpr UINT kReflect = 0xBC00;

// Crackers: how each message's arguments reach its handler. A message without its own
// cracker is handled as LRESULT Handler(WPARAM, LPARAM).
template <UINT Message>
struct Cracker {
  template <class Self, auto F>
  static LRESULT Call(Self& self, WPARAM w, LPARAM l) { return (self.*F)(w, l); }
};

namespace detail {
template <class Self, auto F, class... Args>
LRESULT Invoke(Self& self, Args... args) {
  using R = decltype((self.*F)(args...));
  if constexpr (std::is_void_v<R>) {
    (self.*F)(args...);
    return 0;
  } else {
    return static_cast<LRESULT>((self.*F)(args...));
  }
}
struct NoArgs {
  template <class Self, auto F>
  static LRESULT Call(Self& self, WPARAM, LPARAM) { return Invoke<Self, F>(self); }
};
// void Handler(UINT keyFlags, POINT clientPoint)
struct Mouse {
  template <class Self, auto F>
  static LRESULT Call(Self& self, WPARAM w, LPARAM l) {
    return Invoke<Self, F>(self, static_cast<UINT>(w), POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
  }
};
// Handler(HDC)
struct Dc {
  template <class Self, auto F>
  static LRESULT Call(Self& self, WPARAM w, LPARAM) { return Invoke<Self, F>(self, reinterpret_cast<HDC>(w)); }
};
// Handler(HWND other)
struct OtherWindowW {
  template <class Self, auto F>
  static LRESULT Call(Self& self, WPARAM w, LPARAM) { return Invoke<Self, F>(self, reinterpret_cast<HWND>(w)); }
};
struct OtherWindowL {
  template <class Self, auto F>
  static LRESULT Call(Self& self, WPARAM, LPARAM l) { return Invoke<Self, F>(self, reinterpret_cast<HWND>(l)); }
};
// void Handler(HWND window, POINT screenPoint)
struct ContextMenu {
  template <class Self, auto F>
  static LRESULT Call(Self& self, WPARAM w, LPARAM l) {
    return Invoke<Self, F>(self, reinterpret_cast<HWND>(w), POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
  }
};
// void Handler(UINT code, int position, HWND scrollBar): the scroll bar is null for the window's own bar.
struct Scroll {
  template <class Self, auto F>
  static LRESULT Call(Self& self, WPARAM w, LPARAM l) {
    return Invoke<Self, F>(self, static_cast<UINT>(LOWORD(w)), static_cast<int>(static_cast<short>(HIWORD(w))),
                           reinterpret_cast<HWND>(l));
  }
};
// LRESULT Handler(const NMHDR&)
struct Notify {
  template <class Self, auto F>
  static LRESULT Call(Self& self, WPARAM, LPARAM l) {
    return Invoke<Self, F, const NMHDR&>(self, *reinterpret_cast<const NMHDR*>(l));
  }
};
// void Handler(MEASUREITEMSTRUCT&); answered TRUE.
struct MeasureItem {
  template <class Self, auto F>
  static LRESULT Call(Self& self, WPARAM, LPARAM l) {
    Invoke<Self, F, MEASUREITEMSTRUCT&>(self, *reinterpret_cast<MEASUREITEMSTRUCT*>(l));
    return TRUE;
  }
};
// HBRUSH Handler(HDC, HWND control)
struct CtlColor {
  template <class Self, auto F>
  static LRESULT Call(Self& self, WPARAM w, LPARAM l) {
    return reinterpret_cast<LRESULT>((self.*F)(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l)));
  }
};
}  // namespace detail

template <> struct Cracker<WM_PAINT> : detail::NoArgs {};
template <> struct Cracker<WM_CLOSE> : detail::NoArgs {};
template <> struct Cracker<WM_DESTROY> : detail::NoArgs {};
template <> struct Cracker<WM_INITDIALOG> : detail::NoArgs {};  // BOOL Handler(): TRUE = default focus
template <> struct Cracker<WM_ERASEBKGND> : detail::Dc {};      // BOOL Handler(HDC)
template <> struct Cracker<WM_PRINTCLIENT> : detail::Dc {};
template <> struct Cracker<WM_MOUSEMOVE> : detail::Mouse {};
template <> struct Cracker<WM_LBUTTONDOWN> : detail::Mouse {};
template <> struct Cracker<WM_LBUTTONUP> : detail::Mouse {};
template <> struct Cracker<WM_LBUTTONDBLCLK> : detail::Mouse {};
template <> struct Cracker<WM_RBUTTONDOWN> : detail::Mouse {};
template <> struct Cracker<WM_RBUTTONUP> : detail::Mouse {};
template <> struct Cracker<WM_MOUSELEAVE> : detail::NoArgs {};
template <> struct Cracker<WM_KILLFOCUS> : detail::OtherWindowW {};   // void Handler(HWND gettingFocus)
template <> struct Cracker<WM_CAPTURECHANGED> : detail::OtherWindowL {};  // void Handler(HWND newCapture)
template <> struct Cracker<kReflect + WM_CTLCOLOREDIT> : detail::CtlColor {};
template <> struct Cracker<kReflect + WM_CTLCOLORSTATIC> : detail::CtlColor {};
template <> struct Cracker<WM_CTLCOLOREDIT> : detail::CtlColor {};
template <> struct Cracker<WM_CTLCOLORSTATIC> : detail::CtlColor {};
template <> struct Cracker<WM_CONTEXTMENU> : detail::ContextMenu {};
template <> struct Cracker<WM_HSCROLL> : detail::Scroll {};
template <> struct Cracker<WM_VSCROLL> : detail::Scroll {};
template <> struct Cracker<kReflect + WM_HSCROLL> : detail::Scroll {};
template <> struct Cracker<kReflect + WM_VSCROLL> : detail::Scroll {};
template <> struct Cracker<WM_NOTIFY> : detail::Notify {};
template <> struct Cracker<kReflect + WM_NOTIFY> : detail::Notify {};
template <> struct Cracker<WM_MEASUREITEM> : detail::MeasureItem {};
template <> struct Cracker<kReflect + WM_MEASUREITEM> : detail::MeasureItem {};
template <> struct Cracker<kReflect + WM_CTLCOLORBTN> : detail::CtlColor {};
template <> struct Cracker<kReflect + WM_CTLCOLORLISTBOX> : detail::CtlColor {};
template <> struct Cracker<kReflect + WM_CTLCOLORSCROLLBAR> : detail::CtlColor {};
// BOOL Handler(HWND window, UINT hitTest, UINT mouseMessage): TRUE when the cursor was set.
template <> struct Cracker<WM_SETCURSOR> {
  template <class Self, auto F>
  static LRESULT Call(Self& self, WPARAM w, LPARAM l) {
    return detail::Invoke<Self, F>(self, reinterpret_cast<HWND>(w), static_cast<UINT>(LOWORD(l)),
                                   static_cast<UINT>(HIWORD(l)));
  }
};
// UINT Handler(POINT screenPoint): the hit-test code (HTCLIENT, HTCAPTION, ...).
template <> struct Cracker<WM_NCHITTEST> {
  template <class Self, auto F>
  static LRESULT Call(Self& self, WPARAM, LPARAM l) {
    return detail::Invoke<Self, F>(self, POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
  }
};
// void Handler(UINT_PTR timerId)
template <> struct Cracker<WM_TIMER> {
  template <class Self, auto F>
  static LRESULT Call(Self& self, WPARAM w, LPARAM) { return detail::Invoke<Self, F>(self, static_cast<UINT_PTR>(w)); }
};
// void Handler(UINT notifyCode, UINT id, HWND control)
template <> struct Cracker<WM_COMMAND> {
  template <class Self, auto F>
  static LRESULT Call(Self& self, WPARAM w, LPARAM l) {
    return detail::Invoke<Self, F>(self, static_cast<UINT>(HIWORD(w)), static_cast<UINT>(LOWORD(w)),
                                   reinterpret_cast<HWND>(l));
  }
};
// Handler(const DRAWITEMSTRUCT&), as the owner-drawn control receives it by reflection.
template <> struct Cracker<kReflect + WM_DRAWITEM> {
  template <class Self, auto F>
  static LRESULT Call(Self& self, WPARAM, LPARAM l) {
    detail::Invoke<Self, F, const DRAWITEMSTRUCT&>(self, *reinterpret_cast<const DRAWITEMSTRUCT*>(l));
    return TRUE;
  }
};
// void Handler(UINT virtualKey, UINT repeatAndFlags)
template <> struct Cracker<WM_KEYDOWN> {
  template <class Self, auto F>
  static LRESULT Call(Self& self, WPARAM w, LPARAM l) {
    return detail::Invoke<Self, F>(self, static_cast<UINT>(w), static_cast<UINT>(l));
  }
};

template <class> struct MemberClass;
template <class C, class R, class... A> struct MemberClass<R (C::*)(A...)> { using type = C; };
template <class C, class R, class... A> struct MemberClass<R (C::*)(A...) noexcept> { using type = C; };

// LRESULT Handler(WPARAM, LPARAM) for any message, uncracked.
struct RawCracker {
  template <class Self, auto F>
  static LRESULT Call(Self& self, WPARAM w, LPARAM l) { return (self.*F)(w, l); }
};

template <class Crack, class Self, auto F>
LRESULT Thunk(CWnd& window, WPARAM w, LPARAM l) {
  return Crack::template Call<Self, F>(static_cast<Self&>(window), w, l);
}

// An entry for `Message` handled by member `F`. `Self` is the window class the table belongs to;
// it defaults to the handler's class and is given explicitly by mix-ins (their handlers are
// members of the mix-in, reached through the window class).
template <UINT Message, auto F, class Self = typename MemberClass<decltype(F)>::type>
constexpr MessageEntry On() {
  return MessageEntry{Message, &Thunk<Cracker<Message>, Self, F>};
}

// An entry whose handler takes the message's WPARAM and LPARAM as they are.
template <UINT Message, auto F, class Self = typename MemberClass<decltype(F)>::type>
constexpr MessageEntry OnRaw() {
  return MessageEntry{Message, &Thunk<RawCracker, Self, F>};
}

// Declines the message being routed (see CWnd::Decline); used by entries that find the message
// is not theirs.
void DeclineMessage(CWnd& window);

inline constexpr UINT kAnyCode = 0xFFFFFFFFu;

namespace detail {
template <class> struct MemberType;
template <class C, class T> struct MemberType<T C::*> { using type = T; };

// The window handle of a member control: a window object of the layer, or a plain HWND.
template <class T>
HWND ControlHandle(const T& control) {
  if constexpr (std::is_convertible_v<const T&, HWND>) {
    return static_cast<HWND>(control);
  } else {
    return control.GetSafeHwnd();
  }
}

template <class Self, auto F, class... Args>
LRESULT InvokeWith(Self& self, UINT code, Args... args) {
  if constexpr (std::is_invocable_v<decltype(F), Self&, UINT, Args...>) {
    return Invoke<Self, F, UINT, Args...>(self, code, args...);
  } else {
    return Invoke<Self, F, Args...>(self, args...);
  }
}

template <class Self, auto Control, auto F, UINT Code>
LRESULT CommandThunk(CWnd& window, WPARAM w, LPARAM l) {
  Self& self = static_cast<Self&>(window);
  const HWND from = reinterpret_cast<HWND>(l);
  const UINT code = HIWORD(w);
  if (!from || from != ControlHandle(self.*Control) || (Code != kAnyCode && code != Code)) {
    DeclineMessage(window);
    return 0;
  }
  return InvokeWith<Self, F>(self, code);
}

template <class Self, auto Control, auto F, UINT Code>
LRESULT NotifyThunk(CWnd& window, WPARAM, LPARAM l) {
  Self& self = static_cast<Self&>(window);
  const auto& header = *reinterpret_cast<const NMHDR*>(l);
  if (!header.hwndFrom || header.hwndFrom != ControlHandle(self.*Control) ||
      (Code != kAnyCode && header.code != Code)) {
    DeclineMessage(window);
    return 0;
  }
  return Invoke<Self, F, const NMHDR&>(self, header);
}
}  // namespace detail

// WM_COMMAND from one member control (buttons all have control id 0: they are told apart by
// their window). `Control` is a pointer to the member (a window object or an HWND); the handler
// is void Handler() or void Handler(UINT notifyCode). With `Code` given, only that notification
// is taken; other commands go on to the next entry.
template <auto Control, auto F, UINT Code = kAnyCode,
          class Self = typename MemberClass<decltype(F)>::type>
constexpr MessageEntry OnControl() {
  return MessageEntry{WM_COMMAND, &detail::CommandThunk<Self, Control, F, Code>};
}

// WM_NOTIFY from one member control; LRESULT Handler(const NMHDR&).
template <auto Control, auto F, UINT Code = kAnyCode,
          class Self = typename MemberClass<decltype(F)>::type>
constexpr MessageEntry OnControlNotify() {
  return MessageEntry{WM_NOTIFY, &detail::NotifyThunk<Self, Control, F, Code>};
}

}  // namespace nx7::win32
