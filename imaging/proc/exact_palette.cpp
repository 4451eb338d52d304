// Collecting an image's colours while they stay few, and looking them up.
#include "imaging/proc/exact_palette.h"

#include <algorithm>
#include <unordered_set>

#include "imaging/proc/color_utils.h"

namespace quillet {

namespace {

uint32_t RgbAt(const uint8_t* bgr) { return uint32_t(bgr[2]) << 16 | uint32_t(bgr[1]) << 8 | bgr[0]; }

}  // namespace

std::unique_ptr<TIEExactPalette> TIEExactPalette::Find(const TIEQuantizerSource& source, int limit) {
  if (source.Empty()) return nullptr;
  std::unordered_set<uint32_t> seen;
  uint32_t last = 0xFFFFFFFFu;  // no colour; runs of one colour skip the set
  for (int64_t y = 0; y < source.Height(); ++y) {
    const uint8_t* p = source.Row(y);
    for (const uint8_t* end = p + 3 * source.Width(); p != end; p += 3) {
      const uint32_t rgb = RgbAt(p);
      if (rgb == last || !seen.insert(last = rgb).second) continue;
      if (int64_t(seen.size()) > limit) return nullptr;
    }
  }
  std::vector<uint32_t> colors(seen.begin(), seen.end());
  std::sort(colors.begin(), colors.end());
  return std::unique_ptr<TIEExactPalette>(new TIEExactPalette(std::move(colors)));
}

void TIEExactPalette::WritePalette(std::span<TBGR> palette) const {
  for (size_t i = 0; i < colors_.size() && i < palette.size(); ++i)
    palette[i] = TBGR{uint8_t(colors_[i]), uint8_t(colors_[i] >> 8), uint8_t(colors_[i] >> 16)};
}

int TIEExactPalette::GetIndex(uint32_t rgb) const {
  const auto at = std::lower_bound(colors_.begin(), colors_.end(), rgb);
  if (at != colors_.end() && *at == rgb) return int(at - colors_.begin());
  std::vector<TBGR> palette(colors_.size());
  WritePalette(palette);
  return NearestPaletteIndex(palette, rgb);
}

void TIEExactPalette::MapRow(const uint8_t* bgr, int64_t count, uint8_t* indices) const {
  uint32_t last = 0xFFFFFFFFu;  // no colour: the first pixel is looked up
  uint8_t index = 0;
  for (const uint8_t* end = bgr + 3 * count; bgr != end; bgr += 3) {
    const uint32_t rgb = RgbAt(bgr);
    if (rgb != last) index = uint8_t(GetIndex(rgb)), last = rgb;
    *indices++ = index;
  }
}

}  // namespace quillet
