// Bitmap rows between the file (1 = black) and the 1-bit image (1 = white):
// the same inversion both ways, with the bits past the width left clear.
#pragma once

#include <cstdint>

namespace quillet {

inline void InvertBitRow(const uint8_t* src, uint8_t* dst, int64_t width) {
  const int64_t bytes = (width + 7) / 8;
  for (int64_t i = 0; i < bytes; ++i) dst[i] = uint8_t(~src[i]);
  if (width & 7) dst[bytes - 1] &= uint8_t(0xFF00 >> (width & 7));
}

}  // namespace quillet
