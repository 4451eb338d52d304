// Rotation of a 1-bit image by any angle, each result pixel taking the
// source pixel its centre maps to.
#pragma once

#include "imaging/core/working_bitmap.h"
#include "imaging/proc/proc_progress.h"

namespace quillet {

// False, leaving the image, when the result would be over the pixel limit.
bool Rotate1Bit(TIEWorkingBitmap& image, double angle, bool whiteBackground, const TIEProcProgress& progress);

}  // namespace quillet
