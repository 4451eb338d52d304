// A bitmap sized for a decoder that writes whole rows top to bottom and may
// stop early (damaged data, a cancelled read). A bitmap with no pixels yet
// gets its memory without a fill pass; the rows a decoder leaves unwritten
// then take the brush colour, as ReshapeBitmap would have left them. Any
// other bitmap is reshaped by ReshapeBitmap, whose pixels stay where no row
// is written.
#pragma once

#include <cstdint>

#include "imaging/core/working_bitmap.h"

namespace quillet {

class TDecodeTarget {
 public:
  // False, with nothing changed, when ReshapeBitmap would refuse.
  bool Reshape(TIEWorkingBitmap& bitmap, int64_t width, int64_t height, TIEPixelFormat format);
  // Rows from `row` to the bottom were not written.
  void Unwritten(int64_t row);

 private:
  TIEWorkingBitmap* bitmap_ = nullptr;
  bool unfilled_ = false;
};

}  // namespace quillet
