// Sizing the view's back buffer.
#include "imaging/view/back_buffer.h"

#include <algorithm>

#include "imaging/core/bits.h"

namespace quillet {

bool TIEBackBuffer::SetSize(int64_t width, int64_t height) {
  width = std::max<int64_t>(width, 0);
  height = std::max<int64_t>(height, 0);
  if (width == width_ && height == height_) return false;
  rowBytes_ = RowLength(width, 24);
  bits_.assign(size_t(rowBytes_ * height), 0);
  width_ = width;
  height_ = height;
  return true;
}

}  // namespace quillet
