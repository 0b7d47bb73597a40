#include "framework/ui_test_support.h"

#include <commctrl.h>

#include <objidl.h>
#include <gdiplus.h>
#include <shlobj.h>

#include <algorithm>

#include "app/messages.h"
#include "framework/gdiplus_image.h"
#include "framework/message_loop.h"
#include "common/text.h"
#include "framework/ui_init.h"
#include "platform/win32/wide.h"

namespace nx7::win32::test {
namespace {

// A top-down 32-bit DIB section and its pixel memory.
Bitmap MakeDib(int width, int height, uint32_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* memory = nullptr;
  Bitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0));
  *bits = static_cast<uint32_t*>(memory);
  return bitmap;
}

uint32_t DibPixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
COLORREF FromDibPixel(uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

}  // namespace

std::u16string WindowText(HWND window) {
  wchar_t buffer[512] = {};
  ::GetWindowTextW(window, buffer, 512);
  return FromWide(buffer);
}

std::string Narrow(const std::u16string& text) { return Utf8FromUtf16(text); }

std::wstring FolderAboveProgram(int levels) {
  wchar_t path[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  for (int i = 0; i < levels; ++i) folder.resize(folder.find_last_of(L"\\/"));
  return folder;
}

void PumpMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (RunMessageFilters(msg)) continue;  // as the program's message loop does
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  while (!done()) {
    if (::GetTickCount64() > end) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpMessages();
  }
  return true;
}

Bitmap MakeCoordinateBitmap(int width, int height, int tag) {
  uint32_t* bits = nullptr;
  Bitmap bitmap = MakeDib(width, height, &bits);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) bits[static_cast<size_t>(y) * width + x] = DibPixel(CoordinateColor(x, y, tag));
  }
  return bitmap;
}

Bitmap MakeSolidBitmap(int width, int height, COLORREF color) {
  uint32_t* bits = nullptr;
  Bitmap bitmap = MakeDib(width, height, &bits);
  std::fill(bits, bits + static_cast<size_t>(width) * height, DibPixel(color));
  return bitmap;
}

Pixels ReadBitmap(HBITMAP bitmap) {
  Pixels pixels;
  BITMAP info{};
  if (!::GetObjectW(bitmap, sizeof(info), &info)) return pixels;
  uint32_t* bits = nullptr;
  Bitmap copy = MakeDib(info.bmWidth, info.bmHeight, &bits);
  {
    ClientDc screen(nullptr);
    BitmapDc from(screen, bitmap);
    BitmapDc to(screen, copy.Get());
    ::BitBlt(to, 0, 0, info.bmWidth, info.bmHeight, from, 0, 0, SRCCOPY);
  }
  ::GdiFlush();
  pixels.width = info.bmWidth;
  pixels.height = info.bmHeight;
  pixels.data.reserve(static_cast<size_t>(pixels.width) * pixels.height);
  for (size_t i = 0; i < static_cast<size_t>(pixels.width) * pixels.height; ++i) pixels.data.push_back(FromDibPixel(bits[i]));
  return pixels;
}

Pixels RenderClient(HWND window, COLORREF background) {
  RECT client{};
  ::GetClientRect(window, &client);
  Bitmap picture = MakeSolidBitmap(client.right, client.bottom, background);
  {
    ClientDc screen(nullptr);
    BitmapDc dc(screen, picture.Get());
    ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
  }
  return ReadBitmap(picture.Get());
}

Bitmap CaptureScreen(const RECT& r) {
  ClientDc screen(nullptr);
  Bitmap picture(::CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top));
  BitmapDc dc(screen, picture.Get());
  ::BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  return picture;
}

bool SavePng(HBITMAP bitmap, const std::wstring& path) {
  if (!InitUserInterface()) return false;
  const size_t slash = path.find_last_of(L"\\/");
  if (slash != std::wstring::npos) {
    std::wstring folder = path.substr(0, slash);
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  }
  Gdiplus::GpBitmap* image = nullptr;
  if (Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) != Gdiplus::Ok) return false;
  GdiplusImage owned(reinterpret_cast<Gdiplus::GpImage*>(image));
  // The PNG encoder's class id.
  UINT count = 0, size = 0;
  Gdiplus::DllExports::GdipGetImageEncodersSize(&count, &size);
  std::vector<BYTE> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  Gdiplus::DllExports::GdipGetImageEncoders(count, size, codecs);
  for (UINT i = 0; i < count; ++i) {
    if (std::wstring(codecs[i].MimeType) == L"image/png") {
      return Gdiplus::DllExports::GdipSaveImageToFile(owned.Get(), path.c_str(), &codecs[i].Clsid, nullptr) == Gdiplus::Ok;
    }
  }
  return false;
}

