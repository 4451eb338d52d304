// Small builders shared by the view tests: a geometry over a client of a
// given size, a 24-bit image whose every pixel differs, and a client buffer.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/core/mask.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/view/view_geometry.h"

namespace quillet::test {

inline TIEViewGeometry Geometry(int64_t imageW, int64_t imageH, int64_t clientW, int64_t clientH) {
  TIEViewGeometry g;
  g.SetImageSize(imageW, imageH);
  g.SetBounds(clientW, clientH);
  return g;
}

// Pixel (x, y) is blue x, green y, red 200.
inline TIEWorkingBitmap Numbered(int64_t w, int64_t h) {
  TIEWorkingBitmap b(w, h, TIEPixelFormat::pf24bit);
  for (int64_t y = 0; y < h; ++y)
    for (int64_t x = 0; x < w; ++x) {
      uint8_t* p = b.ScanLine(y) + 3 * x;
      p[0] = uint8_t(x);
      p[1] = uint8_t(y);
      p[2] = 200;
    }
  return b;
}

struct Buffer {
  int64_t w, h;
  std::vector<uint8_t> bytes;
  Buffer(int64_t width, int64_t height, uint8_t fill = 0x77) : w(width), h(height), bytes(size_t(width * height * 3), fill) {}
  TIERawTarget Target() { return {bytes.data(), w, h, w * 3}; }
  TBGR At(int64_t x, int64_t y) const {
    const uint8_t* p = bytes.data() + (y * w + x) * 3;
    return TBGR{p[0], p[1], p[2]};
  }
};

}  // namespace quillet::test
