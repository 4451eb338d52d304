// Collecting an image's colours while they stay few, and looking them up.
#include "imaging/proc/exact_palette.h"

#include <algorithm>
#include <bit>

#include "imaging/proc/color_utils.h"

namespace quillet {

namespace {

uint32_t RgbAt(const uint8_t* bgr) { return uint32_t(bgr[2]) << 16 | uint32_t(bgr[1]) << 8 | bgr[0]; }

}  // namespace

// At most a quarter full, so probes stay short.
TIEExactPalette::TSlots::TSlots(int capacity) {
  const int bits = std::max(4, int(std::bit_width(uint32_t(std::max(capacity, 1)) * 4 - 1)));
  keys_.assign(size_t(1) << bits, kEmpty);
  values_.assign(keys_.size(), 0);
  shift_ = uint32_t(32 - bits);
}

size_t TIEExactPalette::TSlots::Probe(uint32_t rgb) const {
  const size_t mask = keys_.size() - 1;
  for (size_t i = (rgb * 0x9E3779B1u) >> shift_;; i = (i + 1) & mask)
    if (keys_[i] == rgb || keys_[i] == kEmpty) return i;
}

TIEExactPalette::TIEExactPalette(std::vector<uint32_t> colors)
    : colors_(std::move(colors)), indices_(int(colors_.size()) * 2) {
  for (size_t i = 0; i < colors_.size(); ++i) indices_.Put(indices_.Probe(colors_[i]), colors_[i], uint16_t(i));
}

std::unique_ptr<TIEExactPalette> TIEExactPalette::Find(const TIEQuantizerSource& source, int limit) {
  if (source.Empty()) return nullptr;
  TSlots seen(limit + 1);
  std::vector<uint32_t> colors;
  uint32_t last = TSlots::kEmpty;  // runs of one colour skip the table
  for (int64_t y = 0; y < source.Height(); ++y) {
    const uint8_t* p = source.Row(y);
    for (const uint8_t* end = p + 3 * source.Width(); p != end; p += 3) {
      const uint32_t rgb = RgbAt(p);
      if (rgb == last) continue;
      const size_t at = seen.Probe(last = rgb);
      if (seen.Holds(at, rgb)) continue;
      if (int64_t(colors.size()) == limit) return nullptr;
      seen.Put(at, rgb, 0);
      colors.push_back(rgb);
    }
  }
  std::sort(colors.begin(), colors.end());
  return std::unique_ptr<TIEExactPalette>(new TIEExactPalette(std::move(colors)));
}

void TIEExactPalette::WritePalette(std::span<TBGR> palette) const {
  for (size_t i = 0; i < colors_.size() && i < palette.size(); ++i)
    palette[i] = TBGR{uint8_t(colors_[i]), uint8_t(colors_[i] >> 8), uint8_t(colors_[i] >> 16)};
}

int TIEExactPalette::GetIndex(uint32_t rgb) const {
  const size_t at = indices_.Probe(rgb);
  if (indices_.Holds(at, rgb)) return indices_.Value(at);
  std::vector<TBGR> palette(colors_.size());
  WritePalette(palette);
  return NearestPaletteIndex(palette, rgb);
}

void TIEExactPalette::MapRow(const uint8_t* bgr, int64_t count, uint8_t* indices) const {
  uint32_t last = TSlots::kEmpty;  // no colour: the first pixel is looked up
  uint8_t index = 0;
  for (const uint8_t* end = bgr + 3 * count; bgr != end; bgr += 3) {
    const uint32_t rgb = RgbAt(bgr);
    if (rgb != last) index = uint8_t(GetIndex(rgb)), last = rgb;
    *indices++ = index;
  }
}

}  // namespace quillet
