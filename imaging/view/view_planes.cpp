// Reallocating the view's planes after a bitmap resize.
#include "imaging/view/view_planes.h"

namespace quillet {

namespace {
bool SameSize(const TIEMask& m, const TIEWorkingBitmap& b) { return m.Width() == b.Width() && m.Height() == b.Height(); }
}  // namespace

bool FollowBitmapSize(const TIEWorkingBitmap& bitmap, TIEMask& selectionMask, TIEMask& alphaChannel) {
  if (!SameSize(alphaChannel, bitmap) || alphaChannel.BitsPerPixel() != 8) {
    alphaChannel.Allocate(bitmap.Width(), bitmap.Height(), 8);
    alphaChannel.Fill(255);
  }
  if (SameSize(selectionMask, bitmap) && selectionMask.BitsPerPixel() == 1) return false;
  selectionMask.Allocate(bitmap.Width(), bitmap.Height(), 1);
  return true;
}

}  // namespace quillet
