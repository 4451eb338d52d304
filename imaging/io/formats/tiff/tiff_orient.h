// Turning a TIFF page upright after its Orientation tag (2 to 8), the image
// and its alpha plane alike.
#pragma once

#include <cstdint>

#include "imaging/core/mask.h"
#include "imaging/core/working_bitmap.h"

namespace quillet {

void AutoOrientImage(TIEWorkingBitmap& image, TIEMask* alpha, uint32_t orientation);

}  // namespace quillet
