#pragma once
// Helpers for the Windows tests of windows and skinned controls: message pumping, a recording
// top-level window, pictures whose every pixel tells where it came from, and rendering a
// window's client area into pixels that can be compared.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/double_buffer.h"
#include "framework/handles.h"
#include "framework/window_class.h"
#include "framework/wnd.h"

namespace nx7::win32::test {

// A window's text; text made readable for failure messages.
std::u16string WindowText(HWND window);
std::string Narrow(const std::u16string& text);

// Handles every message waiting for this thread.
void PumpMessages();
// The folder `levels` steps above the running test program (1: the program's own folder), e.g.
// the build tree's top with the generated skins for a test in tests/<folder>.
std::wstring FolderAboveProgram(int levels);
// Pumps messages until `done` holds or `timeoutMs` of real time passed; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000);

// A colour that encodes a pixel's position in its picture and which picture it is:
// red = x mod 256, green = y mod 256, blue = `tag`.
constexpr COLORREF CoordinateColor(int x, int y, int tag) { return RGB(x & 0xFF, y & 0xFF, tag & 0xFF); }
// A width x height picture of CoordinateColor pixels.
Bitmap MakeCoordinateBitmap(int width, int height, int tag);
// A picture of one colour.
Bitmap MakeSolidBitmap(int width, int height, COLORREF color);

// Pixels read back from a DC or window, as COLORREF values, row by row.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> data;
  COLORREF At(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
};
// The pixels of a bitmap.
Pixels ReadBitmap(HBITMAP bitmap);
// Renders the client area of `window` with WM_PRINTCLIENT into a picture first filled with
// `background`, and reads it back.
Pixels RenderClient(HWND window, COLORREF background = RGB(1, 2, 3));
// Copies a rectangle of the screen (what is shown now).
Bitmap CaptureScreen(const RECT& screenRect);
// Saves a bitmap as PNG with the GDI+ encoder; creates missing folders.
bool SavePng(HBITMAP bitmap, const std::wstring& path);

// A visible top-level popup that records what its children tell it.
class RecordingWindow : public WindowClass<RecordingWindow, CWnd, DoubleBufferedPaint<RecordingWindow>> {
 public:
  ~RecordingWindow() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  struct Message {
    UINT message;
    WPARAM w;
    LPARAM l;
  };
  // Creates the window at `screenRect`, shows and activates it.
  bool Open(const RECT& screenRect, COLORREF fill = RGB(20, 22, 26));
  // A picture drawn as the whole background instead of the fill colour (borrowed).
  void SetBackground(HBITMAP picture) { background_ = picture; }
  std::vector<Message> messages;
  std::vector<Message> Received(UINT message) const;
  void Clear() { messages.clear(); }

 private:
  friend DoubleBufferedPaint<RecordingWindow>;
  void Paint(HDC dc);
  LRESULT Record(WPARAM w, LPARAM l);
  COLORREF fill_ = 0;
  HBITMAP background_ = nullptr;
};

// Calls `act`, which runs a modal loop (a message box, a modal dialog), and `step` every
// `periodMs` from inside that loop until the step returns false.
void WhileModal(const std::function<void()>& act, std::function<bool()> step, UINT periodMs = 20);

// A visible top-level window of this thread with the title `title`; none when there is none.
HWND ThreadWindow(const wchar_t* title);

// The text of the tooltip tool covering `control` in the tooltip windows of this thread, "" when
// it has none.
std::u16string ToolTipOf(HWND control);

}  // namespace nx7::win32::test
