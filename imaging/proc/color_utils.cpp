// Two-colour detection with its 1-bit image, nearest entry by L1 distance,
// and the palette channel swap.
#include "imaging/proc/color_utils.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "imaging/core/math.h"

namespace quillet {

namespace {

// Grey level rounded to nearest, as the darker-colour test compares it.
int64_t RoundedGrey(const TBGR& c) { return Round((21.0 * c.r + 71.0 * c.g + 7.0 * c.b) / 100.0); }

TBGR PixelAt(const uint8_t* p) { return TBGR{p[0], p[1], p[2]}; }

// Writes the bits of one row (1 where the pixel is not colour 0). A third
// colour ends the scan: false.
bool PackRow(const uint8_t* src, int64_t width, std::array<TBGR, 2>& seen, int& count, uint8_t* dst) {
  uint8_t byte = 0;
  for (int64_t x = 0; x < width; ++x, src += 3) {
    const TBGR c = PixelAt(src);
    bool one = false;
    if (count == 0) {
      seen[0] = c, count = 1;
    } else if (!(c == seen[0])) {
      if (count == 1) seen[1] = c, count = 2;
      else if (!(c == seen[1])) return false;
      one = true;
    }
    byte = uint8_t(byte << 1 | (one ? 1 : 0));
    if ((x & 7) == 7) *dst++ = byte, byte = 0;
  }
  if (width & 7) *dst = uint8_t(byte << (8 - (width & 7)));
  return true;
}

// Complements the pixel bits of every row; the padding stays zero.
void InvertPixels(TIEWorkingBitmap& bitmap) {
  const int64_t full = bitmap.Width() / 8, rest = bitmap.Width() & 7;
  for (int64_t y = 0; y < bitmap.Height(); ++y) {
    uint8_t* row = bitmap.ScanLine(y);
    for (int64_t i = 0; i < full; ++i) row[i] = uint8_t(~row[i]);
    if (rest) row[full] ^= uint8_t(0xFF << (8 - rest));
  }
}

}  // namespace

std::unique_ptr<TIEWorkingBitmap> ExtractTwoColours(const TIEWorkingBitmap& image, std::array<TBGR, 2>& colors) {
  if (image.PixelFormat() != TIEPixelFormat::pf24bit || image.Empty()) return nullptr;
  auto bits = std::make_unique<TIEWorkingBitmap>(image.Width(), image.Height(), TIEPixelFormat::pf1bit);
  // Two colours at most matter, so the set of colours seen is two slots.
  std::array<TBGR, 2> seen{};
  int count = 0;
  for (int64_t y = 0; y < image.Height(); ++y) {
    uint8_t* row = bits->ScanLine(y);
    std::fill_n(row, bits->RowBytes(), 0);
    if (!PackRow(image.ScanLine(y), image.Width(), seen, count, row)) return nullptr;
  }
  if (count != 2) return nullptr;
  if (RoundedGrey(seen[1]) < RoundedGrey(seen[0])) {
    InvertPixels(*bits);
    std::swap(seen[0], seen[1]);
  }
  colors = seen;
  return bits;
}

int NearestPaletteIndex(std::span<const TBGR> palette, uint32_t rgb) {
  const int r = int(rgb >> 16 & 255), g = int(rgb >> 8 & 255), b = int(rgb & 255);
  int best = 1000, index = 0;
  for (size_t i = 0; i < palette.size(); ++i) {
    const TBGR& e = palette[i];
    const int dist = std::abs(e.r - r) + std::abs(e.g - g) + std::abs(e.b - b);
    if (dist < best) best = dist, index = int(i);
  }
  return index;
}

void SwapPaletteRB(std::span<TBGR> palette) {
  for (TBGR& e : palette) std::swap(e.b, e.r);
}

}  // namespace quillet
