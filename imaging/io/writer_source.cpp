#include "imaging/io/writer_source.h"

#include "imaging/proc/color_utils.h"
#include "imaging/proc/ordered_dither.h"

namespace quillet {

TWriterSource BilevelSource(const TIEWorkingBitmap& bitmap) {
  TWriterSource source;
  source.Image = &bitmap;
  if (bitmap.PixelFormat() == TIEPixelFormat::pf1bit) return source;
  source.Copy = ExtractTwoColours(bitmap, source.Colours);
  if (!source.Copy) {
    source.Copy = std::make_unique<TIEWorkingBitmap>();
    DitherToBlackWhite(bitmap, *source.Copy);
  }
  source.Image = source.Copy.get();
  return source;
}

TWriterSource TrueColourSource(const TIEWorkingBitmap& bitmap) {
  TWriterSource source;
  source.Image = &bitmap;
  if (bitmap.PixelFormat() == TIEPixelFormat::pf24bit) return source;
  source.Copy = std::make_unique<TIEWorkingBitmap>(bitmap);
  source.Copy->SetPixelFormat(TIEPixelFormat::pf24bit);
  source.Image = source.Copy.get();
  return source;
}

}  // namespace quillet
