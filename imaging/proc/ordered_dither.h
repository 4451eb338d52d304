// The ordered dither to black and white: an 8 x 8 threshold matrix over the
// grey level of each pixel of a 24-bit image.
#pragma once

#include "imaging/core/working_bitmap.h"

namespace quillet {

// Threshold of pixel (x, y), 0..63.
int DitherThreshold(int64_t x, int64_t y);

// A 1-bit image of the 24-bit `source`'s size: white where grey div 4 is above
// the threshold (level 63, near white, counts as 64). False (dest untouched) for another format.
bool DitherToBlackWhite(const TIEWorkingBitmap& source, TIEWorkingBitmap& dest);

}  // namespace quillet
