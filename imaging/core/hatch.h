// The 8 x 8 hatch patterns of the brush styles, anchored at (0, 0):
// horizontal y mod 8 = 0, vertical x mod 8 = 0, forward diagonal (lower left
// to upper right) (x + y) mod 8 = 0, backward diagonal (x - y) mod 8 = 0, and
// the two crosses as unions. Solid is every pixel, clear none.
#pragma once

#include <cstdint>

#include "imaging/core/canvas_state.h"

namespace quillet {

// Bit k (0 the least significant) of row y's mask is set where column
// x = k (mod 8) lies on the pattern.
uint8_t HatchRow(TIEBrushStyle style, int64_t y);

inline bool OnHatch(TIEBrushStyle style, int64_t x, int64_t y) { return (HatchRow(style, y) >> (x & 7)) & 1; }

}  // namespace quillet
