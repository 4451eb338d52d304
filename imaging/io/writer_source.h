// The image a writer codes from, in the depth its format takes: the
// caller's bitmap, or a converted copy.
#pragma once

#include <memory>

#include "imaging/core/working_bitmap.h"

namespace quillet {

// The 24-bit image: `bitmap`, or a copy in `copy` converted from 1 bit.
const TIEWorkingBitmap& TrueColourSource(const TIEWorkingBitmap& bitmap, std::unique_ptr<TIEWorkingBitmap>& copy);

// The 1-bit image: `bitmap`, or a copy in `copy`. A 24-bit image of two
// colours keeps them apart (the darker black); any other goes through the
// ordered dither.
const TIEWorkingBitmap& BilevelSource(const TIEWorkingBitmap& bitmap, std::unique_ptr<TIEWorkingBitmap>& copy);

}  // namespace quillet
