// TZiridEvProc: the effects preview dialog, reached through its port.
#include "imaging/proc/bitmap_area.h"
#include "imaging/proc/previews.h"
#include "imaging/proc/ziridev_proc.h"

namespace quillet {

namespace {

// Holds the view's painting for the dialog's lifetime, if the view is still
// attached when it closes.
class TPaintHold {
 public:
  explicit TPaintHold(const TIEViewLink& link) : link_(link), view_(link.View()) {
    if (view_) view_->LockPaint();
  }
  ~TPaintHold() {
    if (view_ && link_.View() == view_) view_->UnlockPaint();
  }
  TPaintHold(const TPaintHold&) = delete;
  TPaintHold& operator=(const TPaintHold&) = delete;

 private:
  const TIEViewLink& link_;
  TIEView* view_;
};

}  // namespace

bool TZiridEvProc::ShowPreviews(TPreviewPages pages) {
  TIEWorkingBitmap* image = link_.Bitmap();
  if (!image || image->PixelFormat() != TIEPixelFormat::pf24bit || (image->Width() < 2 && image->Height() < 2))
    return false;
  TIEPreviewsPort* port = PreviewsPort();
  if (!port) return false;
  const TPaintHold hold(link_);
  const TIEMask* mask = Selection();
  TIEWorkingBitmap area = mask ? CopyArea(*image, mask->X1(), mask->Y1(), mask->X2() - mask->X1() + 1,
                                          mask->Y2() - mask->Y1() + 1)
                               : CopyArea(*image, 0, 0, image->Width(), image->Height());
  if (!port->Run(*this, pages, area)) return false;
  // The write-back: the whole image takes the result, whatever its size; a
  // selection's box takes the part of it that overlaps, through the mask.
  return ApplyAdjustment([&](TIEWorkingBitmap& target, const TIEProcWatch&) {
    if (mask)
      PasteArea(area, target, 0, 0);
    else
      target.Replace(std::move(area));
  });
}

}  // namespace quillet
