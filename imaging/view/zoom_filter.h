// Painting through the view's zoom filter: when the filter applies, and the
// filtered painter of the shown part of the image.
#pragma once

#include "imaging/core/mask.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/view/image_nearest.h"
#include "imaging/proc/resample_filter.h"
#include "imaging/view/view_geometry.h"

namespace quillet {

// A filter is set, not delayed (unless the caller ignores the delay), the
// zoom is not 100 %, both image sides exceed 1 pixel and more than 3 source
// pixels are shown each way.
bool ZoomFilterApplies(const TIEViewGeometry& geometry, const TIEWorkingBitmap& bitmap,
                       const TIEVisibleSource& source, bool honourDelay);

// Paints the placement's source into its destination inside clip, filtered.
// A reduced 1-bit image shows each client pixel as the share of white in its
// box of source pixels; every other case goes through ResampleToDestination.
// With alpha (8-bit, the bitmap's size) the shown part of the plane is
// resampled with the same kernel and the image blended by it over what the
// target holds, as the unfiltered painter does.
void PaintFiltered(TIERawTarget& target, const TIERect& clip, const TIEImagePlacement& p,
                   const TIEWorkingBitmap& bitmap, const TIEMask* alpha, TResampleFilter filter);

// Resampling of the shown part with the filter's kernel into the destination.
void ResampleToDestination(TIERawTarget& target, const TIERect& clip, const TIEImagePlacement& p,
                           const TIEWorkingBitmap& bitmap, const TIEMask* alpha, TResampleFilter filter);

}  // namespace quillet
