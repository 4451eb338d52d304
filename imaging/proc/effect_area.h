// The rectangle of an image that an effect works on, and how an effect's
// finished copy of it goes back into the image.
#pragma once

#include <cstdint>

#include "imaging/core/working_bitmap.h"

namespace quillet {

// Columns [X1, X2) and rows [Y1, Y2).
struct TIEEffectArea {
  int64_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;

  int64_t Width() const { return X2 - X1; }
  int64_t Height() const { return Y2 - Y1; }
  bool Empty() const { return X2 <= X1 || Y2 <= Y1; }
};

inline TIEEffectArea WholeArea(const TIEWorkingBitmap& image) { return {0, 0, image.Width(), image.Height()}; }

// The part of `area` inside the image.
TIEEffectArea ClipArea(const TIEWorkingBitmap& image, const TIEEffectArea& area);

// A 24-bit bitmap of the area's size whose every pixel the effect is about to write.
TIEWorkingBitmap NewAreaImage(const TIEEffectArea& area);

// The effect's result for `area` into the image: the image takes its pixels
// when the area is the whole image, else it is copied into the rectangle.
void CommitArea(TIEWorkingBitmap& image, const TIEEffectArea& area, TIEWorkingBitmap&& result);

}  // namespace quillet
