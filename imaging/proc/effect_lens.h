// The refracting lens of the effects: an elliptic lens over a box of the
// image, each pixel inside the ellipse taking the pixel its ray meets on
// the image below.
#pragma once

#include <cstdint>

#include "imaging/core/working_bitmap.h"
#include "imaging/proc/proc_rows.h"

namespace quillet {

// The lens centred at (x, y), `width` x `height` pixels, of refraction
// `refraction` (1 or less bends nothing). A box under one pixel wide or
// high, other formats and a cancelled run change nothing.
void ApplyLens(TIEWorkingBitmap& image, int32_t x, int32_t y, int32_t width, int32_t height, double refraction,
               const TIEProcWatch& control = {});

}  // namespace quillet
