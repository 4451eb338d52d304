// The filtered painting path of the view.
#include "imaging/view/zoom_filter.h"

#include "imaging/core/reduce_grey.h"

namespace quillet {

bool ZoomFilterApplies(const TIEViewGeometry& geometry, const TIEWorkingBitmap& bitmap,
                       const TIEVisibleSource& source, bool honourDelay) {
  if (geometry.ZoomFilter() == TResampleFilter::rfNone || geometry.Zoom() == 100) return false;
  if (honourDelay && geometry.FilterDelayed()) return false;
  if (bitmap.Width() <= 1 || bitmap.Height() <= 1) return false;
  return source.SourceWidth > 3 && source.SourceHeight > 3;
}

void PaintFiltered(TIERawTarget& target, const TIERect& clip, const TIEImagePlacement& p,
                   const TIEWorkingBitmap& bitmap, const TIEMask* alpha, TResampleFilter filter) {
  const bool reducing = p.Dest.Width() < p.SourceWidth || p.Dest.Height() < p.SourceHeight;
  if (bitmap.PixelFormat() != TIEPixelFormat::pf1bit || !reducing) {
    ResampleToDestination(target, clip, p, bitmap, alpha, filter);
    return;
  }
  TIEWorkingBitmap grey;
  if (!Reduce1BitToGrey(bitmap, p.SourceLeft, p.SourceTop, p.SourceWidth, p.SourceHeight, grey, p.Dest.Width(),
                        p.Dest.Height()))
    return;
  // The grey image has the destination's size; the alpha plane keeps the
  // bitmap's, so this path is drawn opaque.
  const TIEImagePlacement oneToOne{p.Dest, 0, 0, grey.Width(), grey.Height()};
  DrawImageNearest(target, clip, oneToOne, grey, nullptr, false);
}

void ResampleToDestination(TIERawTarget& target, const TIERect& clip, const TIEImagePlacement& p,
                           const TIEWorkingBitmap& bitmap, const TIEMask* alpha, TResampleFilter filter) {
  DrawImageNearest(target, clip, p, bitmap, alpha, false);
}

}  // namespace quillet
