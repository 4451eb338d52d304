#include "imaging/io/writer_source.h"

#include <array>

#include "imaging/proc/color_utils.h"
#include "imaging/proc/ordered_dither.h"

namespace quillet {

const TIEWorkingBitmap& TrueColourSource(const TIEWorkingBitmap& bitmap, std::unique_ptr<TIEWorkingBitmap>& copy) {
  if (bitmap.PixelFormat() == TIEPixelFormat::pf24bit) return bitmap;
  copy = std::make_unique<TIEWorkingBitmap>(bitmap);
  copy->SetPixelFormat(TIEPixelFormat::pf24bit);
  return *copy;
}

const TIEWorkingBitmap& BilevelSource(const TIEWorkingBitmap& bitmap, std::unique_ptr<TIEWorkingBitmap>& copy) {
  if (bitmap.PixelFormat() == TIEPixelFormat::pf1bit) return bitmap;
  std::array<TBGR, 2> colors;
  copy = ExtractTwoColours(bitmap, colors);
  if (!copy) {
    copy = std::make_unique<TIEWorkingBitmap>();
    DitherToBlackWhite(bitmap, *copy);
  }
  return *copy;
}

}  // namespace quillet