std::span<const MessageEntry> RecordingWindow::MessageEntries() {
  static constexpr auto entries = Entries(OnRaw<WM_COMMAND, &RecordingWindow::Record>(),
                                          OnRaw<WM_MOUSEMOVE, &RecordingWindow::Record>(),
                                          OnRaw<WM_LBUTTONDOWN, &RecordingWindow::Record>(),
                                          OnRaw<WM_LBUTTONUP, &RecordingWindow::Record>(),
                                          OnRaw<WM_BUTTON_MOUSE, &RecordingWindow::Record>(),
                                          OnRaw<WM_SLIDER_VALUE, &RecordingWindow::Record>(),
                                          OnRaw<WM_LIST_SELCHANGE, &RecordingWindow::Record>(),
                                          OnRaw<WM_LIST_ITEM_EDITED, &RecordingWindow::Record>(),
                                          OnRaw<WM_VSCROLL, &RecordingWindow::Record>(),
                                          OnRaw<WM_LANGUAGE_SELECTED, &RecordingWindow::Record>(),
                                          OnRaw<WM_SHOW_HINT, &RecordingWindow::Record>());
  return entries;
}

LRESULT RecordingWindow::Record(WPARAM w, LPARAM l) {
  messages.push_back({CurrentMessage(), w, l});
  return 0;
}

std::vector<RecordingWindow::Message> RecordingWindow::Received(UINT message) const {
  std::vector<Message> found;
  for (const Message& m : messages) {
    if (m.message == message) found.push_back(m);
  }
  return found;
}

bool RecordingWindow::Open(const RECT& r, COLORREF fill) {
  fill_ = fill;
  if (!CreateEx(0, nullptr, L"NX7 test window", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, r, nullptr, 0)) return false;
  ::SetForegroundWindow(GetSafeHwnd());
  ::SetActiveWindow(GetSafeHwnd());
  ::UpdateWindow(GetSafeHwnd());
  PumpMessages();
  return true;
}

void RecordingWindow::Paint(HDC dc) {
  RECT client = GetClientRect();
  if (background_) {
    BitmapDc source(dc, background_);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
  } else {
    Brush brush(::CreateSolidBrush(fill_));
    ::FillRect(dc, &client, brush.Get());
  }
}

void WhileModal(const std::function<void()>& act, std::function<bool()> step, UINT periodMs) {
  static std::function<bool()>* current = nullptr;
  current = &step;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, periodMs, [](HWND, UINT, UINT_PTR, DWORD) {
    if (current && *current && !(*current)()) *current = nullptr;
  });
  act();
  ::KillTimer(nullptr, timer);
  current = nullptr;
}

HWND ThreadWindow(const wchar_t* title) {
  struct Search {
    const wchar_t* title;
    HWND found;
  } search{title, nullptr};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND w, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        wchar_t text[64] = {};
        ::GetWindowTextW(w, text, 64);
        if (::IsWindowVisible(w) && std::wstring(text) == s.title) s.found = w;
        return s.found == nullptr;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::u16string ToolTipOf(HWND control) {
  struct Search {
    HWND control;
    std::u16string text;
  } search{control, {}};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM l) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(l);
        wchar_t name[64] = {};
        ::GetClassNameW(window, name, 64);
        if (std::wstring(name) != TOOLTIPS_CLASSW) return TRUE;
        wchar_t text[512] = {};
        TTTOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.hwnd = s.control;
        info.uId = 1;
        info.lpszText = text;
        if (!::SendMessageW(window, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info))) return TRUE;
        ::SendMessageW(window, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&info));
        s.text.assign(text, text + std::char_traits<wchar_t>::length(text));
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.text;
}

}  // namespace nx7::win32::test
