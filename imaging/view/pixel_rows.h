// Span helpers on 24-bit client rows shared by the view's painters: filling,
// inverting and clipped rectangles. Callers clip; nothing here checks bounds.
#pragma once

#include <cstdint>
#include <cstring>

#include "imaging/core/colors.h"
#include "imaging/core/mask.h"
#include "imaging/view/view_rect.h"

namespace quillet {

inline uint8_t* PixelAt(const TIERawTarget& t, int64_t x, int64_t y) { return t.Bits + y * t.RowBytes + x * 3; }

inline TBGR Inverse(TBGR c) { return TBGR{uint8_t(~c.b), uint8_t(~c.g), uint8_t(~c.r)}; }

inline void PutPixel(uint8_t* p, TBGR c) {
  p[0] = c.b;
  p[1] = c.g;
  p[2] = c.r;
}

// Pixels x0..x1-1 of a row in one colour.
inline void FillSpan(uint8_t* row, int64_t x0, int64_t x1, TBGR c) {
  if (x0 >= x1) return;
  uint8_t* p = row + x0 * 3;
  if (c.b == c.g && c.g == c.r) {
    std::memset(p, c.b, size_t((x1 - x0) * 3));
    return;
  }
  for (int64_t x = x0; x < x1; ++x, p += 3) PutPixel(p, c);
}

inline void InvertSpan(uint8_t* row, int64_t x0, int64_t x1) {
  for (uint8_t *p = row + x0 * 3, *end = row + x1 * 3; p < end; ++p) *p = uint8_t(~*p);
}

// The whole target as a rectangle.
inline TIERect Bounds(const TIERawTarget& t) { return {0, 0, t.Width, t.Height}; }

// rect, cut to clip and the target, in one colour.
inline void FillRect(const TIERawTarget& t, const TIERect& clip, const TIERect& rect, TBGR c) {
  const TIERect r = Intersect(Intersect(rect, clip), Bounds(t));
  if (r.Empty()) return;
  for (int64_t y = r.Top; y < r.Bottom; ++y) FillSpan(t.Bits + y * t.RowBytes, r.Left, r.Right, c);
}

}  // namespace quillet
