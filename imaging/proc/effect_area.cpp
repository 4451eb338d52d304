#include "imaging/proc/effect_area.h"

#include <algorithm>

#include "imaging/proc/bitmap_area.h"

namespace quillet {

TIEEffectArea ClipArea(const TIEWorkingBitmap& image, const TIEEffectArea& area) {
  return {std::max<int64_t>(area.X1, 0), std::max<int64_t>(area.Y1, 0), std::min(area.X2, image.Width()),
          std::min(area.Y2, image.Height())};
}

TIEWorkingBitmap NewAreaImage(const TIEEffectArea& area) {
  TIEWorkingBitmap result;
  result.AllocateUninitialised(area.Width(), area.Height(), TIEPixelFormat::pf24bit);
  return result;
}

void CommitArea(TIEWorkingBitmap& image, const TIEEffectArea& area, TIEWorkingBitmap&& result) {
  if (area.X1 == 0 && area.Y1 == 0 && area.Width() == image.Width() && area.Height() == image.Height())
    image.Replace(std::move(result));
  else
    PasteArea(result, image, area.X1, area.Y1);
}

}  // namespace quillet
