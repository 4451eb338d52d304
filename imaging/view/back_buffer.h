// The view's back buffer: 24-bit top-down rows (blue, green, red) of the
// client's size, redrawn only when the view asks and copied 1:1 to the window.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/core/mask.h"

namespace quillet {

class TIEBackBuffer {
 public:
  // Rows of RowLength(width, 24) bytes, 32-bit aligned. True when the size
  // changed (the content is then black); a negative side counts as 0.
  bool SetSize(int64_t width, int64_t height);

  int64_t Width() const { return width_; }
  int64_t Height() const { return height_; }
  int64_t RowBytes() const { return rowBytes_; }
  const uint8_t* Bits() const { return bits_.data(); }
  const uint8_t* ScanLine(int64_t y) const { return bits_.data() + y * rowBytes_; }
  TIERawTarget Target() { return {bits_.data(), width_, height_, rowBytes_}; }

 private:
  int64_t width_ = 0, height_ = 0, rowBytes_ = 0;
  std::vector<uint8_t> bits_;
};

}  // namespace quillet
