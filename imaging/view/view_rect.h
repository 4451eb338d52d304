// Rectangles of client pixels for the view's painters: left and top
// inclusive, right and bottom exclusive, 64-bit.
#pragma once

#include <algorithm>
#include <cstdint>

namespace quillet {

struct TIERect {
  int64_t Left = 0, Top = 0, Right = 0, Bottom = 0;

  int64_t Width() const { return Right - Left; }
  int64_t Height() const { return Bottom - Top; }
  bool Empty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(const TIERect& r) const {
    return r.Empty() || (Left <= r.Left && Top <= r.Top && Right >= r.Right && Bottom >= r.Bottom);
  }
  friend bool operator==(const TIERect&, const TIERect&) = default;
};

inline TIERect Intersect(const TIERect& a, const TIERect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

}  // namespace quillet
