#include "imaging/proc/flip.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/core/bits.h"
#include "imaging/proc/row_split.h"

namespace quillet {

namespace {

// The pixels of a 24-bit row in reverse, through a copy of the row with one
// byte to spare: each pixel moves as a four-byte word whose last byte the
// next pixel overwrites, the last pixel as its three bytes.
void MirrorRow24(uint8_t* row, int64_t width, uint8_t* copy) {
  if (width == 0) return;
  std::memcpy(copy, row, size_t(3 * width));
  const uint8_t* from = copy + 3 * (width - 1);
  for (int64_t x = 0; x + 1 < width; ++x, from -= 3) std::memcpy(row + 3 * x, from, 4);
  std::memcpy(row + 3 * (width - 1), copy, 3);
}

// Bytes and their bits reversed put pixel x at n*8-1-x; a shift by the
// unused bits of the last byte brings it to width-1-x.
void MirrorRow1(uint8_t* row, int64_t width) {
  const int64_t n = (width + 7) / 8, shift = n * 8 - width;
  std::reverse(row, row + n);
  for (int64_t i = 0; i < n; ++i) row[i] = ReverseBits8(row[i]);
  if (shift == 0) return;
  for (int64_t i = 0; i < n; ++i) row[i] = uint8_t(row[i] << shift | (i + 1 < n ? row[i + 1] >> (8 - shift) : 0));
}

}  // namespace

void MirrorImage(TIEWorkingBitmap& image, const std::function<void(int64_t)>& progress) {
  const bool colour = image.PixelFormat() == TIEPixelFormat::pf24bit;
  const int64_t width = image.Width();
  SplitRows(
      image.Height(), image.RowBytes(),
      [&](int64_t first, int64_t last) {
        std::vector<uint8_t> copy(colour ? size_t(3 * width + 1) : 0);
        for (int64_t y = first; y < last; ++y)
          colour ? MirrorRow24(image.ScanLine(y), width, copy.data()) : MirrorRow1(image.ScanLine(y), width);
      },
      progress);
}

void FlipImageVertically(TIEWorkingBitmap& image) {
  const int64_t bytes = image.RowBytes(), h = image.Height();
  SplitRows(h / 2, 2 * bytes, [&](int64_t first, int64_t last) {
    std::vector<uint8_t> copy(static_cast<size_t>(bytes));
    for (int64_t a = first; a < last; ++a) {
      uint8_t* top = image.ScanLine(a);
      uint8_t* bottom = image.ScanLine(h - 1 - a);
      std::memcpy(copy.data(), top, size_t(bytes));
      std::memcpy(top, bottom, size_t(bytes));
      std::memcpy(bottom, copy.data(), size_t(bytes));
    }
  });
}

}  // namespace quillet
