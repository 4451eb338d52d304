// The Black-and-White conversion at a threshold: a 24-bit or 8-bit image to a
// 1-bit one, black where the pixel is darker than the threshold.
#pragma once

#include "imaging/core/working_bitmap.h"

namespace quillet {

// `dest` becomes a 1-bit image of the source's size (palette black, white):
// bit 0 where R + G + B < 3 * threshold (for an 8-bit source, where the byte is
// below the threshold), bit 1 elsewhere, the leftmost pixel in the top bit.
// False, with dest untouched, for another source format or a size the engine
// refuses.
bool ThresholdToBlackWhite(const TIEWorkingBitmap& source, TIEWorkingBitmap& dest, int threshold);

}  // namespace quillet
