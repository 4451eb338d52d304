// Rotation of a whole image by any angle in degrees, counter-clockwise:
// quarter turns and three shears for 24-bit, nearest pixel for 1-bit.
#pragma once

#include "imaging/core/colors.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/proc/proc_progress.h"

namespace quillet {

// Rotates `image` in place; the uncovered corners take `background`. False
// when nothing was done (an angle of 0 or not finite, an empty image, a
// format other than 1 or 24 bits, a result over the pixel limit); true
// otherwise, also when a whole number of turns leaves the image as it was.
bool RotateImage(TIEWorkingBitmap& image, double angle, bool antialias, TBGR background,
                 const TIEProcProgress& progress = {});

}  // namespace quillet
