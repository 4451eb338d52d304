// The canvas steps of the Eraser and the Fill tool, which the command line
// runs too, and the guard of the small figures drawn around a point.
#pragma once

#include <cstdint>

#include "imaging/core/canvas.h"
#include "imaging/core/canvas_state.h"
#include "imaging/core/colors.h"

namespace quillet {

// Whether everything within `reach` pixels of the point lies outside any
// image, so near the 32-bit limits that its offsets would overflow.
bool OutOfReach(TIEPoint point, int32_t reach);

// The 10 x 10 square [x - 5, x + 5) x [y - 5, y + 5), solid in `fill`. The
// brush takes that colour; its style is left as it was, a hatch included.
void EraseAt(TIECanvas& canvas, TIEPoint point, const TBGR& fill);

// The 4-connected region of the colour under `point`, painted with the
// canvas brush; nothing outside the image.
void FillRegionAt(TIECanvas& canvas, TIEPoint point);

}  // namespace quillet
