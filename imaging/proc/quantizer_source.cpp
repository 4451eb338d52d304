// Row access of the quantizers over the working bitmap (top-down) and the
// image stores (bottom-up in memory or a mapped file, or a working bitmap).
#include "imaging/proc/quantizer_source.h"

namespace quillet {

TIEQuantizerSource::TIEQuantizerSource(const TIEWorkingBitmap& bitmap) {
  if (bitmap.PixelFormat() != TIEPixelFormat::pf24bit || bitmap.Empty()) return;
  row0_ = bitmap.ScanLine(0);
  stride_ = bitmap.RowBytes();
  width_ = bitmap.Width();
  height_ = bitmap.Height();
}

// Every location keeps all rows in one block, so one stride walks them all.
TIEQuantizerSource::TIEQuantizerSource(const TIEBitmap& bitmap) {
  if (bitmap.PixelType() != TIEPixelType::ie24RGB || bitmap.Empty()) return;
  row0_ = bitmap.ScanLine(0);
  stride_ = bitmap.Height() > 1 ? bitmap.ScanLine(1) - row0_ : bitmap.RowLength();
  width_ = bitmap.Width();
  height_ = bitmap.Height();
}

}  // namespace quillet
