#include "imaging/proc/bitmap_area.h"

#include <algorithm>
#include <cstring>

#include "imaging/core/bits.h"

namespace quillet {

namespace {

// `count` pixels from (src, sx) to (dst, dx) of one row.
void CopyRowPixels(const uint8_t* src, int64_t sx, uint8_t* dst, int64_t dx, int64_t count, TIEPixelFormat format) {
  if (format == TIEPixelFormat::pf24bit) {
    std::memcpy(dst + 3 * dx, src + 3 * sx, size_t(3 * count));
    return;
  }
  CopyBits(src, sx, dst, dx, count);
}

}  // namespace

TIEWorkingBitmap CopyArea(const TIEWorkingBitmap& source, int64_t x, int64_t y, int64_t w, int64_t h) {
  TIEWorkingBitmap area(w, h, source.PixelFormat());
  for (int64_t r = 0; r < h; ++r) CopyRowPixels(source.ScanLine(y + r), x, area.ScanLine(r), 0, w, source.PixelFormat());
  return area;
}

void PasteArea(const TIEWorkingBitmap& source, TIEWorkingBitmap& dest, int64_t x, int64_t y) {
  const int64_t sx = std::max<int64_t>(0, -x), sy = std::max<int64_t>(0, -y);
  const int64_t w = std::min(source.Width(), dest.Width() - x) - sx;
  const int64_t h = std::min(source.Height(), dest.Height() - y) - sy;
  for (int64_t r = 0; r < h; ++r)
    CopyRowPixels(source.ScanLine(sy + r), sx, dest.ScanLine(y + sy + r), x + sx, w, dest.PixelFormat());
}

}  // namespace quillet
