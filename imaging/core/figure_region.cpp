// Ellipse rows are exact: with u = 2x+1-x1-x2 and v = 2y+1-y1-y2, a pixel is
// inside when u^2 H^2 <= W^2 (H^2 - v^2). |u| < W and |v| < H keep every
// product below 2^128 for 32-bit boxes.
#include "imaging/core/figure_region.h"

#include <algorithm>

namespace quillet {

TSpan TFigureRegion::Row(int64_t y) const {
  if (y < y1_ || y >= y2_) return {};
  return shape_ == TFigureShape::Box ? TSpan{x1_, x2_} : EllipseRow(y);
}

TSpan TFigureRegion::EllipseRow(int64_t y) const {
  using U = unsigned __int128;
  const uint64_t w = uint64_t(x2_ - x1_), h = uint64_t(y2_ - y1_);
  const int64_t v = 2 * y + 1 - y1_ - y2_;
  const uint64_t av = uint64_t(v < 0 ? -v : v);
  const U room = U(w) * w * (U(h) * h - U(av) * av);
  // Column x1 + k has |u| = w - 1 - 2k; find the first k inside.
  const auto inside = [&](uint64_t k) {
    const uint64_t u = w - 1 - 2 * k;
    return U(u) * u * (U(h) * h) <= room;
  };
  uint64_t low = 0, high = (w - 1) / 2 + 1;  // high: past the centre column
  while (low < high) {
    const uint64_t mid = low + (high - low) / 2;
    if (inside(mid)) high = mid; else low = mid + 1;
  }
  if (low > (w - 1) / 2) return {};
  return {x1_ + int64_t(low), x2_ - int64_t(low)};
}

void TFigureRegion::Split(int64_t first, int64_t last, TRowSpans& border, TRowSpans& interior) const {
  border.Reset(first, last);
  interior.Reset(first, last);
  TSpan above = Row(first - 1), here = Row(first);
  for (int64_t y = first; y < last; ++y) {
    const TSpan below = Row(y + 1);
    if (!here.Empty()) {
      TSpan inner{std::max({here.Left + 1, above.Left, below.Left}), std::min({here.Right - 1, above.Right, below.Right})};
      if (above.Empty() || below.Empty()) inner = {};
      if (inner.Empty()) {
        border[y].A = here;
      } else {
        border[y] = {{here.Left, inner.Left}, {inner.Right, here.Right}};
        interior[y].A = inner;
      }
    }
    above = here;
    here = below;
  }
}

}  // namespace quillet
