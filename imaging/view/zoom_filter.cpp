// The filtered painting path of the view.
#include "imaging/view/zoom_filter.h"

#include <cstring>

#include "imaging/core/bits.h"
#include "imaging/core/reduce_grey.h"
#include "imaging/proc/resample.h"

namespace quillet {

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
      CopyBits(from, p.SourceLeft, to, 0, p.SourceWidth);
  }
  return part;
}

// The shown part of the alpha plane resampled with the image's kernel to the
// destination size, so that it lines up with the resampled image. False when
// there is no alpha to blend or it cannot be resampled.
bool ResampledAlpha(const TIEMask* alpha, const TIEImagePlacement& p, TResampleFilter filter, TIEMask& out) {
  if (!alpha || alpha->BitsPerPixel() != 8) return false;
  TIEMask part;
  if (!part.Allocate(p.SourceWidth, p.SourceHeight, 8)) return false;
  for (int64_t y = 0; y < p.SourceHeight; ++y)
    std::memcpy(part.ScanLine(y), alpha->ScanLine(p.SourceTop + y) + p.SourceLeft, size_t(p.SourceWidth));
  return ResampleMask(part, out, p.Dest.Width(), p.Dest.Height(), filter);
}

// Draws an image of the destination's size 1:1, blended by the alpha plane
// of the same size when there is one.
void DrawOneToOne(TIERawTarget& target, const TIERect& clip, const TIEImagePlacement& p,
                  const TIEWorkingBitmap& image, const TIEMask* alpha, TResampleFilter filter) {
  TIEMask resized;
  const bool blend = ResampledAlpha(alpha, p, filter, resized);
  const TIEImagePlacement oneToOne{p.Dest, 0, 0, image.Width(), image.Height()};
  DrawImageNearest(target, clip, oneToOne, image, blend ? &resized : nullptr, false);
}

}  // namespace

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
  DrawOneToOne(target, clip, p, grey, alpha, filter);
}

void ResampleToDestination(TIERawTarget& target, const TIERect& clip, const TIEImagePlacement& p,
                           const TIEWorkingBitmap& bitmap, const TIEMask* alpha, TResampleFilter filter) {
  const TIEWorkingBitmap part = Crop(bitmap, p);
  TIEWorkingBitmap resized;
  const bool done = bitmap.PixelFormat() == TIEPixelFormat::pf24bit
                        ? ResampleColour(part, resized, p.Dest.Width(), p.Dest.Height(), filter)
                        : Resample1Bit(part, resized, p.Dest.Width(), p.Dest.Height(), filter);
  if (done)
    DrawOneToOne(target, clip, p, resized, alpha, filter);
  else
    DrawImageNearest(target, clip, p, bitmap, alpha, false);
}

}  // namespace quillet
