// The benchmarks' generated photograph: smooth gradients and soft shapes
// with a little noise, the same picture bench/peers makes for its peers.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// The size of the photo a benchmark times: 4000 x 3000 unless the command
// line says --size WxH (or --size=WxH).
struct TPhotoSize {
  int Width = 4000, Height = 3000;
};

inline TPhotoSize& PhotoSize() {
  static TPhotoSize size;
  return size;
}

// Takes the size flag out of the arguments before Google Benchmark reads them.
inline void TakeSizeFlag(int& argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const bool joined = std::strncmp(argv[i], "--size=", 7) == 0;
    if (!joined && (std::strcmp(argv[i], "--size") != 0 || i + 1 >= argc)) continue;
    const char* value = joined ? argv[i] + 7 : argv[i + 1];
    TPhotoSize& size = PhotoSize();
    if (std::sscanf(value, "%dx%d", &size.Width, &size.Height) != 2 || size.Width < 1 || size.Height < 1) {
      std::fprintf(stderr, "%s: --size takes WxH\n", argv[0]);
      std::exit(2);
    }
    const int taken = joined ? 1 : 2;
    for (int j = i; j + taken <= argc; ++j) argv[j] = argv[j + taken];
    argc -= taken;
    return;
  }
}

// The photo of that size, made once.
inline const TIEWorkingBitmap& Photo() {
  static const TIEWorkingBitmap photo = PhotoLike(PhotoSize().Width, PhotoSize().Height);
  return photo;
}

}  // namespace quillet::bench
