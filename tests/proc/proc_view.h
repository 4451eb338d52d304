// A view for the processing component's tests: its image, a selection mask
// switched on by the test, an alpha plane and a count of image changes.
#pragma once

#include "imaging/core/ie_view.h"
#include "imaging/core/mask.h"
#include "imaging/core/working_bitmap.h"

namespace quillet::test {

class TestView : public TIEView {
 public:
  TIEWorkingBitmap* GetBitmap() override { return &bitmap; }
  TIEMask* GetSelectionMask() override { return selected ? &selection : nullptr; }
  TIEMask* GetAlphaChannel() override { return &alpha; }
  void LockPaint() override {}
  void UnlockPaint() override {}
  void UnlockPaintNoUpdate() override {}
  void ImageChange() override { ++changes; }

  // A 1-bit selection of the inclusive rectangle (x1, y1)-(x2, y2).
  void SelectBox(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    selection.Allocate(bitmap.Width(), bitmap.Height(), 1);
    for (int64_t y = y1; y <= y2; ++y) selection.FillSpan(1, x1, y, x2);
    selection.SetBox(x1, y1, x2, y2);
    selected = true;
  }

  TIEWorkingBitmap bitmap;
  TIEMask selection, alpha;
  bool selected = false;
  int changes = 0;
};

}  // namespace quillet::test
