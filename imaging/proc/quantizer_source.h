// TIEQuantizerSource: the rows of a 24-bit image as the quantizers and colour
// utilities read them, from a working bitmap or from an image store.
#pragma once

#include <cstdint>

#include "imaging/core/ie_bitmap.h"
#include "imaging/core/working_bitmap.h"

namespace quillet {

// Row y (0 at the top) of blue, green, red pixels starts at Row0 + y * Stride.
// A source that is not 24 bits per pixel is empty: the quantizers only
// reduce true-colour images.
class TIEQuantizerSource {
 public:
  explicit TIEQuantizerSource(const TIEWorkingBitmap& bitmap);
  explicit TIEQuantizerSource(const TIEBitmap& bitmap);

  int64_t Width() const { return width_; }
  int64_t Height() const { return height_; }
  int64_t PixelCount() const { return width_ * height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  const uint8_t* Row(int64_t y) const { return row0_ + y * stride_; }

 private:
  const uint8_t* row0_ = nullptr;
  int64_t stride_ = 0;
  int64_t width_ = 0, height_ = 0;
};

}  // namespace quillet
