#include "skin/skin_images_win32.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "framework/dialog.h"
#include "framework/ui_init.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/wide.h"
#include "skin/bmp_pixels.h"

namespace nx7::win32 {
namespace {

// Owns a COM interface pointer.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T** Out() { return &p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  T* Get() const { return p_; }

 private:
  T* p_ = nullptr;
};

class GlobalLock {
 public:
  explicit GlobalLock(HGLOBAL block) : block_(block), data_(::GlobalLock(block)) {}
  ~GlobalLock() {
    if (data_) ::GlobalUnlock(block_);
  }
  GlobalLock(const GlobalLock&) = delete;
  GlobalLock& operator=(const GlobalLock&) = delete;
  void* Data() const { return data_; }

 private:
  HGLOBAL block_;
  void* data_;
};

// Skin files are whole-window pictures of a few megabytes; anything far beyond is not one.
constexpr DWORD kLargestSkinFile = 64u << 20;

// A copy of a picture the system's decoder made (its picture object deletes its own bitmap).
Bitmap CopyToDeviceBitmap(HBITMAP source, SIZE size) {
  Bitmap copy;
  if (size.cx <= 0 || size.cy <= 0) return copy;
  ClientDc screen(nullptr);
  copy.Attach(::CreateCompatibleBitmap(screen, size.cx, size.cy));
  if (!copy) return copy;
  BitmapDc from(screen, source);
  BitmapDc to(screen, copy.Get());
  ::BitBlt(to, 0, 0, size.cx, size.cy, from, 0, 0, SRCCOPY);
  return copy;
}

// The bytes of resource `id` of `type` in `module`, in place; empty when it is missing.
std::span<const uint8_t> ResourceBytes(HINSTANCE module, UINT id, const wchar_t* type) {
  HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (!info) return {};
  const DWORD size = ::SizeofResource(module, info);
  HGLOBAL loaded = ::LoadResource(module, info);
  const auto* data = static_cast<const uint8_t*>(loaded ? ::LockResource(loaded) : nullptr);
  if (!data) return {};
  return {data, size};
}

}  // namespace

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

size_t BitmapBytes(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) return 0;
  return static_cast<size_t>(info.bmWidthBytes) * static_cast<size_t>(info.bmHeight);
}

namespace {

// A picture the reader understands, as a 32-bit DIB section; empty otherwise.
SkinBitmap DibFromBmp(std::span<const uint8_t> bytes, const std::optional<skin::BmpLayout>& layout) {
  SkinBitmap result;
  if (!layout) return result;
  void* bits = nullptr;
  result.bitmap = CreateTopDownDib(nullptr, layout->width, layout->height, &bits);
  if (!result.bitmap || !bits) return SkinBitmap();
  skin::CopyBmpPixels(bytes, *layout, static_cast<uint32_t*>(bits));
  result.width = layout->width;
  result.height = layout->height;
  result.topDown32 = true;
  return result;
}

// The system's decoder, for the kinds of BMP the reader leaves to it.
SkinBitmap DecodeWithOle(std::span<const uint8_t> file) {
  SkinBitmap result;
  GlobalMemory block(::GlobalAlloc(GMEM_MOVEABLE, file.size()));
  if (!block) return result;
  {
    GlobalLock lock(block.Get());
    if (!lock.Data()) return result;
    std::memcpy(lock.Data(), file.data(), file.size());
  }
  ComPtr<IStream> stream;
  // The stream frees the block when it is released.
  if (FAILED(::CreateStreamOnHGlobal(block.Get(), TRUE, stream.Out()))) return result;
  block.Detach();
  ComPtr<IPicture> picture;
  if (FAILED(::OleLoadPicture(stream.Get(), static_cast<LONG>(file.size()), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(picture.Out())))) {
    return result;
  }
  SHORT type = PICTYPE_UNINITIALIZED;
  OLE_HANDLE handle = 0;
  if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(picture->get_Handle(&handle))) {
    return result;
  }
  // The picture object deletes its bitmap when released: keep a copy of our own.
  HBITMAP source = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
  const SIZE dims = BitmapSize(source);
  result.bitmap = CopyToDeviceBitmap(source, dims);
  if (result.bitmap) {
    result.width = dims.cx;
    result.height = dims.cy;
  }
  return result;
}

}  // namespace

SkinBitmap LoadSkinBitmap(const std::u16string& path) {
  FileHandle file(::CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return SkinBitmap();
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kLargestSkinFile) return SkinBitmap();
  // Mapped rather than read into fresh memory: the pages come from the file cache in large steps,
  // where touching each page of a new buffer costs the process a fault per page.
  const KernelHandle mapping(::CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping) return SkinBitmap();
  const MappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
  if (!view) return SkinBitmap();
  const std::span<const uint8_t> bytes(static_cast<const uint8_t*>(view.Get()), static_cast<size_t>(size.QuadPart));
  if (SkinBitmap picture = DibFromBmp(bytes, skin::ReadBmpFile(bytes))) return picture;
  return DecodeWithOle(bytes);
}

