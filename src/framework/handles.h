#pragma once
// Owning and borrowing Win32 handle types made from one template, and scope objects for the
// paired GDI calls (BeginPaint/EndPaint, GetDC/ReleaseDC, SelectObject and its undo, SaveDC and
// RestoreDC, an off-screen buffer that is copied back when it goes out of scope).
//
// An owning handle frees what it holds when it is destroyed or given another handle (`Attach`);
// `Detach` gives the handle up without freeing it. A borrowing handle ("...Ref") never frees.
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <utility>

namespace nx7::win32 {

// Live GDI objects held by owning handles of this layer (bitmaps, regions, fonts, brushes).
inline std::atomic<std::ptrdiff_t> ownedGdiObjectCount{0};
inline std::ptrdiff_t OwnedGdiObjects() { return ownedGdiObjectCount.load(); }

template <class Traits, bool Owning>
class BasicHandle {
 public:
  using Native = typename Traits::Native;

  BasicHandle() = default;
  explicit BasicHandle(Native handle) : handle_(handle) { Adopted(handle); }
  ~BasicHandle() { Reset(); }

  BasicHandle(const BasicHandle& other) requires(!Owning) : handle_(other.handle_) {}
  BasicHandle& operator=(const BasicHandle& other) requires(!Owning) {
    handle_ = other.handle_;
    return *this;
  }
  BasicHandle(BasicHandle&& other) noexcept : handle_(std::exchange(other.handle_, Native{})) {}
  BasicHandle& operator=(BasicHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, Native{});
    }
    return *this;
  }
  // A borrowing handle can be taken from an owning one of the same kind.
  template <bool O = Owning> requires(!O)
  BasicHandle(const BasicHandle<Traits, true>& owner) : handle_(owner.Get()) {}

  Native Get() const { return handle_; }
  operator Native() const { return handle_; }
  explicit operator bool() const { return handle_ != Native{}; }

  // Takes `handle`, freeing what was owned before.
  void Attach(Native handle) {
    if (handle_ == handle) return;
    Reset();
    handle_ = handle;
    Adopted(handle);
  }
  Native Detach() {
    if (handle_ != Native{}) Given(handle_);
    return std::exchange(handle_, Native{});
  }
  void Reset() {
    if constexpr (Owning) {
      if (handle_ != Native{}) {
        Traits::Close(handle_);
        Given(handle_);
      }
    }
    handle_ = Native{};
  }

 private:
  // Owned GDI objects are counted (OwnedGdiObjects), so a window's cost can be measured.
  static void Adopted(Native handle) {
    if constexpr (Owning && Traits::kCounted) {
      if (handle != Native{}) ++ownedGdiObjectCount;
    }
  }
  static void Given(Native) {
    if constexpr (Owning && Traits::kCounted) --ownedGdiObjectCount;
  }

  Native handle_{};
};

template <class T>
struct GdiObjectTraits {
  using Native = T;
  static constexpr bool kCounted = true;
  static void Close(T h) { ::DeleteObject(h); }
};
struct MemoryDcTraits {
  static constexpr bool kCounted = false;
  using Native = HDC;
  static void Close(HDC h) { ::DeleteDC(h); }
};
struct WindowTraits {
  static constexpr bool kCounted = false;
  using Native = HWND;
  static void Close(HWND h) { ::DestroyWindow(h); }
};
struct IconTraits {
  static constexpr bool kCounted = false;
  using Native = HICON;
  static void Close(HICON h) { ::DestroyIcon(h); }
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
      : dc_(::CreateCompatibleDC(compatibleWith)), select_(dc_, bitmap) {}
  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  MemoryDc dc_;
  SelectGuard select_;
};

// Double buffering: drawing goes to an off-screen bitmap of `area`'s size whose coordinates are
// those of `target`; the result is copied to `target` when the scope ends.
class BufferedDc {
 public:
  BufferedDc(HDC target, const RECT& area);
  ~BufferedDc();
  BufferedDc(const BufferedDc&) = delete;
  BufferedDc& operator=(const BufferedDc&) = delete;
  HDC Get() const { return dc_ ? dc_.Get() : target_; }
  operator HDC() const { return Get(); }

 private:
  HDC target_;
  RECT area_;
  MemoryDc dc_;
  Bitmap bitmap_;
  HGDIOBJ previousBitmap_ = nullptr;
  POINT previousOrigin_{};
};

}  // namespace nx7::win32
