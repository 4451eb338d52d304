#include "imaging/core/headless_view.h"

#include <algorithm>

namespace quillet {

void TIEHeadlessView::ImageChange() {
  if (selected_ && (selection_.Width() != bitmap_.Width() || selection_.Height() != bitmap_.Height())) Deselect();
}

bool TIEHeadlessView::SelectRectangle(int64_t x, int64_t y, int64_t w, int64_t h) {
  selected_ = false;
  const int64_t x1 = std::max<int64_t>(x, 0), y1 = std::max<int64_t>(y, 0);
  const int64_t x2 = std::min(x + w, bitmap_.Width()) - 1, y2 = std::min(y + h, bitmap_.Height()) - 1;
  if (x1 > x2 || y1 > y2 || !selection_.Allocate(bitmap_.Width(), bitmap_.Height(), 1)) return false;
  for (int64_t row = y1; row <= y2; ++row) selection_.FillSpan(1, x1, row, x2);
  selection_.SetBox(x1, y1, x2, y2);
  return selected_ = true;
}

bool TIEHeadlessView::SelectLightPixels(const TIEWorkingBitmap& picture) {
  selected_ = false;
  if (picture.Width() != bitmap_.Width() || picture.Height() != bitmap_.Height() ||
      !selection_.Allocate(bitmap_.Width(), bitmap_.Height(), 1))
    return false;
  TIEWorkingBitmap colour = picture;
  colour.SetPixelFormat(TIEPixelFormat::pf24bit);
  for (int64_t y = 0; y < colour.Height(); ++y) {
    const uint8_t* p = colour.ScanLine(y);
    for (int64_t x = 0; x < colour.Width(); ++x, p += 3)
      if (GreyLevel(TBGR{p[0], p[1], p[2]}) >= 128) selection_.SetPixel(x, y, 1);  // grows the box
  }
  return selected_ = !selection_.IsEmpty();
}

}  // namespace quillet
