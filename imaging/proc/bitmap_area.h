// Rectangular areas copied out of and into 1-bit and 24-bit bitmaps, row by
// row (whole bytes for 24 bits, bit runs at any offset for 1 bit).
#pragma once

#include <cstdint>

#include "imaging/core/working_bitmap.h"

namespace quillet {

// The w x h area at (x, y) of `source`, in its format; the area must lie inside.
TIEWorkingBitmap CopyArea(const TIEWorkingBitmap& source, int64_t x, int64_t y, int64_t w, int64_t h);
// `source` whole at (x, y) of `dest`, which has its format; clipped to `dest`.
void PasteArea(const TIEWorkingBitmap& source, TIEWorkingBitmap& dest, int64_t x, int64_t y);

}  // namespace quillet
