// Painting one span of a 1-bit or 24-bit row in a colour, in Copy or NotXor,
// solid or through an 8 x 8 hatch mask (only the pattern's pixels change).
#pragma once

#include <cstdint>

#include "imaging/core/canvas_state.h"
#include "imaging/core/colors.h"
#include "imaging/core/working_bitmap.h"

namespace quillet {

struct TCanvasInk {
  TBGR Color;
  bool NotXor = false;
  TIEBrushStyle Pattern = TIEBrushStyle::bsSolid;
};

// Pixels [x0, x1) of row y, both already inside the bitmap.
void PaintSpan(TIEWorkingBitmap& bitmap, int64_t y, int64_t x0, int64_t x1, const TCanvasInk& ink);

// The box [x1, x2) x [y1, y2), clipped to the bitmap.
void PaintBox(TIEWorkingBitmap& bitmap, int64_t x1, int64_t y1, int64_t x2, int64_t y2, const TCanvasInk& ink);

// Single pixels in a solid ink, for points inside the bitmap, inline for the
// line loops.
class TPointInk {
 public:
  TPointInk(TIEWorkingBitmap& bitmap, const TCanvasInk& ink);
  void operator()(int64_t x, int64_t y) const {
    uint8_t* row = bits_ + y * stride_;
    if (oneBit_) {
      const uint8_t bit = uint8_t(0x80 >> (x & 7));
      uint8_t& byte = row[x >> 3];
      byte = notXor_ ? uint8_t(byte ^ (bit & value_[0])) : uint8_t((byte & ~bit) | (bit & value_[0]));
      return;
    }
    uint8_t* p = row + 3 * x;
    if (notXor_) {
      p[0] ^= value_[0], p[1] ^= value_[1], p[2] ^= value_[2];
    } else {
      p[0] = value_[0], p[1] = value_[1], p[2] = value_[2];
    }
  }

 private:
  uint8_t* bits_;
  int64_t stride_;
  bool oneBit_, notXor_;
  uint8_t value_[3];  // what is stored, or xored in NotXor (blue, green, red; a bit mask on 1-bit rows)
};

}  // namespace quillet
