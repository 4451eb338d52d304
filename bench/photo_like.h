// The benchmarks' generated photograph: smooth gradients and soft shapes
// with a little noise, the same picture bench/peers makes for its peers.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "imaging/core/working_bitmap.h"

namespace quillet::bench {

inline TIEWorkingBitmap PhotoLike(int width = 4000, int height = 3000) {
  TIEWorkingBitmap b(width, height, TIEPixelFormat::pf24bit);
  std::vector<double> sx(static_cast<size_t>(width)), cy(static_cast<size_t>(height));
  for (int x = 0; x < width; ++x) sx[size_t(x)] = std::sin(x / 350.0);
  for (int y = 0; y < height; ++y) cy[size_t(y)] = std::cos(y / 420.0);
  uint32_t seed = 7;
  const auto noise = [&seed] {
    seed ^= seed << 13, seed ^= seed >> 17, seed ^= seed << 5;
    return int(seed % 13) - 6;
  };
  const auto clamp = [](double v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
  for (int y = 0; y < height; ++y) {
    uint8_t* p = b.ScanLine(y);
    for (int x = 0; x < width; ++x, p += 3) {
      p[0] = clamp(128 + 90 * std::sin((x + y) / 500.0) + noise());
      p[1] = clamp(255.0 * y / height + noise());
      p[2] = clamp(128 + 100 * sx[size_t(x)] * cy[size_t(y)] + noise());
    }
  }
  return b;
}

}  // namespace quillet::bench
