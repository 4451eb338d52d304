// Small test images made from a colour function of the pixel position, and
// their comparison.
#pragma once

#include <algorithm>
#include <functional>

#include "imaging/core/working_bitmap.h"

namespace quillet::test {

inline TIEWorkingBitmap MakeImage(int w, int h, const std::function<TBGR(int x, int y)>& color) {
  TIEWorkingBitmap b(w, h, TIEPixelFormat::pf24bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const TBGR c = color(x, y);
      uint8_t* p = b.ScanLine(y) + 3 * x;
      p[0] = c.b, p[1] = c.g, p[2] = c.r;
    }
  return b;
}

// A smooth gradient with a different colour in nearly every pixel.
inline TIEWorkingBitmap Gradient(int w, int h) {
  return MakeImage(w, h, [w, h](int x, int y) {
    return MakeBGR(uint8_t(x * 255 / std::max(w - 1, 1)), uint8_t(y * 255 / std::max(h - 1, 1)),
                   uint8_t((x + y) * 127 / std::max(w + h - 2, 1)));
  });
}

// Same size, format and colour in every pixel.
inline bool SamePixels(const TIEWorkingBitmap& a, const TIEWorkingBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.PixelFormat() != b.PixelFormat()) return false;
  for (int64_t y = 0; y < a.Height(); ++y)
    for (int64_t x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

}  // namespace quillet::test
