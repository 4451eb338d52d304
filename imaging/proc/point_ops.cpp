#include "imaging/proc/point_ops.h"

#include "imaging/core/vector_clones.h"
#include "imaging/proc/row_split.h"

namespace quillet {

namespace {

// Bytes of a row that hold pixels.
int64_t PixelBytes(const TIEWorkingBitmap& image) { return (image.Width() * image.BitCount() + 7) / 8; }

void InvertRow(uint8_t* row, int64_t bytes) {
  for (int64_t i = 0; i < bytes; ++i) row[i] = uint8_t(~row[i]);
}

// GreyLevel in 16-bit lanes: the weighted sum is at most 99 * 255.
QUILLET_VECTOR_CLONES void GreyRow(uint8_t* p, int64_t width) {
  for (int64_t x = 0; x < width; ++x, p += 3) {
    const auto sum = uint16_t(7 * p[0] + 71 * p[1] + 21 * p[2]);
    p[0] = p[1] = p[2] = uint8_t(sum / 100);
  }
}

}  // namespace

void InvertImage(TIEWorkingBitmap& image) {
  const int64_t bytes = PixelBytes(image);
  SplitRows(image.Height(), bytes, [&](int64_t first, int64_t last) {
    for (int64_t y = first; y < last; ++y) InvertRow(image.ScanLine(y), bytes);
  });
}

void GreyImage(TIEWorkingBitmap& image) {
  SplitRows(image.Height(), 3 * image.Width(), [&](int64_t first, int64_t last) {
    for (int64_t y = first; y < last; ++y) GreyRow(image.ScanLine(y), image.Width());
  });
}

}  // namespace quillet
