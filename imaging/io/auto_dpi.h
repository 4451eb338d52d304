// Resolution equalising after a read: the image is resampled along one axis
// so that its horizontal and vertical resolutions become the same.
#pragma once

#include <cstdint>

#include "imaging/core/working_bitmap.h"
#include "imaging/io/io_params.h"

namespace quillet {

// With DpiX != DpiY (both positive): a wide image gets the height
// trunc(Height / DpiY * DpiX) and DpiY := DpiX, any other the width
// trunc(Width / DpiX * DpiY) and DpiX := DpiY; Params.Width/Height follow.
// Nothing changes when the result would be over the engine's pixel limit.
// True when the image was resampled.
bool EqualizeDpi(TIEWorkingBitmap& bitmap, TIOParamsVals& params);

}  // namespace quillet
