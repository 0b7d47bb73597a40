#pragma once
// The window layer's handle kinds (GDI objects, DCs, windows, icons) on the one owning-handle
// template of platform/win32/owned_handle.h, and scope objects for the paired GDI calls
// (BeginPaint/EndPaint, GetDC/ReleaseDC, SelectObject and its undo, SaveDC and RestoreDC, an
// off-screen buffer that is copied back when it goes out of scope).
#include <windows.h>

#include "platform/win32/owned_handle.h"

namespace nx7::win32 {

template <class T>
struct GdiObjectTraits : NullHandleTraits<T> {
  static constexpr bool kCounted = true;
  static BOOL Close(T h) { return ::DeleteObject(h); }
};
struct MemoryDcTraits : NullHandleTraits<HDC> {
  static BOOL Close(HDC h) { return ::DeleteDC(h); }
};
struct WindowTraits : NullHandleTraits<HWND> {
  static BOOL Close(HWND h) { return ::DestroyWindow(h); }
};
struct IconTraits : NullHandleTraits<HICON> {
  static BOOL Close(HICON h) { return ::DestroyIcon(h); }
};

using Bitmap = BasicHandle<GdiObjectTraits<HBITMAP>, true>;
using BitmapRef = BasicHandle<GdiObjectTraits<HBITMAP>, false>;
using Region = BasicHandle<GdiObjectTraits<HRGN>, true>;
using RegionRef = BasicHandle<GdiObjectTraits<HRGN>, false>;
using Font = BasicHandle<GdiObjectTraits<HFONT>, true>;
using FontRef = BasicHandle<GdiObjectTraits<HFONT>, false>;
using Brush = BasicHandle<GdiObjectTraits<HBRUSH>, true>;
using BrushRef = BasicHandle<GdiObjectTraits<HBRUSH>, false>;
using MemoryDc = BasicHandle<MemoryDcTraits, true>;
using DcRef = BasicHandle<MemoryDcTraits, false>;
using Window = BasicHandle<WindowTraits, true>;
using WindowRef = BasicHandle<WindowTraits, false>;
using Icon = BasicHandle<IconTraits, true>;
using IconRef = BasicHandle<IconTraits, false>;

// BeginPaint/EndPaint for WM_PAINT.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) : hwnd_(hwnd) { hdc_ = ::BeginPaint(hwnd, &ps_); }
  ~PaintDc() { ::EndPaint(hwnd_, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC Get() const { return hdc_; }
  operator HDC() const { return hdc_; }
  const RECT& PaintRect() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  HDC hdc_;
  PAINTSTRUCT ps_{};
};

// GetDC/ReleaseDC; a null window gives the screen.
class ClientDc {
 public:
  explicit ClientDc(HWND hwnd) : hwnd_(hwnd), hdc_(::GetDC(hwnd)) {}
  ~ClientDc() {
    if (hdc_) ::ReleaseDC(hwnd_, hdc_);
  }
  ClientDc(const ClientDc&) = delete;
  ClientDc& operator=(const ClientDc&) = delete;
  HDC Get() const { return hdc_; }
  operator HDC() const { return hdc_; }

 private:
  HWND hwnd_;
  HDC hdc_;
};

// Selects a GDI object into a DC and puts the previous one back when the scope ends.
class SelectGuard {
 public:
  SelectGuard(HDC hdc, HGDIOBJ object) : hdc_(hdc), previous_(object ? ::SelectObject(hdc, object) : nullptr) {}
  ~SelectGuard() {
    if (previous_) ::SelectObject(hdc_, previous_);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC hdc_;
  HGDIOBJ previous_;
};

// SaveDC/RestoreDC: clip regions, modes and colours set inside the scope are undone at its end.
class SavedDcState {
 public:
  explicit SavedDcState(HDC hdc) : hdc_(hdc), saved_(::SaveDC(hdc)) {}
  ~SavedDcState() {
    if (saved_) ::RestoreDC(hdc_, saved_);
  }
  SavedDcState(const SavedDcState&) = delete;
  SavedDcState& operator=(const SavedDcState&) = delete;

 private:
  HDC hdc_;
  int saved_;
};

// A memory DC holding `bitmap` for the scope (source of BitBlt calls).
class BitmapDc {
 public:
  BitmapDc(HDC compatibleWith, HBITMAP bitmap)
      : dc_(::CreateCompatibleDC(compatibleWith)), select_(dc_.Get(), bitmap) {}
  HDC Get() const { return dc_.Get(); }
  operator HDC() const { return dc_.Get(); }

 private:
  MemoryDc dc_;
  SelectGuard select_;
};

// Double buffering: drawing goes to an off-screen bitmap of `area`'s size whose coordinates are
// those of `target`; the result is copied to `target` when the scope ends. Small areas (buttons,
// sliders) draw into a buffer the thread keeps for the next paint, with the DC's state put back
// afterwards: under Wine, making a bitmap compatible with a window asks the server about the
// displays, and a page shows dozens of such controls.
class BufferedDc {
 public:
  BufferedDc(HDC target, const RECT& area);
  ~BufferedDc();
  BufferedDc(const BufferedDc&) = delete;
  BufferedDc& operator=(const BufferedDc&) = delete;
  HDC Get() const { return dc_ ? dc_ : target_; }
  operator HDC() const { return Get(); }

  // Areas of at most this many pixels use the kept buffers.
  static constexpr int kKeptBufferPixels = 256 * 256;

 private:
  HDC target_;
  RECT area_;
  HDC dc_ = nullptr;  // the buffer's DC: kept by the thread or owned below
  MemoryDc ownDc_;
  Bitmap ownBitmap_;
  HGDIOBJ previousBitmap_ = nullptr;
  POINT previousOrigin_{};
  int savedState_ = 0;  // of a kept buffer's DC
  bool kept_ = false;
};

// A 32-bit DIB section with top-down rows, compatible with `dc`; `*bits` receives its pixels.
// None (and *bits null) when the system refuses it.
Bitmap CreateTopDownDib(HDC dc, int width, int height, void** bits);

}  // namespace nx7::win32
