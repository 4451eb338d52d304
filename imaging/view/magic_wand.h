// The magic wand: the pixels of a 24-bit image within a tolerance of a seed
// colour, flooded or global, and the outline polygon around a flooded area.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/core/canvas_state.h"
#include "imaging/core/mask.h"
#include "imaging/core/working_bitmap.h"

namespace quillet {

// Max over blue, green and red of |pixel - seed| <= tolerance.
bool WandMatches(const uint8_t* pixel, const uint8_t* seed, int tolerance);

// Sets in the 1-bit `mask` (of the image's size) the 4-connected matching
// pixels around (x, y); with `grow`, one pixel more in all eight directions.
void WandFlood(const TIEWorkingBitmap& image, int32_t x, int32_t y, int tolerance, bool grow, TIEMask& mask);
// Sets every matching pixel of the image, connected or not.
void WandGlobal(const TIEWorkingBitmap& image, int32_t x, int32_t y, int tolerance, TIEMask& mask);

// The outer outline of the top-left region of the 1-bit `area`, as polygon
// vertices on pixel corners (right and bottom edges exclusive, as for a
// rectangle selection), a vertex at every change of direction.
std::vector<TIEPoint> WandOutline(const TIEMask& area);

}  // namespace quillet
