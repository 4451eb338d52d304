#include "imaging/core/decode_target.h"

namespace quillet {

bool TDecodeTarget::Reshape(TIEWorkingBitmap& bitmap, int64_t width, int64_t height, TIEPixelFormat format) {
  bitmap_ = &bitmap;
  const bool fillable = format == TIEPixelFormat::pf1bit || format == TIEPixelFormat::pf24bit;
  unfilled_ = fillable && bitmap.Empty() && bitmap.AllocateUninitialised(width, height, format);
  return unfilled_ || ReshapeBitmap(bitmap, width, height, format);
}

void TDecodeTarget::Unwritten(int64_t row) {
  if (unfilled_) bitmap_->FillRows(row, bitmap_->Height(), bitmap_->Canvas().BrushColor);
}

}  // namespace quillet
