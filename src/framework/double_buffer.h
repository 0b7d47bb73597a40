#pragma once
// Mix-in for windows that paint their whole client area themselves from pictures: painting
// goes through an off-screen buffer, the background is never erased (no flicker), and
// WM_PRINTCLIENT renders the same picture into the caller's DC (PrintWindow, tests).
//
//   class CDlgInfo : public CDialogEx, public DoubleBufferedPaint<CDlgInfo> {
//     friend DoubleBufferedPaint<CDlgInfo>;
//     void Paint(HDC dc);  // draws the client area
//   };
// and chain DoubleBufferedPaint<CDlgInfo>::Table() into the window's table.
#include <windows.h>

#include "framework/handles.h"
#include "framework/message_table.h"

namespace nx7::win32 {

template <class Derived>
class DoubleBufferedPaint {
 public:
  static const MessageTable& Table() {
    static constexpr MessageEntry entries[] = {
        On<WM_PAINT, &DoubleBufferedPaint::OnBufferedPaint, Derived>(),
        On<WM_ERASEBKGND, &DoubleBufferedPaint::OnEraseBackground, Derived>(),
        On<WM_PRINTCLIENT, &DoubleBufferedPaint::OnPrintClient, Derived>(),
    };
    static const MessageTable table{entries, {}};
    return table;
  }

 private:
  Derived& Self() { return static_cast<Derived&>(*this); }
  void OnBufferedPaint() {
    PaintDc dc(Self().GetSafeHwnd());
    BufferedDc buffer(dc, Self().GetClientRect());
    Self().Paint(buffer);
  }
  BOOL OnEraseBackground(HDC) { return TRUE; }
  void OnPrintClient(HDC dc) { Self().Paint(dc); }
};

}  // namespace nx7::win32
