// Keeping a view's selection mask and alpha channel at the size of its
// bitmap when the bitmap is resized.
#pragma once

#include "imaging/core/mask.h"
#include "imaging/core/working_bitmap.h"

namespace quillet {

// A selection mask of another size than the bitmap is reallocated (1-bit,
// empty) and true is returned: the caller then deselects. An alpha channel of
// another size is reallocated (8-bit) and made opaque; one of the right size
// keeps its values.
bool FollowBitmapSize(const TIEWorkingBitmap& bitmap, TIEMask& selectionMask, TIEMask& alphaChannel);

}  // namespace quillet
