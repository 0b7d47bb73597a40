#pragma once
// Skinned scroll bars. CSkinScrollBar is a scroll bar window drawn from the skin picture of 9 x 3
// square cells (bitmap 166: columns up, down, thumb, track for a vertical bar, then the same for a
// horizontal one and the corner; rows normal, highlighted, pressed). It keeps its own scroll
// state, answered through the scroll bar messages (SetScrollInfo and GetScrollInfo with SB_CTL
// work on it), and tells its parent what the user asks for with WM_VSCROLL or WM_HSCROLL: the
// request code in the low word of wParam (the position in the high word for SB_THUMBPOSITION and
// SB_THUMBTRACK), lParam the bar's window. The rules are scroll_bar_rules.h.
//
// CSkinScrollWnd, made by SkinWndScroll, wraps a control that scrolls with the system's scroll
// bars (a list box): a frame window takes the control's place, the control moves into a clipping
// child that leaves its own scroll bars outside, and skinned bars take their places and drive
// the control. The frame deletes itself when the control or the frame goes.
#include <windows.h>

#include "framework/double_buffer.h"
#include "framework/window_class.h"
#include "framework/wnd.h"
#include "skin/scroll_bar_rules.h"
#include "skin/skin_images_win32.h"

namespace nx7::win32 {

class CSkinScrollBar : public WindowClass<CSkinScrollBar, CWnd> {
 public:
  static constexpr UINT_PTR kFirstRepeatTimer = 200;  // the pause before a held part repeats
  static constexpr UINT_PTR kRepeatTimer = 100;       // then every 100 ms

  ~CSkinScrollBar() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  // Creates the bar (class SCROLLBAR; SBS_VERT in `style` makes it vertical) at `rect` of
  // `parent`, with control id `id`.
  bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);
  // Takes the skin picture; the cell size is its width / 9 and the bar becomes that thick,
  // keeping its place.
  void SetBitmap(SharedSkinBitmap skin);
  int CellSize() const { return cell_; }
  bool IsVertical() const;
  const scroll::State& State() const { return state_; }
  scroll::Geometry Geometry() const;
  bool IsDragging() const { return dragging_; }
  scroll::Part PressedPart() const { return pressed_; }
  scroll::Part HighlightedPart() const { return highlighted_; }

 private:
  void OnPaint();
  BOOL OnEraseBkgnd(HDC) { return TRUE; }
  void OnPrintClient(HDC dc) { Paint(dc); }
  void Paint(HDC dc);
  LRESULT OnSetScrollInfo(WPARAM redraw, LPARAM info);
  LRESULT OnGetScrollInfo(WPARAM, LPARAM info);
  LRESULT OnSetPos(WPARAM position, LPARAM redraw);
  LRESULT OnGetPos(WPARAM, LPARAM) { return state_.position; }
  LRESULT OnSetRange(WPARAM min, LPARAM max);
  LRESULT OnGetRange(WPARAM min, LPARAM max);
  LRESULT OnIgnore(WPARAM, LPARAM) { return 0; }
  LRESULT OnEnable(WPARAM, LPARAM);
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnMouseWheel(WPARAM w, LPARAM l);
  void OnLButtonDown(UINT flags, POINT point);
  void OnLButtonDblClk(UINT, POINT) {}
  void OnMouseMove(UINT flags, POINT point);
  void OnMouseLeave();
  void OnLButtonUp(UINT flags, POINT point);
  void OnTimer(UINT_PTR id);
  void OnCaptureChanged(HWND newCapture);
  int Along(POINT point) const { return IsVertical() ? point.y : point.x; }
  bool Inside(POINT point) const;
  void SendRequest(int code, int position = 0);
  void StopRepeating();

  SharedSkinBitmap skin_;
  int cell_ = layout::art::kScrollCell;
  int length_ = 0;
  scroll::State state_;
  bool dragging_ = false;
  int dragStart_ = 0;          // where the thumb was grabbed, along the bar
  int dragStartPosition_ = 0;
  scroll::Part pressed_ = scroll::kNoPart;
  bool repeating_ = false;
  bool outsidePressed_ = false;
  scroll::Part highlighted_ = scroll::kNoPart;
  bool leaveTracking_ = false;
};

// The clipping window between the frame and the wrapped control: it passes the control's
// notifications on to the frame's parent, which owned the control before.
class CSkinScrollLimit : public WindowClass<CSkinScrollLimit, CWnd> {
 public:
  ~CSkinScrollLimit() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

 private:
  LRESULT ToOwner(WPARAM w, LPARAM l);
};

class CSkinScrollWnd : public WindowClass<CSkinScrollWnd, CWnd, DoubleBufferedPaint<CSkinScrollWnd>> {
 public:
  static constexpr UINT kLayOut = 0x464;       // wParam: has a vertical bar, lParam: left bars
  static constexpr UINT_PTR kSyncTimer = 1;    // copies the control's scroll state every 500 ms while shown
  static constexpr UINT kLimitId = 200;
  static constexpr UINT kHorizontalId = 100;
  static constexpr UINT kVerticalId = 101;
  enum Corner { kNoCorner = 0, kCornerLeft = 1, kCornerRight = 2 };

  ~CSkinScrollWnd() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  // The wrapper of `control`, or null.
  static CSkinScrollWnd* FromControl(HWND control);
  HWND Control() const { return control_; }
  CSkinScrollBar& VerticalBar() { return vertical_; }
  CSkinScrollBar& HorizontalBar() { return horizontal_; }
  HWND Limit() const { return limit_.GetSafeHwnd(); }
  int CornerMode() const { return corner_; }
  bool IsScrolling() const { return scrolling_; }
  bool IsSyncing() const { return syncing_; }

 private:
  friend CSkinScrollWnd* SkinWndScroll(HWND control, SharedSkinBitmap skin);
  friend DoubleBufferedPaint<CSkinScrollWnd>;
  CSkinScrollWnd() = default;
  bool Wrap(HWND control, SharedSkinBitmap skin);
  void Unwrap();
  static LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void AfterNcCalcSize(RECT& client);
  // Copies the control's scroll state into each visible bar that shows something else.
  void SyncBars();
  void SyncBar(CSkinScrollBar& bar, int which);
  void StartSyncTimer();
  void Paint(HDC dc);
  LRESULT OnLayOut(WPARAM hasVertical, LPARAM leftBars);
  void OnScroll(UINT code, int position, HWND bar);
  void OnTimer(UINT_PTR id);
  LRESULT OnMouseWheel(WPARAM w, LPARAM l);
  LRESULT OnControlGone(WPARAM, LPARAM);
  void OnDestroy();
  void OnFinalMessage() override { delete this; }

  HWND control_ = nullptr;
  bool syncing_ = false;  // the sync timer runs
  SharedSkinBitmap skin_;
  int cell_ = layout::art::kScrollCell;
  CSkinScrollLimit limit_;
  CSkinScrollBar horizontal_;
  CSkinScrollBar vertical_;
  bool scrolling_ = false;
  int corner_ = kNoCorner;
  bool leftBars_ = false;
};

// Wraps `control` in skinned scroll bars drawn from `skin` (normally bitmap resource 166). The
// frame is allocated here and deletes itself; null when the control cannot be wrapped.
CSkinScrollWnd* SkinWndScroll(HWND control, SharedSkinBitmap skin);

}  // namespace nx7::win32
