#pragma once
// The rules of the skinned popup menu, free of any window: where its entries go and how big it
// is, which entry the pointer highlights and which one a release chooses, how the background is
// nine-sliced, and the pixel steps that turn the drawn layers into one picture with per-pixel
// alpha. The popup windows only carry these out.
#include <cstddef>
#include <cstdint>
#include <array>
#include <optional>
#include <vector>

#include "skin/layout.h"

namespace nx7::popup {

struct Entry {
  bool separator = false;
  uint32_t command = 0;  // reported when the entry is chosen
  layout::Rect rect;     // in the popup's client area
};

// The entries of a popup menu and the highlighted one.
class MenuModel {
 public:
  // Appends an entry and lays all entries out again; returns the popup's new size.
  layout::Size Add(bool separator, uint32_t command);
  const std::vector<Entry>& Entries() const { return entries_; }
  // The popup's size for the entries: 116 wide, 3 pixels below the last entry.
  layout::Size Size() const { return size_; }
  // The highlighted entry's index, -1 for none.
  int Highlighted() const { return highlighted_; }

  // The pointer is at `p` (button up): the highlight follows it. True when it changed.
  bool OnHover(layout::Point p);
  // The button is released at `p`: the highlighted entry is chosen when `p` is still on it;
  // elsewhere the highlight goes. Nothing happens without a highlighted entry.
  struct Release {
    bool changed = false;
    std::optional<uint32_t> chosen;
  };
  Release OnRelease(layout::Point p);

 private:
  void LayOut();
  std::vector<Entry> entries_;
  layout::Size size_{layout::art::kPopupMenuWidth, layout::art::kLanguageMenuTop + layout::art::kPopupMenuBottom};
  int highlighted_ = -1;
};

// Nine slices of a background picture onto a target: the four corners unscaled, the edges
// stretched along their length, the middle both ways. Slices with no area are left out.
struct Slice {
  layout::Rect source;
  layout::Rect target;
};
std::vector<Slice> NineSlice(layout::Size picture, layout::Size target, int corner);

// Pixel steps of the layered picture, on 32-bit pixels 0xAARRGGBB with premultiplied alpha.
// The entries' layer, drawn on magenta: magenta becomes fully transparent, everything else
// opaque, pure black first becoming (0, 0, 1) so that no drawn pixel is taken for the key.
void MaskEntryLayer(uint32_t* pixels, size_t count);
// Source-over of `layer` onto `picture` (both premultiplied).
void BlendOver(uint32_t* picture, const uint32_t* layer, size_t count);
// Pure black that is shown (alpha above 0) becomes (0, 0, 1); a fully transparent pixel has no
// colour and stays as it is.
void LiftBlack(uint32_t* pixels, size_t count);

}  // namespace nx7::popup
