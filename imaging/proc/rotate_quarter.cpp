// Quarter turns as one address mapping, walked in square tiles so that both
// the rows read and the rows written stay in the cache.
#include "imaging/proc/rotate_quarter.h"

#include <algorithm>

namespace quillet {

namespace {

// Destination pixel (x, y) comes from source byte origin + x * dx + y * dy.
struct TPixelMap {
  int64_t Origin, Dx, Dy;
};

TPixelMap MapOf(const TRotateRows& s, int turns) {
  const int64_t lastRow = (s.Height - 1) * s.Stride, lastColumn = 3 * (s.Width - 1);
  switch (turns) {
    case 1: return {lastColumn, s.Stride, -3};                 // (x, y) <- (W - 1 - y, x)
    case 2: return {lastRow + lastColumn, -3, -s.Stride};      // (x, y) <- (W - 1 - x, H - 1 - y)
    default: return {lastRow, -s.Stride, 3};                   // (x, y) <- (y, H - 1 - x)
  }
}

}  // namespace

TRotatePlane QuarterTurn(const TRotateRows& source, int turns) {
  const bool swap = turns % 2 == 1;
  TRotatePlane plane(swap ? source.Height : source.Width, swap ? source.Width : source.Height);
  const TRotateRows& out = plane.Rows();
  const TPixelMap map = MapOf(source, turns);
  constexpr int64_t kTile = 64;
  for (int64_t ty = 0; ty < out.Height; ty += kTile)
    for (int64_t tx = 0; tx < out.Width; tx += kTile)
      for (int64_t y = ty; y < std::min(ty + kTile, out.Height); ++y) {
        uint8_t* o = out.Row(y) + 3 * tx;
        int64_t at = map.Origin + tx * map.Dx + y * map.Dy;
        for (int64_t x = tx; x < std::min(tx + kTile, out.Width); ++x, o += 3, at += map.Dx) {
          const uint8_t* p = source.Bits + at;
          o[0] = p[0], o[1] = p[1], o[2] = p[2];
        }
      }
  return plane;
}

}  // namespace quillet
