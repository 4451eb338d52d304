// The filtered painting path of the view.
#include "imaging/view/zoom_filter.h"

#include <cstring>

#include "imaging/core/bits.h"
#include "imaging/core/reduce_grey.h"
#include "imaging/proc/resample.h"

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

namespace {

// The shown source rectangle as a bitmap of its own.
TIEWorkingBitmap Crop(const TIEWorkingBitmap& bitmap, const TIEImagePlacement& p) {
  TIEWorkingBitmap part(p.SourceWidth, p.SourceHeight, bitmap.PixelFormat());
  for (int64_t y = 0; y < p.SourceHeight; ++y) {
    const uint8_t* from = bitmap.ScanLine(p.SourceTop + y);
    uint8_t* to = part.ScanLine(y);
    if (bitmap.PixelFormat() == TIEPixelFormat::pf24bit)
      std::memcpy(to, from + 3 * p.SourceLeft, size_t(3 * p.SourceWidth));
    else
      for (int64_t x = 0; x < p.SourceWidth; ++x) SetBit(to, x, GetBit(from, p.SourceLeft + x));
  }
  return part;
}

}  // namespace

// The shown part is resampled to the destination size and drawn 1:1; the
// alpha plane has the bitmap's size, so this path is drawn opaque.
void ResampleToDestination(TIERawTarget& target, const TIERect& clip, const TIEImagePlacement& p,
                           const TIEWorkingBitmap& bitmap, const TIEMask* alpha, TResampleFilter filter) {
  const TIEWorkingBitmap part = Crop(bitmap, p);
  TIEWorkingBitmap resized;
  const bool done = bitmap.PixelFormat() == TIEPixelFormat::pf24bit
                        ? ResampleColour(part, resized, p.Dest.Width(), p.Dest.Height(), filter)
                        : Resample1Bit(part, resized, p.Dest.Width(), p.Dest.Height(), filter);
  if (!done) return DrawImageNearest(target, clip, p, bitmap, alpha, false);
  const TIEImagePlacement oneToOne{p.Dest, 0, 0, resized.Width(), resized.Height()};
  DrawImageNearest(target, clip, oneToOne, resized, nullptr, false);
}

}  // namespace quillet
