// Point operations on whole images in place: every pixel becomes a function
// of itself alone. Each runs over raw rows, shared between the cores.
#pragma once

#include "imaging/core/working_bitmap.h"

namespace quillet {

// Every byte of the pixels of a 1-bit or 24-bit image inverted.
void InvertImage(TIEWorkingBitmap& image);
// Every pixel of a 24-bit image to its grey level (GreyLevel) in all three channels.
void GreyImage(TIEWorkingBitmap& image);

}  // namespace quillet
