// The four-pass row order of interlaced GIF images: passes of (start row,
// step) (0, 8), (4, 8), (2, 4), (1, 2), a pass past the last row skipped.
#pragma once

#include <cstdint>

namespace quillet {

// The display row of the i-th stored row (0 <= i < height) of an interlaced
// image `height` rows high, found by arithmetic rather than by walking the passes.
inline int64_t InterlacedRow(int64_t i, int64_t height) {
  const int64_t pass0 = (height + 7) / 8, pass1 = (height + 3) / 8, pass2 = (height + 1) / 4;
  if (i < pass0) return i * 8;
  i -= pass0;
  if (i < pass1) return 4 + i * 8;
  i -= pass1;
  if (i < pass2) return 2 + i * 4;
  return 1 + (i - pass2) * 2;
}

}  // namespace quillet
