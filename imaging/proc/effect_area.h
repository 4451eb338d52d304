// How an effect writes its area (a TIEArea, limited to the image): a fresh
// copy of the area's size, then back into the image.
#pragma once

#include <cstdint>

#include "imaging/core/working_bitmap.h"
#include "imaging/proc/colour_area.h"

namespace quillet {

// A 24-bit bitmap of the area's size whose every pixel the effect is about to write.
TIEWorkingBitmap NewAreaImage(const TIEArea& area);

// The effect's result for `area` into the image: the image takes its pixels
// when the area is the whole image, else it is copied into the rectangle.
void CommitArea(TIEWorkingBitmap& image, const TIEArea& area, TIEWorkingBitmap&& result);

}  // namespace quillet
