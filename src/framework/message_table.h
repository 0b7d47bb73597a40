#pragma once
// Message tables: each window class lists the messages it handles, one entry per message, each
// naming a typed handler. The entry's thunk cracks WPARAM/LPARAM into the handler's arguments.
//
//   const MessageTable& CDlgInfo::Messages() const {
//     static constexpr MessageEntry entries[] = {
//         On<WM_PAINT, &CDlgInfo::OnPaint>(),
//         On<WM_TIMER, &CDlgInfo::OnTimer>(),
//     };
//     static const MessageTable* const chained[] = {&CDialogEx::Table()};
//     static const MessageTable table{entries, chained};
//     return table;
//   }
//
// Lookup walks the table's own entries first, then each chained table in order (a base class
// table, or a mix-in giving shared behaviour to many windows). A handler that wants the
// default processing as well calls CWnd::Default() itself.
#include <windows.h>
#include <windowsx.h>

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
};

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
template <> struct Cracker<WM_KILLFOCUS> : detail::OtherWindowW {};   // void Handler(HWND gettingFocus)
template <> struct Cracker<WM_CAPTURECHANGED> : detail::OtherWindowL {};  // void Handler(HWND newCapture)
template <> struct Cracker<kReflect + WM_CTLCOLOREDIT> : detail::CtlColor {};
template <> struct Cracker<kReflect + WM_CTLCOLORSTATIC> : detail::CtlColor {};
template <> struct Cracker<WM_CTLCOLOREDIT> : detail::CtlColor {};
template <> struct Cracker<WM_CTLCOLORSTATIC> : detail::CtlColor {};
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

}  // namespace nx7::win32
