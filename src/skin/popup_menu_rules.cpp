#include "skin/popup_menu_rules.h"

namespace nx7::popup {

namespace art = layout::art;

layout::Size MenuModel::Add(bool separator, uint32_t command) {
  entries_.push_back(Entry{separator, command, {}});
  LayOut();
  return size_;
}

void MenuModel::LayOut() {
  int y = art::kLanguageMenuTop;
  for (Entry& entry : entries_) {
    if (entry.separator) {
      const layout::Rect& s = art::kPopupMenuSeparator;
      entry.rect = layout::Rect{s.left, y + s.top, s.right, y + s.bottom};
      y += art::kPopupMenuSeparatorHeight;
    } else {
      const layout::Rect& e = art::kLanguageMenuEntry;
      entry.rect = layout::Rect{e.left, y, e.right, y + art::kLanguageMenuEntryHeight};
      y += art::kLanguageMenuEntryHeight;
    }
  }
  size_ = layout::Size{art::kPopupMenuWidth, y + art::kPopupMenuBottom};
}

bool MenuModel::OnHover(layout::Point p) {
  if (highlighted_ >= 0 && entries_[static_cast<size_t>(highlighted_)].rect.contains(p)) return false;
  bool changed = highlighted_ >= 0;
  highlighted_ = -1;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (!entries_[i].separator && entries_[i].rect.contains(p)) {
      highlighted_ = static_cast<int>(i);
      changed = true;
      break;
    }
  }
  return changed;
}

MenuModel::Release MenuModel::OnRelease(layout::Point p) {
  Release release;
  if (highlighted_ < 0) return release;
  const Entry& entry = entries_[static_cast<size_t>(highlighted_)];
  if (!entry.rect.contains(p)) {
    highlighted_ = -1;
    release.changed = true;
  } else {
    release.chosen = entry.command;
  }
  return release;
}

std::vector<Slice> NineSlice(layout::Size picture, layout::Size target, int corner) {
  std::vector<Slice> slices;
  // Columns and rows: (source from, source to, target from, target to).
  struct Band {
    int s0, s1, t0, t1;
  };
  const auto bands = [corner](int source, int shown) {
    return std::array<Band, 3>{{{0, corner, 0, corner},
                                {corner, source - corner, corner, shown - corner},
                                {source - corner, source, shown - corner, shown}}};
  };
  const auto columns = bands(picture.width, target.width);
  const auto rows = bands(picture.height, target.height);
  for (const Band& row : rows) {
    for (const Band& column : columns) {
      const layout::Rect source{column.s0, row.s0, column.s1, row.s1};
      const layout::Rect shown{column.t0, row.t0, column.t1, row.t1};
      if (source.width() <= 0 || source.height() <= 0 || shown.width() <= 0 || shown.height() <= 0) continue;
      slices.push_back(Slice{source, shown});
    }
  }
  return slices;
}

namespace {
constexpr uint32_t kRgb = 0x00FFFFFFu;
constexpr uint32_t kMagenta = 0x00FF00FFu;
constexpr uint32_t kNearBlack = 0x00000001u;  // RGB(0, 0, 1)
}  // namespace

void MaskEntryLayer(uint32_t* pixels, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    uint32_t rgb = pixels[i] & kRgb;
    if (rgb == kMagenta) {
      pixels[i] = 0;
      continue;
    }
    if (rgb == 0) rgb = kNearBlack;
    pixels[i] = 0xFF000000u | rgb;
  }
}

void BlendOver(uint32_t* picture, const uint32_t* layer, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const uint32_t s = layer[i];
    const uint32_t keep = 255 - (s >> 24);
    const uint32_t d = picture[i];
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const uint32_t sc = (s >> shift) & 0xFF;
      const uint32_t dc = (d >> shift) & 0xFF;
      const uint32_t c = sc + (dc * keep + 127) / 255;
      out |= (c > 255 ? 255 : c) << shift;
    }
    picture[i] = out;
  }
}

void LiftBlack(uint32_t* pixels, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if ((pixels[i] & kRgb) == 0 && (pixels[i] >> 24) != 0) pixels[i] |= kNearBlack;
  }
}

}  // namespace nx7::popup
