#pragma once
// CDlgInfo: the program's own message box. A title, one text, an OK button or OK and Cancel,
// a close button in the corner; in countdown form it closes itself after about six seconds,
// counting down on its OK button. Captions follow its chineseText at the moment the box opens.
//
// Result of DoModal: IDOK for OK (or Enter), IDCANCEL for Cancel, the close button, Escape and
// WM_CLOSE, and for a countdown that ran out.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/window_class.h"
#include "framework/double_buffer.h"
#include "framework/handles.h"
#include "framework/timer_source.h"
#include "platform/clock.h"
#include "skin/gdi_bitmap_btn_win32.h"
#include "skin/layout_win32.h"
#include "skin/skin_images_win32.h"
#include "skin/skin_look_win32.h"

namespace nx7::win32 {

class CDlgInfo : public WindowClass<CDlgInfo, CDialogEx, DoubleBufferedPaint<CDlgInfo>> {
 public:
  ~CDlgInfo() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  static constexpr UINT kTemplate = 113;
  static constexpr UINT_PTR kCountdownTimer = 2321;
  static constexpr UINT kCountdownPeriodMs = 1000;
  static constexpr COLORREF kTextColor = SkinLook::kMessageText;
  static constexpr RECT kTitleRect = ToRect(layout::message_box::kTitle);
  static constexpr RECT kTextRect = ToRect(layout::message_box::kText);
  // A text longer than one line grows around kTextRect's middle, up to these bounds (below the
  // title bar, above the buttons).
  static constexpr int kTextAreaTop = 36;
  static constexpr int kTextAreaBottom = 125;

  // The countdown runs on `clock` and `timers`: the program's, or a test's virtual ones.
  CDlgInfo(HWND parent, Clock& clock, TimerSource& timers);

  std::u16string text;
  bool chineseText = true;  // Chinese or English captions, taken when the box opens
  int twoButtons = 0;
  int autoClose = 0;
  int countdown = 0;

  // The text lines as the box draws them (after initialisation).
  std::vector<std::u16string> TextLines();
  HWND OkButton() const { return ok_.GetSafeHwnd(); }
  HWND CancelButton() const { return cancel_.GetSafeHwnd(); }
  HWND CloseButton() const { return close_.GetSafeHwnd(); }
  std::u16string OkCaption() const { return ok_.GetText(); }
  std::u16string CancelCaption() const { return cancel_.GetText(); }
  std::u16string Title() const { return title_; }

 protected:
  BOOL OnInitDialog() override;

 private:
  friend DoubleBufferedPaint<CDlgInfo>;
  void Paint(HDC dc);
  void OnTimer(UINT_PTR id);
  void OnClose();
  void OnDestroy();
  // Commands of the other windows (Enter, Escape) go on to the dialog's own handling.
  void OnOkButton();
  void OnCancelButton();
  void CreateButton(CGDIBitmapBtn& button, const RECT& rect);
  HFONT TextFont();
  // The text's lines as laid out in `dc`, which has the text font selected.
  std::vector<std::u16string> LinesIn(HDC dc, int lineHeight) const;
  static int LineHeight(HDC dc);

  Clock& clock_;
  TimerSource& timers_;
  // The box pictures of the look, shared by every box open at the time.
  SharedSkinBitmap background_, over_, down_;
  CGDIBitmapBtn ok_, cancel_, close_;
  std::u16string title_;
  bool chinese_ = false;
  const SkinLook* look_ = &SkinLook::Default();
};


}  // namespace nx7::win32
