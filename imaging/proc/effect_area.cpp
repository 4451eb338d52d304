#include "imaging/proc/effect_area.h"

#include "imaging/proc/bitmap_area.h"

namespace quillet {

TIEWorkingBitmap NewAreaImage(const TIEArea& area) {
  TIEWorkingBitmap result;
  result.AllocateUninitialised(area.Width(), area.Height(), TIEPixelFormat::pf24bit);
  return result;
}

void CommitArea(TIEWorkingBitmap& image, const TIEArea& area, TIEWorkingBitmap&& result) {
  if (area.X1 == 0 && area.Y1 == 0 && area.Width() == image.Width() && area.Height() == image.Height())
    image.Replace(std::move(result));
  else
    PasteArea(result, image, area.X1, area.Y1);
}

}  // namespace quillet
