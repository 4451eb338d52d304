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

}  // namespace quillet
