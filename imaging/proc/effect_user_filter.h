// The 3 x 3 user convolution filter of the effects: nine coefficients in
// row-major order (index 3 * (dy + 1) + dx + 1 for the neighbour at (dx, dy),
// dy = -1 the row above) and a divisor, on 24-bit images.
#pragma once

#include <array>
#include <cstdint>

#include "imaging/core/working_bitmap.h"
#include "imaging/proc/effect_area.h"
#include "imaging/proc/proc_rows.h"

namespace quillet {

using TIEFilterCoefficients = std::array<int32_t, 9>;

// Each channel of each pixel of `area` becomes the sum of its nine
// neighbours' channel times their coefficients (neighbours beyond the image
// repeat its edge), divided by `divisor` toward zero (0 counts as 1) and
// limited to 0..255; the sums are exact whatever the coefficients. Other
// formats, and a cancelled run, leave the image as it was.
void ApplyUserFilter(TIEWorkingBitmap& image, const TIEArea& area, const TIEFilterCoefficients& coefficients,
                     int32_t divisor, const TIEProcWatch& control = {});

}  // namespace quillet
