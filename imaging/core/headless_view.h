// TIEHeadlessView: a view without a window, for the command line: an image,
// its alpha plane and a 1-bit selection. Like the editor's view it drops the
// selection when an operation changes the image's size.
#pragma once

#include <cstdint>

#include "imaging/core/ie_view.h"
#include "imaging/core/mask.h"
#include "imaging/core/working_bitmap.h"

namespace quillet {

class TIEHeadlessView : public TIEView {
 public:
  // Black, as the processing component's own background, not a window's face.
  TIEHeadlessView() { SetBackground(kBlack); }
  ~TIEHeadlessView() override { NotifyDestruction(); }

  TIEWorkingBitmap* GetBitmap() override { return &bitmap_; }
  TIEMask* GetAlphaChannel() override { return &alpha_; }
  TIEMask* GetSelectionMask() override { return selected_ ? &selection_ : nullptr; }
  void LockPaint() override {}
  void UnlockPaint() override {}
  void UnlockPaintNoUpdate() override {}
  void ImageChange() override;

  TIEWorkingBitmap& Bitmap() { return bitmap_; }
  TIEMask& Alpha() { return alpha_; }

  // The w x h rectangle at (x, y), clipped to the image; false, with no
  // selection, when nothing of it is on the image.
  bool SelectRectangle(int64_t x, int64_t y, int64_t w, int64_t h);
  // The pixels whose grey level in `picture` is 128 or more; false, with no
  // selection, when the picture has another size or selects nothing.
  bool SelectLightPixels(const TIEWorkingBitmap& picture);
  void Deselect() { selected_ = false; }
  bool HasSelection() const { return selected_; }

 private:
  TIEWorkingBitmap bitmap_;
  TIEMask alpha_, selection_;
  bool selected_ = false;
};

}  // namespace quillet