Bitmap CutBitmap(HBITMAP source, int left, int top, int right, int bottom) {
  Bitmap piece;
  const int width = right - left;
  const int height = bottom - top;
  if (!source || width <= 0 || height <= 0) return piece;
  // Pieces are DIB sections in the process: a screen-compatible bitmap costs Wine a round trip to
  // the display for its creation and for every copy into it (about 1.5 ms a piece against 0.02 ms),
  // and a page cuts a hundred of them. Their pixels are too few to count.
  void* bits = nullptr;
  piece = CreateTopDownDib(nullptr, width, height, &bits);
  if (!piece) return piece;
  BitmapDc from(nullptr, source);
  BitmapDc to(nullptr, piece.Get());
  ::BitBlt(to, 0, 0, width, height, from, left, top, SRCCOPY);
  return piece;
}

bool LoadPngResource(UINT id, GdiplusImage& image) {
  if (!InitUserInterface()) return false;
  const std::span<const uint8_t> png = ResourceBytes(ResourceModule(), id, L"PNG");
  if (png.empty()) return false;

  GlobalMemory copy(::GlobalAlloc(GMEM_FIXED, png.size()));
  if (!copy.Get()) return false;
  std::memcpy(reinterpret_cast<void*>(copy.Get()), png.data(), png.size());
  ComPtr<IStream> stream;
  // The stream does not own the block: GDI+ may read it lazily, so decode fully below.
  if (FAILED(::CreateStreamOnHGlobal(copy.Get(), FALSE, stream.Out()))) return false;
  Gdiplus::GpImage* loadedImage = nullptr;
  if (Gdiplus::DllExports::GdipLoadImageFromStream(stream.Get(), &loadedImage) != Gdiplus::Ok || !loadedImage) {
    return false;
  }
  GdiplusImage decoded(loadedImage);
  // A clone holds its own pixels, independent of the stream and the block freed on return.
  Gdiplus::GpImage* clone = nullptr;
  const SIZE dims = ImageSize(decoded.Get());
  if (Gdiplus::DllExports::GdipCloneBitmapAreaI(0, 0, dims.cx, dims.cy, PixelFormat32bppARGB,
                                                 reinterpret_cast<Gdiplus::GpBitmap*>(decoded.Get()),
                                                 reinterpret_cast<Gdiplus::GpBitmap**>(&clone)) != Gdiplus::Ok ||
      !clone) {
    return false;
  }
  image.Attach(clone);
  return true;
}

SkinBitmap LoadResourceBitmap(UINT id) {
  HINSTANCE module = ResourceModule();
  const std::span<const uint8_t> dib = ResourceBytes(module, id, RT_BITMAP);
  if (SkinBitmap picture = DibFromBmp(dib, skin::ReadPackedDib(dib))) return picture;
  SkinBitmap result;
  result.bitmap.Attach(::LoadBitmapW(module, MAKEINTRESOURCEW(id)));
  const SIZE dims = BitmapSize(result.bitmap.Get());
  result.width = dims.cx;
  result.height = dims.cy;
  return result;
}

namespace {

struct SharedPictures {
  std::mutex mutex;
  std::map<UINT, std::weak_ptr<const SkinBitmap>> resources;
  std::map<std::u16string, std::weak_ptr<const SkinBitmap>> files;
};

SharedPictures& Shared() {
  static SharedPictures* pictures = new SharedPictures;  // never destroyed: holders may outlive statics
  return *pictures;
}

template <class Key, class Load>
SharedSkinBitmap FindOrLoad(std::map<Key, std::weak_ptr<const SkinBitmap>>& cache, const Key& key, Load load) {
  if (SharedSkinBitmap alive = cache[key].lock()) return alive;
  auto loaded = std::make_shared<const SkinBitmap>(load());
  if (*loaded) {
    cache[key] = loaded;
  } else {
    cache.erase(key);
  }
  return loaded;
}

template <class Map>
void Count(Map& cache, SharedBitmapUsage& usage) {
  for (auto it = cache.begin(); it != cache.end();) {
    if (SharedSkinBitmap alive = it->second.lock()) {
      ++usage.pictures;
      usage.bytes += BitmapBytes(alive->bitmap.Get());
      ++it;
    } else {
      it = cache.erase(it);
    }
  }
}

}  // namespace

SharedSkinBitmap SharedResourceBitmap(UINT id) {
  SharedPictures& shared = Shared();
  std::lock_guard lock(shared.mutex);
  return FindOrLoad(shared.resources, id, [id] { return LoadResourceBitmap(id); });
}

SharedSkinBitmap SharedFileBitmap(const std::u16string& path) {
  SharedPictures& shared = Shared();
  std::lock_guard lock(shared.mutex);
  return FindOrLoad(shared.files, path, [&path] { return LoadSkinBitmap(path); });
}

SharedBitmapUsage SharedBitmapsInUse() {
  SharedPictures& shared = Shared();
  std::lock_guard lock(shared.mutex);
  SharedBitmapUsage usage;
  Count(shared.resources, usage);
  Count(shared.files, usage);
  return usage;
}

}  // namespace nx7::win32
