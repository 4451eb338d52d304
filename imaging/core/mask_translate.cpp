// Moving the content of a TIEMask: the rows of the bounding box are written at
// their new place, clipped to the plane in both directions.
#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/core/bits.h"
#include "imaging/core/mask.h"

namespace quillet {

void TIEMask::Translate(int64_t dx, int64_t dy, bool keepInside) {
  if (IsEmpty() || data_.empty()) return;
  // A move of a whole plane or more loses everything alike; this keeps sums small.
  dx = std::clamp<int64_t>(dx, -int64_t(width_), width_);
  dy = std::clamp<int64_t>(dy, -int64_t(height_), height_);
  if (keepInside) {
    dx = std::clamp<int64_t>(dx, -int64_t(x1_), int64_t(width_) - 1 - x2_);
    dy = std::clamp<int64_t>(dy, -int64_t(y1_), int64_t(height_) - 1 - y2_);
  }
  if (dx == 0 && dy == 0) return;

  // Outside the box every pixel is zero, so only the box needs moving.
  const std::vector<uint8_t> old = data_;
  std::fill(data_.begin(), data_.end(), 0);
  const int64_t fromX = std::max<int64_t>(x1_, -dx);
  const int64_t toX = std::min<int64_t>(x2_, int64_t(width_) - 1 - dx);
  const int64_t fromY = std::max<int64_t>(y1_, -dy);
  const int64_t toY = std::min<int64_t>(y2_, int64_t(height_) - 1 - dy);
  for (int64_t y = fromY; y <= toY && fromX <= toX; ++y) {
    const uint8_t* src = old.data() + (height_ - y - 1) * rowLength_;
    uint8_t* dst = ScanLine(y + dy);
    if (bits_ == 1)
      CopyBits(src, fromX, dst, fromX + dx, toX - fromX + 1);
    else
      std::memcpy(dst + fromX + dx, src + fromX, size_t(toX - fromX + 1));
  }
  full_ = false;
  SetBox(fromX + dx, fromY + dy, toX + dx, toY + dy);
}

}  // namespace quillet
