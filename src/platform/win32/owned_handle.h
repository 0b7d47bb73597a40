#pragma once
// One owning-handle template for every kind of Win32 handle, and a borrowing counterpart.
//
// An owning handle frees what it holds when it is destroyed, reset or given another handle
// (`Attach`); `Detach` gives it up without freeing. It is move-only and never converts to its
// raw value by itself: the raw value is taken with `Get()`, so `Bitmap b(a);` (which would free
// one bitmap twice) does not compile. A borrowing handle ("...Ref") never frees, copies freely
// and converts to its raw value, for passing to API calls.
//
// A kind is described by traits: its raw type, its "none" value (null for most kinds,
// INVALID_HANDLE_VALUE for files and device-information lists), how it is freed, and whether
// live handles are counted (GDI objects, so a window's cost can be measured).
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <type_traits>
#include <utility>

namespace nx7::win32 {

// Live GDI objects held by owning handles (bitmaps, regions, fonts, brushes).
inline std::atomic<std::ptrdiff_t> ownedGdiObjectCount{0};
inline std::ptrdiff_t OwnedGdiObjects() { return ownedGdiObjectCount.load(); }

template <class Traits, bool Owning>
class BasicHandle;

// Shared by both forms: the raw value and its "none" test.
template <class Traits>
class HandleValue {
 public:
  using Native = typename Traits::Native;

  Native Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::None(); }

 protected:
  HandleValue() = default;
  explicit HandleValue(Native handle) : handle_(handle) {}
  Native handle_ = Traits::None();
};

template <class Traits>
class BasicHandle<Traits, true> : public HandleValue<Traits> {
  using Base = HandleValue<Traits>;
  static constexpr bool Counted() {
    if constexpr (requires { Traits::kCounted; }) return Traits::kCounted;
    return false;
  }

 public:
  using Native = typename Traits::Native;

  BasicHandle() = default;
  explicit BasicHandle(Native handle) : Base(handle) { Adopted(handle); }
  ~BasicHandle() { Reset(); }
  BasicHandle(const BasicHandle&) = delete;
  BasicHandle& operator=(const BasicHandle&) = delete;
  BasicHandle(BasicHandle&& other) noexcept : Base(std::exchange(other.handle_, Traits::None())) {}
  BasicHandle& operator=(BasicHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      this->handle_ = std::exchange(other.handle_, Traits::None());
    }
    return *this;
  }

  // Takes `handle`, freeing what was owned before.
  void Attach(Native handle) {
    if (this->handle_ == handle) return;
    Reset();
    this->handle_ = handle;
    Adopted(handle);
  }
  Native Detach() {
    if (*this) Given();
    return std::exchange(this->handle_, Traits::None());
  }
  // For calls that hand back a new handle through a pointer: frees what was held first.
  Native* Put() requires(!Counted()) {
    Reset();
    return &this->handle_;
  }
  // Frees the handle now; false when the kind's free call reported a failure.
  bool Reset() {
    bool ok = true;
    if (*this) {
      ok = Free(this->handle_);
      Given();
    }
    this->handle_ = Traits::None();
    return ok;
  }

 private:
  static bool Free(Native handle) {
    if constexpr (std::is_void_v<decltype(Traits::Close(handle))>) {
      Traits::Close(handle);
      return true;
    } else {
      return Traits::Close(handle) != 0;
    }
  }
  static void Adopted(Native handle) {
    if constexpr (Counted()) {
      if (handle != Traits::None()) ++ownedGdiObjectCount;
    }
  }
  static void Given() {
    if constexpr (Counted()) --ownedGdiObjectCount;
  }
};

template <class Traits>
class BasicHandle<Traits, false> : public HandleValue<Traits> {
  using Base = HandleValue<Traits>;

 public:
  using Native = typename Traits::Native;

  BasicHandle() = default;
  BasicHandle(Native handle) : Base(handle) {}  // NOLINT: borrowing is implicit on purpose
  // Borrowed from an owning handle of the same kind.
  BasicHandle(const BasicHandle<Traits, true>& owner) : Base(owner.Get()) {}  // NOLINT
  BasicHandle(BasicHandle<Traits, true>&&) = delete;  // would borrow from a temporary
  operator Native() const { return this->handle_; }
};

template <class T>
struct NullHandleTraits {
  using Native = T;
  static constexpr T None() { return nullptr; }
};

// Kernel objects: threads, events, mutexes, processes (null when none).
struct KernelHandleTraits : NullHandleTraits<HANDLE> {
  static BOOL Close(HANDLE h) { return ::CloseHandle(h); }
};
// CreateFileW's handles, whose "none" is INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  using Native = HANDLE;
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static BOOL Close(HANDLE h) { return ::CloseHandle(h); }
};
struct RegistryKeyTraits : NullHandleTraits<HKEY> {
  static bool Close(HKEY h) { return ::RegCloseKey(h) == ERROR_SUCCESS; }
};
struct ModuleTraits : NullHandleTraits<HMODULE> {
  static BOOL Close(HMODULE h) { return ::FreeLibrary(h); }
};
struct HookTraits : NullHandleTraits<HHOOK> {
  static BOOL Close(HHOOK h) { return ::UnhookWindowsHookEx(h); }
};
struct GlobalMemoryTraits : NullHandleTraits<HGLOBAL> {
  static bool Close(HGLOBAL h) { return ::GlobalFree(h) == nullptr; }
};
// A view of a file mapping (MapViewOfFile).
struct MappedViewTraits : NullHandleTraits<const void*> {
  static BOOL Close(const void* view) { return ::UnmapViewOfFile(view); }
};

using KernelHandle = BasicHandle<KernelHandleTraits, true>;  // threads, events, processes
using Thread = KernelHandle;
using Event = KernelHandle;
using OwnedFile = BasicHandle<FileHandleTraits, true>;
using RegistryKey = BasicHandle<RegistryKeyTraits, true>;
using Module = BasicHandle<ModuleTraits, true>;
using Hook = BasicHandle<HookTraits, true>;
using GlobalMemory = BasicHandle<GlobalMemoryTraits, true>;
using MappedView = BasicHandle<MappedViewTraits, true>;

}  // namespace nx7::win32
